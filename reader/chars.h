// The character classes of the schema language, shared by the tokenizers and
// the docstring renderer: those of the POSIX locale, in which no byte from
// 0x80 up belongs to any class. ASCII letter case is folded here and nowhere
// else.
#pragma once

#include <string>
#include <string_view>

/// White space: the bytes 0x09 to 0x0D and the space.
constexpr bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

/// The four punctuation bytes, each a word token by itself.
constexpr bool is_punct(unsigned char c) { return c == '(' || c == ')' || c == ',' || c == ';'; }

/// An ASCII digit.
constexpr bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

/// An ASCII letter.
constexpr bool is_letter(unsigned char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

/// `c` with an ASCII capital letter made small; every other byte as it is.
constexpr unsigned char ascii_lower(unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; }

/// Whether `a` and `b` are the same text, ASCII letter case ignored.
constexpr bool ascii_iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); i++)
    if (ascii_lower(a[i]) != ascii_lower(b[i]))
      return false;
  return true;
}

/// Whether `text` begins with `prefix`, ASCII letter case ignored.
constexpr bool ascii_istarts_with(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && ascii_iequal(text.substr(0, prefix.size()), prefix);
}

/// `text` with its ASCII capital letters made small, into `out`.
inline void ascii_lower_into(std::string_view text, std::string& out) {
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); i++)
    out[i] = char(ascii_lower(text[i]));
}

/// `s` without the white space at either end.
constexpr std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && is_space(s.back()))
    s.remove_suffix(1);
  return s;
}
