// Tests of the model that parse_buf builds: order, indices, flags, what makes
// a column, foreign-key binding, skipped statements, what a failed parse
// leaves; its messages; and parse_mapped over a file that changes under it.
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "reader/load.h"
#include "reader/read.h"
#include "reader/schema.h"
#include "tests/test_support.h"

using namespace std::literals;

namespace {

// One run of parse_buf over an exactly sized copy of `in`, with its result
// and messages; the model is released at the end of the scope.
struct Parse {
  schema s;
  bool ok = false;
  std::string err;
  explicit Parse(std::string_view in) {
    std::unique_ptr<char[]> data(new char[in.size()]);
    std::memcpy(data.get(), in.data(), in.size());
    Messages messages;
    ok = parse_buf(messages.diag(), std::string_view(data.get(), in.size()), s);
    err = messages.text();
  }
};

// The model in list order: "name#idx!flags(col#idx->target,...)", where a
// bound column shows its target as "table#idx.column"; without `cols` only
// "name#idx!flags".
std::string model(const schema& m, bool cols = true) {
  std::string s;
  for (const table* t : m.tables) {
    if (!s.empty()) s += ' ';
    s += std::string(t->name) + '#' + std::to_string(t->idx);
    if (t->flags) s += '!' + std::to_string(t->flags);
    if (!cols) continue;
    s += '(';
    for (const column* c : t->cols) {
      if (c != t->cols.front()) s += ',';
      s += std::string(c->name) + '#' + std::to_string(c->idx);
      if (c->parent != t) s += "?parent";
      if (c->fkey)
        s += "->" + std::string(c->fkey->parent->name) + '#' +
             std::to_string(c->fkey->parent->idx) + '.' + std::string(c->fkey->name);
    }
    s += ')';
    if (t->ncols != t->cols.size()) s += "?ncols";
  }
  return s;
}

struct Case {
  std::string_view in;
  bool ok;
  std::string model;  // tables only when the parse fails
  std::string err;
};

void check(const Case& c) {
  Parse r(c.in);
  EXPECT_EQ(c.ok, r.ok) << "input: " << c.in;
  EXPECT_EQ(c.model, model(r.s, c.ok)) << "input: " << c.in;
  EXPECT_EQ(c.err, r.err) << "input: " << c.in;
}

TEST(ParseBuf, NameOrder) {
  const Case cases[] = {
      // Upper case sorts first; equal names keep their creation order.
      {"CREATE TABLE b (x); CREATE TABLE a (x); CREATE TABLE B (x); CREATE TABLE a (y);", 1,
       "B#2(x#0) a#1(x#0) a#3(y#0) b#0(x#0)", ""},
      // A prefix first, the empty name before all, bytes from 0x80 after ASCII.
      {"CREATE TABLE users (a); CREATE TABLE user (a); CREATE TABLE '' (a);"
       " CREATE TABLE \"\xC3\xA9\" (a); CREATE TABLE z (a);",
       1, "#2(a#0) user#1(a#0) users#0(a#0) z#4(a#0) \xC3\xA9#3(a#0)", ""},
      {"CREATE TABLE t (id INT, name TEXT, created INT);", 1, "t#0(created#2,id#0,name#1)", ""},
      {"CREATE TABLE t (b, a, b, A);", 1, "t#0(A#3,a#1,b#0,b#2)", ""},
  };
  for (const auto& c : cases) check(c);
}

TEST(ParseBuf, Header) {
  const Case cases[] = {
      {"CREATE TEMP TABLE t (a);", 1, "t#0!1(a#0)", ""},
      {"CREATE TEMPORARY TABLE t (a);", 1, "t#0!1(a#0)", ""},
      {"CREATE tempor TABLE t (a);", 1, "t#0!1(a#0)", ""},
      {"CREATE T TABLE t2 (a);", 1, "t2#0!1(a#0)", ""},  // T is taken for TEMP
      {"Cr Tab t1 (a);", 1, "t1#0(a#0)", ""},
      {"CREATE TABLE IF NOT EXISTS i (a);", 1, "i#0!2(a#0)", ""},
      {"create temp table if not exists t (a);", 1, "t#0!3(a#0)", ""},
      {"CREATE TABLE 'my table' (a); CREATE TABLE '' (a);", 1, "#1(a#0) my table#0(a#0)", ""},
      {"CREATE TABLE 'a\0b' (x\0y);"sv, 1, "a#0(x#0)", ""},  // names end at a NUL
      // A name that is a prefix of IF, even quoted, is taken for IF; a wrong
      // word after it fails without a message.
      {"CREATE TABLE i (a);", 0, "", ""},
      {"CREATE TABLE If (a);", 0, "", ""},
      {"CREATE TABLE 'if' (a);", 0, "", ""},
      {"CREATE TABLE IF NOT 'EXISTS' t (a);", 0, "", ""},
  };
  for (const auto& c : cases) check(c);
}

TEST(ParseBuf, Columns) {
  const Case cases[] = {
      {"CREATE TABLE t (a INT, PRIMARY KEY (a, b), CHECK (a > 0), CONSTRAINT c UNIQUE (a));", 1,
       "t#0(CHECK#2,CONSTRAINT#3,PRIMARY#1,a#0)", ""},
      // UNIQUE and its abbreviations make nothing; an inner "," does not end the item.
      {"CREATE TABLE t (a, UNIQUE (a, b), uniq (x), U y, b);", 1, "t#0(a#0,b#1)", ""},
      {"CREATE TABLE t (\"a b\" INT, '' INT);", 1, "t#0(#1,a b#0)", ""},
      // A quoted ',' ends the item; the real "," then names a column.
      {"CREATE TABLE t (x TEXT DEFAULT ',', y);", 1, "t#0(,#1,x#0)", ""},
      // The ")" of an empty list names a column whose body runs on.
      {"CREATE TABLE t () x);", 1, "t#0()#0)", ""},
      {"CREATE TABLE t (); CREATE TABLE u (a);", 0, "t#0", "t.sql:1:38: unexpected eof\n"},
      {"CREATE TABLE t (f INT);", 0, "t#0",
       "t.sql:1:21: unexpected: INT (wanted \"key\")\n"
       "t.sql:1:21: syntax error trailing columns\n"},
  };
  for (const auto& c : cases) check(c);
}

TEST(ParseBuf, ForeignKeys) {
  const Case cases[] = {
      {"CREATE TABLE orders (user_id INT REFERENCES users (id)); CREATE TABLE users (id INT);", 1,
       "orders#0(user_id#0->users#1.id) users#1(id#0)", ""},
      {"CREATE TABLE t (x INT REFERENCES t (x));", 1, "t#0(x#0->t#0.x)", ""},
      {"CREATE TABLE t (x 'r' t (x));", 1, "t#0(x#0->t#0.x)", ""},  // a quoted 'r' is REFERENCES
      // Of two tables of one name, the one created first is searched.
      {"CREATE TABLE users (a); CREATE TABLE users (id); CREATE TABLE o (r REFERENCES users (id));",
       1, "o#2(r#0) users#0(a#0) users#1(id#0)", ""},
      {"CREATE TABLE users (id); CREATE TABLE users (id);"
       " CREATE TABLE o (r REFERENCES users (id));",
       1, "o#2(r#0->users#0.id) users#0(id#0) users#1(id#0)", ""},
      {"CREATE TABLE orders (user_id INT REFERENCES Users (id)); CREATE TABLE users (id INT);", 1,
       "orders#0(user_id#0) users#1(id#0)",
       "t.sql: unknown foreign key table on orders.user_id: Users.id\n"},
      // The first reference to an existing column binds.
      {"CREATE TABLE users (id); CREATE TABLE accounts (id);"
       " CREATE TABLE o (user_id REFERENCES users (id),"
       " FOREIGN KEY (user_id) REFERENCES accounts (id));",
       1, "accounts#1(id#0) o#2(user_id#0->users#0.id) users#0(id#0)",
       "t.sql: foreign key exists: users.id\n"},
      {"CREATE TABLE users (id); CREATE TABLE accounts (id);"
       " CREATE TABLE o (x REFERENCES users (nosuch) REFERENCES accounts (id));",
       1, "accounts#1(id#0) o#2(x#0->accounts#1.id) users#0(id#0)", ""},
      // FOREIGN KEY finds the first column in name order that begins with its text.
      {"CREATE TABLE t (abc, FOREIGN KEY (a) REFERENCES t (abc));", 1, "t#0(abc#0->t#0.abc)", ""},
      {"CREATE TABLE t (ab, aa, FOREIGN KEY (a) REFERENCES t (ab));", 1,
       "t#0(aa#1->t#0.ab,ab#0)", ""},
      {"CREATE TABLE t (b, a, FOREIGN KEY ('') REFERENCES t (b));", 1, "t#0(a#1->t#0.b,b#0)", ""},
      {"CREATE TABLE t (a, FOREIGN KEY (A) REFERENCES t (a));", 1, "t#0(a#0)",
       "t.sql:1:33: cannot find column: A\n"},
      {"CREATE TABLE t (a, FOREIGN KEY (b) REFERENCES t (a), b);", 1, "t#0(a#0,b#1)",
       "t.sql:1:33: cannot find column: b\n"},
      {"CREATE TABLE t (a, FOREIGN KEY ('q\0a') REFERENCES t (a));"sv, 1, "t#0(a#0)",
       "t.sql:1:37: cannot find column: q\n"},
      // A clause cut short by ")" binds nothing and is passed over silently.
      {"CREATE TABLE t (x INT REFERENCES t);", 1, "t#0(x#0)",
       "t.sql:1:35: unexpected: ) (wanted \"(\")\n"},
      {"CREATE TABLE t (a, FOREIGN KEY (a));", 1, "t#0(a#0)",
       "t.sql:1:35: unexpected: ) (wanted \"references\")\n"},
      {"CREATE TABLE t (a, FOREIGN KEY (a) REFERENCES nosuch);", 1, "t#0(a#0)",
       "t.sql:1:53: unexpected: ) (wanted \"(\")\n"},
      {"CREATE TABLE t (a REFERENCES t (a), FOREIGN KEY (a) REFERENCES t);", 1,
       "t#0(a#0->t#0.a)", "t.sql:1:65: unexpected: ) (wanted \"(\")\n"},
  };
  for (const auto& c : cases) check(c);
}

TEST(ParseBuf, CutShortReferences) {  // what reaches the foreign-key pass
  const struct {
    std::string_view in;
    std::string refs;  // "source>tname.cname" with "-" for an absent name
  } cases[] = {
      {"CREATE TABLE t (x INT REFERENCES t);", "x>t.-"},
      {"CREATE TABLE t (a, FOREIGN KEY (a));", "a>-.-"},
      {"CREATE TABLE t (a REFERENCES t (b) REFERENCES u (c), FOREIGN KEY (a) REFERENCES v (d));",
       "a>t.b a>u.c a>v.d"},
  };
  for (const auto& c : cases) {
    Parse r(c.in);
    std::string got;
    for (const auto& ref : r.s.refs) {
      if (!got.empty()) got += ' ';
      got += std::string(ref.source->name) + '>' + std::string(ref.tname.value_or("-")) + '.' +
             std::string(ref.cname.value_or("-"));
    }
    EXPECT_TRUE(r.ok) << "input: " << c.in;
    EXPECT_EQ(c.refs, got) << "input: " << c.in;
  }
}

TEST(ParseBuf, Statements) {
  const Case cases[] = {
      {"CREATE TABLE a (x);", 1, "a#0(x#0)", ""},
      {"CREATE TABLE a (x) WITHOUT ROWID;\n", 1, "a#0(x#0)", ""},
      {"DROP TABLE b; CREATE TABLE a (x); DROP TABLE b;", 1, "a#0(x#0)", ""},
      {"-- c\n/* d */\n", 1, "", ""},
      {"DROP TABLE b", 0, "", "t.sql:1:12: unexpected eof\n"},
      // A skip ends at once when the token that led to it is ";".
      {"CREATE TABLE a (x);;CREATE TABLE b (y);", 1, "a#0(x#0) b#1(y#0)", ""},
      {"CREATE TABLE a (x);;", 1, "a#0(x#0)", ""},
      {"';' CREATE TABLE a (x);", 1, "a#0(x#0)", ""},
      {"CREATE;CREATE TABLE b (y);", 1, "b#0(y#0)", "t.sql:1:7: ignoring non-table creation\n"},
      {"CREATE INDEX i ON t (a); CREATE TABLE b (y);", 1, "b#0(y#0)",
       "t.sql:1:12: ignoring non-table creation\n"},
      // Two bytes left in an open block comment are consumed after the report.
      {"CREATE TABLE t (a REFERENCES /*) ;", 0, "t#0",
       "t.sql:1:32: unexpected eof\nt.sql:1:34: unexpected eof\n"},
      {"DROP /*;;", 0, "", "t.sql:1:7: unexpected eof\n"},
  };
  for (const auto& c : cases) check(c);
}

TEST(ParseBuf, Docstrings) {
  const struct {
    std::string_view in;
    std::string want;  // "name=[doc]" or "name=null", tables then their columns
  } cases[] = {
      {"-- T\nCREATE TABLE t (\n-- A\na INT, -- B\nb INT /* dropped */, /**/ c, -- U\n"
       "UNIQUE (a), d -- dropped\n);",
       "t=[ T] a=[ A] b=[ B] c=[] d=null"},
      {"-- X\nDROP TABLE y;\nCREATE /* x */ TABLE t (a);", "t=null a=null"},
  };
  for (const auto& c : cases) {
    Parse r(c.in);
    auto doc = [](const auto& rec) {
      return std::string(rec->name) + "=" +
             (rec->comment ? "[" + std::string(*rec->comment) + "]" : "null");
    };
    std::string got;
    for (const table* t : r.s.tables) {
      got += doc(t);
      for (const column* col : t->cols) got += " " + doc(col);
    }
    EXPECT_TRUE(r.ok) << "input: " << c.in;
    EXPECT_EQ(c.want, got) << "input: " << c.in;
  }
}

TEST(ParseBuf, LongTexts) {  // names and docstrings far beyond any small buffer
  std::string doc(100000, 'd');
  std::string in = "--" + doc + "\nCREATE TABLE t (";
  std::string want;
  for (int i = 0; i < 3000; i++) {
    std::string name = std::to_string(10000 + i) + std::string(30, 'x');
    in += (i ? "," : "") + name;
    want += (i ? "," : "") + name + '#' + std::to_string(i);
  }
  in += ");";
  Parse r(in);
  EXPECT_TRUE(r.ok);
  EXPECT_EQ("t#0(" + want + ")", model(r.s));
  ASSERT_EQ(1u, r.s.tables.size());
  EXPECT_TRUE(doc == r.s.tables[0]->comment.value_or("(null)"));
}

TEST(ParseBuf, EmptyInput) {
  Parse r("");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(program_invocation_short_name + ": t.sql: empty file\n"s, r.err);
  EXPECT_EQ("", model(r.s));
}

// A failed parse leaves every table and column read so far, the failed
// statement's included, nothing bound, and a reference lacking its names; the
// schema releases all of it with itself.
TEST(ParseBuf, FailedParseLeavesPartialModel) {
  Parse r("CREATE TABLE a (x REFERENCES a (x)); CREATE TABLE t (b, a, FOREIGN KEY (a) REFERENCES");
  EXPECT_FALSE(r.ok);
  EXPECT_EQ("t.sql:1:85: unexpected eof\nt.sql:1:85: syntax error trailing columns\n", r.err);
  EXPECT_EQ("a#0 t#1", model(r.s, false));
  EXPECT_EQ("a#0(x#0) t#1(a#1,b#0)", model(r.s));
  ASSERT_EQ(2u, r.s.refs.size());
  EXPECT_FALSE(r.s.refs[1].tname);
  EXPECT_FALSE(r.s.refs[1].cname);
}

// A message quotes a long token by its start, and says how much more there is.
TEST(ParseBuf, LongTokenInMessages) {
  std::string tok;
  for (int i = 0; i < 100000; i++) tok += char('0' + i % 10);
  const std::string quoted = tok.substr(0, 256) + "[... 99744 more bytes]";
  const struct {
    std::string before, after;  // the input around the token
    bool ok;
    std::vector<std::string> messages;  // each at the position after the token
  } cases[] = {
      {"CREATE TABLE t (a, FOREIGN KEY (", ") REFERENCES t (a));", true, {"cannot find column: " + quoted}},
      {"CREATE TABLE t (f ", ");", false,
       {"unexpected: " + quoted + " (wanted \"key\")", "syntax error trailing columns"}},
  };
  for (const auto& c : cases) {
    Parse r(c.before + tok + c.after);
    EXPECT_EQ(c.ok, r.ok) << "input: " << c.before;
    std::string want;
    for (const std::string& m : c.messages)
      want += "t.sql:1:" + std::to_string(c.before.size() + tok.size()) + ": " + m + "\n";
    EXPECT_TRUE(want == r.err) << "input: " << c.before << "\nmessages, cut: " << r.err.substr(0, 200);
  }
}

// A file of the given bytes, open for reading and writing; removed at the end.
struct TempFile {
  std::string path = testing::TempDir() + "parse_mapped_XXXXXX";
  int fd = mkstemp(path.data());
  explicit TempFile(std::string_view bytes) {
    EXPECT_NE(-1, fd) << path << ": " << std::strerror(errno);
    EXPECT_EQ(ssize_t(bytes.size()), write(fd, bytes.data(), bytes.size()));
  }
  TempFile(const TempFile&) = delete;
  TempFile& operator=(const TempFile&) = delete;
  ~TempFile() {
    close(fd);
    unlink(path.c_str());
  }
};

TEST(ParseMapped, FileChangedWhileRead) {
  // A valid schema of three pages: a comment fills what the table leaves,
  // after it or inside it (where the bytes that come in its place cut the
  // statement short: that is not what the file says, and not said).
  const size_t page = size_t(sysconf(_SC_PAGESIZE));
  const std::string head = "CREATE TABLE t (a);\n--";
  const std::string bytes = head + std::string(3 * page - head.size() - 1, 'x') + "\n";
  const std::string inside_head = "CREATE TABLE t (a,\n--", inside_tail = "\nb);\n";
  const std::string inside =
      inside_head + std::string(3 * page - inside_head.size() - inside_tail.size(), 'x') + inside_tail;
  enum class change { none, shrink, grow };
  const struct {
    const char* what;
    const std::string& bytes;
    sql_dialect dialect;
    change how;
    bool check_size;  // whether parse_mapped gets the descriptor
    bool ok;
  } cases[] = {
      {"unchanged", bytes, sql_dialect::none, change::none, true, true},
      {"shrunk under the mapping", bytes, sql_dialect::none, change::shrink, true, false},
      {"shrunk, no descriptor: the fault alone tells", bytes, sql_dialect::none, change::shrink, false, false},
      {"grown", bytes, sql_dialect::none, change::grow, true, false},
      {"shrunk inside a statement", inside, sql_dialect::none, change::shrink, true, false},
      {"shrunk inside a statement, read as PostgreSQL", inside, sql_dialect::postgres, change::shrink, true, false},
  };
  for (const auto& c : cases) {
    const std::string& bytes = c.bytes;
    TempFile f(bytes);
    void* map = mmap(nullptr, bytes.size(), PROT_READ, MAP_SHARED, f.fd, 0);
    ASSERT_NE(MAP_FAILED, map) << std::strerror(errno);
    if (c.how != change::none) {
      ASSERT_EQ(0, ftruncate(f.fd, c.how == change::shrink ? 100 : bytes.size() + 1));
    }
    Messages messages;
    schema s;
    s.dialect = c.dialect;
    bool ok = parse_mapped(messages.diag(), c.check_size ? f.fd : -1, bytes.size(), static_cast<const char*>(map),
                           bytes.size(), s);
    munmap(map, bytes.size());
    EXPECT_EQ(c.ok, ok) << c.what;
    if (c.ok) {
      EXPECT_EQ("t#0(a#0)", model(s));
    }
    EXPECT_EQ(c.ok ? "" : program_invocation_short_name + ": t.sql: file changed while being read\n"s,
              messages.text())
        << c.what;
  }
}

}  // namespace
