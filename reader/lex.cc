// The tokenizer and the token helpers built on it.
#include "reader/lex.h"

#include <array>
#include <cstring>

#include "reader/chars.h"

namespace {

// Ends a word: white space or punctuation.
constexpr auto word_end = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = is_space(c) || is_punct(c);
  return table;
}();

size_t remaining(const lexer& lx) { return lx.len - lx.pos; }

}  // namespace

void lex_newline(lexer& lx, size_t at) {
  lx.line++;
  lx.line_start = at;
}

void lex_advance(lexer& lx, size_t end) {
  for (const void* nl; (nl = std::memchr(lx.buf + lx.pos, '\n', end - lx.pos));) {
    lx.pos = static_cast<const char*>(nl) - lx.buf;
    lex_newline(lx, lx.pos++);
  }
  lx.pos = end;
}

namespace {

// Moves past one byte, if one remains.
void consume(lexer& lx) {
  if (lx.pos < lx.len) {
    if (lx.buf[lx.pos] == '\n')
      lex_newline(lx, lx.pos);
    lx.pos++;
  }
}

bool at_eof(lexer& lx, bool eof_ok) {
  if (!eof_ok)
    log_at(lx, {"unexpected eof"});
  return false;
}

bool lex_word(token& t, lexer& lx) {
  const char* b = lx.buf;
  size_t start = lx.pos, end = start + 1;
  if (!is_punct(b[start]))
    while (end < lx.len && !word_end[static_cast<unsigned char>(b[end])])
      end++;
  lx.pos = end;  // a word holds no newline
  t.type = TOKEN_WORD;
  t.str = b + start;
  t.len = end - start;
  return true;
}

// The text is the raw bytes between the quotes; a quote preceded by a
// backslash does not end it, and nothing is unescaped.
bool lex_quoted(token& t, lexer& lx, bool eof_ok) {
  const char* b = lx.buf;
  char q = b[lx.pos];
  consume(lx);
  size_t start = lx.pos, end = start;
  for (;;) {
    const void* found = std::memchr(b + end, q, lx.len - end);
    end = found ? static_cast<const char*>(found) - b : lx.len;
    if (!found || b[end - 1] != '\\')
      break;
    end++;
  }
  lex_advance(lx, end);
  t.str = b + start;
  t.len = end - start;
  if (end >= lx.len)
    return at_eof(lx, eof_ok);
  consume(lx);
  t.type = TOKEN_QUOTED;
  return true;
}

// A comment line with nothing but white space keeps its newline, so that an
// empty comment line becomes a paragraph break in the docstring.
bool lex_line_comment(token& t, lexer& lx, bool eof_ok) {
  const char* b = lx.buf;
  consume(lx);
  consume(lx);
  size_t start = lx.pos;
  const void* found = std::memchr(b + start, '\n', lx.len - start);
  size_t end = found ? static_cast<const char*>(found) - b : lx.len;
  lx.pos = end;  // up to the newline, which is consumed below
  t.str = b + start;
  t.len = end - start;
  if (!found)
    return at_eof(lx, eof_ok);
  bool blank = true;
  for (size_t i = start; i < end && blank; i++)
    blank = is_space(b[i]);
  if (blank)
    t.len++;
  consume(lx);
  t.type = TOKEN_COMMENT;
  return true;
}

// The rule for a block comment's line breaks, for the tokenizer and for
// lex_block_text alike: at s[i], just after a line break, writes what the
// break becomes (a newline where an empty line follows, else a space), a
// space for each white-space byte of the margin, and, for a framed line's
// '*' (not the closing one), a space, or a newline where the line holds
// nothing else. Returns the offset after the margin. Past the end of `s`
// the bytes read as the comment's closing "*/" where `closer` (a body whose
// closing follows it), else as none at all.
size_t block_line_break(std::string_view s, size_t i, bool closer, std::string* out) {
  auto byte = [&](size_t k) -> int {
    if (k < s.size())
      return static_cast<unsigned char>(s[k]);
    return !closer ? -1 : k == s.size() ? '*' : '/';
  };
  if (out)
    *out += byte(i) == '\n' ? '\n' : ' ';
  for (; i < s.size() && is_space(s[i]); i++)
    if (out)
      *out += ' ';
  if (byte(i) == '*' && byte(i + 1) != '/' && byte(i + 1) != -1) {
    if (out)
      *out += byte(i + 1) == '\n' ? '\n' : ' ';
    i++;
  }
  return i;
}

// Scans a block comment from its "/*" on, up to its "*/" or as far as the
// input allows, and returns whether it was closed. With `keep`, its text is
// rewritten into the lexer's scratch (the input is only read): line breaks
// and margins as block_line_break says.
bool scan_block_comment(lexer& lx, bool keep) {
  const char* b = lx.buf;
  std::string* text = keep ? &lx.scratch : nullptr;
  lx.scratch.clear();
  consume(lx);
  consume(lx);
  while (remaining(lx) >= 3) {
    // A run of bytes that are neither a newline nor a '*' is kept as it is.
    size_t end = lx.pos, limit = lx.len - 2;
    while (end < limit && b[end] != '\n' && b[end] != '*')
      end++;
    if (end > lx.pos) {
      if (text)
        text->append(b + lx.pos, end - lx.pos);
      lex_advance(lx, end);
      continue;
    }
    char c = b[lx.pos];
    if (c == '*' && b[lx.pos + 1] == '/')
      return true;
    consume(lx);
    if (c != '\n') {
      if (text)
        *text += c;
      continue;
    }
    lex_advance(lx, block_line_break(std::string_view(b, lx.len), lx.pos, false, text));
  }
  return false;
}

bool lex_block_comment(token& t, lexer& lx, bool eof_ok) {
  const size_t pos = lx.pos, line = lx.line, line_start = lx.line_start;
  bool closed = scan_block_comment(lx, lx.comment_text);
  if (!closed && remaining(lx) == 2 && !lx.comment_text) {
    // The end of the input cut the comment short, and what was scanned of it
    // is the token's partial text, which the parser tests like any token's.
    // A lexer that makes no comment text makes this one: scanned again.
    lx.pos = pos;
    lx.line = line;
    lx.line_start = line_start;
    scan_block_comment(lx, true);
  }
  t.str = lx.scratch.data();
  t.len = lx.scratch.size();
  if (closed) {
    consume(lx);
    consume(lx);
  } else if (remaining(lx) == 2) {
    // Unterminated: the last two bytes cannot close it. Report where the scan
    // stopped, then consume them, so that no later read makes a token of them.
    at_eof(lx, eof_ok);
    consume(lx);
    consume(lx);
    return false;
  } else if (remaining(lx) == 1) {
    consume(lx);
  }
  t.type = TOKEN_COMMENT;
  return true;
}

}  // namespace

std::string_view lex_cstr(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

bool lex_next(token& t, lexer& lx, bool eof_ok) {
  t = token{};
  // White space between tokens is short: its newlines are counted as it goes.
  for (; lx.pos < lx.len && is_space(lx.buf[lx.pos]); lx.pos++)
    if (lx.buf[lx.pos] == '\n')
      lex_newline(lx, lx.pos);
  if (lx.pos >= lx.len)
    return at_eof(lx, eof_ok);
  char c = lx.buf[lx.pos];
  char next = remaining(lx) >= 2 ? lx.buf[lx.pos + 1] : '\0';
  // "/*" or "--" as the last two bytes of the input opens no comment.
  if (c == '/' && next == '*' && remaining(lx) >= 3)
    return lex_block_comment(t, lx, eof_ok);
  if (c == '\'' || c == '"')
    return lex_quoted(t, lx, eof_ok);
  if (c == '-' && next == '-' && remaining(lx) >= 3)
    return lex_line_comment(t, lx, eof_ok);
  return lex_word(t, lx);
}

bool lex_comment(token& t, lexer& lx, bool eof_ok, text_store* docs, std::optional<std::string_view>& doc) {
  doc.reset();
  bool gathering = false;
  for (;;) {
    if (!lex_next(t, lx, eof_ok)) {
      if (gathering)
        text_drop(*docs);  // comments at the end of the input document nothing
      return false;
    }
    if (t.type != TOKEN_COMMENT)
      break;
    if (!docs)
      continue;
    // Each comment counts up to its first NUL byte, as a C string copy does.
    text_append(*docs, lex_cstr(t.text()));
    gathering = true;
  }
  if (gathering)
    doc = text_close(*docs);
  return true;
}

bool lex_token(token& t, lexer& lx) {
  do {
    if (!lex_next(t, lx, false))
      return false;
  } while (t.type == TOKEN_COMMENT);
  return true;
}

match lex_match(token& t, lexer& lx, const char* keyword) {
  if (!lex_token(t, lx))
    return match::eof;
  return t.type == TOKEN_WORD && t.len > 0 && lex_keyword(t, keyword) ? match::yes : match::no;
}

bool lex_expect(token& t, lexer& lx, const char* keyword) {
  if (!lex_token(t, lx))
    return false;  // lex_next has reported "unexpected eof"
  if (t.type == TOKEN_WORD && t.len > 0 && lex_keyword(t, keyword))
    return true;
  lex_unexpected(lx, t, keyword);
  return false;
}

void lex_unexpected(const lexer& lx, const token& t, const char* keyword) {
  log_at(lx, {"unexpected: ", log_quote(lex_cstr(t.text())), " (wanted \"", keyword, "\")"});
}

void lex_block_text(std::string_view body, std::string& out) {
  out.clear();
  for (size_t i = 0; i < body.size();) {
    char c = body[i++];
    if (c != '\n')
      out += c;
    else
      i = block_line_break(body, i, true, &out);
  }
}
