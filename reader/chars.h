// The character classes of the schema language, shared by the tokenizer and
// the docstring renderer: those of the POSIX locale, in which no byte from
// 0x80 up belongs to any class.
#pragma once

/// White space: the bytes 0x09 to 0x0D and the space.
constexpr bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

/// The four punctuation bytes, each a word token by itself.
constexpr bool is_punct(unsigned char c) { return c == '(' || c == ')' || c == ',' || c == ';'; }
