// The catalog of a dialect reading, and the way back from a transaction.
//
// Tables are kept here as the database keeps them while the file runs
// (later statements add columns and keys, rename, comment and drop), and
// put into the model only at the end, in creation order: the model's column
// lists must each be one stretch, which ALTER TABLE would break.
#include "reader/dialect_catalog.h"

#include <algorithm>
#include <charconv>

#include "reader/chars.h"
#include "reader/fkey.h"
#include "reader/model.h"
#include "reader/names.h"

namespace {

std::optional<std::string_view> as_comment(text t) {
  return t ? std::optional<std::string_view>(t) : std::nullopt;
}

// A table of more columns than this finds them through an index.
constexpr size_t scan_limit = 16;

bool in_transaction(const catalog& c) { return !c.marks.empty(); }

void log_undo(catalog& c, undo&& u) {
  if (in_transaction(c))
    c.log.push_back(std::move(u));
}

// The key's table, in every index of the tables.
void count_name(catalog& c, std::string_view key, uint32_t ti) {
  std::string_view bare = key.substr(key.find('\x1f') + 1);
  uint32_t n = c.name_count.find(bare);
  n = n == flat_index::NONE ? 0 : n;
  c.name_count.set(bare, n + 1);
  if (n == 0)
    c.only_table.set(bare, ti);
  else
    c.only_table.erase(bare);  // several: found by trying the schemas
}

void index_put(catalog& c, std::string_view key, uint32_t ti) {
  c.by_key.set(key, ti);
  if (c.names_counted)
    count_name(c, key, ti);
}

void index_remove(catalog& c, std::string_view key) {
  if (c.by_key.erase(key) == flat_index::NONE || !c.names_counted)
    return;
  std::string_view bare = key.substr(key.find('\x1f') + 1);
  uint32_t n = c.name_count.find(bare);
  if (n == flat_index::NONE || n <= 1) {
    c.name_count.erase(bare);
    c.only_table.erase(bare);
  } else {
    c.name_count.set(bare, n - 1);
  }
}

void key_set(catalog& c, std::string_view key, uint32_t ti) {
  uint32_t before = c.by_key.find(key);
  if (before != flat_index::NONE)
    index_remove(c, key);
  index_put(c, key, ti);
  log_undo(c, undo_key{key, before});
}

void key_erase(catalog& c, std::string_view key, uint32_t ti) {
  if (c.by_key.find(key) != ti)
    return;
  index_remove(c, key);
  log_undo(c, undo_key{key, ti});
}

std::string_view keep(catalog& c, std::string_view text) { return text_keep(c.s.texts, text); }

bool same_column(const catalog& c, std::string_view a, std::string_view b) {
  return c.rules.columns_ignore_case ? ascii_iequal(a, b) : a == b;
}

void index_build(const catalog& c, dtab& tab) {
  tab.index.map = std::make_unique<flat_index>(c.rules.columns_ignore_case);
  tab.index.map->reserve(tab.cols.size());
  for (uint32_t i = 0; i < tab.cols.size(); i++)
    if (!tab.cols[i].dropped)
      tab.index.map->set(tab.cols[i].name(), i);
}

// The columns without the dropped ones, once these outnumber the rest.
void pack_columns(dtab& tab) {
  size_t dropped = tab.cols.size() - tab.live;
  if (dropped <= scan_limit || dropped <= tab.live)
    return;
  std::erase_if(tab.cols, [](const dcol& col) { return col.dropped; });
  tab.index.map.reset();
}

// The name the database shows for a table called `name` in `space`.
void shown_name(const catalog& c, std::string_view space, std::string_view name, std::string& out) {
  out.clear();
  if (!space.empty() && space != c.rules.default_schema) {
    out += space;
    out += '.';
  }
  out += name;
}

}  // namespace

// ---- tables

void catalog_key(const catalog& c, std::string_view space, std::string_view name, std::string& out) {
  out.assign(space);
  out += '\x1f';
  out += name;
  if (c.rules.tables_ignore_case)
    for (char& ch : out)
      ch = char(ascii_lower(ch));
}

uint32_t catalog_find(const catalog& c, std::string_view key) {
  uint32_t ti = c.by_key.find(key);
  return ti == flat_index::NONE || !c.tabs[ti].alive ? NO_ID : ti;
}

namespace {

// Gives `tab` its key and shown name for `name` in `space`: the shown name
// is the key's own text where the schema is left off and the key is not
// folded.
void name_table(catalog& c, dtab& tab, std::string_view space, std::string_view name, bool key_made = false) {
  if (!key_made)
    catalog_key(c, space, name, c.scratch);
  tab.key = keep(c, c.scratch);
  shown_name(c, space, name, c.scratch);
  tab.name = c.scratch == dtab_bare(tab) ? dtab_bare(tab) : keep(c, c.scratch);
}

}  // namespace

bool catalog_add(catalog& c, dtab&& tab, std::string_view space, std::string_view name, bool replace) {
  catalog_key(c, space, name, c.scratch);
  uint32_t old = catalog_find(c, c.scratch);
  if (old != NO_ID) {
    if (!replace)
      return false;
    catalog_drop(c, old);
    catalog_key(c, space, name, c.scratch);
  }
  name_table(c, tab, space, name, true);
  uint32_t ti = uint32_t(c.tabs.size());
  log_undo(c, undo_added{ti});
  if (in_transaction(c))
    tab.saved_for = c.marks.back().id;  // nothing to save: undone by dropping it
  c.tabs.push_back(std::move(tab));
  // The key is free: only tables that stand are in the index.
  index_put(c, c.tabs.back().key, ti);
  log_undo(c, undo_key{c.tabs.back().key, NO_ID});
  return true;
}

dtab& catalog_edit(catalog& c, uint32_t ti) {
  dtab& tab = c.tabs[ti];
  if (in_transaction(c) && tab.saved_for != c.marks.back().id) {
    undo_table saved{ti, tab, {}};
    saved.records.reserve(tab.cols.size());
    for (const dcol& col : tab.cols)
      saved.records.push_back(*col.c);
    c.log.push_back(std::move(saved));
    tab.saved_for = c.marks.back().id;
  }
  return tab;
}

void catalog_drop(catalog& c, uint32_t ti) {
  dtab& tab = catalog_edit(c, ti);
  tab.alive = false;
  key_erase(c, tab.key, ti);
}

bool catalog_rename(catalog& c, uint32_t ti, std::string_view space, std::string_view name) {
  catalog_key(c, space, name, c.scratch);
  if (catalog_find(c, c.scratch) != NO_ID)
    return false;
  dtab& tab = catalog_edit(c, ti);
  key_erase(c, tab.key, ti);
  std::string old_bare(dtab_bare(tab));
  name_table(c, tab, space, name);
  key_set(c, tab.key, ti);
  if (c.rules.naming == key_naming::mysql) {
    // The foreign keys that the engine named after the table follow it.
    std::string prefix = std::string(old_bare) + "_ibfk_";
    for (dkey& k : tab.keys)
      if (k.kind == key_kind::foreign && k.name.starts_with(prefix))
        k.name = keep(c, std::string(name) + std::string(k.name.substr(old_bare.size())));
    tab.ibfk_high = NO_ID;
  }
  return true;
}

// ---- columns

namespace {

uint16_t name_hash(const catalog& c, std::string_view name) {
  uint32_t h = 2166136261u;
  for (unsigned char ch : name)
    h = (h ^ (c.rules.columns_ignore_case ? ascii_lower(ch) : ch)) * 16777619u;
  return uint16_t(h ^ (h >> 16));
}

}  // namespace

uint32_t column_find(const catalog& c, dtab& tab, std::string_view name) {
  if (tab.cols.size() <= scan_limit) {
    uint16_t h = name_hash(c, name);
    for (uint32_t i = 0; i < tab.cols.size(); i++)
      if (tab.cols[i].hash == h && !tab.cols[i].dropped && same_column(c, tab.cols[i].name(), name))
        return i;
    return NO_ID;
  }
  if (!tab.index.map)
    index_build(c, tab);
  uint32_t pos = tab.index.map->find(name);
  return pos == flat_index::NONE ? NO_ID : pos;
}

uint32_t column_by_id(const dtab& tab, uint32_t id) {
  // Ids grow with the position, but for columns moved or put in front.
  uint32_t guess = std::min<uint32_t>(id, uint32_t(tab.cols.size()) - 1);
  for (uint32_t i = guess + 1; i-- > 0;)
    if (tab.cols[i].id == id)
      return tab.cols[i].dropped ? NO_ID : i;
  for (uint32_t i = guess + 1; i < tab.cols.size(); i++)
    if (tab.cols[i].id == id)
      return tab.cols[i].dropped ? NO_ID : i;
  return NO_ID;
}

void column_set_doc(dcol& col, text doc) { col.c->comment = as_comment(doc); }

uint32_t column_add(catalog& c, dtab& tab, std::string_view name, text doc, uint32_t pos) {
  column& record = c.s.column_store.make();
  record.name = name;
  record.comment = as_comment(doc);
  dcol col{&record, tab.next_id++, false, false, name_hash(c, name)};
  tab.live++;
  if (pos >= tab.cols.size()) {
    tab.cols.push_back(col);
    pos = uint32_t(tab.cols.size() - 1);
    if (tab.index.map)
      tab.index.map->set(tab.cols[pos].name(), pos);
    return pos;
  }
  tab.cols.insert(tab.cols.begin() + pos, col);
  tab.index.map.reset();
  return pos;
}

void column_rename(const catalog& c, dtab& tab, uint32_t pos, std::string_view name) {
  tab.cols[pos].hash = name_hash(c, name);
  if (tab.index.map) {
    tab.index.map->erase(tab.cols[pos].name());
    tab.index.map->set(name, pos);
  }
  tab.cols[pos].c->name = name;
}

void column_move(dtab& tab, uint32_t pos, uint32_t to) {
  if (to > tab.cols.size())
    to = uint32_t(tab.cols.size());
  dcol col = tab.cols[pos];
  tab.cols.erase(tab.cols.begin() + pos);
  if (to > pos)
    to--;
  tab.cols.insert(tab.cols.begin() + to, col);
  tab.index.map.reset();
}

id_range catalog_keep_ids(catalog& c, std::span<const uint32_t> ids) {
  id_range r{uint32_t(c.key_ids.size()), uint32_t(ids.size())};
  c.key_ids.insert(c.key_ids.end(), ids.begin(), ids.end());
  return r;
}

void column_drop(const catalog& c, dtab& tab, uint32_t pos) {
  dcol& col = tab.cols[pos];
  uint32_t id = col.id;
  col.dropped = true;
  tab.live--;
  if (tab.index.map)
    tab.index.map->erase(col.name());
  std::erase_if(tab.keys, [&](const dkey& k) {
    std::span<const uint32_t> on = catalog_ids(c, k.cols);
    return std::find(on.begin(), on.end(), id) != on.end();
  });
  tab.ibfk_high = NO_ID;
  pack_columns(tab);
}

std::vector<uint32_t> column_positions(const dtab& tab) {
  std::vector<uint32_t> out;
  out.reserve(tab.live);
  for (uint32_t i = 0; i < tab.cols.size(); i++)
    if (!tab.cols[i].dropped)
      out.push_back(i);
  return out;
}

// ---- names that the database makes

namespace {

// The start of the character that holds byte `n` of UTF-8 `s`, for a name
// cut short.
size_t clip(std::string_view s, size_t n) {
  if (n >= s.size())
    return s.size();
  while (n > 0 && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80)
    n--;
  return n;
}

// PostgreSQL's name of an object made for `name1` (a table) and `name2`
// (its columns joined by "_", or none), ending in "_label": the two parts
// cut, the longer first, so that it all fits in 63 bytes.
std::string pg_object_name(std::string_view name1, std::optional<std::string_view> name2, std::string_view label) {
  size_t n1 = name1.size(), n2 = name2 ? name2->size() : 0;
  size_t overhead = label.size() + 1 + (name2 ? 1 : 0);
  size_t room = 63 - overhead;
  while (n1 + n2 > room) {
    if (n1 > n2)
      n1--;
    else
      n2--;
  }
  std::string out(name1.substr(0, clip(name1, n1)));
  if (name2) {
    out += '_';
    out += name2->substr(0, clip(*name2, n2));
  }
  out += '_';
  out += label;
  return out;
}

// The names of `k`'s columns joined by "_", as PostgreSQL joins them for a
// name: up to where they fill a name.
std::string pg_joined_columns(const catalog& c, const dtab& tab, const dkey& k) {
  std::string out;
  for (uint32_t id : catalog_ids(c, k.cols)) {
    uint32_t pos = column_by_id(tab, id);
    if (pos == NO_ID)
      continue;
    if (!out.empty())
      out += '_';
    out += tab.cols[pos].name();
    if (out.size() >= 64)
      break;
  }
  return out;
}

std::string_view pg_name(catalog& c, dtab& tab, const dkey& k) {
  std::optional<std::string> name2;
  std::string_view label;
  switch (k.kind) {
    case key_kind::primary: label = "pkey"; break;
    case key_kind::unique: label = "key"; name2 = pg_joined_columns(c, tab, k); break;
    case key_kind::foreign: label = "fkey"; name2 = pg_joined_columns(c, tab, k); break;
    case key_kind::exclude: label = "excl"; name2 = pg_joined_columns(c, tab, k); break;
    case key_kind::check:
      label = "check";
      if (k.cols.n == 1)
        name2 = pg_joined_columns(c, tab, k);
      break;
  }
  std::string_view bare = dtab_bare(tab), space = dtab_space(tab);
  std::string name = pg_object_name(bare, name2, label);
  for (int pass = 1; catalog_taken(c, space, name); pass++)
    name = pg_object_name(bare, name2, std::string(label) + std::to_string(pass));
  catalog_take(c, space, name);
  return keep(c, name);
}

// The number N of a name "table_ibfk_N", or 0.
unsigned long ibfk_number(std::string_view name, std::string_view table) {
  if (name.size() <= table.size() + 6 || !name.starts_with(table) || name.substr(table.size(), 6) != "_ibfk_")
    return 0;
  std::string_view digits = name.substr(table.size() + 6);
  unsigned long n = 0;
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return ec == std::errc() && end == digits.data() + digits.size() ? n : 0;
}

std::string_view mysql_name(catalog& c, dtab& tab, const dkey& k) {
  switch (k.kind) {
    case key_kind::primary: return "PRIMARY";
    case key_kind::foreign: {
      // One more than the highest "table_ibfk_N" the table has, counted
      // once and then kept up (a table of many keys names each in turn).
      if (tab.ibfk_high == NO_ID) {
        unsigned long highest = 0;
        for (const dkey& other : tab.keys)
          if (other.kind == key_kind::foreign)
            highest = std::max(highest, ibfk_number(other.name, dtab_bare(tab)));
        tab.ibfk_high = uint32_t(std::min<unsigned long>(highest, NO_ID - 1));
      }
      tab.ibfk_high++;
      return keep(c, std::string(dtab_bare(tab)) + "_ibfk_" + std::to_string(tab.ibfk_high));
    }
    case key_kind::unique: {
      // After its first column; "_2", "_3", ... where that is taken.
      uint32_t pos = k.cols.n == 0 ? NO_ID : column_by_id(tab, catalog_ids(c, k.cols)[0]);
      std::string base = pos == NO_ID ? "key" : std::string(tab.cols[pos].name()), name = base;
      auto used = [&](const std::string& n) {
        return std::any_of(tab.keys.begin(), tab.keys.end(), [&](const dkey& o) { return ascii_iequal(o.name, n); });
      };
      for (int i = 2; used(name); i++)
        name = base + "_" + std::to_string(i);
      return keep(c, name);
    }
    case key_kind::check:
    case key_kind::exclude: break;
  }
  return "";
}

}  // namespace

bool catalog_taken(const catalog& c, std::string_view space, std::string_view name) {
  if (c.taken.contains(hash_pair(space, name)))
    return true;
  std::string key;
  catalog_key(c, space, name, key);
  return catalog_find(c, key) != NO_ID;  // a table's name is taken too
}

void catalog_take(catalog& c, std::string_view space, std::string_view name) {
  uint64_t h = hash_pair(space, name);
  if (c.taken.insert(h))
    log_undo(c, undo_name{h});
}

std::string_view catalog_name_key(catalog& c, dtab& tab, const dkey& k) {
  switch (c.rules.naming) {
    case key_naming::postgres: return pg_name(c, tab, k);
    case key_naming::mysql: return mysql_name(c, tab, k);
    case key_naming::none: break;
  }
  return "";
}

// ---- schemas

bool catalog_add_schema(catalog& c, std::string_view name) {
  if (!c.schemas.insert(name).second)
    return false;
  log_undo(c, undo_schema{name, false});
  catalog_path_changed(c);
  return true;
}

void catalog_drop_schema(catalog& c, std::string_view name) {
  auto it = c.schemas.find(name);
  if (it == c.schemas.end())
    return;
  log_undo(c, undo_schema{*it, true});
  c.schemas.erase(it);
  catalog_path_changed(c);
  for (uint32_t ti = 0; ti < c.tabs.size(); ti++)
    if (c.tabs[ti].alive && dtab_space(c.tabs[ti]) == name)
      catalog_drop(c, ti);
}

void catalog_add_heir(catalog& c, uint32_t parent, uint32_t child, bool inherits) {
  c.heirs[parent].push_back({child, inherits});
  log_undo(c, undo_heir{parent, child, inherits, true});
}

void catalog_remove_heir(catalog& c, uint32_t parent, uint32_t child) {
  auto it = c.heirs.find(parent);
  if (it == c.heirs.end())
    return;
  size_t before = it->second.size();
  std::erase_if(it->second, [&](const catalog::heir& h) { return h.table == child && h.inherits; });
  if (it->second.size() != before)
    log_undo(c, undo_heir{parent, child, true, false});
}

void catalog_set_path(catalog& c, std::vector<std::string> path) {
  log_undo(c, undo_path{c.search_path});
  c.search_path = std::move(path);
  catalog_path_changed(c);
}

namespace {

// The schemas on the path that exist, each once, and their places.
void path_view(catalog& c) {
  if (c.view_gen == c.path_gen)
    return;
  c.view_gen = c.path_gen;
  c.on_path.clear();
  c.place = flat_index();
  for (const std::string& sp : c.search_path) {
    auto it = c.schemas.find(sp);
    if (it != c.schemas.end() && c.place.find(*it) == flat_index::NONE) {
      c.place.set(*it, uint32_t(c.on_path.size()));
      c.on_path.push_back(*it);
    }
  }
}

}  // namespace

const std::string_view* catalog_first_schema(catalog& c) {
  path_view(c);
  return c.on_path.empty() ? nullptr : &c.on_path[0];
}

uint32_t catalog_find_on_path(catalog& c, std::string_view bare) {
  path_view(c);
  if (c.on_path.size() > 4 && !c.names_counted) {
    c.names_counted = true;
    for (uint32_t ti = 0; ti < c.tabs.size(); ti++)
      if (c.by_key.find(c.tabs[ti].key) == ti)
        count_name(c, c.tabs[ti].key, ti);
  }
  // Where one table alone has the name, it is found on the path or not at
  // all; that saves trying each of thousands of schemas.
  if (c.on_path.size() > 4 && c.name_count.find(bare) == 1) {
    uint32_t ti = c.only_table.find(bare);
    if (ti != flat_index::NONE)
      return c.tabs[ti].alive && c.place.find(dtab_space(c.tabs[ti])) != flat_index::NONE ? ti : NO_ID;
  }
  if (c.on_path.size() > 4 && c.name_count.find(bare) == flat_index::NONE)
    return NO_ID;
  std::string key;
  for (std::string_view sp : c.on_path) {
    catalog_key(c, sp, bare, key);
    uint32_t ti = catalog_find(c, key);
    if (ti != NO_ID)
      return ti;
  }
  return NO_ID;
}

// ---- transactions

namespace {

// Undoes the log's entries from `at` on, the last first.
void undo_to(catalog& c, size_t at) {
  while (c.log.size() > at) {
    undo u = std::move(c.log.back());
    c.log.pop_back();
    if (auto* t = std::get_if<undo_table>(&u)) {
      for (size_t i = 0; i < t->records.size(); i++)
        *t->before.cols[i].c = t->records[i];
      c.tabs[t->table] = std::move(t->before);
    } else if (auto* a = std::get_if<undo_added>(&u)) {
      if (a->table + 1 == c.tabs.size())
        c.tabs.pop_back();
      else
        c.tabs[a->table].alive = false;
    } else if (auto* k = std::get_if<undo_key>(&u)) {
      if (c.by_key.find(k->key) != flat_index::NONE)
        index_remove(c, k->key);
      if (k->before != NO_ID)
        index_put(c, k->key, k->before);
    } else if (auto* sc = std::get_if<undo_schema>(&u)) {
      if (sc->existed)
        c.schemas.insert(sc->name);
      else
        c.schemas.erase(sc->name);
      catalog_path_changed(c);
    } else if (auto* n = std::get_if<undo_name>(&u)) {
      c.taken.erase(n->name);
    } else if (auto* p = std::get_if<undo_path>(&u)) {
      c.search_path = std::move(p->before);
      catalog_path_changed(c);
    } else if (auto* h = std::get_if<undo_heir>(&u)) {
      std::vector<catalog::heir>& list = c.heirs[h->parent];
      if (h->added)
        std::erase_if(list, [&](const catalog::heir& e) { return e.table == h->child && e.inherits == h->inherits; });
      else
        list.push_back({h->child, h->inherits});
    }
  }
}

// The end of a transaction, either way: SET LOCAL's path is over.
void end_transaction(catalog& c) {
  c.log.clear();
  c.marks.clear();
  c.begun_by_savepoint = false;
  if (c.path_before_local) {
    c.search_path = std::move(*c.path_before_local);
    c.path_before_local.reset();
    catalog_path_changed(c);
  }
}

// The last savepoint called `name` (in the dialect's letter case), or npos.
size_t find_mark(const catalog& c, std::string_view name) {
  for (size_t i = c.marks.size(); i-- > 1;)
    if (c.rules.folds_names ? c.marks[i].name == name : ascii_iequal(c.marks[i].name, name))
      return i;
  return std::string_view::npos;
}

}  // namespace

void catalog_begin(catalog& c) {
  if (in_transaction(c) || !c.rules.transactional_ddl)
    return;
  c.marks.push_back({"", 0, ++c.last_mark});
  c.begun_by_savepoint = false;
}

void catalog_commit(catalog& c) { end_transaction(c); }

void catalog_rollback(catalog& c) {
  undo_to(c, 0);
  end_transaction(c);
}

void catalog_savepoint(catalog& c, std::string_view name) {
  if (!c.rules.transactional_ddl)
    return;
  if (!in_transaction(c)) {
    c.marks.push_back({"", 0, ++c.last_mark});  // SQLite: a savepoint outside a transaction begins one
    c.begun_by_savepoint = true;
  }
  c.marks.push_back({std::string(name), c.log.size(), ++c.last_mark});
}

bool catalog_rollback_to(catalog& c, std::string_view name) {
  size_t i = find_mark(c, name);
  if (i == std::string_view::npos)
    return false;
  undo_to(c, c.marks[i].at);
  c.marks.resize(i + 1);
  c.marks.back().id = ++c.last_mark;  // the savepoint stays, and changes after it are saved again
  return true;
}

bool catalog_release(catalog& c, std::string_view name) {
  size_t i = find_mark(c, name);
  if (i == std::string_view::npos)
    return false;
  c.marks.resize(i);
  if (i == 1 && c.begun_by_savepoint)
    end_transaction(c);
  return true;
}

// ---- the end

namespace {

// SQLite's virtual tables keep their data in shadow tables: the virtual
// table's name, "_", and one of these.
constexpr std::string_view shadow_suffixes[] = {"content", "data",   "idx",  "docsize", "config", "segments",
                                                "segdir",  "stat",   "node", "rowid",   "parent"};

// The shadow tables of the virtual tables, by folded name.
std::unordered_set<std::string> shadow_names(const catalog& c) {
  std::unordered_set<std::string> out;
  std::string name;
  for (const dtab& tab : c.tabs)
    if (tab.is_virtual && tab.alive)
      for (std::string_view suffix : shadow_suffixes) {
        ascii_lower_into(std::string(tab.name) + "_" + std::string(suffix), name);
        out.insert(name);
      }
  return out;
}

// The ids of `tab`'s primary key, in key order (none without one).
std::span<const uint32_t> primary_key(const catalog& c, const dtab& tab) {
  for (const dkey& k : tab.keys)
    if (k.kind == key_kind::primary)
      return catalog_ids(c, k.cols);
  return {};
}

// Where foreign key `k` leads at the end: its table and, pair by pair
// with k.cols, the ids of the columns there (NO_ID for one not there).
// false, with `table_name`/`column_name` set for the message, when no table
// of the name stands; false without them when the key is gone.
bool key_target(catalog& c, const dkey& k, uint32_t& tt, std::vector<uint32_t>& ids, std::string_view& table_name,
                std::string_view& column_name) {
  ids.clear();
  table_name = {};
  std::vector<std::string_view> names;
  if (k.target != NO_ID && c.tabs[k.target].alive) {
    tt = k.target;
    std::span<const uint32_t> to = k.to_primary ? primary_key(c, c.tabs[tt]) : catalog_ids(c, k.tcols);
    ids.assign(to.begin(), to.end());
    return true;
  }
  if (k.target != NO_ID) {
    // Its table was dropped. Bound to the table itself, the key went with
    // it; bound to the name, it leads to the table of that name now.
    if (!c.rules.fkeys_by_name)
      return false;
    const dtab& gone = c.tabs[k.target];
    if (!k.to_primary)
      for (uint32_t id : catalog_ids(c, k.tcols)) {
        uint32_t pos = column_by_id(gone, id);
        names.push_back(pos == NO_ID ? std::string_view() : gone.cols[pos].name());
      }
    tt = catalog_find(c, gone.key);
    table_name = gone.name;
  } else {
    names = k.unbound->cols;
    tt = catalog_find(c, k.unbound->key);
    table_name = k.unbound->name;
  }
  if (tt == NO_ID) {
    column_name = names.empty() ? std::string_view() : names[0];
    return false;
  }
  dtab& target = c.tabs[tt];
  if (names.empty()) {
    std::span<const uint32_t> pk = primary_key(c, target);
    ids.assign(pk.begin(), pk.end());
    return true;
  }
  for (std::string_view name : names) {
    uint32_t pos = column_find(c, target, name);
    ids.push_back(pos == NO_ID ? NO_ID : target.cols[pos].id);
  }
  return true;
}

}  // namespace

void catalog_finish(catalog& c, const diagnostics& d) {
  schema& s = c.s;
  std::unordered_set<std::string> shadows = shadow_names(c);
  std::vector<bool> made(c.tabs.size());
  std::string folded;
  for (uint32_t ti = 0; ti < c.tabs.size(); ti++) {
    const dtab& tab = c.tabs[ti];
    made[ti] = tab.alive && tab.shown;
    if (made[ti] && !shadows.empty()) {
      ascii_lower_into(tab.name, folded);
      made[ti] = !shadows.count(folded);
    }
  }

  // The foreign keys' links, by table and column id, while the catalog can
  // still find what they name.
  std::vector<fkey_link> links;
  std::vector<uint32_t> ids;
  for (uint32_t ti = 0; ti < c.tabs.size(); ti++) {
    if (!made[ti] || !c.tabs[ti].keys_kept)
      continue;
    dtab& tab = c.tabs[ti];
    // Its own keys, then those of the tables it is a partition of, whose
    // columns are its own by name.
    for (uint32_t from = ti, hops = 0; from != NO_ID && hops < c.tabs.size(); from = c.tabs[from].parent, hops++) {
      for (const dkey& k : c.tabs[from].keys) {
        if (k.kind != key_kind::foreign)
          continue;
        uint32_t tt = NO_ID;
        std::string_view tname, cname;
        if (!key_target(c, k, tt, ids, tname, cname)) {
          // Reported as the loose grammar reports a reference to no table.
          uint32_t pos = from == ti && k.cols.n > 0 ? column_by_id(tab, catalog_ids(c, k.cols)[0]) : NO_ID;
          if (!tname.empty() && pos != NO_ID)
            log_file(d, {"unknown foreign key table on ", log_quote(tab.name), ".", log_quote(tab.cols[pos].name()),
                         ": ", log_quote(tname), ".", log_quote(cname)});
          continue;
        }
        if (!made[tt])
          continue;
        std::span<const uint32_t> on = catalog_ids(c, k.cols);
        for (size_t i = 0; i < on.size() && i < ids.size(); i++) {
          uint32_t src = on[i];
          if (from != ti) {
            uint32_t pos = column_by_id(c.tabs[from], src);
            uint32_t own = pos == NO_ID ? NO_ID : column_find(c, tab, c.tabs[from].cols[pos].name());
            src = own == NO_ID ? NO_ID : tab.cols[own].id;
          }
          uint32_t from_pos = src == NO_ID ? NO_ID : column_by_id(tab, src);
          uint32_t to_pos = ids[i] == NO_ID ? NO_ID : column_by_id(c.tabs[tt], ids[i]);
          if (from_pos != NO_ID && to_pos != NO_ID)
            links.push_back({tab.cols[from_pos].c, c.tabs[tt].cols[to_pos].c});
        }
      }
    }
  }
  // What finds things is needed no more: given back before the model is made.
  c.by_key = flat_index();
  c.name_count = flat_index();
  c.only_table = flat_index();
  c.taken = hash_set();
  c.log.clear();

  // The tables in creation order into the model, each table's catalog
  // record given back as its model is made: the two never stand whole side
  // by side. The columns' records are the model's already.
  const size_t count = c.tabs.size();
  c.heirs.clear();
  for (uint32_t ti = 0; ti < count; ti++) {
    dtab& tab = c.tabs.front();
    tab.index.map.reset();
    if (made[ti]) {
      table& mt = model_add_table(s, tab.name, as_comment(tab.doc), 0);
      mt.note = tab.note;
      for (const dcol& col : tab.cols)
        if (!col.dropped)
          model_adopt_column(s, mt, *col.c);
      name_sort_columns(std::span(s.columns).last(mt.ncols));
    }
    c.tabs.pop_front();
  }
  model_order(s);
  fkey_link_all(s, links);
}
