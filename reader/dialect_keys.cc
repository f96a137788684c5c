// The keys of the dialect grammar's tables: made from what a statement
// names, named as the database names them, bound to their targets, and
// dropped by name.
#include <algorithm>

#include "reader/chars.h"
#include "reader/dialect_grammar.h"

namespace {

// The ids of the columns called `names` in `tab`; false when one is not there.
bool column_ids(dparser& p, dtab& tab, const std::vector<std::string>& names, std::vector<uint32_t>& ids) {
  ids.clear();
  for (const std::string& n : names) {
    uint32_t pos = column_find(p.cat, tab, n);
    if (pos == NO_ID)
      return false;
    ids.push_back(tab.cols[pos].id);
  }
  return true;
}

// A check is on the columns its expression names, each once.
void check_columns(dparser& p, dtab& tab, key_draft& d) {
  if (d.mentions.empty())
    return;
  d.cols.clear();
  for (const std::string& n : d.mentions)
    if (column_find(p.cat, tab, n) != NO_ID &&
        std::none_of(d.cols.begin(), d.cols.end(), [&](const std::string& c) { return c == n; }))
      d.cols.push_back(n);
}

std::shared_ptr<const unbound_target> unbound_by_name(dparser& p, std::string_view key, std::string_view name,
                                                     const std::vector<std::string>& cols) {
  auto u = std::make_shared<unbound_target>();
  u->key = key;
  u->name = name;
  for (const std::string& c : cols)
    u->cols.push_back(text_keep(p.s.texts, c));
  return u;
}

// Binds foreign key `k` of table `ti` to the table that `d` names, as it
// stands now. MySQL finds an unqualified name in the database of the table
// that refers, not in the current one; SQLite in the schema of that table.
// A table that stays may not refer to a temporary one.
bool bind_target(dparser& p, uint32_t ti, key_draft& d, dkey& k) {
  if (p.rules.spaces == name_spaces::databases && d.target.size() == 1) {
    std::string_view space = dtab_space(p.cat.tabs[ti]);
    d.target.insert(d.target.begin(), space.empty() ? p.home_db : std::string(space));
  } else if (p.rules.spaces == name_spaces::attached && d.target.size() == 1) {
    d.target.insert(d.target.begin(), std::string(dtab_space(p.cat.tabs[ti])));
  }
  uint32_t tt = resolve_table(p, d.target);
  if (tt != NO_ID && p.cat.tabs[tt].temp && !p.cat.tabs[ti].temp)
    return false;
  if (tt == NO_ID) {
    std::string key, shown;
    resolve_table(p, d.target, &key, &shown);
    // No such table yet: found again by name at the end.
    k.unbound = unbound_by_name(p, text_keep(p.s.texts, key), text_keep(p.s.texts, shown), d.target_cols);
    return true;
  }
  k.target = tt;
  dtab& target = p.cat.tabs[tt];
  if (!d.target_cols.empty()) {
    std::vector<uint32_t> ids;
    if (column_ids(p, target, d.target_cols, ids)) {
      k.tcols = catalog_keep_ids(p.cat, ids);
      return true;
    }
    if (!p.rules.fkeys_by_name)
      return false;  // PostgreSQL refuses a key to a column that is not there
    k.target = NO_ID;
    k.unbound = unbound_by_name(p, target.key, target.name, d.target_cols);
    return true;
  }
  if (p.rules.fkeys_by_name) {
    k.to_primary = true;  // SQLite finds the primary key when the key is used
    return true;
  }
  // PostgreSQL takes the primary key that the target has now.
  for (const dkey& other : target.keys)
    if (other.kind == key_kind::primary) {
      k.tcols = other.cols;  // the same ids, kept once
      return true;
    }
  return false;
}

bool has_primary(const dtab& tab) {
  return std::any_of(tab.keys.begin(), tab.keys.end(), [](const dkey& k) { return k.kind == key_kind::primary; });
}

// The order in which PostgreSQL makes a table's keys, and so names them.
int naming_round(key_kind k) {
  switch (k) {
    case key_kind::check: return 0;
    case key_kind::primary:
    case key_kind::unique:
    case key_kind::exclude: return 1;
    case key_kind::foreign: return 2;
  }
  return 2;
}

bool same_columns(std::span<const uint32_t> x, std::span<const uint32_t> y) {
  std::vector<uint32_t> a(x.begin(), x.end()), b(y.begin(), y.end());
  std::sort(a.begin(), a.end());
  std::sort(b.begin(), b.end());
  return a == b;
}

}  // namespace

void add_keys(dparser& p, uint32_t ti, std::vector<key_draft>& drafts) {
  if (drafts.empty())
    return;
  std::vector<uint32_t> ids;
  for (int round = 0; round < 3; round++)
    for (key_draft& d : drafts) {
      if (naming_round(d.key.kind) != round)
        continue;
      dtab& tab = catalog_edit(p.cat, ti);
      if (d.key.kind == key_kind::foreign && !tab.keys_kept)
        continue;  // MyISAM and its kind keep no foreign keys
      if (d.key.kind == key_kind::primary && has_primary(tab))
        continue;
      check_columns(p, tab, d);
      if (!d.index.empty()) {
        // The index's columns, all plain ones, or no key.
        index_key(p, ti, d.index);
        auto it = p.indexes.find(p.key);
        if (it == p.indexes.end() ||
            std::any_of(it->second.begin(), it->second.end(), [](const std::string& c) { return c.empty(); }))
          continue;
        d.cols = it->second;
      }
      dkey k = std::move(d.key);
      // A column's own constraint finds it by its id, where the id is still
      // that column's (INHERITS numbers the columns again).
      uint32_t own = d.own != NO_ID && d.mentions.empty() && d.index.empty() ? column_by_id(tab, d.own) : NO_ID;
      if (own != NO_ID && d.cols.size() == 1 && tab.cols[own].name() == d.cols[0])
        ids.assign(1, d.own);
      else if (!column_ids(p, tab, d.cols, ids))
        continue;
      k.cols = catalog_keep_ids(p.cat, ids);
      if (k.kind == key_kind::foreign && !bind_target(p, ti, d, k))
        continue;
      dtab& now = p.cat.tabs[ti];  // binding may have saved the table, not moved it
      if (k.name.empty()) {
        k.name = catalog_name_key(p.cat, now, k);
      } else {
        if (k.kind == key_kind::foreign)
          now.ibfk_high = NO_ID;  // a name of the file's own may be one of the engine's
        if (p.rules.naming == key_naming::postgres)
          catalog_take(p.cat, dtab_space(now), k.name);
      }
      now.keys.push_back(std::move(k));
    }
}

void drop_keys(dparser& p, uint32_t ti, std::string_view name, bool cascade) {
  dtab& tab = catalog_edit(p.cat, ti);
  auto it = std::find_if(tab.keys.begin(), tab.keys.end(), [&](const dkey& k) {
    if (name.empty())
      return k.kind == key_kind::primary;
    return p.rules.folds_names ? k.name == name : ascii_iequal(k.name, name);
  });
  if (it == tab.keys.end())
    return;
  dkey gone = std::move(*it);
  tab.keys.erase(it);
  tab.ibfk_high = NO_ID;  // counted again from those left
  if (!cascade || (gone.kind != key_kind::primary && gone.kind != key_kind::unique))
    return;
  // The foreign keys that lean on it: to these columns of this table.
  for (uint32_t other = 0; other < p.cat.tabs.size(); other++) {
    const dtab& o = p.cat.tabs[other];
    bool leans = std::any_of(o.keys.begin(), o.keys.end(), [&](const dkey& k) {
      return k.kind == key_kind::foreign && k.target == ti && same_columns(catalog_ids(p.cat, k.tcols), catalog_ids(p.cat, gone.cols));
    });
    if (!o.alive || !leans)
      continue;
    std::erase_if(catalog_edit(p.cat, other).keys, [&](const dkey& k) {
      return k.kind == key_kind::foreign && k.target == ti &&
             same_columns(catalog_ids(p.cat, k.tcols), catalog_ids(p.cat, gone.cols));
    });
  }
}

void keys_by_name(dparser& p, uint32_t ti) {
  const dtab& target = p.cat.tabs[ti];
  std::vector<std::string> cols;
  for (uint32_t other = 0; other < p.cat.tabs.size(); other++) {
    if (!p.cat.tabs[other].alive)
      continue;
    bool refers = false;
    for (const dkey& k : p.cat.tabs[other].keys)
      refers |= k.kind == key_kind::foreign && k.target == ti;
    if (!refers)
      continue;
    for (dkey& k : catalog_edit(p.cat, other).keys) {
      if (k.kind != key_kind::foreign || k.target != ti)
        continue;
      cols.clear();
      if (!k.to_primary)
        for (uint32_t id : catalog_ids(p.cat, k.tcols))
          if (uint32_t pos = column_by_id(target, id); pos != NO_ID)
            cols.emplace_back(target.cols[pos].name());
      k.unbound = unbound_by_name(p, target.key, target.name, cols);
      k.target = NO_ID;
      k.to_primary = false;
    }
  }
}
