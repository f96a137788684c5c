// The schema model: the parse context and the tables, columns and foreign-key
// references read from one schema, and the entry points that build it.
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

// Names and docstrings are copies kept in the parser's text stores, each
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
  // In name order (equal names in declaration order); set when parse_buf
  // returns. The parser's column store owns them.
  std::span<column*> cols;
};

struct reference {
  column* source = nullptr;          // the column that declares the foreign key
  std::optional<std::string> tname;  // target table as written; absent until read
  std::optional<std::string> cname;  // target column as written; absent until read
};

/// Owns records in large blocks, allocated and released a block at once. A
/// record never moves, so pointers to it stay valid until the store is cleared.
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

/// The parse context and the root of the model. Create it zeroed (`parser p{};`),
/// set `verbose`, read one input with parse_file or parse_stdin, then parser_free.
struct parser {
  const char* buf = nullptr;    // the input, not owned; set only during parse_buf
  size_t pos = 0;               // offset of the next unread byte
  size_t len = 0;               // bytes in buf
  size_t line = 0;              // counted from 0; messages show line + 1
  size_t column = 0;            // as messages show it
  size_t ntables = 0;           // tables created so far: the next table's idx
  const char* fname = nullptr;  // name shown in messages; not owned
  // In name order (equal names in creation order) once a parse succeeds.
  std::vector<table*> tables;
  std::vector<reference> refs;  // every foreign-key clause, in the order read
  // The owners of every table and column ("struct": the member `column`
  // hides the type).
  record_store<table> table_store;
  record_store<struct column> column_store;
  // Every column in creation order, so each table's columns stand together;
  // each table's `cols` is its stretch of this list.
  std::vector<struct column*> columns;
  text_store texts;  // column names and docstrings
  // Table names apart from the rest: sorting the tables and finding them by
  // name read these again and again, and together they stay in the cache.
  text_store table_names;
  int verbose = 0;              // non-zero: trace messages on standard error
  std::string scratch;          // the text of the block comment read last
};

/// For writers walking `p.tables`: asks for the tables after the i-th ahead
/// of their turn, since tables in name order lie scattered in memory.
inline void parser_prefetch(const parser& p, size_t i) {
  if (i + 2 < p.tables.size())
    __builtin_prefetch(p.tables[i + 2]);
  if (i + 1 < p.tables.size())
    __builtin_prefetch(p.tables[i + 1]->cols.data());
}

/// Reads the schema in `data` (not NUL-terminated, only read, needed only
/// during the call) into `p`, with `fname` as the name in messages. 1 on
/// success, 0 after a reported failure.
[[nodiscard]] int parse_buf(const char* fname, const char* data, size_t size, parser& p);

/// Maps the file at `path` and parses it. 1 on success, 0 after a reported failure.
[[nodiscard]] int parse_file(const char* path, parser& p);

/// Parses the already open descriptor `fd` of `path`; used by parse_file.
[[nodiscard]] int parse_fd(const char* path, int fd, parser& p);

/// Reads all of standard input and parses it as "<stdin>".
[[nodiscard]] int parse_stdin(parser& p);

/// Releases every table, column and reference; `p` may hold a complete model,
/// a partial one after a failure, or none.
void parser_free(parser& p);
