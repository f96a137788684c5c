// The dialect readings: the tokenizer of each database, and the model that
// each grammar makes of the statements that shape a catalog.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "reader/dialect_doc.h"
#include "reader/dialect_lex.h"
#include "reader/read.h"
#include "test_support.h"

namespace {

using enum sql_dialect;

// The tokens of `input`, one "kind:text" each: the text of a name or string
// as the dialect reads it, of the rest as written.
std::string tokens(sql_dialect d, std::string_view input) {
  Messages m;
  diagnostics diag = m.diag();
  dlexer dl(input, diag, dialect_rules_of(d));
  std::string out, text;
  dtoken t;
  while (dlex_next(t, dl)) {
    static const char* kinds[] = {"end", "w", "n", "s", "p"};
    if (t.kind == DTOKEN_NAME)
      dlex_name(t, dl.rules, text);
    else if (t.kind == DTOKEN_STRING)
      dlex_string(t, text);
    else
      text = t.raw;
    out += std::string(kinds[t.kind]) + ":" + text + " ";
  }
  if (dl.failed)
    out += "| " + m.text();
  return out;
}

TEST(DialectLex, EachDatabasesTokens) {
  struct Case {
    sql_dialect d;
    const char* input;
    const char* want;
  } cases[] = {
      {postgres, "a -- x\nb /* y /* nested */ still */ c", "w:a w:b w:c "},
      {sqlite, "a /* y /* z */ c */", "w:a w:c p:* p:/ "},
      {mysql, "a # x\nb -- y\nc --z", "w:a w:b w:c p:- p:- w:z "},
      {postgres, "a # b", "w:a p:# w:b "},
      {postgres, "'it''s' E'a\\'b\\n' 'c\\d'", "s:it's s:a'b\n s:c\\d "},
      {mysql, "'a\\'b', \"c\"\"d\", 'x\\%'", "s:a'b p:, s:c\"d p:, s:x\\% "},
      {postgres, "$$ a ; 'b' $$ $t$ $$ $t$ $1", "s: a ; 'b'  s: $$  w:$1 "},
      {postgres, "\"Mixed\"\"Case\" Folded", "n:Mixed\"Case w:Folded "},
      {mysql, "`a``b` Mixed", "n:a`b w:Mixed "},
      {sqlite, "[a b] \"c\" 'd'", "n:a b n:c s:d "},
      {postgres, "x\n\\connect db\ny", "w:x w:y "},
      // MySQL runs what its executable comments hold.
      {mysql, "/*!40101 SET x */; /*M!100100 y*/", "w:SET w:x p:; w:y "},
      {sqlite, "a /* open to the end", "w:a "},
      // PostgreSQL's escapes, Unicode strings and names, strings continued on the next line.
      {postgres, "E'\\x41\\u00e9\\101\\q' U&'d\\0061t\\+000061' U&\"a!0062\" UESCAPE '!' 'multi'\n  ' part' 'one' 'two'",
       "s:A\u00e9Aq s:data n:ab s:multi part s:one s:two "},
      {mysql, "'a' \"b\", _utf8mb4'c', N'd'", "s:ab p:, s:c p:, s:d "},
      // The clients' own lines: sqlite3's dot-commands between statements, psql's backslash commands.
      {sqlite, ".headers on\nCREATE t;\n.mode column\n# shell note\nx\n.y", "w:CREATE w:t p:; w:x p:. w:y "},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tokens(c.d, c.input), c.want) << c.input;
}

TEST(DialectLex, TokensCutShortAreReported) {
  for (auto [d, input] : std::vector<std::pair<sql_dialect, const char*>>{
           {postgres, "a 'open"}, {postgres, "$x$ open"}, {mysql, "`open"}, {postgres, "/* /* */"}, {sqlite, "[open"}}) {
    std::string out = tokens(d, input);
    EXPECT_NE(out.find("| t.sql:1:"), std::string::npos) << input;
    EXPECT_NE(out.find("unexpected eof"), std::string::npos) << input;
  }
}

// A block comment's docstring text, made without the reader's tokenizer,
// is the text the tokenizer makes of it.
TEST(DialectLex, BlockTextAsTheTokenizerMakesIt) {
  for (std::string body : {"", " a ", "a\nb", "a\n\nb", "\n * a\n * b\n ", "a\n *\n b", "**", "a\n*/"}) {
    if (body.find("*/") != std::string::npos)
      continue;
    std::string input = "/*" + body + "*/ x";  // a word after it: the comment is closed
    Messages m;
    lexer lx(input, m.diag());
    token t;
    ASSERT_TRUE(lex_next(t, lx, true)) << body;
    std::string mine;
    lex_block_text(body, mine);
    EXPECT_EQ(mine, std::string(t.text())) << body;
  }
}

// A file that names no dialect: what only one database writes chooses it,
// outside strings and comments; nothing, or two alike, choose none.
TEST(DialectOfText, TelltalesChooseIt) {
  const struct {
    const char* in;
    sql_dialect want;
  } cases[] = {
      {"--\n-- PostgreSQL database dump\n", postgres},
      {"CREATE TABLE t (id SERIAL, at timestamptz DEFAULT now()::date);", postgres},
      {"CREATE TABLE `t` (id int AUTO_INCREMENT) ENGINE=InnoDB;", mysql},
      {"PRAGMA foreign_keys = ON; CREATE TABLE t (a) WITHOUT ROWID;", sqlite},
      {"CREATE TABLE t (a int, b text);", none},
      {"CREATE TABLE t (a text DEFAULT 'x::y `z`'); -- SERIAL\n/* AUTO_INCREMENT */", none},
      {"CREATE TABLE \"it's\" (a int);", none},
      {"CREATE TABLE `t` (id SERIAL);", none},  // one of each: the loose grammar
      {"CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT, n TINYINT, m PRAGMA);", sqlite},
  };
  for (const auto& c : cases)
    EXPECT_EQ(dialect_of_text(c.in).dialect, c.want) << c.in;
}

TEST(DialectOfDump, TheToolsHeadingsChooseIt) {
  EXPECT_EQ(dialect_of_dump("--\n-- PostgreSQL database dump\n--\n"), postgres);
  EXPECT_EQ(dialect_of_dump("-- MySQL dump 10.13  Distrib 8.0.36\n"), mysql);
  EXPECT_EQ(dialect_of_dump("/*M!999999\\- enable the sandbox mode */ \n-- MariaDB dump 10.19\n"), mysql);
  EXPECT_EQ(dialect_of_dump("CREATE TABLE t (a int);\n-- PostgreSQL database dump\n"), std::nullopt);
  EXPECT_EQ(dialect_of_dump("-- my notes\n-- MySQL dump 1\n"), std::nullopt);
  EXPECT_EQ(dialect_of_dump(""), std::nullopt);
}

// The docstring of line comments, one per line from line 0 on ("|" for a
// line without one), in front of a token on `next` ("(none)" where they
// make none).
std::string doc_of(std::vector<std::string_view> bodies, size_t next) {
  std::vector<dcomment> cs;
  for (size_t i = 0; i < bodies.size(); i++)
    if (bodies[i] != "|")
      cs.push_back({dcomment_kind::line, bodies[i], i, i});
  std::string out;
  return dialect_docstring(cs, next, {}, out) ? out : "(none)";
}

TEST(DialectDoc, DumpToolsNotesAreNotDocumentation) {
  struct Case {
    std::vector<std::string_view> lines;
    size_t next;
    const char* want;
  } cases[] = {
      {{"", " Name: t; Type: TABLE; Schema: public; Owner: -", ""}, 4, "(none)"},
      // A note's blank lines leave no paragraph behind; an author's line in its block is documentation.
      {{"", " Users.", "", " Name: t; Type: TABLE; Schema: public; Owner: -", ""}, 6, "Users."},
      {{" Table structure for table `t`", " People"}, 2, "People"},
      {{" a", "", " b"}, 3, "a\nb"},
      {{" Host: localhost    Database: app"}, 1, "(none)"},
      // An author's own words stay; rules of one byte do not.
      {{" Host: the machine it runs on"}, 1, "Host: the machine it runs on"},
      {{" ====", " Users", " ----"}, 3, "Users"},
      // Only the comments that touch the table document it: a heading a blank line away does not.
      {{" ===", " Billing", " ==="}, 4, "(none)"},
      {{" File header", "|", " The users."}, 3, "The users."},
  };
  for (const Case& c : cases)
    EXPECT_EQ(doc_of(c.lines, c.next), c.want) << c.lines[0];
  std::string out;
  dcomment stat{dcomment_kind::block, " No STAT tables available ", 0, 0};
  EXPECT_FALSE(dialect_docstring(std::span(&stat, 1), 1, {}, out));
}

// The model that a dialect reading makes, one line: each table in name order
// with its columns, "{doc}" after a name that has one, "[note]" after one
// with a catalog comment, "->t.c" for each foreign key.
std::string model(sql_dialect d, std::string_view sql, std::string* messages = nullptr) {
  Messages m;
  schema s;
  s.dialect = d;
  bool ok = parse_buf(m.diag(), sql, s);
  if (messages)
    *messages = m.text();
  if (!ok)
    return "failed: " + m.text();
  std::string out;
  auto doc = [&](std::optional<std::string_view> c, const char* note) {
    if (c)
      out += "{" + std::string(*c) + "}";
    if (note)
      out += "[" + std::string(note) + "]";
  };
  for (const table* t : s.tables) {
    out += t->name;
    doc(t->comment, t->note);
    out += "(";
    for (const column* c : t->cols) {
      out += c->name;
      doc(c->comment, c->note);
      if (c->fkey)
        out += "->" + std::string(c->fkey->parent->name) + "." + std::string(c->fkey->name);
      for (const column* more : c->fkey_more)
        out += "->" + std::string(more->parent->name) + "." + std::string(more->name);
      out += c == t->cols.back() ? "" : " ";
    }
    out += ") ";
  }
  return out;
}

struct GrammarCase {
  sql_dialect d;
  const char* sql;
  const char* want;
};

void check(const std::vector<GrammarCase>& cases) {
  for (const GrammarCase& c : cases)
    EXPECT_EQ(model(c.d, c.sql), c.want) << c.sql;
}

TEST(DialectGrammar, TablesAndTheirConstraints) {
  check({
      {postgres, "CREATE TABLE t (id int PRIMARY KEY, uniq int, \"check\" text, CONSTRAINT c CHECK (id > 0), "
                 "PRIMARY KEY (id), UNIQUE (uniq), EXCLUDE USING gist (id WITH =));",
       "t(check id uniq) "},
      {mysql, "CREATE TABLE `t` (`id` int, KEY `k` (`id`), INDEX i (id), FULLTEXT KEY f (id), SPATIAL KEY s (id), "
              "UNIQUE KEY u (id), PRIMARY KEY (`id`) USING BTREE) ENGINE=InnoDB DEFAULT CHARSET=utf8mb4;",
       "t(id) "},
      {sqlite, "CREATE TABLE IF NOT EXISTS t (a, b TEXT CHECK (b <> 'references x(y)'), key int) WITHOUT ROWID, STRICT;",
       "t(a b key) "},
      {postgres, "CREATE UNLOGGED TABLE IF NOT EXISTS Big (A int) WITH (fillfactor=70) TABLESPACE x;"
                 "CREATE TABLE p (a int) PARTITION BY RANGE (a); CREATE TABLE q () INHERITS (big, p) WITHOUT OIDS;",
       "big(a) p(a) q(a) "},
      {postgres, "CREATE TABLE r (a int, b int); CREATE TABLE r1 PARTITION OF r FOR VALUES FROM (1) TO (2);",
       "r(a b) r1(a b) "},
      {mysql, "CREATE TABLE a (x int COMMENT 'c'); CREATE TABLE b LIKE a;", "a(x[c]) b(x[c]) "},
      {postgres, "CREATE TEMP TABLE x (a int); CREATE TABLE t AS SELECT 1;", "t(?column?) "},
      // A query's columns: aliases, columns, the stars of its FROM table.
      {postgres, "CREATE TABLE e (id int, at date); CREATE TABLE c AS (SELECT e.id, count(*) AS n, 'x' FROM e "
                 "WHERE id > 0); CREATE TABLE d AS SELECT * FROM e WITH NO DATA;",
       "c(?column? id n) d(at id) e(at id) "},
      // Words that begin a constraint only where the constraint's syntax follows.
      {postgres, "CREATE TABLE t (exclude int, EXCLUDE USING gist (exclude WITH =));", "t(exclude) "},
      {mysql, "CREATE TABLE t (period int, s date, e date, PERIOD FOR p (s, e));", "t(e period s) "},
      {sqlite, "CREATE TABLE sqlite_sequence(name,seq); CREATE VIRTUAL TABLE d USING fts5(a, b);"
               "CREATE TABLE 'd_data'(id, block); CREATE TABLE d_config(k, v); CREATE TABLE e(a);",
       "e(a) "},
  });
}

TEST(DialectGrammar, ForeignKeys) {
  check({
      // Composite keys link pair by pair; REFERENCES t links to t's primary key.
      {postgres, "CREATE TABLE u (a int, b int, PRIMARY KEY (a, b));"
                 "CREATE TABLE v (x int, y int, FOREIGN KEY (x, y) REFERENCES u (a, b));"
                 "CREATE TABLE w (x int, y int, FOREIGN KEY (x, y) REFERENCES u);",
       "u(a b) v(x->u.a y->u.b) w(x->u.a y->u.b) "},
      {sqlite, "CREATE TABLE u (id INTEGER PRIMARY KEY); CREATE TABLE v (a REFERENCES U, b REFERENCES u(ID));",
       "u(id) v(a->u.id b->u.id) "},
      // pg_dump's keys, after every table; a column that two keys start from.
      {postgres, "CREATE TABLE public.t (id int, o int); CREATE TABLE public.u (id int); CREATE TABLE public.s (id int);"
                 "ALTER TABLE ONLY public.t ADD CONSTRAINT f1 FOREIGN KEY (o) REFERENCES public.u(id);"
                 "ALTER TABLE ONLY public.t ADD CONSTRAINT f2 FOREIGN KEY (o) REFERENCES public.s(id) NOT VALID;",
       "s(id) t(id o->u.id->s.id) u(id) "},
      // MySQL: targets created later; names of columns in any case; engines without keys.
      {mysql, "CREATE TABLE a (id int, B_id int, CONSTRAINT fk FOREIGN KEY fk_i (b_ID) REFERENCES b (ID)) ENGINE=InnoDB;"
              "CREATE TABLE b (Id int); CREATE TABLE c (b int, FOREIGN KEY (b) REFERENCES b (id)) ENGINE=MyISAM;",
       "a(B_id->b.Id id) b(Id) c(b) "},
      {mysql, "CREATE TABLE b (id int); CREATE TABLE a (x int); ALTER TABLE a ADD CONSTRAINT f FOREIGN KEY (x) "
              "REFERENCES b (id), ADD COLUMN y int, DROP FOREIGN KEY f;",
       "a(x y) b(id) "},
      // A partition has its parent's keys, made with PARTITION OF or attached later.
      {postgres, "CREATE TABLE u (id int PRIMARY KEY); CREATE TABLE m (at int, u int REFERENCES u) PARTITION BY "
                 "RANGE (at); CREATE TABLE m1 PARTITION OF m FOR VALUES FROM (1) TO (2);"
                 "CREATE TABLE m2 (at int, u int); ALTER TABLE ONLY m ATTACH PARTITION m2 FOR VALUES FROM (2) TO (3);",
       "m(at u->u.id) m1(at u->u.id) m2(at u->u.id) u(id) "},
      {postgres, "CREATE TABLE b (id int); CREATE TABLE a (x int REFERENCES b (id)); ALTER TABLE a RENAME x TO z;"
                 "ALTER TABLE b RENAME TO c; ALTER TABLE c RENAME COLUMN id TO key;",
       "a(z->c.key) c(key) "},
  });
}

TEST(DialectGrammar, NamesAsTheCatalogShowsThem) {
  check({
      {postgres, "CREATE TABLE Foo (Bar int, \"Baz\" int); CREATE TABLE \"Q\" (a int REFERENCES foo (bar));",
       "Q(a->foo.bar) foo(Baz bar) "},
      // The first schema of the path that exists; other schemas kept in the name.
      {postgres, "CREATE SCHEMA s; SET search_path = nope, s, public; CREATE TABLE t (id int);"
                 "CREATE TABLE public.u (t_id int REFERENCES t (id));",
       "s.t(id) u(t_id->s.t.id) "},
      {postgres, "SELECT pg_catalog.set_config('search_path', '', false); CREATE TABLE public.t (a int);"
                 "CREATE TABLE other.t (a int REFERENCES public.t (a));",
       "other.t(a->t.a) t(a) "},
      {mysql, "USE app; CREATE TABLE app.t (a int); CREATE TABLE logs.t (a int);", "logs.t(a) t(a) "},
      {mysql, "CREATE TABLE a (x int); CREATE TABLE b (y int); RENAME TABLE a TO c, b TO d;", "c(x) d(y) "},
      {sqlite, "CREATE TABLE main.t (a); CREATE TABLE temp.x (a); CREATE TABLE [T] (b);", "t(a) "},
      {postgres, "CREATE TABLE t (a int); DROP TABLE IF EXISTS t, nothing CASCADE; CREATE TABLE t (b int);", "t(b) "},
  });
}

TEST(DialectGrammar, Documentation) {
  check({
      // Before a definition, at the end of its own line, and the catalog's after a paragraph break.
      {postgres, "-- Tables\nCREATE TABLE t (\n  -- first\n  a int, -- of a\n  b int -- of b\n);\n"
                 "COMMENT ON TABLE t IS 'Catalog';\nCOMMENT ON COLUMN t.b IS 'B''s';",
       "t{Tables}[Catalog](a{first of a} b{of b}[B's]) "},
      {postgres, "CREATE TABLE t (a int);COMMENT ON COLUMN public.t.a IS 'x';COMMENT ON COLUMN t.a IS NULL;"
                 "COMMENT ON TABLE t IS 'y'; COMMENT ON TABLE t IS '';",
       "t(a) "},
      {mysql, "CREATE TABLE t (\n  a int COMMENT 'first\\nline', # after a\n  b int\n) COMMENT='tab';\n"
              "ALTER TABLE t COMMENT 'again', MODIFY b int COMMENT 'modified';",
       "t[again](a{after a}[first\nline] b[modified]) "},
      // Dump tools' notes are not documentation; a comment after ALTER's column belongs to it.
      {postgres, "--\n-- Name: t; Type: TABLE; Schema: public; Owner: -\n--\n\nCREATE TABLE public.t (a int);\n"
                 "-- added later\nALTER TABLE t ADD COLUMN b int;",
       "t(a b{added later}) "},
      {sqlite, "/* No STAT tables available */\nCREATE TABLE t (a /* the a */, b);", "t(a{the a} b) "},
  });
}

// The names the databases give the constraints a file leaves unnamed, by
// which migrations drop them: a name taken, by the file or before, gets a
// number.
TEST(DialectGrammar, ConstraintNames) {
  check({
      {postgres, "CREATE TABLE p (id int PRIMARY KEY); CREATE TABLE q (id int PRIMARY KEY);"
                 "CREATE TABLE c (a int, CONSTRAINT c_a_fkey FOREIGN KEY (a) REFERENCES p);"
                 "ALTER TABLE c ADD FOREIGN KEY (a) REFERENCES q; ALTER TABLE c DROP CONSTRAINT c_a_fkey1;",
       "c(a->p.id) p(id) q(id) "},
      {postgres, "CREATE TABLE p (id int PRIMARY KEY); CREATE TABLE c (a int REFERENCES p, b int REFERENCES p);"
                 "ALTER TABLE c DROP CONSTRAINT c_b_fkey;",
       "c(a->p.id b) p(id) "},
      {mysql, "CREATE TABLE p (id int PRIMARY KEY); CREATE TABLE c (a int, b int, FOREIGN KEY (a) REFERENCES p (id),"
              "FOREIGN KEY (b) REFERENCES p (id)); ALTER TABLE c DROP FOREIGN KEY c_ibfk_2;"
              "ALTER TABLE c ADD FOREIGN KEY (b) REFERENCES p (id); ALTER TABLE c DROP FOREIGN KEY c_ibfk_1;",
       "c(a b->p.id) p(id) "},
  });
}

// What a transaction undoes where the database's DDL is transactional, and
// where it is not.
TEST(DialectGrammar, Transactions) {
  check({
      {postgres, "CREATE TABLE a (x int); BEGIN; CREATE TABLE gone (b int); ALTER TABLE a ADD COLUMN y int;"
                 "COMMENT ON TABLE a IS 'no'; ROLLBACK; CREATE TABLE c (z int);",
       "a(x) c(z) "},
      {postgres, "BEGIN; CREATE TABLE a (x int); SAVEPOINT s; DROP TABLE a; CREATE TABLE b (y int);"
                 "ROLLBACK TO SAVEPOINT s; CREATE TABLE c (z int); COMMIT;",
       "a(x) c(z) "},
      {postgres, "CREATE SCHEMA s; BEGIN; SET LOCAL search_path = s; CREATE TABLE t (a int); COMMIT;"
                 "CREATE TABLE u (b int);",
       "s.t(a) u(b) "},
      {sqlite, "SAVEPOINT a; CREATE TABLE t (x); RELEASE a; ROLLBACK; CREATE TABLE u (y);", "t(x) u(y) "},
      {sqlite, "BEGIN; CREATE TABLE t (x); SAVEPOINT a; ALTER TABLE t RENAME TO v; ROLLBACK TO a; COMMIT;", "t(x) "},
      {mysql, "BEGIN; CREATE TABLE t (x int); ROLLBACK;", "t(x) "},
  });
}

TEST(DialectGrammar, StatementsPassedOver) {
  check({
      {postgres, "CREATE FUNCTION f() RETURNS int AS $$ CREATE TABLE no (a int); $$ LANGUAGE sql;"
                 "CREATE FUNCTION g() RETURNS int LANGUAGE sql BEGIN ATOMIC SELECT 1; SELECT 2; END;"
                 "COPY t (a) FROM stdin;\n1\n2;\n\\.\nCREATE TABLE t (a int);",
       "t(a) "},
      {sqlite, "CREATE TABLE t (a); CREATE TRIGGER tr AFTER INSERT ON t BEGIN UPDATE t SET a = CASE WHEN 1 THEN 2 END;"
               " END; CREATE INDEX i ON t (a); CREATE TABLE u (b);",
       "t(a) u(b) "},
      {mysql, "DELIMITER ;;\nCREATE PROCEDURE p() BEGIN SELECT 1; END;;\nDELIMITER ;\n"
              "DELIMITER $$\nCREATE TRIGGER x BEFORE INSERT ON t FOR EACH ROW BEGIN SET @a = 1; END$$\nDELIMITER ;\n"
              "/*!50003 CREATE*/ /*!50003 TRIGGER y BEGIN END */;\nCREATE TABLE t (a int);",
       "t(a) "},
      {postgres, "\\restrict key\nSET statement_timeout = 0;\nCREATE TABLE t (a int);\n\\unrestrict key\n", "t(a) "},
  });
}

TEST(DialectGrammar, StatementsItCannotReadFailTheRun) {
  struct Case {
    sql_dialect d;
    const char* sql;
    const char* message;
  } cases[] = {
      {postgres, "CREATE TABLE t (a int,, b int);", "t.sql:1:23: unexpected: , (wanted \"column name\")\n"},
      {mysql, "CREATE TABLE t (a int", "t.sql:1:21: unexpected eof\n"},
      {sqlite, "CREATE TABLE t a;", "t.sql:1:16: unexpected: a (wanted \"(\")\n"},
      {postgres, "CREATE TABLE t (a int, FOREIGN KEY (a) x);", "t.sql:1:40: unexpected: x (wanted \"REFERENCES\")\n"},
      {postgres, "COMMENT ON TABLE t IS 1;", "t.sql:1:23: unexpected: 1 (wanted \"a string\")\n"},
      {mysql, "CREATE TABLE t (a int) COMMENT 'open", "t.sql:1:36: unexpected eof\n"},
      {postgres, "", "tabledoc: t.sql: empty file\n"},
      // Inside a DO block, where it stands in the file; in an EXECUTE'd string, at the string.
      {postgres, "DO $$\nBEGIN\n  CREATE TABLE t (a int,, b int);\nEND $$;", "t.sql:3:26: unexpected: , (wanted \"column name\")\n"},
      {postgres, "DO $$ BEGIN\n EXECUTE 'CREATE TABLE t (';\nEND $$;", "t.sql:2:27: unexpected eof\n"},
  };
  for (const Case& c : cases) {
    std::string got = model(c.d, c.sql);
    std::string want = std::string("failed: ") + c.message;
    if (std::string(c.sql).empty())
      want = "failed: " + std::string(program_invocation_short_name) + ": t.sql: empty file\n";
    EXPECT_EQ(got, want) << c.sql;
  }
}

TEST(DialectGrammar, UnknownTargetsAreReportedNotFatal) {
  std::string messages;
  EXPECT_EQ(model(sqlite, "CREATE TABLE t (a REFERENCES gone, b REFERENCES gone(x));", &messages), "t(a b) ");
  EXPECT_EQ(messages, "t.sql: unknown foreign key table on t.a: gone.\nt.sql: unknown foreign key table on t.b: gone.x\n");
}

TEST(DialectGrammar, QueryColumnsOfOneName) {
  // SQLite numbers the later ones; a name ends at a NUL byte, the name as
  // written too, so that two that differ behind one are one name.
  using namespace std::string_literals;
  EXPECT_EQ(model(sqlite, "CREATE TABLE t AS SELECT 1 AS a, 2 AS A, 3 AS a, 'x\0y', 'x\0z';"s),
            "t('x 'x:1 A:1 a a:2) ");
  // PostgreSQL and MySQL refuse the table.
  EXPECT_EQ(model(postgres, "CREATE TABLE u (a int); CREATE TABLE t AS SELECT a, a FROM u;"), "u(a) ");
  EXPECT_EQ(model(mysql, "CREATE TABLE t SELECT 1 AS a, 2 AS a;"), "");
}

}  // namespace
