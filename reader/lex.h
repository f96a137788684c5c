// The tokenizer and the token helpers: words, quoted strings and comments, with
// line and column tracking; docstring gathering; the keyword rule.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "reader/chars.h"
#include "reader/log.h"
#include "reader/schema.h"

enum token_type : int {
  TOKEN_NONE = 0,  // no token was produced: the end of the input
  TOKEN_COMMENT = 1,
  TOKEN_QUOTED = 2,
  TOKEN_WORD = 3,
};

struct token {
  const char* str = nullptr;  // into the input (or the lexer's scratch); null when no token began
  size_t len = 0;             // bytes of text; may be 0
  token_type type = TOKEN_NONE;
  std::string_view text() const { return str ? std::string_view(str, len) : std::string_view(); }
};

/// The input and the tokenizer's place in it. The input is only read and must
/// outlive the lexer; so must the text of every token taken from it.
struct lexer {
  lexer(std::string_view input, const diagnostics& d) : buf(input.data()), len(input.size()), diag(d) {}

  const char* buf;
  size_t pos = 0;         // offset of the next unread byte
  size_t len;             // bytes in buf
  size_t line = 0;        // counted from 0; messages show line + 1
  size_t line_start = 0;  // where lex_column counts from: 0, then the offset of the last newline
  diagnostics diag;
  // Whether a block comment's text is made: without it, a closed block
  // comment is only scanned and its token's text is empty. The tokens and
  // positions are the same either way, and so is the partial text of a
  // comment that the end of the input cuts short, which the parser reads.
  bool comment_text = true;
  std::string scratch;  // the rewritten text of the block comment read last
};

/// The column that messages show: after k bytes of the first line it is k,
/// after the newline and k bytes of any later line k + 1, since the newline
/// counts as the first column of the line it opens ("a\nb" ends at 2:2).
inline size_t lex_column(const lexer& lx) { return lx.pos - lx.line_start; }

/// Counts the newline at offset `at`, which the tokenizer is moving past:
/// the next line starts there. The one place where a line is counted.
void lex_newline(lexer& lx, size_t at);

/// Moves past every byte up to `end`, counting the newlines among them.
void lex_advance(lexer& lx, size_t end);

/// The docstring text of a closed block comment whose bytes between "/*" and
/// "*/" are `body`, into `out`: the text that lex_next rewrites such a comment
/// to (line breaks and margins to spaces, an empty or framed blank line to a
/// newline), for tokenizers that find the comment's end by rules of their own.
void lex_block_text(std::string_view body, std::string& out);

/// The result of lex_match.
enum class match { no, yes, eof };

/// The text up to its first NUL byte, as a C string copy would keep it.
std::string_view lex_cstr(std::string_view text);

/// Reads the next token into `t`: true, or false at the end of the input,
/// which is reported as "unexpected eof" unless `eof_ok`. Partial text stays in `t`.
[[nodiscard]] bool lex_next(token& t, lexer& lx, bool eof_ok);

/// Skips comments, gathering their texts into a docstring kept in `docs` and
/// returned in `doc` (absent when there were none, or when `docs` is null).
/// true with the first other token in `t`; false at the end of the input,
/// with `doc` absent.
[[nodiscard]] bool lex_comment(token& t, lexer& lx, bool eof_ok, text_store* docs,
                               std::optional<std::string_view>& doc);

/// Reads the next token that is not a comment into `t`: true, or false at
/// the end of the input, which is reported as "unexpected eof".
[[nodiscard]] bool lex_token(token& t, lexer& lx);

/// Skips comments; whether the next token is a non-empty word matching `keyword`.
[[nodiscard]] match lex_match(token& t, lexer& lx, const char* keyword);

/// Skips comments; true when the next token is a non-empty word matching
/// `keyword`. Otherwise reports "unexpected: ..." (or lex_next's "unexpected
/// eof") and returns false, leaving the offending token in `t`.
[[nodiscard]] bool lex_expect(token& t, lexer& lx, const char* keyword);

/// Reports "unexpected: TEXT (wanted "KEYWORD")" for the token in `t`.
void lex_unexpected(const lexer& lx, const token& t, const char* keyword);

/// The keyword rule: the token's text shows no difference from `keyword` over
/// the token's length, ASCII case folded, so any prefix matches. An empty
/// token matches everything; callers exclude it. (Inline: the parser tests
/// most tokens against several keywords.)
inline bool lex_keyword(const token& t, const char* keyword) {
  if (t.len > 0 && ascii_lower(t.str[0]) != ascii_lower(keyword[0]))
    return false;  // most tests end here
  for (size_t i = 0; i < t.len; i++) {
    unsigned char k = ascii_lower(keyword[i]), c = ascii_lower(t.str[i]);
    if (k != c)
      return false;
    if (k == '\0')
      return true;  // a NUL in the token where the keyword ends
  }
  return true;
}
