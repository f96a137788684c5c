// The words that the dialect grammar reads, listed once. A token's word is
// looked up here once, and the grammar then compares small numbers.
#pragma once

#include <cstdint>
#include <string_view>

// Each word of the grammar, in alphabetical order: its constant and its text.
#define DIALECT_KEYWORDS(X)                                                                                        \
  X(ABORT, "abort") X(ACTION, "action") X(ADD, "add") X(AFTER, "after") X(ALL, "all") X(ALTER, "alter")            \
  X(AND, "and") X(AS, "as") X(ATOMIC, "atomic") X(ATTACH, "attach") X(ATTRIBUTE, "attribute")                     \
  X(AUTHORIZATION, "authorization") X(AUTO_INCREMENT, "auto_increment") X(BEGIN, "begin") X(CASCADE, "cascade")    \
  X(CASE, "case") X(CHAIN, "chain") X(CHANGE, "change") X(CHECK, "check") X(COLUMN, "column") X(COMMENT, "comment") X(COMMENTS, "comments")          \
  X(COMMIT, "commit") X(CONSTRAINT, "constraint") X(COPY, "copy") X(CREATE, "create") X(DATABASE, "database")                              \
  X(DEFAULT, "default") X(DEFAULT_STORAGE_ENGINE, "default_storage_engine") X(DELIMITER, "delimiter")              \
  X(DETACH, "detach") X(DISTINCT, "distinct") X(DO, "do") X(DROP, "drop") X(END, "end") X(ENGINE, "engine")                    \
  X(EXCLUDE, "exclude") X(EXCLUDING, "excluding") X(EXECUTE, "execute") X(EXISTS, "exists") X(FIRST, "first") X(FOR, "for")              \
  X(FOREIGN, "foreign") X(FROM, "from") X(FULLTEXT, "fulltext") X(GLOBAL, "global") X(GRANT, "grant") X(GROUP, "group")              \
  X(HAVING, "having") X(IF, "if") X(IGNORE, "ignore") X(INCLUDING, "including") X(INDEX, "index")                  \
  X(INDEXES, "indexes") X(INHERIT, "inherit") X(INHERITS, "inherits") X(INTO, "into") X(IS, "is") X(JOIN, "join") X(KEY, "key") X(LIKE, "like")          \
  X(LIMIT, "limit") X(LOCAL, "local") X(MODIFY, "modify") X(NO, "no") X(NOT, "not") X(NULL_, "null") X(OF, "of") X(OFFLINE, "offline")               \
  X(ON, "on") X(ONLINE, "online") X(ONLY, "only") X(OR, "or") X(ORDER, "order") X(PARTITION, "partition") X(PERIOD, "period")          \
  X(PREPARE, "prepare") X(PRAGMA, "pragma") X(PRIMARY, "primary") X(REFERENCES, "references") X(RELEASE, "release") X(RENAME, "rename")                      \
  X(REPLACE, "replace") X(RESET, "reset") X(ROLLBACK, "rollback") X(SAVEPOINT, "savepoint") X(SCHEMA, "schema")    \
  X(SEARCH_PATH, "search_path") X(SELECT, "select") X(SESSION, "session") X(SET, "set") X(SPATIAL, "spatial") X(SQL_MODE, "sql_mode")      \
  X(STANDARD_CONFORMING_STRINGS, "standard_conforming_strings") X(START, "start") X(STDIN, "stdin")                \
  X(STORAGE_ENGINE, "storage_engine") X(TABLE, "table") X(TEMP, "temp") X(TEMPORARY, "temporary") X(TO, "to")      \
  X(TRANSACTION, "transaction") X(TYPE, "type") X(UNION, "union") X(UNIQUE, "unique") X(UNLOGGED, "unlogged") X(USE, "use")        \
  X(USING, "using") X(VALUES, "values") X(VIEW, "view") X(VIRTUAL, "virtual") X(WHERE, "where") X(WINDOW, "window") X(WITH, "with") X(WORK, "work")

enum kw : uint8_t {
  KW_NONE,  // not a word of the grammar, or not a word at all
#define KEYWORD_ENUM(id, text) KW_##id,
  DIALECT_KEYWORDS(KEYWORD_ENUM)
#undef KEYWORD_ENUM
      KW_COUNT,
};

/// The keyword that `word` is, in any letter case, or KW_NONE.
kw keyword_of(std::string_view word);

/// The text of `k`, in lower case ("" for KW_NONE).
std::string_view keyword_text(kw k);

/// The first letter of `k`, in lower case ('\0' for KW_NONE).
char keyword_initial(kw k);
