// The tokenizer of the dialect readings: each database's own comments,
// strings and quoted names, over the same lexer record (input and position)
// as the reader's own tokenizer.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "reader/dialect.h"
#include "reader/lex.h"

enum dtoken_kind : int {
  DTOKEN_END,     // the end of the input
  DTOKEN_WORD,    // a keyword, a name as written, or a number
  DTOKEN_NAME,    // a quoted name: "...", `...` or [...]
  DTOKEN_STRING,  // a string literal: '...', E'...', $tag$...$tag$ (MySQL: "..." too)
  DTOKEN_PUNCT,   // any other byte, one token each: ( ) , ; . = and the rest
};

/// What a comment is to the documentation.
enum class dcomment_kind {
  line,        // -- text (MySQL: # text too)
  block,       // /* text */
  executable,  // MySQL's /*! ... */ and /*M! ... */: code for the server, never documentation
};

struct dcomment {
  dcomment_kind kind;
  std::string_view body;  // between the delimiters; a line comment without its newline
  size_t line;            // where it starts, counted from 0
};

struct dtoken {
  dtoken_kind kind = DTOKEN_END;
  std::string_view raw;  // the bytes of the token as written, quotes included
  size_t line = 0;       // the line it starts on, counted from 0
};

/// The tokenizer of one dialect reading.
struct dlexer {
  dlexer(std::string_view input, const diagnostics& d, sql_dialect dialect) : lx(input, d), dialect(dialect) {}

  lexer lx;  // input, position and messages
  sql_dialect dialect;
  // The comments read in front of the token read last, in order. Kept only
  // while `keep_comments` (the documentation needs them); cleared by every read.
  std::vector<dcomment> comments;
  bool keep_comments = true;
  bool failed = false;  // the end of the input cut a token short, and that was reported
};

/// Reads the next token that is not a comment into `t`, gathering the
/// comments in front of it. false at the end of the input (t.kind is then
/// DTOKEN_END) or after a string, quoted name or comment that the end of the
/// input cut short, which is reported as "unexpected eof".
[[nodiscard]] bool dlex_next(dtoken& t, dlexer& dl);

/// Whether `t` is the word `keyword` (lower case), in any letter case.
/// (Inline: the grammar tests most words against several keywords, and most
/// tests end at the length or the first letter.)
inline bool dlex_is(const dtoken& t, std::string_view keyword) {
  auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
  if (t.kind != DTOKEN_WORD || t.raw.size() != keyword.size() || fold(t.raw[0]) != static_cast<unsigned char>(keyword[0]))
    return false;
  for (size_t i = 1; i < keyword.size(); i++)
    if (fold(t.raw[i]) != static_cast<unsigned char>(keyword[i]))
      return false;
  return true;
}

/// Whether `t` is the punctuation byte `c`.
inline bool dlex_punct(const dtoken& t, char c) { return t.kind == DTOKEN_PUNCT && t.raw[0] == c; }

/// The name that a word or quoted name stands for, into `out`: a quoted name
/// without its quotes and with doubled quotes undone; a word as written, or
/// folded to lower case where the dialect folds names (PostgreSQL).
void dlex_name(const dtoken& t, sql_dialect dialect, std::string& out);

/// The text of a string literal, into `out`: without its quotes, with doubled
/// quotes undone and, where the dialect has them, backslash escapes.
void dlex_string(const dtoken& t, sql_dialect dialect, std::string& out);
