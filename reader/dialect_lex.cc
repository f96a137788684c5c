// The dialect tokenizer. Each database cuts its input a little differently:
// which comments it knows, which quotes make a name and which a string,
// whether a backslash escapes, and which lines belong to its client rather
// than to SQL. The rules of reader/dialect.h say which.
#include "reader/dialect_lex.h"

#include <array>
#include <cstring>

#include "reader/chars.h"
#include "reader/dialect_psql.h"

namespace {

// Bytes that may stand in a word: letters, digits, '_', '$' and every byte
// from 0x80 up (names in UTF-8).
constexpr auto word_byte = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = is_letter(c) || is_digit(c) || c == '_' || c == '$' || c >= 0x80;
  return table;
}();

bool is_word(unsigned char c) { return word_byte[c]; }

bool is_hex(unsigned char c) { return is_digit(c) || (ascii_lower(c) >= 'a' && ascii_lower(c) <= 'f'); }

unsigned hex_value(unsigned char c) { return is_digit(c) ? c - '0' : ascii_lower(c) - 'a' + 10; }

char byte_at(const lexer& lx, size_t i) { return i < lx.len ? lx.buf[i] : '\0'; }

bool in(std::string_view set, char c) { return c != '\0' && set.find(c) != std::string_view::npos; }

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

// The end of a string literal whose opening quote is at `at`, with the parts
// that continue it where the dialect joins them; npos when one is not closed.
size_t string_end(const dlexer& dl, size_t at, bool backslash) {
  const lexer& lx = dl.lx;
  char q = lx.buf[at];
  size_t end = quote_end(lx, at + 1, q, backslash);
  while (end != std::string_view::npos && dl.rules.joining != string_joining::none) {
    size_t i = end;
    bool newline = false;
    for (; i < lx.len; i++) {
      if (lx.buf[i] == '-' && byte_at(lx, i + 1) == '-' && newline) {
        // A comment on a line between the parts, as white space.
        while (i < lx.len && lx.buf[i] != '\n')
          i++;
        if (i == lx.len)
          break;
      }
      if (!is_space(lx.buf[i]))
        break;
      newline |= lx.buf[i] == '\n';
    }
    bool joins = dl.rules.joining == string_joining::adjacent ? in(dl.rules.string_quotes, byte_at(lx, i))
                                                              : newline && byte_at(lx, i) == '\'';
    if (!joins)
      break;
    end = quote_end(lx, i + 1, lx.buf[i], backslash);
  }
  return end;
}

// A PostgreSQL dollar quote's opening tag at `at` ("$$" or "$tag$"), or 0.
size_t dollar_tag(const lexer& lx, size_t at) {
  size_t i = at + 1;
  if (i < lx.len && is_digit(lx.buf[i]))
    return 0;  // $1 is a parameter
  while (i < lx.len && is_word(lx.buf[i]) && lx.buf[i] != '$')
    i++;
  return i < lx.len && lx.buf[i] == '$' ? i + 1 - at : 0;
}

// The offset behind PostgreSQL's UESCAPE 'c' after a U& literal ending at
// `end`, or `end` when none follows.
size_t uescape_end(const lexer& lx, size_t end) {
  size_t i = end;
  while (i < lx.len && is_space(lx.buf[i]))
    i++;
  std::string_view rest(lx.buf + i, lx.len - i);
  if (!ascii_istarts_with(rest, "uescape") || (rest.size() > 7 && is_word(rest[7])))
    return end;
  i += 7;
  while (i < lx.len && is_space(lx.buf[i]))
    i++;
  if (byte_at(lx, i) != '\'' || byte_at(lx, i + 2) != '\'')
    return end;
  return i + 3;
}

// Whether "--" at `at` opens a comment: MySQL wants white space or a control
// byte after it.
bool line_comment_at(const dlexer& dl, size_t at) {
  if (byte_at(dl.lx, at) != '-' || byte_at(dl.lx, at + 1) != '-')
    return false;
  if (!dl.rules.dash_comment_needs_space)
    return true;
  unsigned char next = byte_at(dl.lx, at + 2);
  return at + 2 >= dl.lx.len || next <= ' ';
}

// MySQL's /*!NNNNN or /*M!NNNNNN at `at`: the length of the opener with its
// version, or 0; `runs` tells whether the server runs what it holds (a
// version above the server's makes it a comment).
size_t executable_opener(const dlexer& dl, size_t at, bool& runs) {
  if (!dl.rules.executable_comments)
    return 0;
  size_t i = at + 2;
  bool mariadb = byte_at(dl.lx, i) == 'M';
  if (mariadb)
    i++;
  if (byte_at(dl.lx, i) != '!')
    return 0;
  i++;
  size_t digits = i;
  unsigned long version = 0;
  while (is_digit(byte_at(dl.lx, i)) && i - digits < 6)
    version = version * 10 + (dl.lx.buf[i++] - '0');
  size_t n = i - digits;
  runs = n == 0 || (n == 5 && !mariadb ? version < dl.rules.executable_below : version <= dl.rules.executable_upto);
  return i - at;
}

// A comment from `at` on, opened by `opener` bytes; false when the end of
// the input cuts it short and the dialect counts that as an error.
bool comment(dlexer& dl, size_t at, size_t opener) {
  lexer& lx = dl.lx;
  const char* b = lx.buf;
  dcomment c{dcomment_kind::line, {}, lx.line, lx.line};
  size_t body = at + opener;
  if (b[at] == '/') {
    c.kind = dcomment_kind::block;
    size_t depth = 1, i = body;
    for (; i + 1 < lx.len; i++) {
      if (b[i] == '*' && b[i + 1] == '/') {
        if (--depth == 0)
          break;
        i++;
      } else if (dl.rules.nested_comments && b[i] == '/' && b[i + 1] == '*') {
        depth++;
        i++;
      }
    }
    if (i + 1 >= lx.len) {
      if (!dl.rules.open_comment_ok)
        return false;
      c.body = std::string_view(b + body, lx.len - body);
      lex_advance(lx, lx.len);
    } else {
      c.body = std::string_view(b + body, i - body);
      lex_advance(lx, i + 2);
    }
    c.end_line = lx.line;
  } else {
    const void* nl = std::memchr(b + body, '\n', lx.len - body);
    size_t end = nl ? static_cast<const char*>(nl) - b : lx.len;
    c.body = std::string_view(b + body, end - body);
    lx.pos = end;  // up to its newline, which stays for the next read
  }
  if (dl.keep_comments)
    dl.comments.push_back(c);
  return true;
}

// Passes over the rest of the line from `at`: a client's command.
void skip_line(lexer& lx, size_t at) {
  const void* nl = std::memchr(lx.buf + at, '\n', lx.len - at);
  lex_advance(lx, nl ? static_cast<const char*>(nl) - lx.buf : lx.len);
}

// Passes over the bytes up to `end`, within one line.
void skip_line_to(lexer& lx, size_t end) { lex_advance(lx, end); }

bool at_line_start(const dlexer& dl, size_t i) { return i == 0 || dl.lx.buf[i - 1] == '\n'; }

// Whether only blanks stand before `i` on its line.
bool first_on_line(const dlexer& dl, size_t i) {
  while (i > 0 && (dl.lx.buf[i - 1] == ' ' || dl.lx.buf[i - 1] == '\t'))
    i--;
  return at_line_start(dl, i);
}

// A client's command at `i`: psql's and mysql's backslash commands anywhere,
// the sqlite3 shell's dot-commands and # lines only at a line's start
// between statements.
bool meta_command_at(const dlexer& dl, size_t i) {
  char c = dl.lx.buf[i], m = dl.rules.meta_command;
  if (m == '\\')
    return c == '\\';
  if (m == '.')
    return (c == '.' || c == '#') && at_line_start(dl, i) && !dl.statement_open;
  return false;
}

// The rest of the line from `at`, without the line break.
std::string_view rest_of_line(const lexer& lx, size_t at) {
  const void* nl = std::memchr(lx.buf + at, '\n', lx.len - at);
  size_t end = nl ? static_cast<const char*>(nl) - lx.buf : lx.len;
  return std::string_view(lx.buf + at, end - at);
}

// A backslash command at `i`: passed over to the end of its line; true
// where it sends the statement read so far. MySQL's \d sets the delimiter.
bool backslash_command(dlexer& dl, size_t i) {
  std::string_view line = rest_of_line(dl.lx, i + 1);
  size_t n = 0;
  while (n < line.size() && (is_letter(line[n]) || is_digit(line[n]) || line[n] == '?'))
    n++;
  std::string_view name = line.substr(0, n);
  if (dl.rules.client_variables && psql_command(dl, name, line.substr(n))) {
    skip_line_to(dl.lx, i + 1 + line.size());
    return false;
  }
  bool sends = false;
  for (std::string_view s : dl.rules.send_commands)
    sends |= name == s;
  if (!dl.rules.delimiter_command.empty() && name == dl.rules.delimiter_command) {
    std::string_view arg = trim(line.substr(n));
    size_t end = 0;
    while (end < arg.size() && !is_space(arg[end]))
      end++;
    if (end > 0) {
      dl.delimiter.assign(arg.substr(0, end));
      dl.semicolon = dl.delimiter == ";";
    }
  }
  // MySQL's short commands take no more than their letter: "\G" may close a
  // line of SQL; psql's run to the end of the line.
  size_t stop = dl.rules.delimiter_command.empty() || !sends ? line.size() : n;
  skip_line_to(dl.lx, i + 1 + stop);
  return sends;
}

// Whether the line at `i` (between statements, for client words) is one of
// the client's own: a word of rules.client_words first on it, or all of it a
// terminator line (then `sends`).
bool client_line(const dlexer& dl, size_t i, bool& sends) {
  sends = false;
  if (!first_on_line(dl, i))
    return false;
  std::string_view line = rest_of_line(dl.lx, i);
  std::string_view whole = trim(line);
  for (std::string_view t : dl.rules.terminator_lines)
    if (ascii_iequal(whole, t) && dl.statement_open) {
      sends = true;
      return true;
    }
  if (dl.statement_open || dl.rules.client_words.empty())
    return false;
  size_t n = 0;
  while (n < whole.size() && is_letter(whole[n]))
    n++;
  for (std::string_view w : dl.rules.client_words)
    if (ascii_iequal(whole.substr(0, n), w) && (n == whole.size() || is_space(whole[n]) || whole[n] == ';'))
      return true;
  return false;
}

// What stands before a quote and makes one string with it: E, N, X, B, U&
// (which may also make a name) and MySQL's _charset. Its length, or 0.
size_t string_prefix(const dlexer& dl, size_t i, size_t word_end, bool& escapes) {
  const lexer& lx = dl.lx;
  std::string_view word(lx.buf + i, word_end - i);
  char next = byte_at(lx, word_end);
  escapes = false;
  if (next == '&' && dl.rules.unicode_strings && ascii_iequal(word, "u") &&
      (byte_at(lx, word_end + 1) == '\'' || byte_at(lx, word_end + 1) == '"'))
    return 2;
  if (next != '\'')
    return 0;
  if (dl.rules.escape_strings && ascii_iequal(word, "e")) {
    escapes = true;
    return 1;
  }
  if (ascii_iequal(word, "n") || ascii_iequal(word, "x") || ascii_iequal(word, "b"))
    return 1;
  if (dl.rules.charset_introducers && word.size() > 1 && word[0] == '_')
    return word.size();
  return 0;
}

// What backslashes do in a string opened by quote `q` with no prefix.
dstring_escapes plain_escapes(const dlexer& dl, char q) {
  if (dl.rules.backslash_strings)
    return dl.no_backslash_escapes ? dstring_escapes::none : dstring_escapes::mysql;
  return dl.backslash_strings && q == '\'' ? dstring_escapes::c_style : dstring_escapes::none;
}

// Reads what a byte of the special class begins at `i`: a comment, a
// client's command or MySQL's executable comment's end (true: passed, read
// on), or a token (false, with `t` and `end` set; npos where the input cuts
// it short).
bool special(dlexer& dl, size_t i, dtoken& t, size_t& end, bool& failed) {
  lexer& lx = dl.lx;
  const dialect_rules& r = dl.rules;
  unsigned char c = lx.buf[i];
  char next = byte_at(lx, i + 1);
  failed = false;
  if (dl.in_executable && c == '*' && next == '/') {
    dl.in_executable = false;
    lx.pos = i + 2;
    return true;
  }
  if (line_comment_at(dl, i) || (c == '#' && r.hash_comments)) {
    comment(dl, i, c == '#' ? 1 : 2);
    return true;
  }
  if (c == '/' && next == '*') {
    bool runs = true;
    if (size_t opener = executable_opener(dl, i, runs)) {
      if (runs) {
        dl.in_executable = true;
        lx.pos = i + opener;
        return true;
      }
      // Code for a later server: a comment to this one, and no documentation.
      bool keep = dl.keep_comments;
      dl.keep_comments = false;
      failed = !comment(dl, i, 2);
      dl.keep_comments = keep;
      return true;
    }
    failed = !comment(dl, i, 2);
    return true;
  }
  if (c == '\\' && dl.rules.meta_command == '\\') {
    if (backslash_command(dl, i) && dl.statement_open) {
      t.kind = DTOKEN_PUNCT;
      t.sends = true;
      end = lx.pos;  // passed already; the token is the command's
      return false;
    }
    return true;
  }
  if (meta_command_at(dl, i)) {
    skip_line(lx, i);
    return true;
  }
  if (size_t tag = c == '$' && r.dollar_quotes ? dollar_tag(lx, i) : 0) {
    t.kind = DTOKEN_STRING;
    std::string_view closer(lx.buf + i, tag);
    size_t found = std::string_view(lx.buf + i + tag, lx.len - i - tag).find(closer);
    end = found == std::string_view::npos ? found : i + tag + found + tag;
    return false;
  }
  t.kind = is_word(c) ? DTOKEN_WORD : DTOKEN_PUNCT;  // '$1', or a byte of its own
  end = i + 1;
  if (t.kind == DTOKEN_WORD)
    while (end < lx.len && is_word(lx.buf[end]))
      end++;
  return false;
}

// Reads one token, gathering the comments in front of it.
bool lex_token(dtoken& t, dlexer& dl) {
  lexer& lx = dl.lx;
  const char* b = lx.buf;
  dl.comments.clear();
  t = dtoken{};
  if (dl.psql.next_queued < dl.psql.queued.size()) {
    t = dl.psql.queued[dl.psql.next_queued++];  // the rest of a variable's value
    return true;
  }
  for (;;) {
    // White space is short and counted as it goes: lex_advance's search
    // for newlines costs more than the bytes it looks at.
    size_t i = lx.pos;
    for (; i < lx.len && is_space(b[i]); i++)
      if (b[i] == '\n')
        lex_newline(lx, i);
    lx.pos = i;
    if (i >= lx.len) {
      t.line = t.end_line = lx.line;
      t.end_column = lex_column(lx);
      return false;
    }
    unsigned char c = b[i];
    t.line = lx.line;
    size_t end;
    bool escapes = false;
    bool sends;
    if (dl.client_initial[c]) {
      if (client_line(dl, i, sends)) {
        skip_line(lx, i);
        if (!sends)
          continue;
        t.kind = DTOKEN_PUNCT;
        t.sends = true;
        t.raw = std::string_view(b + i, 0);
        t.end_line = lx.line;
        t.end_column = lex_column(lx);
        dl.statement_open = false;
        return true;
      }
    }
    if (c == ':' && dl.rules.client_variables && !dl.psql.skipping) {
      bool got;
      if (psql_substitute(dl, i, t, got)) {
        if (!got)
          continue;  // an empty value
        dl.statement_open = true;
        return true;
      }
      if (dl.failed)
        return false;
    }
    switch (dl.classes[c]) {
      case DBYTE_WORD:
      case DBYTE_PREFIX:
        end = i + 1;
        while (end < lx.len && is_word(b[end]))
          end++;
        t.kind = DTOKEN_WORD;
        if (!dl.semicolon) {
          // A delimiter such as $$ may stand in a word: the word ends there.
          size_t at = std::string_view(b + i, end - i).find(dl.delimiter);
          if (at != std::string_view::npos && at > 0)
            end = i + at;
        }
        if (dl.classes[c] == DBYTE_PREFIX)
          if (size_t prefix = string_prefix(dl, i, end, escapes)) {
            size_t quote = i + prefix;
            if (b[quote] == '"') {
              t.kind = DTOKEN_NAME;
              end = quote_end(lx, quote + 1, '"', false);
            } else {
              t.kind = DTOKEN_STRING;
              t.escapes = escapes ? dstring_escapes::c_style : plain_escapes(dl, '\'');
              end = string_end(dl, quote, t.escapes != dstring_escapes::none);
            }
            if (prefix == 2 && end != std::string_view::npos)  // U&
              end = uescape_end(lx, end);
          }
        break;
      case DBYTE_STRING:
        t.kind = DTOKEN_STRING;
        t.escapes = plain_escapes(dl, c);
        end = string_end(dl, i, t.escapes != dstring_escapes::none);
        break;
      case DBYTE_NAME:
        t.kind = DTOKEN_NAME;
        if (c == '[') {
          const void* close = std::memchr(b + i, ']', lx.len - i);
          end = close ? static_cast<const char*>(close) - b + 1 : std::string_view::npos;
        } else {
          end = quote_end(lx, i + 1, c, false);
        }
        break;
      case DBYTE_SPECIAL: {
        bool failed;
        if (special(dl, i, t, end, failed)) {
          if (failed)
            return cut_short(t, dl);
          continue;
        }
        if (t.sends) {
          t.raw = std::string_view(b + i, 0);
          t.end_line = lx.line;
          t.end_column = lex_column(lx);
          dl.statement_open = false;
          return true;
        }
        break;
      }
      default:
        t.kind = DTOKEN_PUNCT;
        end = i + 1;
        break;
    }
    if (end == std::string_view::npos)
      return cut_short(t, dl);
    t.raw = std::string_view(b + i, end - i);
    if (t.kind == DTOKEN_WORD || t.kind == DTOKEN_PUNCT)
      lx.pos = end;  // no newline in either
    else
      lex_advance(lx, end);
    t.end_line = lx.line;
    t.end_column = lex_column(lx);
    dl.statement_open = !(t.kind == DTOKEN_PUNCT && c == ';');
    return true;
  }
}

// Reads one token; in a branch of psql's that does not run, passes over
// what it holds.
bool lex_one(dtoken& t, dlexer& dl) {
  for (;;) {
    bool open = dl.statement_open;
    bool got = lex_token(t, dl);
    if (!got || !dl.psql.skipping)
      return got;
    dl.statement_open = open;  // nothing of it was sent
  }
}

dlex_place place_of(const dlexer& dl) {
  return {dl.lx.pos, dl.lx.line, dl.lx.line_start, dl.psql.next_queued, dl.statement_open, dl.in_executable};
}

}  // namespace

dlexer::dlexer(std::string_view input, const diagnostics& d, const dialect_rules& r) : lx(input, d), rules(r) {
  // A line of the client's own is looked for only at the bytes it may begin with.
  for (int c = 0; c < 256; c++) {
    client_initial[c] = false;
    for (std::span<const std::string_view> words : {r.client_words, r.terminator_lines})
      for (std::string_view w : words)
        client_initial[c] |= ascii_lower(w[0]) == ascii_lower(static_cast<unsigned char>(c));
  }
  for (int c = 0; c < 256; c++) {
    dbyte_class k = DBYTE_OTHER;
    if (is_space(c))
      k = DBYTE_SPACE;
    else if (is_word(c))
      k = DBYTE_WORD;
    if (std::string_view("eEnNxXbB").find(char(c)) != std::string_view::npos ||
        ((c == 'u' || c == 'U') && r.unicode_strings) || (c == '_' && r.charset_introducers))
      k = DBYTE_PREFIX;
    if (in(r.string_quotes, char(c)))
      k = DBYTE_STRING;
    else if (in(r.name_quotes, char(c)) || (c == '[' && r.bracket_names))
      k = DBYTE_NAME;
    // What begins comments, client commands, dollar quotes, the end of an
    // executable comment; a dialect without them reads the byte as it would.
    if (c == '-' || c == '/' || c == '*' || (c == '#' && (r.hash_comments || r.meta_command == '.')) ||
        (c == r.meta_command && c != 0) || (c == '$' && r.dollar_quotes))
      k = DBYTE_SPECIAL;
    classes[c] = k;
  }
}

bool dlex_next(dtoken& t, dlexer& dl) {
  if (dl.has_ahead) {
    dl.has_ahead = false;
    t = dl.ahead;
    dl.comments.swap(dl.ahead_comments);
    return t.kind != DTOKEN_END;
  }
  return lex_one(t, dl);
}

const dtoken& dlex_peek(dlexer& dl) {
  if (!dl.has_ahead) {
    dl.before_ahead = place_of(dl);
    dl.comments.swap(dl.ahead_comments);  // the current token's comments, kept aside
    bool failed = dl.failed;
    lex_one(dl.ahead, dl);
    dl.comments.swap(dl.ahead_comments);
    dl.has_ahead = true;
    if (dl.failed && !failed)
      dl.ahead = dtoken{};  // cut short, and reported: the reading is over
  }
  return dl.ahead;
}

void dlex_unpeek(dlexer& dl) {
  if (!dl.has_ahead || dl.failed)
    return;
  dl.has_ahead = false;
  const dlex_place& at = dl.before_ahead;
  dl.lx.pos = at.pos;
  dl.lx.line = at.line;
  dl.lx.line_start = at.line_start;
  dl.psql.next_queued = at.next_queued;
  dl.statement_open = at.statement_open;
  dl.in_executable = at.in_executable;
}

void utf8_append(std::string& out, unsigned long cp) {
  if (cp < 0x80) {
    out += char(cp);
  } else if (cp < 0x800) {
    out += char(0xC0 | (cp >> 6));
    out += char(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += char(0xE0 | (cp >> 12));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  } else {
    out += char(0xF0 | ((cp >> 18) & 0x07));
    out += char(0x80 | ((cp >> 12) & 0x3F));
    out += char(0x80 | ((cp >> 6) & 0x3F));
    out += char(0x80 | (cp & 0x3F));
  }
}

namespace {

// What a quoted part's escapes are: a string's backslashes, or U&'s
// escape byte.
enum class escapes { none, mysql, c_style, unicode };

// `n` hex digits at s[i], as a number; false when they are not there.
bool hex_digits(std::string_view s, size_t i, size_t n, unsigned long& v) {
  v = 0;
  if (i + n > s.size())
    return false;
  for (size_t k = 0; k < n; k++) {
    if (!is_hex(s[i + k]))
      return false;
    v = v * 16 + hex_value(s[i + k]);
  }
  return true;
}

// One backslash escape of a MySQL or PostgreSQL E string at s[i] (the byte
// after the backslash); returns the offset behind it.
size_t backslash_escape(std::string_view s, size_t i, escapes mode, std::string& out) {
  char e = s[i];
  switch (e) {
    case 'n': out += '\n'; return i + 1;
    case 't': out += '\t'; return i + 1;
    case 'r': out += '\r'; return i + 1;
    case 'b': out += '\b'; return i + 1;
  }
  if (mode == escapes::mysql) {
    switch (e) {
      case '0': out += '\0'; break;
      case 'Z': out += '\x1a'; break;
      case '%': case '_': out += '\\'; out += e; break;  // kept for LIKE, which reads them
      default: out += e; break;
    }
    return i + 1;
  }
  unsigned long v = 0;
  if (e == 'f') {
    out += '\f';
    return i + 1;
  }
  if (e >= '0' && e <= '7') {
    size_t k = i;
    for (; k < s.size() && k < i + 3 && s[k] >= '0' && s[k] <= '7'; k++)
      v = v * 8 + (s[k] - '0');
    out += char(v & 0xFF);
    return k;
  }
  if (e == 'x' && i + 1 < s.size() && is_hex(s[i + 1])) {
    size_t k = i + 1;
    for (; k < s.size() && k < i + 3 && is_hex(s[k]); k++)
      v = v * 16 + hex_value(s[k]);
    out += char(v);
    return k;
  }
  if ((e == 'u' && hex_digits(s, i + 1, 4, v)) || (e == 'U' && hex_digits(s, i + 1, 8, v))) {
    utf8_append(out, v);
    return i + 1 + (e == 'u' ? 4 : 8);
  }
  out += e;
  return i + 1;
}

// A U& literal's escape at s[i] (the byte after the escape byte `esc`).
size_t unicode_escape(std::string_view s, size_t i, char esc, std::string& out) {
  unsigned long v;
  if (i < s.size() && s[i] == esc) {
    out += esc;
    return i + 1;
  }
  if (i < s.size() && s[i] == '+' && hex_digits(s, i + 1, 6, v)) {
    utf8_append(out, v);
    return i + 7;
  }
  if (hex_digits(s, i, 4, v)) {
    // A surrogate pair is written as two escapes; together one code point.
    unsigned long low;
    if (v >= 0xD800 && v < 0xDC00 && i + 5 < s.size() && s[i + 4] == esc && hex_digits(s, i + 5, 4, low) &&
        low >= 0xDC00 && low < 0xE000) {
      utf8_append(out, 0x10000 + ((v - 0xD800) << 10) + (low - 0xDC00));
      return i + 9;
    }
    utf8_append(out, v);
    return i + 4;
  }
  out += esc;
  return i;
}

// The quoted parts from s[0], each closed by the quote it opens with, and
// the white space between them left out; `tail` gets what follows the last.
void quoted_parts(std::string_view s, escapes mode, char esc, std::string& out, std::string_view* tail = nullptr) {
  size_t i = 0;
  while (i < s.size()) {
    char q = s[i++];
    char close = q == '[' ? ']' : q;
    while (i < s.size()) {
      char c = s[i];
      if (c == close) {
        if (close != ']' && i + 1 < s.size() && s[i + 1] == close) {
          out += c;
          i += 2;
          continue;
        }
        i++;
        break;
      }
      if (c == '\\' && (mode == escapes::mysql || mode == escapes::c_style) && i + 1 < s.size()) {
        i = backslash_escape(s, i + 1, mode, out);
      } else if (c == esc && mode == escapes::unicode) {
        i = unicode_escape(s, i + 1, esc, out);
      } else {
        out += c;
        i++;
      }
    }
    size_t k = i;
    while (k < s.size() && (is_space(s[k]) || (s[k] == '-' && k + 1 < s.size() && s[k + 1] == '-'))) {
      if (s[k] == '-')
        while (k < s.size() && s[k] != '\n')
          k++;
      else
        k++;
    }
    if (k >= s.size() || (s[k] != '\'' && s[k] != '"')) {
      if (tail)
        *tail = s.substr(k);
      return;
    }
    i = k;
  }
}

// The escape byte of a U& literal: '\', or the one its UESCAPE gives.
char uescape_of(std::string_view tail) {
  size_t q = tail.find('\'');
  return q != std::string_view::npos && q + 1 < tail.size() ? tail[q + 1] : '\\';
}

// The text of a quoted token in `raw` (a string or a name).
void quoted_text(const dtoken& t, std::string& out) {
  out.clear();
  std::string_view raw = t.raw;
  if (raw.empty())
    return;
  if (raw[0] == '$') {  // $tag$text$tag$: the text as it stands
    size_t tag = raw.find('$', 1) + 1;
    out.assign(raw.substr(tag, raw.size() - 2 * tag));
    return;
  }
  if (raw.size() >= 2 && (raw[0] == 'U' || raw[0] == 'u') && raw[1] == '&') {
    std::string_view tail;
    std::string scratch;
    quoted_parts(raw.substr(2), escapes::none, '\0', scratch, &tail);
    quoted_parts(raw.substr(2), escapes::unicode, uescape_of(tail), out);
    return;
  }
  size_t quote = 0;
  while (quote < raw.size() && raw[quote] != '\'' && raw[quote] != '"' && raw[quote] != '`' && raw[quote] != '[')
    quote++;
  escapes mode = t.escapes == dstring_escapes::mysql     ? escapes::mysql
                 : t.escapes == dstring_escapes::c_style ? escapes::c_style
                                                         : escapes::none;
  quoted_parts(raw.substr(quote), mode, '\0', out);
}

// The start of the character that holds byte `n` of UTF-8 `s`.
size_t char_start(std::string_view s, size_t n) {
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
    n--;
  return n;
}

}  // namespace

void dlex_name(const dtoken& t, const dialect_rules& rules, std::string& out) {
  if (t.kind == DTOKEN_WORD) {
    out.assign(t.raw);
    if (rules.folds_names)
      for (char& c : out)
        c = char(ascii_lower(c));
  } else {
    quoted_text(t, out);
  }
  // The model's names are C strings; no database takes a NUL byte in a name.
  out.resize(lex_cstr(out).size());
  if (rules.name_limit && out.size() > rules.name_limit)
    out.resize(char_start(out, rules.name_limit));
}

void dlex_string(const dtoken& t, std::string& out) { quoted_text(t, out); }
