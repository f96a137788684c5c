// Tests of the tokenizer, docstring gathering, the keyword rule and the
// keyword readers lex_match and lex_expect.
#include "reader/lex.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "reader/log.h"
#include "tests/test_support.h"

using namespace std::literals;

// Shows a lex_match result by name when an expectation fails.
static void PrintTo(match m, std::ostream* os) {
  *os << (m == match::yes ? "yes" : m == match::no ? "no" : "eof");
}

namespace {

// A lexer over a copy of `in` that has no byte beyond it, reporting as
// "t.sql" into `messages`.
struct Input {
  Messages messages;
  std::unique_ptr<char[]> data;
  lexer lx;
  explicit Input(std::string_view in)
      : data(new char[in.size()]), lx(std::string_view(data.get(), in.size()), messages.diag()) {
    std::memcpy(data.get(), in.data(), in.size());
  }
};

std::string kind(int type) {
  switch (type) {
    case TOKEN_WORD: return "w:";
    case TOKEN_QUOTED: return "q:";
    case TOKEN_COMMENT: return "c:";
  }
  return "?" + std::to_string(type) + ":";
}

std::string position(const lexer& lx) {
  return std::to_string(lx.line + 1) + ":" + std::to_string(lex_column(lx));
}

// Everything lex_next produces for one input, read with eof_ok false.
struct Lexed {
  std::vector<std::string> tokens;      // "w:text", "q:text", "c:text"
  std::optional<std::string> partial;   // text left by the final call; absent when str is null
  std::string err;                      // the messages over the whole run
  bool clean_end = false;               // final call: false, type TOKEN_NONE, pos at len
};

Lexed lex_all(std::string_view in) {
  Input i(in);
  Lexed r;
  token t;
  for (int n = 0; n < 100; n++) {
    if (!lex_next(t, i.lx, false)) {
      if (t.str) r.partial = std::string(t.text());
      r.clean_end = t.type == TOKEN_NONE && i.lx.pos == i.lx.len;
      break;
    }
    r.tokens.push_back(kind(t.type) + std::string(t.text()));
  }
  r.err = i.messages.text();
  return r;
}

std::string show(std::string_view s) {  // makes control bytes visible in messages
  std::string out;
  for (unsigned char c : s) {
    if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\0') out += "\\0";
    else out += char(c);
  }
  return out;
}

TEST(LexNext, Tokens) {
  const struct {
    std::string_view in;
    std::vector<std::string> want;
  } cases[] = {
      {"create table t (a int);\n",
       {"w:create", "w:table", "w:t", "w:(", "w:a", "w:int", "w:)", "w:;"}},
      {"a(b,c)", {"w:a", "w:(", "w:b", "w:,", "w:c", "w:)"}},
      {"x 'my name' y", {"w:x", "q:my name", "w:y"}},
      {"x \"a'b\" y", {"w:x", "q:a'b", "w:y"}},
      {"x 'it\\'s' y", {"w:x", "q:it\\'s", "w:y"}},
      {"x 'it''s' y", {"w:x", "q:it", "q:s", "w:y"}},
      {"x '' y", {"w:x", "q:", "w:y"}},
      {"('it')", {"w:(", "q:it", "w:)"}},
      // Two backslashes still leave the quote after them escaped.
      {"'a\\\\' b' x", {"q:a\\\\' b", "w:x"}},
      {"'a\nb'", {"q:a\nb"}},
      {"a--b x/*y*/ it's", {"w:a--b", "w:x/*y*/", "w:it's"}},
      {"a\xA0\x80 b\0c"sv, {"w:a\xA0\x80", "w:b\0c"s}},
      {"a\r\nb", {"w:a", "w:b"}},
      {"/", {"w:/"}},
      {"-", {"w:-"}},
      {"x --", {"w:x", "w:--"}},
      {"x /*", {"w:x", "w:/*"}},
      {"-- one\n-- two\nx", {"c: one", "c: two", "w:x"}},
      {"-- one\n--\n-- two\nx", {"c: one", "c:\n", "c: two", "w:x"}},
      {"--   \nx", {"c:   \n", "w:x"}},
      {"-- a\r\nx", {"c: a\r", "w:x"}},
      {"/* a */x", {"c: a ", "w:x"}},
      {"/**/x", {"c:", "w:x"}},
      {"/* a\n * b\n *\n * c\n */\n", {"c: a    b  \n    c  "}},
      {"/* a\n\n\n b */\n", {"c: a\n   b "}},
      {"/* a\n   \n b */\n", {"c: a      b "}},
      {"/** a\n  * b\n  */\n", {"c:* a     b   "}},
      {"/* a\r\n b */\n", {"c: a\r  b "}},
      {"/* a */ x */", {"c: a ", "w:x", "w:*/"}},
      // The margin carries the scan past its limit; the last byte is consumed
      // outside the text. One byte after the opener gives an empty comment.
      {"/* a\n  *", {"c: a   "}},
      {"/*x", {"c:"}},
  };
  for (const auto& c : cases) {
    Lexed r = lex_all(c.in);
    EXPECT_EQ(c.want, r.tokens) << "input: " << show(c.in);
    EXPECT_TRUE(r.clean_end) << "input: " << show(c.in);
    EXPECT_EQ(std::nullopt, r.partial) << "input: " << show(c.in);
  }
}

TEST(LexNext, EndInsideToken) {
  const struct {
    std::string_view in;
    std::vector<std::string> tokens;
    std::optional<std::string> partial;
    std::string err;
  } cases[] = {
      {"", {}, std::nullopt, "t.sql:1:0: unexpected eof\n"},
      {"x\n", {"w:x"}, std::nullopt, "t.sql:2:1: unexpected eof\n"},
      {"x 'abc", {"w:x"}, "abc", "t.sql:1:6: unexpected eof\n"},
      {"'a\\'", {}, "a\\'", "t.sql:1:4: unexpected eof\n"},
      {"-- note", {}, " note", "t.sql:1:7: unexpected eof\n"},
      // "*/" as the last two bytes does not close; they are consumed after
      // the report, which shows where the scan stopped.
      {"x /* a */", {"w:x"}, " a ", "t.sql:1:7: unexpected eof\n"},
      {"/*ab", {}, "", "t.sql:1:2: unexpected eof\n"},
      {"x /* a\n   ", {"w:x", "c: a    "}, std::nullopt, "t.sql:2:4: unexpected eof\n"},
  };
  for (const auto& c : cases) {
    Lexed r = lex_all(c.in);
    EXPECT_EQ(c.tokens, r.tokens) << "input: " << show(c.in);
    EXPECT_EQ(c.partial, r.partial) << "input: " << show(c.in);
    EXPECT_EQ(c.err, r.err) << "input: " << show(c.in);
    EXPECT_TRUE(r.clean_end) << "input: " << show(c.in);
  }
}

TEST(LexNext, EndAllowedIsSilent) {
  Input i("x /* a */");
  token t;
  EXPECT_TRUE(lex_next(t, i.lx, true));
  EXPECT_FALSE(lex_next(t, i.lx, true));
  EXPECT_FALSE(lex_next(t, i.lx, true));
  EXPECT_EQ("", i.messages.text());
  EXPECT_EQ(i.lx.len, i.lx.pos);
}

TEST(LexNext, Positions) {  // the position as messages show it after each token
  const struct {
    std::string_view in;
    std::vector<std::string> want;
  } cases[] = {
      {"a\nb\n  c", {"1:1", "2:2", "3:4"}},
      {"'a\nb' x", {"2:3", "2:5"}},
      {"-- c\nx", {"2:1", "2:2"}},
      {"/* a\n b */ x", {"2:6", "2:8"}},
      {"a\r\nb", {"1:1", "2:2"}},
  };
  for (const auto& c : cases) {
    Input i(c.in);
    token t;
    std::vector<std::string> got;
    while (lex_next(t, i.lx, true)) got.push_back(position(i.lx));
    EXPECT_EQ(c.want, got) << "input: " << show(c.in);
  }
}

// Each lex_comment result until the end of the input: "[docstring]token", or
// just the token when there was no docstring.
std::vector<std::string> gather(std::string_view in) {
  Input i(in);
  text_store docs;
  token t;
  std::vector<std::string> got;
  for (int n = 0; n < 100; n++) {
    std::optional<std::string_view> doc = "stale";
    if (!lex_comment(t, i.lx, true, &docs, doc)) {
      if (doc) got.push_back("[" + std::string(*doc) + "]<eof>");
      break;
    }
    got.push_back((doc ? "[" + std::string(*doc) + "]" : "") + std::string(t.text()));
  }
  return got;
}

TEST(LexComment, Docstrings) {
  const struct {
    std::string_view in;
    std::vector<std::string> want;
  } cases[] = {
      {"x", {"x"}},
      {"-- a\n-- b\nx", {"[ a b]x"}},
      {"--a\n--b\nx", {"[ab]x"}},
      {"-- a\n--\n-- b\nx", {"[ a\n b]x"}},
      {"--  \n\t--\t\nx", {"[  \n\t\n]x"}},
      {"/* a */ /* b */ x", {"[ a  b ]x"}},
      {"/**/ x", {"[]x"}},
      {"/* a\n *\n * b\n */\nx", {"[ a  \n    b  ]x"}},
      {"-- Users.\n/* See\n * [docs](x). */\nx", {"[ Users. See    [docs](x). ]x"}},
      // A docstring ends at its first NUL; later comments are appended there.
      {"-- a\n-- b\0c\n-- d\nx"sv, {"[ a b d]x"}},
      {"-- a\0b\n-- c\nx"sv, {"[ a c]x"}},
      // A docstring never spans a token that is not a comment, and comments
      // at the end of the input give none.
      {"-- a\nx -- b\ny -- c\n", {"[ a]x", "[ b]y"}},
      {"x 'q' -- c", {"x", "q"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.want, gather(c.in)) << "input: " << show(c.in);
}

TEST(LexComment, EndOfInput) {
  const struct {
    bool eof_ok;
    std::string err;
  } cases[] = {{true, ""}, {false, "t.sql:2:1: unexpected eof\n"}};
  for (const auto& c : cases) {
    Input i("-- a\n");
    text_store docs;
    token t;
    std::optional<std::string_view> doc = "stale";
    EXPECT_FALSE(lex_comment(t, i.lx, c.eof_ok, &docs, doc)) << "eof_ok " << c.eof_ok;
    EXPECT_EQ(c.err, i.messages.text()) << "eof_ok " << c.eof_ok;
    EXPECT_EQ(std::nullopt, doc) << "eof_ok " << c.eof_ok;
  }
}

TEST(LexKeyword, Rule) {
  const struct {
    std::string_view tok;
    const char* keyword;
    bool want;
  } cases[] = {
      {"create", "create", true},
      {"CREATE", "create", true},
      {"CrEaTe", "create", true},
      {"cre", "create", true},
      {"c", "create", true},
      {"creates", "create", false},
      {"crate", "create", false},
      {"t", "table", true},
      {"tabl", "table", true},
      {"tables", "table", false},
      {"tbl", "table", false},
      {")", ")", true},
      {"),", ")", false},
      {"(", ")", false},
      {"x", ")", false},
      {"table\0"sv, "table", true},  // the byte after the keyword is itself NUL
      {"ta\0le"sv, "table", false},
      {"@", "`", false},  // only A to Z fold
      {"[", "{", false},
      {"", "create", true},  // callers exclude empty tokens
  };
  for (const auto& c : cases) {
    token t;
    t.str = c.tok.data();
    t.len = c.tok.size();
    t.type = TOKEN_WORD;
    EXPECT_EQ(c.want, lex_keyword(t, c.keyword))
        << "token: " << show(c.tok) << ", keyword: " << c.keyword;
  }
}

TEST(LexMatch, Results) {
  const struct {
    std::string_view in;
    match want;
    std::string err;
  } cases[] = {
      {"rowid", match::yes, ""},
      {"ROW", match::yes, ""},
      {"-- c\n/* d */ Rowid", match::yes, ""},
      {"rowids", match::no, ""},
      {"'rowid'", match::no, ""},
      {"\"r\"", match::no, ""},
      {"''", match::no, ""},
      {"oids", match::no, ""},
      {"", match::eof, "t.sql:1:0: unexpected eof\n"},
      {"-- c\n", match::eof, "t.sql:2:1: unexpected eof\n"},
  };
  for (const auto& c : cases) {
    Input i(c.in);
    token t;
    EXPECT_EQ(c.want, lex_match(t, i.lx, "rowid")) << "input: " << show(c.in);
    EXPECT_EQ(c.err, i.messages.text()) << "input: " << show(c.in);
  }
}

TEST(LexExpect, Results) {  // the token left in t, and the report
  const struct {
    std::string_view in;
    const char* keyword;
    bool want;
    std::string tok;
    std::string err;
  } cases[] = {
      {")", ")", true, ")", ""},
      {"/* c */ -- d\n)", ")", true, ")", ""},
      {"KE", "key", true, "KE", ""},
      {",", ")", false, ",", "t.sql:1:1: unexpected: , (wanted \")\")\n"},
      {"')'", ")", false, ")", "t.sql:1:3: unexpected: ) (wanted \")\")\n"},
      {"''", ")", false, "", "t.sql:1:2: unexpected:  (wanted \")\")\n"},
      {"keys", "key", false, "keys", "t.sql:1:4: unexpected: keys (wanted \"key\")\n"},
      {"a\0b"sv, "key", false, "a\0b"s, "t.sql:1:3: unexpected: a (wanted \"key\")\n"},
      {"", ")", false, "", "t.sql:1:0: unexpected eof\n"},
      {"/* c */ ", ")", false, "", "t.sql:1:8: unexpected eof\n"},
  };
  for (const auto& c : cases) {
    Input i(c.in);
    token t;
    EXPECT_EQ(c.want, lex_expect(t, i.lx, c.keyword)) << "input: " << show(c.in);
    EXPECT_EQ(c.err, i.messages.text()) << "input: " << show(c.in);
    EXPECT_EQ(c.tok, t.text()) << "input: " << show(c.in);
  }
}

}  // namespace
