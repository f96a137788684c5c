// The catalog that a dialect reading keeps while the file runs: the tables
// as the database holds them after each statement, with their columns,
// keys and comments, the schemas, and what a transaction would undo. The
// grammar changes it only through these functions; at the end it becomes
// the model.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <variant>
#include <vector>

#include "reader/dialect.h"
#include "reader/flat_index.h"
#include "reader/log.h"
#include "reader/schema.h"

constexpr uint32_t NO_ID = UINT32_MAX;

// A comment kept NUL-terminated in the schema's text store, or none (null):
// half what an optional view takes, in records there are many of.
using text = const char*;
constexpr text NO_TEXT = nullptr;

/// A column as the catalog keeps it. What the model shows of it (its name,
/// the file's comment, the catalog's) is in its model record from the
/// start, made in the model's store; the end gives the record its table.
struct dcol {
  column* c = nullptr;     // name (kept), comment (the file's), note (the catalog's)
  uint32_t id = 0;         // its number in its table, which keys name it by; never given again
  bool dropped = false;    // gone; left in place until the table's columns are packed
  bool inherited = false;  // PostgreSQL: a parent's, not declared in the table itself
  // A hash of its name (folded where the database folds), so that a search
  // of a few columns reads their records only where the hash agrees.
  uint16_t hash = 0;
  std::string_view name() const { return c->name; }
};

enum class key_kind : uint8_t { primary, unique, foreign, check, exclude };

/// Column ids of a key, kept in the catalog's pool of them (catalog_ids).
struct id_range {
  uint32_t at = 0, n = 0;
};

struct dkey {
  key_kind kind = key_kind::check;
  bool to_primary = false;  // a foreign key to its target's primary key, whatever it is at the end
  std::string_view name;    // kept; as the database names it ("" where it gives none)
  id_range cols;            // the columns it is on
  // A foreign key: the table it was bound to when it was made, and the
  // columns there; or, where no such table stood yet, what it names.
  uint32_t target = NO_ID;
  id_range tcols;  // empty with `to_primary`
  std::shared_ptr<const struct unbound_target> unbound;  // while unbound; shared by copies
};

/// What a foreign key names where no table of the name stood when it was made.
struct unbound_target {
  std::string_view key, name;               // kept: how the table is found, and shown
  std::vector<std::string_view> cols;       // kept: its columns as written (none: the primary key)
};

/// A table's columns found by name, made for a table of many columns.
struct column_index {
  std::unique_ptr<flat_index> map;  // name to position
  column_index() = default;
  // A copy, kept for a rollback, makes its own index again when it needs one.
  column_index(const column_index&) {}
  column_index& operator=(const column_index&) {
    map.reset();
    return *this;
  }
  column_index(column_index&&) = default;
  column_index& operator=(column_index&&) = default;
};

struct dtab {
  std::string_view name;   // kept; as the catalog shows it: bare, or space.name
  std::string_view key;    // kept; how it is found: space "\x1f" name, folded where the database folds
  text doc = NO_TEXT, note = NO_TEXT;
  std::vector<dcol> cols;  // in the database's order, with dropped ones among them
  uint32_t live = 0;       // the columns not dropped
  uint32_t next_id = 0;
  std::vector<dkey> keys;
  uint32_t parent = NO_ID;  // PostgreSQL: the table it is a partition of, whose foreign keys it has too
  bool alive = true;        // not dropped
  bool shown = true;        // not temporary, virtual or the database's own
  bool is_virtual = false;
  bool temp = false;      // temporary: gone with the session, found before others of its name
  bool keys_kept = true;  // its engine keeps foreign keys
  uint32_t saved_for = 0;  // the transaction mark it was last saved for
  uint32_t ibfk_high = NO_ID;  // MySQL: the highest N of its keys' names "table_ibfk_N"; NO_ID: not counted
  column_index index;
};

/// A table's schema or database ("" for MySQL's home one), as its key has it.
inline std::string_view dtab_space(const dtab& t) { return t.key.substr(0, t.key.find('\x1f')); }

/// A table's name within its schema, as its key has it (as created, where
/// the database does not fold table names).
inline std::string_view dtab_bare(const dtab& t) { return t.key.substr(t.key.find('\x1f') + 1); }

/// A transaction's way back: each entry undoes one change.
struct undo_table {
  uint32_t table;
  dtab before;
  std::vector<column> records;  // its columns' records as they were, in the order of before.cols
};
struct undo_added { uint32_t table; };
struct undo_key { std::string_view key; uint32_t before; };
struct undo_schema { std::string_view name; bool existed; };
struct undo_name { uint64_t name; };
struct undo_path { std::vector<std::string> before; };
struct undo_heir { uint32_t parent, child; bool inherits, added; };
using undo = std::variant<undo_table, undo_added, undo_key, undo_schema, undo_name, undo_path, undo_heir>;

/// A transaction, and the savepoints in it.
struct mark {
  std::string name;  // "" for the transaction itself
  size_t at = 0;     // the undo entries before it
  uint32_t id = 0;
};

struct catalog {
  explicit catalog(const dialect_rules& r, schema& s) : rules(r), s(s) {}

  const dialect_rules& rules;
  schema& s;  // its text store keeps every name and comment
  // In creation order, dropped ones too. A deque, so that the model can be
  // made while each table's record is given back.
  std::deque<dtab> tabs;
  // PostgreSQL: the tables that inherit from each table or are its
  // partitions, `inherits` telling which (a partition is one while its
  // `parent` says so).
  struct heir {
    uint32_t table;
    bool inherits;
  };
  std::unordered_map<uint32_t, std::vector<heir>> heirs;
  flat_index by_key;       // the tables that stand, by key
  std::unordered_set<std::string_view> schemas;  // PostgreSQL: the schemas there are
  // PostgreSQL: the names that constraints and indexes have taken in each
  // schema (hash_pair of schema and name), which a name the database makes
  // avoids, as it avoids the tables' names.
  hash_set taken;

  std::vector<std::string> search_path{"public"};
  uint32_t path_gen = 0;  // changes with the search path and the schemas (catalog_path_changed)
  // The path as lookups use it: the schemas on it that exist, and the place
  // of each; made again when path_gen has moved on.
  uint32_t view_gen = UINT32_MAX;
  std::vector<std::string_view> on_path;
  flat_index place;
  // PostgreSQL: how many tables have each name (in any schema), and the one
  // table where there is one, for a search path too long to try each schema;
  // made when such a path is first met.
  bool names_counted = false;
  bool temps_made = false;  // a temporary table was made: names are looked up among them first
  flat_index name_count, only_table;
  std::optional<std::vector<std::string>> path_before_local;  // SET LOCAL's, back at the transaction's end
  // The column ids of every key, each key's a stretch; a key keeps its
  // stretch for its life, so the pool only grows.
  std::vector<uint32_t> key_ids;
  std::vector<undo> log;
  std::vector<mark> marks;  // empty outside a transaction
  bool begun_by_savepoint = false;  // SQLite: released with its first savepoint
  uint32_t last_mark = 0;
  std::string scratch;
};

// ---- tables

/// The table that `key` names, alive, or NO_ID.
uint32_t catalog_find(const catalog& c, std::string_view key);

/// Adds `tab` as the table called `name` in `space`: it takes the place of
/// a table of that name where `replace`, else a table of that name stays
/// and `tab` is dropped (false).
bool catalog_add(catalog& c, dtab&& tab, std::string_view space, std::string_view name, bool replace);

/// The table `ti`, to be changed: in a transaction, it is saved first.
dtab& catalog_edit(catalog& c, uint32_t ti);

/// Drops table `ti`.
void catalog_drop(catalog& c, uint32_t ti);

/// Renames table `ti` to `name` in `space`; false when a table of that
/// name exists (the database refuses).
bool catalog_rename(catalog& c, uint32_t ti, std::string_view space, std::string_view name);

/// The key a table called `name` in `space` is found by, into `out`.
void catalog_key(const catalog& c, std::string_view space, std::string_view name, std::string& out);

// ---- columns

/// The position of the live column called `name` in `tab`, or NO_ID.
uint32_t column_find(const catalog& c, dtab& tab, std::string_view name);

/// The position of the live column with id `id` in `tab`, or NO_ID.
uint32_t column_by_id(const dtab& tab, uint32_t id);

/// Adds a column called `name` (kept already) to `tab` at `pos` (its end
/// where NO_ID), with the file's comment `doc`; returns its position.
uint32_t column_add(catalog& c, dtab& tab, std::string_view name, text doc, uint32_t pos = NO_ID);

/// Sets the file's comment of column `col`.
void column_set_doc(dcol& col, text doc);

/// Renames the column at `pos`.
void column_rename(const catalog& c, dtab& tab, uint32_t pos, std::string_view name);

/// Moves the column at `pos` to `to` (as it stands before the move).
void column_move(dtab& tab, uint32_t pos, uint32_t to);

/// Drops the column at `pos`, and the keys of `tab` that are on it.
void column_drop(const catalog& c, dtab& tab, uint32_t pos);

// ---- keys

/// The ids that `r` holds.
inline std::span<const uint32_t> catalog_ids(const catalog& c, id_range r) { return {c.key_ids.data() + r.at, r.n}; }

/// Keeps `ids` in the pool.
id_range catalog_keep_ids(catalog& c, std::span<const uint32_t> ids);

/// The columns of `tab` that are not dropped, in order, by position.
std::vector<uint32_t> column_positions(const dtab& tab);

// ---- names that the database makes

/// Whether `name` is taken in `space`.
bool catalog_taken(const catalog& c, std::string_view space, std::string_view name);

/// Takes `name` in `space`.
void catalog_take(catalog& c, std::string_view space, std::string_view name);

/// The name the database gives key `k` of `tab` where the file gives none,
/// taken; "" where it gives none either.
std::string_view catalog_name_key(catalog& c, dtab& tab, const dkey& k);

// ---- schemas

/// Makes schema `name` (kept already); false when it exists.
bool catalog_add_schema(catalog& c, std::string_view name);

/// Drops schema `name` and every table in it.
void catalog_drop_schema(catalog& c, std::string_view name);

/// Sets the search path, as a rollback can undo.
void catalog_set_path(catalog& c, std::vector<std::string> path);

/// Table `child` inherits from `parent` (or, where not `inherits`, is its
/// partition while its `parent` says so).
void catalog_add_heir(catalog& c, uint32_t parent, uint32_t child, bool inherits);

/// Table `child` inherits from `parent` no more.
void catalog_remove_heir(catalog& c, uint32_t parent, uint32_t child);

/// To be told after the search path or the schemas changed otherwise.
inline void catalog_path_changed(catalog& c) { c.path_gen++; }

/// The first schema of the search path that exists, or null.
const std::string_view* catalog_first_schema(catalog& c);

/// The table called `bare` in the first schema of the search path that has
/// one, or NO_ID.
uint32_t catalog_find_on_path(catalog& c, std::string_view bare);

// ---- transactions

/// BEGIN, START TRANSACTION, and SQLite's SAVEPOINT outside one.
void catalog_begin(catalog& c);

/// COMMIT, END: the changes stay.
void catalog_commit(catalog& c);

/// ROLLBACK: every change since BEGIN is undone.
void catalog_rollback(catalog& c);

/// SAVEPOINT name.
void catalog_savepoint(catalog& c, std::string_view name);

/// ROLLBACK TO [SAVEPOINT] name; false when there is no such savepoint.
bool catalog_rollback_to(catalog& c, std::string_view name);

/// RELEASE [SAVEPOINT] name; false when there is no such savepoint.
bool catalog_release(catalog& c, std::string_view name);

// ---- the end

/// Puts the tables that stand into the model in creation order, with their
/// columns, comments and foreign keys, and binds the keys.
void catalog_finish(catalog& c, const diagnostics& d);
