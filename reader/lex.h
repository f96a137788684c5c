// The tokenizer and the token helpers: words, quoted strings and comments, with
// line and column tracking; docstring gathering; the keyword rule.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct parser;

constexpr int TOKEN_COMMENT = 1;
constexpr int TOKEN_QUOTED = 2;
constexpr int TOKEN_WORD = 3;

/// White space of the POSIX locale: the bytes 0x09 to 0x0D and the space;
/// no byte from 0x80 up.
constexpr bool lex_is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

/// The four punctuation bytes, each a word token by itself.
constexpr bool lex_is_punct(unsigned char c) { return c == '(' || c == ')' || c == ',' || c == ';'; }

struct token {
  const char* str = nullptr;  // into parser.buf; null when no token began
  size_t len = 0;             // bytes of text; may be 0
  int eof = 0;                // 1 when the call ran into the end of the input
  int type = 0;               // TOKEN_*; 0 when no token was produced
  std::string_view text() const { return str ? std::string_view(str, len) : std::string_view(); }
};

/// The text up to its first NUL byte, as a C string copy would keep it.
std::string_view lex_cstr(std::string_view text);

/// Reads the next token into `t`: 1, or 0 at the end of the input, which is
/// reported as "unexpected eof" unless `eof_ok`. Partial text stays in `t`.
[[nodiscard]] int lex_next(token& t, parser& p, int eof_ok);

/// Skips comments, gathering their texts into `doc` (absent when there were
/// none). 1 with the first other token in `t`; 0 at the end of the input, with
/// `doc` absent.
[[nodiscard]] int lex_comment(token& t, parser& p, int eof_ok, std::optional<std::string>& doc);

/// Skips comments; 1 when the next token is a non-empty word matching
/// `keyword`, 0 when it is not, -1 at the end of the input.
[[nodiscard]] int lex_match(token& t, parser& p, const char* keyword);

/// Skips comments; 1 when the next token is a non-empty word matching
/// `keyword`. Otherwise reports "unexpected: ..." (or lex_next's "unexpected
/// eof") and returns 0, leaving the offending token in `t`.
[[nodiscard]] int lex_expect(token& t, parser& p, const char* keyword);

/// Reports "unexpected: TEXT (wanted "KEYWORD")" for the token in `t`.
void lex_unexpected(const parser& p, const token& t, const char* keyword);

/// The keyword rule: the token's text shows no difference from `keyword` over
/// the token's length, ASCII case folded, so any prefix matches. An empty
/// token matches everything; callers exclude it. (Inline: the parser tests
/// most tokens against several keywords.)
inline bool lex_keyword(const token& t, const char* keyword) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  if (t.len > 0 && fold(t.str[0]) != fold(keyword[0]))
    return false;  // most tests end here
  for (size_t i = 0; i < t.len; i++) {
    unsigned char k = fold(keyword[i]), c = fold(t.str[i]);
    if (k != c)
      return false;
    if (k == '\0')
      return true;  // a NUL in the token where the keyword ends
  }
  return true;
}
