// The schema model: the tables, columns and foreign-key references read from
// one schema. The records are plain data, kept in the stores of reader/store.h.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "reader/dialect.h"
#include "reader/store.h"

struct table;

constexpr int TABLE_TEMP = 1;         // TEMP or TEMPORARY was written
constexpr int TABLE_IFNOTEXISTS = 2;  // IF NOT EXISTS was written

// Names and docstrings are copies kept in the schema's text stores, each
// followed by a NUL byte, so `name.data()` is also a C string.

struct column {
  std::string_view name;
  std::optional<std::string_view> comment;  // absent: no comment; "" after an empty one
  // A dialect reading: the comment that the database's catalog holds
  // (COMMENT ON, MySQL's COMMENT), plain text beside the file's own, kept
  // NUL-terminated in the text store; null when there is none. (A pointer:
  // the record stays as small as the loose grammar needs it.)
  const char* note = nullptr;
  table* parent = nullptr;                  // the table that owns it; never null
  size_t idx = 0;                           // declaration number within its table
  const column* fkey = nullptr;             // set only by the foreign-key pass
  // Further targets, in the order their keys were read: a dialect reading
  // links a column to every table that its foreign keys name.
  std::span<const column* const> fkey_more;
};

struct table {
  std::string_view name;
  std::optional<std::string_view> comment;
  const char* note = nullptr;  // the catalog's comment, as a column's
  size_t ncols = 0;  // columns created so far: the next column's idx
  int flags = 0;     // TABLE_TEMP | TABLE_IFNOTEXISTS; recorded only
  size_t idx = 0;    // creation number over the whole input
  // In name order (equal names in declaration order) once the parse is over.
  std::span<column*> cols;
};

struct reference {
  column* source = nullptr;               // the column that declares the foreign key
  std::optional<std::string_view> tname;  // target table as written; absent until read
  std::optional<std::string_view> cname;  // target column as written; absent until read
};

/// Everything read from one schema. It owns every record and text, and
/// releases them with itself.
struct schema {
  // Whether docstrings are kept: a program that prints none sets it to false
  // before the parse, which then neither copies nor rewrites comments.
  bool docstrings = true;
  // How the input is read: by the reader's own grammar, or as the database
  // of a dialect runs it. Set before the parse.
  sql_dialect dialect = sql_dialect::none;
  // With no dialect set: whether what the input holds may choose one (see
  // dialect_of_text). `dialect` then tells after the parse what was chosen,
  // and `guess` why.
  bool dialect_from_text = false;
  dialect_guess guess;
  // Every table; in name order (equal names in creation order) once the
  // parse is over, in creation order while it runs.
  std::vector<table*> tables;
  std::vector<reference> refs;  // every foreign-key clause, in the order read
  // Every column in creation order, so each table's columns stand together;
  // each table's `cols` is its stretch of this list.
  std::vector<column*> columns;
  record_store<table> table_store;
  record_store<column> column_store;
  text_store texts;  // column names, docstrings and the names that references give
  // Table names apart from the rest: sorting the tables and finding them by
  // name read these again and again, and together they stay in the cache.
  text_store table_names;
  // The further foreign-key targets that columns' `fkey_more` lie in.
  std::vector<const column*> more_targets;
};
