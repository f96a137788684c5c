// Every escape of the outputs.
#include "html/escape.h"

#include <array>

namespace {

// Bytes that html_putc writes as something else.
constexpr auto text_special = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = html_text_special(c);
  return table;
}();

// Bytes that label_puts cannot pass on unexamined: the entities, the
// control bytes and everything from 0x80 up.
constexpr auto label_special = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = html_entity(c) || c >= 0x80 || (c < 0x20 && c != '\t' && c != '\n' && c != '\r');
  return table;
}();

// The length of the valid UTF-8 sequence (RFC 3629) at the start of `s`, or
// 0 when its first byte begins none: no overlong form, no surrogate, nothing
// above U+10FFFF.
size_t utf8_length(std::string_view s) {
  auto byte = [&](size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
  auto cont = [&](size_t i, unsigned lo = 0x80, unsigned hi = 0xBF) { return byte(i) >= lo && byte(i) <= hi; };
  unsigned c = byte(0);
  if (c >= 0xC2 && c <= 0xDF)
    return cont(1) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    unsigned lo = c == 0xE0 ? 0xA0 : 0x80, hi = c == 0xED ? 0x9F : 0xBF;
    return cont(1, lo, hi) && cont(2) ? 3 : 0;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    unsigned lo = c == 0xF0 ? 0x90 : 0x80, hi = c == 0xF4 ? 0x8F : 0xBF;
    return cont(1, lo, hi) && cont(2) && cont(3) ? 4 : 0;
  }
  return 0;
}

}  // namespace

void html_putc(writer& w, unsigned char c) {
  if (const char* entity = html_entity(c))
    w.put(entity);
  else
    w.put(is_space(c) ? ' ' : char(c));
}

void html_puttext(writer& w, std::string_view text) {
  size_t run = 0;  // start of the bytes not yet written
  for (size_t i = 0; i < text.size(); i++) {
    if (text_special[static_cast<unsigned char>(text[i])]) {
      w.put(text.substr(run, i - run));
      html_putc(w, text[i]);
      run = i + 1;
    }
  }
  w.put(text.substr(run));
}

void html_plain_text(writer& w, std::string_view text) {
  text = trim(text);
  for (size_t i = 0; i < text.size();) {
    // A run of white space, or of anything else.
    bool space = is_space(text[i]);
    size_t end = i, breaks = 0;
    for (; end < text.size() && is_space(text[end]) == space; end++)
      breaks += text[end] == '\n';
    if (breaks >= 2)
      w.put("<p></p>");
    else
      html_puttext(w, text.substr(i, end - i));
    i = end;
  }
}

void html_puts(writer& w, std::string_view text) {
  size_t run = 0;
  for (size_t i = 0; i < text.size(); i++) {
    if (const char* entity = html_entity(text[i])) {
      w.put(text.substr(run, i - run));
      w.put(entity);
      run = i + 1;
    }
  }
  w.put(text.substr(run));
}

void label_puts(writer& w, std::string_view text) {
  static const char hex[] = "0123456789ABCDEF";
  size_t run = 0, i = 0;
  while (i < text.size()) {
    unsigned char c = text[i];
    if (!label_special[c]) {
      i++;
      continue;
    }
    size_t len = c >= 0x80 ? utf8_length(text.substr(i)) : 0;
    if (len > 0) {
      // U+FFFE and U+FFFF, EF BF BE and EF BF BF, are no XML characters.
      bool nonchar = len == 3 && c == 0xEF && text[i + 1] == '\xBF' && (text[i + 2] == '\xBE' || text[i + 2] == '\xBF');
      if (!nonchar) {
        i += len;
        continue;
      }
    }
    w.put(text.substr(run, i - run));
    if (const char* entity = html_entity(c)) {
      w.put(entity);
    } else if (c < 0x80 || len > 0) {
      w.put("&#xFFFD;");  // a control byte, or U+FFFE or U+FFFF
    } else {
      const char ref[] = {'&', '#', 'x', hex[c >> 4], hex[c & 15], ';'};
      w.put(std::string_view(ref, sizeof ref));
    }
    i += len > 0 ? len : 1;
    run = i;
  }
  w.put(text.substr(run));
}
