// ALTER TABLE in the dialect grammar: each action, chosen by its first
// word among those the dialect has, by a function of its own.
#include <algorithm>

#include "reader/chars.h"
#include "reader/dialect_grammar.h"

namespace {

// What an action works on: the table, and the comments in front of it.
struct alter_context {
  uint32_t ti;
  std::vector<dcomment> lead;
  bool only = false;  // ONLY: not the tables that inherit from it
};

// The tables that an action on table a.ti reaches besides it: those that
// inherit from it, unless ONLY was written.
std::vector<uint32_t> heirs(const dparser& p, const alter_context& a) {
  return a.only ? std::vector<uint32_t>() : descendants(p, a.ti);
}

// ADD [COLUMN] [IF NOT EXISTS] definition [FIRST | AFTER c], ADD
// constraint, MySQL's ADD (definitions).
bool alter_add(dparser& p, alter_context& a) {
  if (!next(p))
    return false;
  a.lead.insert(a.lead.end(), p.dl.comments.begin(), p.dl.comments.end());
  bool column = at(p, KW_COLUMN);
  if (column) {
    if (!next(p))
      return false;
    a.lead.insert(a.lead.end(), p.dl.comments.begin(), p.dl.comments.end());
  }
  bool unless_there = at(p, KW_IF);
  if (!if_exists(p, true))
    return false;
  unless_there &= !at(p, KW_IF);  // IF NOT EXISTS was read, not a column called "if"
  if (unless_there && is_name(p)) {
    // IF NOT EXISTS: a column of that name stands, and nothing of this
    // definition is made.
    name_of(p);
    if (column_find(p.cat, p.cat.tabs[a.ti], p.word) != NO_ID)
      return skip(p, {.punct = ","});
  }
  std::vector<key_draft> drafts;
  size_t last_line = 0;
  if (!column && at_constraint(p)) {
    if (!table_constraint(p, drafts, ","))
      return false;
  } else if (!column && at(p, KW_PARTITION) && next_is(p, '(')) {
    return skip(p, {.punct = ","});  // MySQL's partitions
  } else if (at(p, '(')) {
    // Several definitions at once.
    if (!next(p))
      return false;
    for (;;) {
      if (at_constraint(p) ? !table_constraint(p, drafts, ",)")
                           : column_definition(p, catalog_edit(p.cat, a.ti), drafts, {}, ",)", last_line) == NO_ID)
        return false;
      if (at(p, ')'))
        break;
      if (!expect(p, ','))
        return false;
    }
    if (!next(p) || !skip(p, {.punct = ","}))
      return false;
  } else {
    column_place place;
    dtab& tab = catalog_edit(p.cat, a.ti);
    column_doc doc;
    doc.lead = std::move(a.lead);
    uint32_t pos = column_definition(p, tab, drafts, &doc, ",", last_line,
                                     p.rules.placed_columns ? &place : nullptr);
    if (pos == NO_ID)
      return false;
    // Comments in front of the "," or the statement's end, on the
    // definition's last line, are the column's too.
    std::vector<dcomment> after(p.dl.comments.begin(), p.dl.comments.end());
    size_t n = 0;
    while (n < after.size() && after[n].line == last_line)
      n++;
    doc.after.insert(doc.after.end(), after.begin(), after.begin() + n);
    if (!doc.after.empty())
      column_document(p, tab.cols[pos], doc);
    p.last_column.tab = a.ti;
    p.last_column.line = last_line;
    std::string_view name = tab.cols[pos].name();
    place_column(p, tab, pos, place);
    p.last_column.col = column_find(p.cat, tab, name);
    p.last_column.doc = std::move(doc);
    // The tables that inherit from it get it too, at their end.
    for (uint32_t heir : heirs(p, a)) {
      dtab& h = catalog_edit(p.cat, heir);
      if (column_find(p.cat, h, name) == NO_ID)
        h.cols[column_add(p.cat, h, name, NO_TEXT)].inherited = true;
    }
  }
  add_keys(p, a.ti, drafts);
  return true;
}

// DROP [COLUMN] [IF EXISTS] c, DROP CONSTRAINT [IF EXISTS] name [CASCADE],
// MySQL's DROP PRIMARY KEY, DROP FOREIGN KEY name, DROP INDEX name.
bool alter_drop(dparser& p, alter_context& a) {
  if (!next(p))
    return false;
  kw what = dlex_kw(p.t);
  if (what == KW_PRIMARY && next_is(p, KW_KEY)) {
    drop_keys(p, a.ti, "", false);
  } else if (what == KW_CONSTRAINT || what == KW_FOREIGN ||
             ((what == KW_INDEX || what == KW_KEY) && rules_have(p.rules.constraint_words, what))) {
    if (!next(p) || (what == KW_FOREIGN && at(p, KW_KEY) && !next(p)) || !if_exists(p, false))
      return false;
    if (is_name(p)) {
      name_of(p);
      std::string name = p.word;
      if (!next(p))
        return false;
      drop_keys(p, a.ti, name, at(p, KW_CASCADE));
    }
  } else if (what != KW_CHECK && what != KW_PERIOD && what != KW_PARTITION && what != KW_DEFAULT) {
    if ((what == KW_COLUMN && !next(p)) || !if_exists(p, false))
      return false;
    if (is_name(p)) {
      name_of(p);
      dtab& tab = catalog_edit(p.cat, a.ti);
      uint32_t pos = column_find(p.cat, tab, p.word);
      if (pos != NO_ID)
        column_drop(p.cat, tab, pos);
      // An heir's column goes too where it has it only from its parent.
      for (uint32_t heir : heirs(p, a)) {
        dtab& h = catalog_edit(p.cat, heir);
        uint32_t at = column_find(p.cat, h, p.word);
        if (at != NO_ID && h.cols[at].inherited)
          column_drop(p.cat, h, at);
      }
      if (!next(p))
        return false;
    }
  }
  return skip(p, {.punct = ","});
}

// RENAME [TO|AS] name, RENAME [COLUMN] a TO b, RENAME CONSTRAINT a TO b;
// MySQL's RENAME INDEX|KEY a TO b.
bool alter_rename(dparser& p, alter_context& a) {
  if (!next(p))
    return false;
  std::vector<std::string> parts;
  kw what = dlex_kw(p.t);
  bool column_word = what == KW_COLUMN;
  bool constraint = what == KW_CONSTRAINT || what == KW_INDEX || what == KW_KEY;
  if (what == KW_TO || what == KW_AS || (!column_word && !constraint && p.rules.rename_bare_name)) {
    // The table: it keeps its schema unless the new name gives one.
    if ((what == KW_TO || what == KW_AS) && !next(p))
      return false;
    if (!qualified_name(p, parts))
      return false;
    const dtab& tab = p.cat.tabs[a.ti];
    table_ref r = parts.size() >= 2 ? resolve_new(p, parts) : table_ref{dtab_space(tab), parts.back()};
    if (p.legacy_alter_table && !p.foreign_keys)
      keys_by_name(p, a.ti);
    catalog_rename(p.cat, a.ti, r.space, r.name);
    return skip(p, {.punct = ","});
  }
  if ((column_word || constraint) && !next(p))
    return false;
  if (!is_name(p))
    return skip(p, {.punct = ","});
  name_of(p);
  std::string old = p.word;
  if (!next(p) || !at(p, KW_TO) || !next(p) || !is_name(p))
    return p.dl.failed ? false : skip(p, {.punct = ","});
  name_of(p);
  dtab& tab = catalog_edit(p.cat, a.ti);
  if (constraint) {
    for (dkey& k : tab.keys)
      if (p.rules.folds_names ? k.name == old : ascii_iequal(k.name, old))
        k.name = text_keep(p.s.texts, p.word);
  } else {
    std::string_view name = text_keep(p.s.texts, p.word);
    uint32_t pos = column_find(p.cat, tab, old);
    if (pos != NO_ID && column_find(p.cat, tab, name) == NO_ID) {
      column_rename(p.cat, tab, pos, name);
      for (uint32_t heir : heirs(p, a)) {
        dtab& h = catalog_edit(p.cat, heir);
        uint32_t at = column_find(p.cat, h, old);
        if (at != NO_ID && column_find(p.cat, h, name) == NO_ID)
          column_rename(p.cat, h, at, name);
      }
    }
  }
  return next(p) && skip(p, {.punct = ","});
}

// MySQL's CHANGE [COLUMN] old new definition and MODIFY [COLUMN] name
// definition, each [FIRST | AFTER c]: the new definition replaces the old,
// and the keys on the column, which name it by its id, follow a new name.
bool alter_change(dparser& p, alter_context& a) {
  bool change = at(p, KW_CHANGE);
  if (!next(p) || (at(p, KW_COLUMN) && !next(p)) || !if_exists(p, false))
    return false;
  dtab& tab = catalog_edit(p.cat, a.ti);
  if (!is_name(p))
    return unexpected(p, "column name");
  name_of(p);
  uint32_t pos = column_find(p.cat, tab, p.word);
  if (pos == NO_ID)
    return skip(p, {.punct = ","});  // the database refuses it, or IF EXISTS passes it over
  if (!change && tab.cols[pos].name() != p.word) {
    // MODIFY names the column as it is written, letter case and all.
    column_rename(p.cat, tab, pos, text_keep(p.s.texts, p.word));
  }
  if (change) {
    if (!next(p) || !is_name(p))
      return p.dl.failed ? false : unexpected(p, "column name");
    name_of(p);
    uint32_t clash = column_find(p.cat, tab, p.word);
    if (clash != NO_ID && clash != pos)
      return skip(p, {.punct = ","});
    column_rename(p.cat, tab, pos, text_keep(p.s.texts, p.word));
  }
  tab.cols[pos].c->note = NO_TEXT;  // the new definition's COMMENT, if any, is the one
  std::vector<key_draft> drafts;
  column_place place;
  size_t last_line = 0;
  if (column_definition(p, tab, drafts, {}, ",", last_line, &place) == NO_ID)
    return false;
  place_column(p, tab, pos, place);
  add_keys(p, a.ti, drafts);
  return true;
}

// PostgreSQL's ATTACH PARTITION t FOR VALUES ...: t has this table's keys.
bool alter_attach(dparser& p, alter_context& a) {
  std::vector<std::string> parts;
  if (!next(p))
    return false;
  if (at(p, KW_PARTITION)) {
    if (!next(p) || !qualified_name(p, parts))
      return false;
    uint32_t child = resolve_table(p, parts);
    if (child != NO_ID && child != a.ti) {
      dtab& c = catalog_edit(p.cat, child);
      c.parent = a.ti;
      // A partition's columns are all its parent's: they go when the parent's go.
      for (dcol& col : c.cols)
        col.inherited = true;
      catalog_add_heir(p.cat, a.ti, child, false);
    }
  }
  return skip(p, {.punct = ","});
}

// PostgreSQL's DETACH PARTITION t: t is a table of its own again.
bool alter_detach(dparser& p, alter_context& a) {
  std::vector<std::string> parts;
  if (!next(p))
    return false;
  if (at(p, KW_PARTITION)) {
    if (!next(p) || !qualified_name(p, parts))
      return false;
    uint32_t child = resolve_table(p, parts);
    if (child != NO_ID && p.cat.tabs[child].parent == a.ti) {
      // It keeps the foreign keys it had from its parents, as its own.
      std::vector<dkey> kept;
      std::vector<uint32_t> ids;
      for (uint32_t from = a.ti, hops = 0; from != NO_ID && hops < p.cat.tabs.size();
           from = p.cat.tabs[from].parent, hops++)
        for (const dkey& k : p.cat.tabs[from].keys) {
          if (k.kind != key_kind::foreign)
            continue;
          ids.clear();
          for (uint32_t id : catalog_ids(p.cat, k.cols)) {
            uint32_t pos = column_by_id(p.cat.tabs[from], id);
            uint32_t own = pos == NO_ID ? NO_ID : column_find(p.cat, p.cat.tabs[child], p.cat.tabs[from].cols[pos].name());
            if (own != NO_ID)
              ids.push_back(p.cat.tabs[child].cols[own].id);
          }
          if (ids.size() != k.cols.n)
            continue;
          dkey copy = k;
          copy.cols = catalog_keep_ids(p.cat, ids);
          kept.push_back(std::move(copy));
        }
      dtab& detached = catalog_edit(p.cat, child);
      detached.parent = NO_ID;
      for (dcol& col : detached.cols)
        col.inherited = false;
      detached.keys.insert(detached.keys.end(), kept.begin(), kept.end());
    }
  }
  return skip(p, {.punct = ","});
}

// PostgreSQL's INHERIT t and NO INHERIT t: this table joins t's heirs with
// the columns it has, or leaves them with its columns its own.
bool alter_inherit(dparser& p, alter_context& a) {
  bool leave = at(p, KW_NO);
  if (!next(p) || (leave && !at(p, KW_INHERIT)) || (leave && !next(p)))
    return p.dl.failed ? false : skip(p, {.punct = ","});
  std::vector<std::string> parts;
  if (!qualified_name(p, parts))
    return false;
  uint32_t parent = resolve_table(p, parts);
  if (parent != NO_ID && parent != a.ti) {
    if (!leave) {
      catalog_add_heir(p.cat, parent, a.ti, true);
    } else {
      catalog_remove_heir(p.cat, parent, a.ti);
      dtab& tab = catalog_edit(p.cat, a.ti);
      for (dcol& col : tab.cols)
        if (col.inherited && column_find(p.cat, p.cat.tabs[parent], col.name()) != NO_ID)
          col.inherited = false;
    }
  }
  return skip(p, {.punct = ","});
}

// PostgreSQL's SET SCHEMA s: the table moves, its name kept.
bool alter_set(dparser& p, alter_context& a) {
  if (!next(p))
    return false;
  if (at(p, KW_SCHEMA)) {
    if (!next(p) || !is_name(p))
      return p.dl.failed ? false : unexpected(p, "name");
    name_of(p);
    if (p.cat.schemas.count(p.word)) {
      std::string bare(dtab_bare(p.cat.tabs[a.ti]));
      catalog_rename(p.cat, a.ti, p.word, bare);
    }
    if (!next(p))
      return false;
  }
  return skip(p, {.punct = ","});
}

// MySQL's table options: COMMENT [=] 'text', ENGINE [=] name. A table
// turned to an engine that keeps no foreign keys loses them.
bool alter_option(dparser& p, alter_context& a) {
  bool engine = at(p, KW_ENGINE);
  if (!next(p) || (at(p, '=') && !next(p)))
    return false;
  dtab& tab = catalog_edit(p.cat, a.ti);
  if (engine) {
    tab.keys_kept = engine_keeps_keys(option_text(p));
    if (!tab.keys_kept) {
      std::erase_if(tab.keys, [](const dkey& k) { return k.kind == key_kind::foreign; });
      tab.ibfk_high = NO_ID;
    }
  } else if (p.t.kind == DTOKEN_STRING) {
    tab.note = keep_note(p, p.t);
  }
  return next(p);
}

// One action, dispatched by its first word among the dialect's; any other
// is passed over to its ",".
bool alter_action(dparser& p, alter_context& a) {
  kw k = dlex_kw(p.t);
  if (!rules_have(p.rules.alter_actions, k))
    return skip(p, {.punct = ","});
  switch (k) {
    case KW_ADD: return alter_add(p, a);
    case KW_DROP: return alter_drop(p, a);
    case KW_RENAME: return alter_rename(p, a);
    case KW_CHANGE:
    case KW_MODIFY: return alter_change(p, a);
    case KW_ATTACH: return alter_attach(p, a);
    case KW_DETACH: return alter_detach(p, a);
    case KW_INHERIT:
    case KW_NO: return alter_inherit(p, a);
    case KW_SET: return alter_set(p, a);
    case KW_COMMENT:
    case KW_ENGINE: return alter_option(p, a);
    default: return skip(p, {.punct = ","});
  }
}

// ALTER TABLE [IF EXISTS] [ONLY] name [*] action [, action ...].
bool alter_table(dparser& p, std::span<const dcomment> lead) {
  std::vector<std::string> parts;
  if (!next(p) || !if_exists(p, false))
    return false;
  bool only = at(p, KW_ONLY);
  if ((only && !next(p)) || !qualified_name(p, parts) || (at(p, '*') && !next(p)))
    return false;
  uint32_t ti = resolve_table(p, parts);
  if (ti == NO_ID) {
    log_verbose(p.dl.lx, {"ignoring statement: ALTER TABLE of an unknown table"});
    return rest_of_statement(p);
  }
  alter_context a{ti, std::vector<dcomment>(lead.begin(), lead.end()), only};
  // The comments in front of the first action document what it adds, as
  // those in front of the statement do.
  a.lead.insert(a.lead.end(), p.dl.comments.begin(), p.dl.comments.end());
  for (;;) {
    p.last_column.col = NO_ID;
    if (!alter_action(p, a))
      return false;
    a.lead.clear();
    if (at(p, ',')) {
      if (!next(p))
        return false;
      // The comments in front of an action document what it adds.
      a.lead.assign(p.dl.comments.begin(), p.dl.comments.end());
      continue;
    }
    if (at_end(p))
      return true;
    // MySQL's table options follow one another without a comma.
    if (!rules_have(p.rules.alter_actions, dlex_kw(p.t)))
      return unexpected(p, ";");
  }
}

// ALTER SCHEMA a RENAME TO b: its tables go with it.
bool alter_schema(dparser& p) {
  if (!next(p) || !is_name(p))
    return p.dl.failed ? false : rest_of_statement(p);
  name_of(p);
  std::string from = p.word;
  if (!next(p) || !at(p, KW_RENAME) || !next(p) || !at(p, KW_TO) || !next(p) || !is_name(p))
    return p.dl.failed ? false : rest_of_statement(p);
  name_of(p);
  std::string_view to = text_keep(p.s.texts, p.word);
  if (p.cat.schemas.count(from) && catalog_add_schema(p.cat, to)) {
    for (uint32_t ti = 0; ti < p.cat.tabs.size(); ti++)
      if (p.cat.tabs[ti].alive && dtab_space(p.cat.tabs[ti]) == from) {
        std::string bare(dtab_bare(p.cat.tabs[ti]));
        catalog_rename(p.cat, ti, to, bare);
      }
    catalog_drop_schema(p.cat, text_keep(p.s.texts, from));
  }
  if (!next(p))
    return false;
  return rest_of_statement(p);
}

// ALTER TYPE t ADD | DROP | RENAME ATTRIBUTE ...: the composite type's
// columns, for the typed tables made of it later (PostgreSQL refuses to
// change a type that tables already use, unless CASCADE changes them too).
bool alter_type(dparser& p) {
  std::vector<std::string> parts;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  auto it = p.types.find(parts.back());
  for (;;) {
    kw action = dlex_kw(p.t);
    if ((action == KW_ADD || action == KW_DROP || action == KW_RENAME) && next_is(p, KW_ATTRIBUTE)) {
      if (!next(p) || !next(p))
        return false;
      if (action == KW_DROP && !if_exists(p, false))
        return false;
      if (is_name(p)) {
        name_of(p);
        std::string name = p.word;
        if (!next(p))
          return false;
        if (action == KW_RENAME && at(p, KW_TO) && next(p) && is_name(p)) {
          name_of(p);
          if (it != p.types.end())
            for (query_col& c : it->second)
              if (c.name == name)
                c.name = p.word;
          if (!next(p))
            return false;
        } else if (it != p.types.end()) {
          std::erase_if(it->second, [&](const query_col& c) { return c.name == name; });
          if (action == KW_ADD)
            it->second.push_back({name, NO_TEXT});
        }
      }
    }
    if (!skip(p, {.punct = ","}))
      return false;
    if (!at(p, ','))
      return rest_of_statement(p);
    if (!next(p))
      return false;
  }
}

}  // namespace

bool alter_statement(dparser& p, std::span<const dcomment> lead) {
  if (!next(p))
    return false;
  // MySQL's ALTER [ONLINE | OFFLINE] [IGNORE] TABLE.
  while (at(p, KW_ONLINE) || at(p, KW_OFFLINE) || at(p, KW_IGNORE))
    if (!next(p))
      return false;
  if (at(p, KW_TABLE))
    return alter_table(p, lead);
  if (at(p, KW_SCHEMA) && p.rules.spaces == name_spaces::search_path)
    return alter_schema(p);
  if (at(p, KW_TYPE) && p.rules.typed_tables)
    return alter_type(p);
  log_verbose(p.dl.lx, {"ignoring statement: ALTER ", log_quote(p.t.raw)});
  return skip_statement(p, false);
}
