// Anchor identifiers: each byte of the name stays or becomes '_', so an
// identifier is exactly as long as the text it is made from.
#include "reader/anchor.h"

#include <array>

namespace {

constexpr auto anchor_char = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
               c == '.' || c == '_';
  return table;
}();

void append_sanitized(std::string& id, std::string_view text) {
  size_t at = id.size();
  id += text;
  for (size_t i = at; i < id.size(); i++)
    if (!anchor_char[static_cast<unsigned char>(id[i])])
      id[i] = '_';
}

}  // namespace

void anchor_id_into(std::string& id, std::string_view table_name) {
  id.clear();
  append_sanitized(id, table_name);
}

void anchor_id_into(std::string& id, std::string_view table_name, std::string_view column_name) {
  anchor_id_into(id, table_name);
  id += '.';
  append_sanitized(id, column_name);
}

std::string anchor_id(std::string_view table_name, const char* column_name) {
  std::string id;
  if (column_name)
    anchor_id_into(id, table_name, column_name);
  else
    anchor_id_into(id, table_name);
  return id;
}

std::string anchor_idn(const char* text, size_t len) {
  std::string id;
  append_sanitized(id, std::string_view(text, len));
  return id;
}
