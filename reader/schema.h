// The schema model: the tables, columns and foreign-key references read from
// one schema, and the stores that own them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
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
  column* source = nullptr;               // the column that declares the foreign key
  std::optional<std::string_view> tname;  // target table as written; absent until read
  std::optional<std::string_view> cname;  // target column as written; absent until read
};

/// A large block of zeroed memory straight from the system, in huge pages
/// where it offers them, so that filling it costs few page faults. Released
/// with its owner.
struct block_release {
  size_t size;
  void operator()(char* p) const;
};
using memory_block = std::unique_ptr<char[], block_release>;

/// A block of at least `size` bytes; throws std::bad_alloc when there is none.
memory_block block_alloc(size_t size);

/// The size of the next block of a store that has `blocks` already: small
/// at first, so that a small schema costs little, then doubling up to one
/// huge page.
inline size_t block_bytes(size_t blocks) {
  return size_t(64) << 10 << std::min<size_t>(blocks, 5);
}

/// Owns records in large blocks, allocated and released a block at once. A
/// record never moves, so pointers to it stay valid as long as the store.
/// The records need no destructor.
template <typename T>
struct record_store {
  std::vector<memory_block> blocks;
  size_t used = 0, room = 0;  // records taken from the last block, and its capacity

  T& make() {
    if (used == room) {
      blocks.push_back(block_alloc(block_bytes(blocks.size())));
      used = 0;
      room = blocks.back().get_deleter().size / sizeof(T);
    }
    return *new (blocks.back().get() + used++ * sizeof(T)) T{};
  }
};

/// Blocks of NUL-terminated copies of names and docstrings, released together.
/// A text is kept in one piece, or gathered piece by piece at the end of the
/// last block and then closed.
struct text_store {
  std::vector<memory_block> blocks;
  char* next = nullptr;  // free room in the last block; a text being gathered starts here
  size_t room = 0;
  size_t open = 0;  // bytes of the text being gathered
};

/// Keeps a NUL-terminated copy of `text` in `store`; returns it without the NUL.
std::string_view text_keep(text_store& store, std::string_view text);

/// Appends `piece` to the text being gathered, starting one if none is.
void text_append(text_store& store, std::string_view piece);

/// Ends the text being gathered and returns it, without its NUL.
std::string_view text_close(text_store& store);

/// Drops the text being gathered.
void text_drop(text_store& store);

/// Takes back `text` when it is the last text kept in `store`: its room is
/// used again.
void text_forget(text_store& store, std::string_view text);

/// Everything read from one schema. It owns every record and text, and
/// releases them with itself.
struct schema {
  // Whether docstrings are kept: a program that prints none sets it to false
  // before the parse, which then neither copies nor rewrites comments.
  bool docstrings = true;
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
};

/// For writers walking `s.tables`, called before the i-th table: asks for
/// what the next tables need ahead of their turn, since tables in name order
/// lie scattered in memory. Each step of the chain is asked for one table
/// after the step it depends on: the table record, then its list of columns,
/// then the columns, then the targets of their foreign keys and their tables.
/// (Always inlined: a call of a function that only prefetches counts as a
/// call without effect, which the compiler would drop.)
[[gnu::always_inline]] inline void schema_prefetch(const schema& s, size_t i) {
  const size_t n = s.tables.size();
  if (i + 4 < n)
    __builtin_prefetch(s.tables[i + 4]);
  if (i + 3 < n) {
    const table* t = s.tables[i + 3];
    __builtin_prefetch(t->cols.data());
    __builtin_prefetch(t->name.data());
  }
  if (i + 2 < n)
    for (const column* c : s.tables[i + 2]->cols)
      __builtin_prefetch(c);
  if (i + 1 < n)
    for (const column* c : s.tables[i + 1]->cols) {
      __builtin_prefetch(c->name.data());
      if (c->fkey) {
        __builtin_prefetch(c->fkey->parent);
        __builtin_prefetch(c->fkey->name.data());
      }
    }
}
