// The dialect tokenizer. Each database cuts its input a little differently:
// which comments it knows, which quotes make a name and which a string, and
// whether a backslash escapes.
#include "reader/dialect_lex.h"

#include <array>
#include <cstring>

#include "reader/chars.h"

namespace {

// Bytes that may stand in a word: letters, digits, '_', '$' and every byte
// from 0x80 up (names in UTF-8).
constexpr auto word_byte = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
               c >= 0x80;
  return table;
}();

bool is_word(unsigned char c) { return word_byte[c]; }

char byte_at(const lexer& lx, size_t i) { return i < lx.len ? lx.buf[i] : '\0'; }

// The end of the input cut a token short: reported once, at the end.
bool cut_short(dtoken& t, dlexer& dl) {
  lex_advance(dl.lx, dl.lx.len);
  log_at(dl.lx, {"unexpected eof"});
  dl.failed = true;
  t = dtoken{};
  return false;
}

// The offset just behind the quote `q` that closes a quoted token whose text
// starts at `from`; a doubled quote stands for one, and with `backslash` a
// backslash escapes the byte after it. npos when it is not closed.
size_t quote_end(const lexer& lx, size_t from, char q, bool backslash) {
  for (size_t i = from; i < lx.len; i++) {
    char c = lx.buf[i];
    if (backslash && c == '\\') {
      i++;
    } else if (c == q) {
      if (byte_at(lx, i + 1) != q)
        return i + 1;
      i++;
    }
  }
  return std::string_view::npos;
}

// A PostgreSQL dollar quote's opening tag at `at` ("$$" or "$tag$"), or 0.
size_t dollar_tag(const lexer& lx, size_t at) {
  size_t i = at + 1;
  if (i < lx.len && lx.buf[i] >= '0' && lx.buf[i] <= '9')
    return 0;  // $1 is a parameter
  while (i < lx.len && is_word(lx.buf[i]) && lx.buf[i] != '$')
    i++;
  return i < lx.len && lx.buf[i] == '$' ? i + 1 - at : 0;
}

// Whether "--" at `at` opens a comment: MySQL wants white space or a control
// byte after it.
bool line_comment_at(const dlexer& dl, size_t at) {
  if (byte_at(dl.lx, at) != '-' || byte_at(dl.lx, at + 1) != '-')
    return false;
  if (dl.dialect != sql_dialect::mysql)
    return true;
  unsigned char next = byte_at(dl.lx, at + 2);
  return at + 2 >= dl.lx.len || next <= ' ';
}

// A comment from `at` on, which dl.lx stands at, opened by `opener` bytes;
// false when the end of the input cuts it short and the dialect counts that
// as an error.
bool comment(dlexer& dl, size_t at, size_t opener) {
  lexer& lx = dl.lx;
  const char* b = lx.buf;
  dcomment c{dcomment_kind::line, {}, lx.line};
  if (b[at] == '/') {
    size_t body = at + opener;
    if (dl.dialect == sql_dialect::mysql &&
        (byte_at(lx, body) == '!' || (byte_at(lx, body) == 'M' && byte_at(lx, body + 1) == '!')))
      c.kind = dcomment_kind::executable;
    else
      c.kind = dcomment_kind::block;
    // PostgreSQL nests block comments; the others end at the first "*/".
    size_t depth = 1, i = body;
    for (; i + 1 < lx.len; i++) {
      if (b[i] == '*' && b[i + 1] == '/') {
        if (--depth == 0)
          break;
        i++;
      } else if (dl.dialect == sql_dialect::postgres && b[i] == '/' && b[i + 1] == '*') {
        depth++;
        i++;
      }
    }
    if (i + 1 >= lx.len) {
      // SQLite lets a comment run to the end of the input.
      if (dl.dialect != sql_dialect::sqlite)
        return false;
      c.body = std::string_view(b + body, lx.len - body);
      lex_advance(lx, lx.len);
    } else {
      c.body = std::string_view(b + body, i - body);
      lex_advance(lx, i + 2);
    }
  } else {
    size_t body = at + opener;
    const void* nl = std::memchr(b + body, '\n', lx.len - body);
    size_t end = nl ? static_cast<const char*>(nl) - b : lx.len;
    c.body = std::string_view(b + body, end - body);
    lx.pos = end;  // up to its newline, which stays for the next read
  }
  if (dl.keep_comments)
    dl.comments.push_back(c);
  return true;
}

void name_text(const dtoken& t, sql_dialect dialect, std::string& out);

}  // namespace

bool dlex_next(dtoken& t, dlexer& dl) {
  lexer& lx = dl.lx;
  const char* b = lx.buf;
  dl.comments.clear();
  for (;;) {
    // White space is short and counted as it goes: lex_advance's search
    // for newlines costs more than the bytes it looks at.
    size_t i = lx.pos;
    for (; i < lx.len && is_space(b[i]); i++)
      if (b[i] == '\n')
        lex_newline(lx, i);
    lx.pos = i;
    if (i >= lx.len) {
      t = dtoken{};
      return false;
    }
    unsigned char c = b[i];
    if (line_comment_at(dl, i) || (c == '#' && dl.dialect == sql_dialect::mysql) ||
        (c == '/' && byte_at(lx, i + 1) == '*')) {
      if (!comment(dl, i, c == '#' ? 1 : 2))
        return cut_short(t, dl);
      continue;
    }
    if (c == '\\' && dl.dialect == sql_dialect::postgres) {
      // A psql meta-command (\connect, \restrict, ...): the rest of its line.
      const void* nl = std::memchr(b + i, '\n', lx.len - i);
      lex_advance(lx, nl ? static_cast<const char*>(nl) - b : lx.len);
      continue;
    }
    t.line = lx.line;
    size_t end;
    if (c == '\'' || (c == '"' && dl.dialect == sql_dialect::mysql)) {
      t.kind = DTOKEN_STRING;
      end = quote_end(lx, i + 1, c, dl.dialect == sql_dialect::mysql);
      if (end == std::string_view::npos)
        return cut_short(t, dl);
    } else if ((c == 'E' || c == 'e') && byte_at(lx, i + 1) == '\'' && dl.dialect == sql_dialect::postgres) {
      t.kind = DTOKEN_STRING;
      end = quote_end(lx, i + 2, '\'', true);
      if (end == std::string_view::npos)
        return cut_short(t, dl);
    } else if (c == '"' || (c == '`' && dl.dialect != sql_dialect::postgres)) {
      t.kind = DTOKEN_NAME;
      end = quote_end(lx, i + 1, c, false);
      if (end == std::string_view::npos)
        return cut_short(t, dl);
    } else if (c == '[' && dl.dialect == sql_dialect::sqlite) {
      t.kind = DTOKEN_NAME;
      const void* close = std::memchr(b + i, ']', lx.len - i);
      if (!close)
        return cut_short(t, dl);
      end = static_cast<const char*>(close) - b + 1;
    } else if (size_t tag = c == '$' && dl.dialect == sql_dialect::postgres ? dollar_tag(lx, i) : 0) {
      t.kind = DTOKEN_STRING;
      std::string_view closer(b + i, tag);
      std::string_view rest(b + i + tag, lx.len - i - tag);
      size_t found = rest.find(closer);
      if (found == std::string_view::npos)
        return cut_short(t, dl);
      end = i + tag + found + tag;
    } else if (is_word(c)) {
      t.kind = DTOKEN_WORD;
      end = i + 1;
      while (end < lx.len && is_word(b[end]))
        end++;
    } else {
      t.kind = DTOKEN_PUNCT;
      end = i + 1;
    }
    t.raw = std::string_view(b + i, end - i);
    if (t.kind == DTOKEN_WORD || t.kind == DTOKEN_PUNCT)
      lx.pos = end;  // no newline in either
    else
      lex_advance(lx, end);
    return true;
  }
}

void dlex_name(const dtoken& t, sql_dialect dialect, std::string& out) {
  name_text(t, dialect, out);
  // The model's names are C strings too; no database takes a NUL byte in a name.
  out.resize(lex_cstr(out).size());
}

namespace {

// A name's text as dlex_name makes it, NUL bytes and all.
void name_text(const dtoken& t, sql_dialect dialect, std::string& out) {
  out.clear();
  if (t.kind == DTOKEN_NAME || t.kind == DTOKEN_STRING) {
    char close = t.raw[0] == '[' ? ']' : t.raw[0];
    std::string_view inner = t.raw.substr(1, t.raw.size() >= 2 ? t.raw.size() - 2 : 0);
    for (size_t i = 0; i < inner.size(); i++) {
      out += inner[i];
      if (inner[i] == close && close != ']' && i + 1 < inner.size() && inner[i + 1] == close)
        i++;
    }
    return;
  }
  out.assign(t.raw);
  if (dialect == sql_dialect::postgres)
    for (char& c : out)
      if (c >= 'A' && c <= 'Z')
        c = char(c - 'A' + 'a');
}

}  // namespace

void dlex_string(const dtoken& t, sql_dialect dialect, std::string& out) {
  out.clear();
  std::string_view raw = t.raw;
  if (raw.empty())
    return;
  if (raw[0] == '$') {  // $tag$text$tag$: the text as it stands
    size_t tag = raw.find('$', 1) + 1;
    out.assign(raw.substr(tag, raw.size() - 2 * tag));
    return;
  }
  bool backslash = dialect == sql_dialect::mysql;
  if (raw[0] == 'E' || raw[0] == 'e') {
    backslash = true;
    raw.remove_prefix(1);
  }
  if (raw[0] != '\'' && raw[0] != '"') {
    name_text(t, dialect, out);
    return;
  }
  char q = raw[0];
  std::string_view inner = raw.substr(1, raw.size() >= 2 ? raw.size() - 2 : 0);
  for (size_t i = 0; i < inner.size(); i++) {
    char c = inner[i];
    if (backslash && c == '\\' && i + 1 < inner.size()) {
      char e = inner[++i];
      switch (e) {
        case 'n': out += '\n'; break;
        case 't': out += '\t'; break;
        case 'r': out += '\r'; break;
        case '0': out += '\0'; break;
        case 'b': out += '\b'; break;
        case 'Z': out += '\x1a'; break;
        // MySQL keeps the backslash of \% and \_, which only LIKE reads.
        case '%': case '_': if (dialect == sql_dialect::mysql) out += '\\'; out += e; break;
        default: out += e; break;
      }
    } else {
      out += c;
      if (c == q && i + 1 < inner.size() && inner[i + 1] == q)
        i++;
    }
  }
}
