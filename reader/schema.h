// The schema model: the tables, columns and foreign-key references read from
// one schema, and the stores that own them.
#pragma once

#include <cstddef>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

struct table;

constexpr int TABLE_TEMP = 1;         // TEMP or TEMPORARY was written
constexpr int TABLE_IFNOTEXISTS = 2;  // IF NOT EXISTS was written

// Names and docstrings are copies kept in the schema's text stores, each
// followed by a NUL byte, so `name.data()` is also a C string.

struct column {
  std::string_view name;
  std::optional<std::string_view> comment;  // absent: no comment; "" after an empty one
  table* parent = nullptr;                  // the table that owns it; never null
  size_t idx = 0;                           // declaration number within its table
  const column* fkey = nullptr;             // set only by the foreign-key pass
};

struct table {
  std::string_view name;
  std::optional<std::string_view> comment;
  size_t ncols = 0;  // columns created so far: the next column's idx
  int flags = 0;     // TABLE_TEMP | TABLE_IFNOTEXISTS; recorded only
  size_t idx = 0;    // creation number over the whole input
  // In name order (equal names in declaration order) once the parse is over.
  std::span<column*> cols;
};

struct reference {
  column* source = nullptr;          // the column that declares the foreign key
  std::optional<std::string> tname;  // target table as written; absent until read
  std::optional<std::string> cname;  // target column as written; absent until read
};

/// Owns records in large blocks, allocated and released a block at once. A
/// record never moves, so pointers to it stay valid as long as the store.
template <typename T>
struct record_store {
  static constexpr size_t block_size = 1024;
  std::vector<std::unique_ptr<T[]>> blocks;
  size_t used = block_size;  // records taken from the last block

  T& make() {
    if (used == block_size) {
      blocks.push_back(std::make_unique<T[]>(block_size));
      used = 0;
    }
    return blocks.back()[used++];
  }
};

/// Blocks of NUL-terminated copies of names and docstrings, released together.
struct text_store {
  std::vector<std::unique_ptr<char[]>> blocks;
  char* next = nullptr;  // free room in the last block
  size_t room = 0;
};

/// Keeps a NUL-terminated copy of `text` in `store`; returns it without the NUL.
std::string_view text_keep(text_store& store, std::string_view text);

/// Everything read from one schema. It owns every record and text, and
/// releases them with itself.
struct schema {
  // Every table; in name order (equal names in creation order) once the
  // parse is over, in creation order while it runs.
  std::vector<table*> tables;
  std::vector<reference> refs;  // every foreign-key clause, in the order read
  // Every column in creation order, so each table's columns stand together;
  // each table's `cols` is its stretch of this list.
  std::vector<column*> columns;
  record_store<table> table_store;
  record_store<column> column_store;
  text_store texts;  // column names and docstrings
  // Table names apart from the rest: sorting the tables and finding them by
  // name read these again and again, and together they stay in the cache.
  text_store table_names;
};

/// For writers walking `s.tables`: asks for the tables after the i-th ahead
/// of their turn, since tables in name order lie scattered in memory.
inline void schema_prefetch(const schema& s, size_t i) {
  if (i + 2 < s.tables.size())
    __builtin_prefetch(s.tables[i + 2]);
  if (i + 1 < s.tables.size())
    __builtin_prefetch(s.tables[i + 1]->cols.data());
}
