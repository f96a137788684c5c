// Anchor identifiers. Nothing is allocated: each run of bytes that pass goes
// to the writer as it stands, and each other byte as one '_'.
#include "html/anchor.h"

#include <array>

#include "reader/chars.h"

namespace {

constexpr auto anchor_char = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = is_letter(c) || is_digit(c) || c == '-' ||
               c == '.' || c == '_';
  return table;
}();

}  // namespace

void anchor_idn(writer& w, std::string_view text) {
  size_t run = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (!anchor_char[static_cast<unsigned char>(text[i])]) {
      w.put(text.substr(run, i - run));
      w.put('_');
      run = i + 1;
    }
  }
  w.put(text.substr(run));
}

void anchor_id(writer& w, std::string_view table_name) { anchor_idn(w, table_name); }

void anchor_id(writer& w, std::string_view table_name, std::string_view column_name) {
  anchor_idn(w, table_name);
  w.put('.');
  anchor_idn(w, column_name);
}

namespace {

void put_prefix(writer& w, std::string_view prefix) {
  w.put(prefix);
  w.put('-');
}

}  // namespace

void anchor_table(writer& w, std::string_view prefix, std::string_view table_name) {
  put_prefix(w, prefix);
  anchor_id(w, table_name);
}

void anchor_column(writer& w, std::string_view prefix, std::string_view table_name, std::string_view column_name) {
  put_prefix(w, prefix);
  anchor_id(w, table_name, column_name);
}

void anchor_text(writer& w, std::string_view prefix, std::string_view text) {
  put_prefix(w, prefix);
  anchor_idn(w, text);
}
