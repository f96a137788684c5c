// The tokenizer of the dialect readings: each database's own comments,
// strings and quoted names, as its rules say, over the same lexer record
// (input and position) as the reader's own tokenizer.
#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reader/dialect.h"
#include "reader/keywords.h"
#include "reader/lex.h"

enum dtoken_kind : int {
  DTOKEN_END,     // the end of the input
  DTOKEN_WORD,    // a keyword, a name as written, or a number
  DTOKEN_NAME,    // a quoted name: "...", `...`, [...] or U&"..."
  DTOKEN_STRING,  // a string literal, with its prefix and every part it is continued by
  DTOKEN_PUNCT,   // any other byte, one token each: ( ) , ; . = and the rest
};

/// What a comment is to the documentation.
enum class dcomment_kind {
  line,   // -- text (MySQL: # text too)
  block,  // /* text */
};

struct dcomment {
  dcomment_kind kind;
  std::string_view body;  // between the delimiters; a line comment without its newline
  size_t line;            // where it starts, counted from 0
  size_t end_line;        // where it ends
};

/// What backslashes do in a string literal.
enum class dstring_escapes : unsigned char {
  none,     // nothing: a backslash is a backslash
  mysql,    // \n \t \0 \Z ..., \% and \_ kept whole, before any other byte that byte
  c_style,  // PostgreSQL's E'...': \n \t ..., octal, \xHH, \uXXXX, \UXXXXXXXX
};

struct dtoken {
  dtoken_kind kind = DTOKEN_END;
  std::string_view raw;   // the bytes of the token as written, quotes included
  size_t line = 0;        // the line it starts on, counted from 0
  size_t end_line = 0;    // where it ends: messages about the token point just behind it
  size_t end_column = 0;
  dstring_escapes escapes = dstring_escapes::none;  // what a string's backslashes do
  mutable kw key = KW_NONE;  // the keyword a word is, looked up when first asked (see dlex_kw)
  mutable bool looked_up = false;
  bool sends = false;  // a client's command that ends the statement (\g, GO): a ";" of its own
};

/// psql's variables and branches, as the tokenizer reaches them (see
/// dialect_psql.h).
struct psql_state {
  std::unordered_map<std::string, std::string> vars;
  struct branch {
    bool runs;   // this branch runs
    bool taken;  // a branch of this \if ran or runs
    bool outer;  // the branch around the \if runs
  };
  std::vector<branch> branches;
  bool skipping = false;  // in a branch that does not run: what is read is dropped
  // The tokens that a variable's value makes, read one by one, and the
  // bytes they are views of.
  std::vector<dtoken> queued;
  size_t next_queued = 0;
  std::deque<std::string> values;
};

/// Where the tokenizer stands: enough to go back to it.
struct dlex_place {
  size_t pos = 0, line = 0, line_start = 0;
  size_t next_queued = 0;
  bool statement_open = false;
  bool in_executable = false;
};

/// What a byte may begin, by the dialect's rules.
enum dbyte_class : unsigned char {
  DBYTE_OTHER,    // punctuation: a token of one byte
  DBYTE_SPACE,
  DBYTE_WORD,     // a word
  DBYTE_PREFIX,   // a word, or the prefix of a string or name: E'', N'', U&'', _utf8mb4''
  DBYTE_STRING,   // a string's quote
  DBYTE_NAME,     // a quoted name's quote, or SQLite's "["
  DBYTE_SPECIAL,  // may begin a comment, a client's command, a dollar quote or end /*! ... */
};

/// The tokenizer of one dialect reading.
struct dlexer {
  dlexer(std::string_view input, const diagnostics& d, const dialect_rules& rules);

  lexer lx;  // input, position and messages
  const dialect_rules& rules;
  dbyte_class classes[256];  // each byte's class, from the rules
  bool client_initial[256];  // the bytes that a client's word or terminator line begins with
  // The comments read in front of the token read last, in order. Kept only
  // while `keep_comments` (the documentation needs them); cleared by every read.
  std::vector<dcomment> comments;
  bool keep_comments = true;
  bool failed = false;  // the end of the input cut a token short, or the grammar reported an error
  // PostgreSQL with standard_conforming_strings off: backslashes escape in '...' too.
  bool backslash_strings = false;
  // MySQL's sql_mode NO_BACKSLASH_ESCAPES: a backslash is a backslash.
  bool no_backslash_escapes = false;
  // The statement delimiter: ";", or what MySQL's DELIMITER (\d) made it.
  std::string delimiter = ";";
  bool semicolon = true;  // the delimiter is ";"
  // Whether a token other than a statement's ";" was read since the last
  // one: the shell's dot-commands stand only between statements.
  bool statement_open = false;
  bool in_executable = false;  // inside MySQL's /*! ... */, whose "*/" is passed over
  psql_state psql;             // where rules.client_variables

  // One token read ahead by dlex_peek, with its comments and the place before it.
  bool has_ahead = false;
  dtoken ahead;
  std::vector<dcomment> ahead_comments;
  dlex_place before_ahead;
};

/// Reads the next token that is not a comment into `t`, gathering the
/// comments in front of it. false at the end of the input (t.kind is then
/// DTOKEN_END) or after a string, quoted name or comment that the end of the
/// input cut short, which is reported as "unexpected eof".
[[nodiscard]] bool dlex_next(dtoken& t, dlexer& dl);

/// The token that dlex_next will give next, read ahead.
const dtoken& dlex_peek(dlexer& dl);

/// Gives up the token read ahead, if any: the tokenizer stands behind the
/// token read last again, for a reader of the raw input that follows it.
void dlex_unpeek(dlexer& dl);

/// The keyword that `t` is: KW_NONE for a token other than a word.
inline kw dlex_kw(const dtoken& t) {
  if (!t.looked_up) {
    t.key = t.kind == DTOKEN_WORD ? keyword_of(t.raw) : KW_NONE;
    t.looked_up = true;
  }
  return t.key;
}

/// Whether `t` is the punctuation byte `c`.
inline bool dlex_punct(const dtoken& t, char c) { return t.kind == DTOKEN_PUNCT && !t.raw.empty() && t.raw[0] == c; }

/// The name that a word, quoted name or (where names may be strings) string
/// stands for, into `out`: without quotes, doubled quotes undone, escapes
/// decoded; a word folded where the dialect folds names; cut to the
/// dialect's limit, and at a NUL byte, as the model's C strings need.
void dlex_name(const dtoken& t, const dialect_rules& rules, std::string& out);

/// The text of a string literal, into `out`: without its prefix and quotes,
/// with doubled quotes undone, escapes decoded and continued parts joined.
void dlex_string(const dtoken& t, std::string& out);

/// Writes code point `cp` to `out` in UTF-8.
void utf8_append(std::string& out, unsigned long cp);
