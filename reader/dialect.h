// The SQL dialects that the reader can read a schema in, as the database
// itself would run it, each described by one row of rules. Without one the
// schema is read by the reader's own loose grammar.
#pragma once

#include <optional>
#include <span>
#include <string_view>

#include "reader/keywords.h"

enum class sql_dialect {
  none,      // the reader's own grammar
  postgres,  // PostgreSQL, its files and pg_dump's dumps (psql's meta-commands passed over)
  mysql,     // MySQL and MariaDB, their files and mysqldump's dumps
  sqlite,    // SQLite, its files and sqlite3's .schema (the shell's dot-commands passed over)
};

/// How string literals that follow each other make one.
enum class string_joining {
  none,          // each is a value of its own
  across_lines,  // 'a' <newline> 'b' is 'ab', as the SQL standard has it
  adjacent,      // 'a' 'b' is 'ab', on one line or not
};

/// How the database names the constraints that a file leaves unnamed.
enum class key_naming {
  none,      // they stay unnamed
  postgres,  // table_col_fkey, table_pkey, table_col_key, table_col_check, cut to fit and numbered
  mysql,     // table_ibfk_N for foreign keys, PRIMARY, a unique key after its first column
};

/// What LIKE does as an item of CREATE TABLE's list.
enum class like_item {
  none,     // it is not one
  options,  // LIKE t [INCLUDING ... | EXCLUDING ...]: the columns, and what the options add
  whole,    // (LIKE t): the columns with their comments and keys
};

/// How a query names its columns.
enum class query_naming {
  as_written,     // an expression's column by its text as written (a string's by its text, where said)
  by_expression,  // by what the expression is: a column's or a function's last name, "?column?" (PostgreSQL)
};

/// What a table made of a query does with two columns of one name.
enum class duplicate_names {
  refused,   // the statement fails
  numbered,  // the later ones are "name:1", "name:2", ...
};

/// Where JOIN ... USING (and NATURAL JOIN) puts the columns they join on in "*".
enum class using_place {
  first,     // first, then the other columns of the left side and of the right
  in_place,  // where the left side has them; the right side's copies are left out
};

/// How a table's name is qualified.
enum class name_spaces {
  search_path,  // schemas, an unqualified name found along the search path
  databases,    // databases, an unqualified name in the current one (USE)
  attached,     // main, temp and attached databases
};

/// What one database does with the text of a schema: how it cuts it into
/// tokens, how it names and finds things, and which statements it runs.
/// The grammar asks these fields, never which database it is reading.
struct dialect_rules {
  sql_dialect id;
  std::string_view name;   // as -d takes it
  std::string_view title;      // as messages call the database
  std::string_view dump_tool;  // the tool whose dump's heading tells the dialect, for messages

  // Tokens.
  std::string_view name_quotes;    // bytes that open a quoted name, closed by the same byte
  std::string_view string_quotes;  // bytes that open a string literal
  bool bracket_names;              // [a name]
  bool backslash_strings;          // a backslash escapes in every string
  bool escape_strings;             // E'...' strings with backslash escapes
  bool unicode_strings;            // U&'...' strings and U&"..." names
  bool dollar_quotes;              // $tag$ ... $tag$ strings
  bool charset_introducers;        // _utf8mb4'...': a string in a character set
  bool nested_comments;            // /* /* */ */ is one comment
  bool hash_comments;              // # to the end of the line
  bool dash_comment_needs_space;   // "--" opens a comment only before white space or a control byte
  bool executable_comments;        // /*! ... */ and /*M! ... */ hold code that the server runs
  bool open_comment_ok;            // a block comment may run to the end of the input
  char meta_command;               // a client's command to the end of its line: '\\' anywhere, '.' at a line's start
  // A client's commands that send the statement read so far, as its
  // delimiter does ("g" for \g); and, for MySQL's client, the one that
  // sets the delimiter ("d" for \d //).
  std::span<const std::string_view> send_commands;
  std::string_view delimiter_command;
  bool client_variables;  // psql's variables (\set, :name) and conditionals (\if ... \endif)
  // Words that, first on a line between statements, are a client's command
  // to the end of the line (MySQL's "charset utf8mb4"), and lines that end
  // a statement as its delimiter does (the sqlite3 shell's "GO" and "/").
  std::span<const std::string_view> client_words;
  std::span<const std::string_view> terminator_lines;
  // MySQL's /*!NNNNN ... */ and MariaDB's /*M!NNNNNN ... */ run only up to
  // the server's version: five digits below this, six up to the next.
  unsigned long executable_below, executable_upto;
  string_joining joining;
  bool strings_as_names;           // a string literal may stand where a name does

  // Names.
  bool folds_names;                // unquoted names to lower case
  bool columns_ignore_case;        // column names found in any letter case
  bool tables_ignore_case;         // table names found in any letter case
  size_t name_limit;               // names cut to this many bytes (at a character's start); 0: none
  std::string_view default_schema; // left off the names shown; "" where tables are named bare
  name_spaces spaces;

  // What running the statements does.
  bool transactional_ddl;  // a rolled back transaction takes its tables and columns with it
  bool fkeys_by_name;      // a foreign key stays bound to its target's name, not to the table
  bool engines;            // a table's storage engine decides whether it keeps foreign keys
  key_naming naming;

  // Clauses that only some databases have.
  bool comment_clauses;     // COMMENT 'text' on a column and COMMENT [=] 'text' on a table
  bool inheritance;         // INHERITS (t) and PARTITION OF t
  bool virtual_tables;      // CREATE VIRTUAL TABLE t USING module
  bool query_after_items;   // CREATE TABLE t (...) SELECT ...: the query's columns follow
  bool query_keeps_comments;  // a column a query takes from a table keeps its comment
  bool query_names_strings;   // a query's column of a string alone is named by its text, not as written
  query_naming query_names;
  duplicate_names query_duplicates;
  using_place using_columns;
  bool typed_tables;        // CREATE TYPE t AS (...) and CREATE TABLE x OF t
  bool placed_columns;      // ALTER TABLE's FIRST and AFTER c
  bool schema_elements;     // CREATE SCHEMA s CREATE TABLE ...
  bool keys_using_index;    // PRIMARY KEY | UNIQUE USING INDEX i: a key on the columns of index i
  like_item like;
  bool set_assignments;     // SET a = 1, b = 2: a comma begins the next setting (else a list: SET a = x, y)
  bool rename_bare_name;    // ALTER TABLE t RENAME u renames the table, without TO

  // Words, by what they begin.
  std::span<const kw> constraint_words;  // a table constraint, where an item of a table may stand
  std::span<const kw> column_words;      // a clause of a column definition that the grammar reads
  std::span<const kw> statements;        // the statements read; the rest are passed over
  std::span<const kw> alter_actions;     // ALTER TABLE's actions read; the rest are passed over

  // What only a file of this database holds, for telling the dialect of a
  // file that does not say it: words (any case) and other bytes as written.
  std::span<const std::string_view> telltale_words;
  std::span<const std::string_view> telltale_marks;
};

/// The rules of `d`, which is not sql_dialect::none.
const dialect_rules& dialect_rules_of(sql_dialect d);

/// Every dialect's rules, in the order of sql_dialect.
std::span<const dialect_rules> dialect_rows();

/// Whether `list` holds `k`.
inline bool rules_have(std::span<const kw> list, kw k) {
  for (kw x : list)
    if (x == k)
      return true;
  return false;
}

/// The dialect called `name` ("postgres", "mysql" or "sqlite"), or nothing.
std::optional<sql_dialect> dialect_named(std::string_view name);

/// What -d takes, for messages: the dialects, and "auto" and "loose" for
/// the choice by the input's telltales and the loose grammar.
inline constexpr const char* DIALECT_CHOICES = "postgres, mysql, sqlite, auto or loose";

/// The name of `d` as dialect_named takes it ("postgres", ...), "" for none.
std::string_view dialect_name(sql_dialect d);

/// The dialect of a dump whose first lines say which tool wrote it:
/// pg_dump's "-- PostgreSQL database dump", mysqldump's "-- MySQL dump" or
/// "-- MariaDB dump" (after MariaDB's sandbox line), or nothing.
std::optional<sql_dialect> dialect_of_dump(std::string_view input);

/// The evidence of a dump's heading, in dialect_guess.
inline constexpr std::string_view DUMP_HEADING = "a dump's heading";

/// What a file says of its dialect when nothing names it.
struct dialect_guess {
  sql_dialect dialect = sql_dialect::none;  // none: nothing tells, or two dialects tell alike
  std::string_view evidence[3];              // the first telltales found of the dialect chosen
  size_t found = 0;                          // how many of `evidence` are set
  // With none chosen: two dialects that told as much as each other.
  sql_dialect leader = sql_dialect::none, rival = sql_dialect::none;
};

/// Looks for the dialects' telltales in the first few megabytes of `input`
/// (outside its strings and comments): the dialect with the most of them,
/// if one has more than any other.
dialect_guess dialect_of_text(std::string_view input);
