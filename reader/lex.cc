// The tokenizer and the token helpers built on it.
#include "reader/lex.h"

#include <array>
#include <cstring>

#include "reader/log.h"
#include "reader/schema.h"

namespace {

// Ends a word: white space or punctuation.
constexpr auto word_end = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = lex_is_space(c) || lex_is_punct(c);
  return table;
}();

size_t remaining(const parser& p) { return p.len - p.pos; }

// Moves past one byte. A newline counts as the first column of the line it
// opens, so after "a\nb" the position reads 2:2.
void consume(parser& p) {
  if (p.pos < p.len) {
    if (p.buf[p.pos] == '\n') {
      p.line++;
      p.column = 1;
    } else {
      p.column++;
    }
    p.pos++;
  }
}

// Moves past every byte up to `end`, as many calls of consume would.
void advance_to(parser& p, size_t end) {
  const char* b = p.buf;
  size_t from = p.pos;
  const void* nl = std::memchr(b + from, '\n', end - from);
  if (!nl) {
    p.column += end - from;
  } else {
    size_t last;
    do {
      p.line++;
      last = static_cast<const char*>(nl) - b;
      nl = std::memchr(b + last + 1, '\n', end - last - 1);
    } while (nl);
    p.column = end - last;
  }
  p.pos = end;
}

int at_eof(token& t, parser& p, int eof_ok) {
  t.eof = 1;
  if (!eof_ok)
    log_at(p, "unexpected eof");
  return 0;
}

int lex_word(token& t, parser& p) {
  const char* b = p.buf;
  size_t start = p.pos, end = start + 1;
  if (!lex_is_punct(b[start]))
    while (end < p.len && !word_end[static_cast<unsigned char>(b[end])])
      end++;
  p.column += end - start;  // a word holds no newline
  p.pos = end;
  t.type = TOKEN_WORD;
  t.str = b + start;
  t.len = end - start;
  return 1;
}

// The text is the raw bytes between the quotes; a quote preceded by a
// backslash does not end it, and nothing is unescaped.
int lex_quoted(token& t, parser& p, int eof_ok) {
  const char* b = p.buf;
  char q = b[p.pos];
  consume(p);
  size_t start = p.pos, end = start;
  for (;;) {
    const void* found = std::memchr(b + end, q, p.len - end);
    end = found ? static_cast<const char*>(found) - b : p.len;
    if (!found || b[end - 1] != '\\')
      break;
    end++;
  }
  advance_to(p, end);
  t.str = b + start;
  t.len = end - start;
  if (end >= p.len)
    return at_eof(t, p, eof_ok);
  consume(p);
  t.type = TOKEN_QUOTED;
  return 1;
}

// A comment line with nothing but white space keeps its newline, so that an
// empty comment line becomes a paragraph break in the docstring.
int lex_line_comment(token& t, parser& p, int eof_ok) {
  const char* b = p.buf;
  consume(p);
  consume(p);
  size_t start = p.pos;
  const void* found = std::memchr(b + start, '\n', p.len - start);
  size_t end = found ? static_cast<const char*>(found) - b : p.len;
  p.column += end - start;
  p.pos = end;
  t.str = b + start;
  t.len = end - start;
  if (!found)
    return at_eof(t, p, eof_ok);
  bool blank = true;
  for (size_t i = start; i < end && blank; i++)
    blank = lex_is_space(b[i]);
  if (blank)
    t.len++;
  consume(p);
  t.type = TOKEN_COMMENT;
  return 1;
}

// The comment's text is rewritten into parser.scratch (the input is only
// read): line breaks and the margin of continuation lines, with one leading
// '*', become spaces, and an empty or framed blank line becomes a newline.
int lex_block_comment(token& t, parser& p, int eof_ok) {
  const char* b = p.buf;
  std::string& text = p.scratch;
  text.clear();
  consume(p);
  consume(p);
  bool closed = false;
  while (remaining(p) >= 3) {
    // A run of bytes that are neither a newline nor a '*' is kept as it is.
    size_t end = p.pos, limit = p.len - 2;
    while (end < limit && b[end] != '\n' && b[end] != '*')
      end++;
    if (end > p.pos) {
      text.append(b + p.pos, end - p.pos);
      p.column += end - p.pos;
      p.pos = end;
      continue;
    }
    char c = b[p.pos];
    if (c == '*' && b[p.pos + 1] == '/') {
      closed = true;
      break;
    }
    consume(p);
    if (c != '\n') {
      text += c;
      continue;
    }
    text += p.pos < p.len && b[p.pos] == '\n' ? '\n' : ' ';
    while (p.pos < p.len && lex_is_space(b[p.pos])) {
      consume(p);
      text += ' ';
    }
    if (remaining(p) >= 2 && b[p.pos] == '*' && b[p.pos + 1] != '/') {
      text += b[p.pos + 1] == '\n' ? '\n' : ' ';
      consume(p);
    }
  }
  t.str = text.data();
  t.len = text.size();
  if (closed) {
    consume(p);
    consume(p);
  } else if (remaining(p) == 2) {
    // Unterminated: the last two bytes cannot close it. Report where the scan
    // stopped, then consume them, so that no later read makes a token of them.
    at_eof(t, p, eof_ok);
    consume(p);
    consume(p);
    return 0;
  } else if (remaining(p) == 1) {
    consume(p);
  }
  t.type = TOKEN_COMMENT;
  return 1;
}

}  // namespace

std::string_view lex_cstr(std::string_view text) {
  size_t nul = text.find('\0');
  return nul == std::string_view::npos ? text : text.substr(0, nul);
}

int lex_next(token& t, parser& p, int eof_ok) {
  t = token{};
  // White space between tokens is short: count its newlines as it goes.
  const char* b = p.buf;
  size_t pos = p.pos;
  for (; pos < p.len && lex_is_space(b[pos]); pos++) {
    if (b[pos] == '\n') {
      p.line++;
      p.column = 1;
    } else {
      p.column++;
    }
  }
  p.pos = pos;
  if (p.pos >= p.len)
    return at_eof(t, p, eof_ok);
  char c = p.buf[p.pos];
  char next = remaining(p) >= 2 ? p.buf[p.pos + 1] : '\0';
  // "/*" or "--" as the last two bytes of the input opens no comment.
  if (c == '/' && next == '*' && remaining(p) >= 3)
    return lex_block_comment(t, p, eof_ok);
  if (c == '\'' || c == '"')
    return lex_quoted(t, p, eof_ok);
  if (c == '-' && next == '-' && remaining(p) >= 3)
    return lex_line_comment(t, p, eof_ok);
  return lex_word(t, p);
}

int lex_comment(token& t, parser& p, int eof_ok, std::optional<std::string>& doc) {
  doc.reset();
  for (;;) {
    if (!lex_next(t, p, eof_ok)) {
      doc.reset();  // comments at the end of the input document nothing
      return 0;
    }
    if (t.type != TOKEN_COMMENT)
      return 1;
    // The docstring is a C string: each comment counts up to its first NUL.
    std::string_view text = lex_cstr(t.text());
    if (doc)
      doc->append(text);
    else
      doc.emplace(text);
  }
}

int lex_match(token& t, parser& p, const char* keyword) {
  do {
    if (!lex_next(t, p, 0))
      return -1;
  } while (t.type == TOKEN_COMMENT);
  return t.type == TOKEN_WORD && t.len > 0 && lex_keyword(t, keyword);
}

int lex_expect(token& t, parser& p, const char* keyword) {
  do {
    if (!lex_next(t, p, 0))
      return 0;  // lex_next has reported "unexpected eof"
  } while (t.type == TOKEN_COMMENT);
  if (t.type == TOKEN_WORD && t.len > 0 && lex_keyword(t, keyword))
    return 1;
  lex_unexpected(p, t, keyword);
  return 0;
}

void lex_unexpected(const parser& p, const token& t, const char* keyword) {
  std::string_view text = lex_cstr(t.text());
  log_at(p, "unexpected: %.*s (wanted \"%s\")", int(text.size()), text.data(), keyword);
}
