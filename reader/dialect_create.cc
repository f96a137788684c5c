// CREATE TABLE in the dialect grammar: the table's list of columns and
// constraints, the clauses around it, and the keys it makes.
#include <algorithm>

#include "reader/chars.h"
#include "reader/dialect_doc.h"
#include "reader/dialect_grammar.h"

namespace {

// Words that may name a column as well as begin a constraint: a
// constraint only where the next token is "(" or the word given.
struct constraint_or_name {
  kw word, then;
};
constexpr constraint_or_name either_words[] = {
    {KW_EXCLUDE, KW_USING},  // EXCLUDE USING gist (...), or a column "exclude"
    {KW_PERIOD, KW_FOR},     // PERIOD FOR p (a, b), or a column "period"
};

// The words that end a column's type and begin its clauses, where a
// column definition ends at FIRST or AFTER too.
constexpr kw place_words[] = {KW_FIRST, KW_AFTER};

}  // namespace

bool at_constraint(dparser& p) {
  kw k = dlex_kw(p.t);
  if (!rules_have(p.rules.constraint_words, k))
    return false;
  for (const constraint_or_name& e : either_words)
    if (e.word == k)
      return next_is(p, '(') || next_is(p, e.then);
  return true;
}

bool references(dparser& p, key_draft& k) {
  if (!next(p) || !qualified_name(p, k.target))
    return false;
  if (at(p, '(') && !column_list(p, k.target_cols))
    return false;
  return true;
}

namespace {

// PRIMARY KEY | UNIQUE USING INDEX i, at USING (ALTER TABLE t ADD ...): a
// key on the index's columns, named as the constraint is or as the index.
bool key_using_index(dparser& p, key_draft& k, kw what, std::vector<key_draft>& drafts, std::string_view stops) {
  if (!next(p) || !next(p))
    return false;
  if (is_name(p)) {
    name_of(p);
    if (k.key.name.empty())
      k.key.name = text_keep(p.s.texts, p.word);
    k.index = p.word;
    if (!next(p))
      return false;
  }
  k.key.kind = what == KW_PRIMARY ? key_kind::primary : key_kind::unique;
  drafts.push_back(std::move(k));
  return skip(p, {.punct = stops});
}

}  // namespace

bool table_constraint(dparser& p, std::vector<key_draft>& drafts, std::string_view stops) {
  key_draft k;
  if (at(p, KW_CONSTRAINT)) {
    if (!next(p))
      return false;
    // A name, unless the constraint follows at once (SQLite and MySQL allow that).
    if (is_name(p) && !at_constraint(p)) {
      name_of(p);
      k.key.name = text_keep(p.s.texts, p.word);
      if (!next(p))
        return false;
    }
  }
  kw what = dlex_kw(p.t);
  if (what == KW_PRIMARY || what == KW_UNIQUE || what == KW_FOREIGN || what == KW_CHECK) {
    if (!next(p))
      return false;
    if (what == KW_PRIMARY || what == KW_FOREIGN) {
      if (!at(p, KW_KEY))
        return unexpected(p, "KEY");
      if (!next(p))
        return false;
    } else if (what == KW_UNIQUE && (at(p, KW_KEY) || at(p, KW_INDEX)) && !next(p)) {
      return false;
    }
    if (what != KW_FOREIGN && what != KW_CHECK && p.rules.keys_using_index && at(p, KW_USING) &&
        next_is(p, KW_INDEX))
      return key_using_index(p, k, what, drafts, stops);
    // MySQL: an index's name, or its type (USING BTREE), before the list.
    if (what != KW_CHECK && !at(p, '(') && is_name(p)) {
      if (k.key.name.empty() && !at(p, KW_USING)) {
        name_of(p);
        k.key.name = text_keep(p.s.texts, p.word);
      }
      if (!skip(p, {.punct = "(", .words = {}}))
        return false;
    }
    k.key.kind = what == KW_PRIMARY   ? key_kind::primary
                 : what == KW_UNIQUE  ? key_kind::unique
                 : what == KW_FOREIGN ? key_kind::foreign
                                      : key_kind::check;
    if (what == KW_CHECK) {
      // The names its expression holds: the columns it is on.
      if (!expect(p, '(') || !skip(p, {.punct = ")", .names = &k.mentions}) || !expect(p, ')'))
        return false;
    } else if (at(p, '(') && !column_list(p, k.cols)) {
      return false;
    }
    if (what == KW_FOREIGN) {
      if (!at(p, KW_REFERENCES))
        return unexpected(p, "REFERENCES");
      if (!references(p, k))
        return false;
    }
    drafts.push_back(std::move(k));
  } else if (what == KW_EXCLUDE) {
    k.key.kind = key_kind::exclude;
    drafts.push_back(std::move(k));
  }
  return skip(p, {.punct = stops});
}

uint32_t column_definition(dparser& p, dtab& tab, std::vector<key_draft>& drafts, column_doc* doc,
                           std::string_view stops, size_t& last_line, column_place* place) {
  if (!is_name(p))
    return unexpected(p, "column name"), NO_ID;
  name_of(p);
  uint32_t pos = column_find(p.cat, tab, p.word);
  if (doc)
    doc->name_line = p.t.line;
  if (pos == NO_ID)
    pos = column_add(p.cat, tab, text_keep(p.s.texts, p.word), doc ? keep_doc(p, doc->lead, p.t.line) : NO_TEXT);
  std::string_view col_name = tab.cols[pos].name();  // kept: stays where it is
  last_line = p.t.line;
  if (!next(p))
    return NO_ID;
  std::string_view pending_name;  // CONSTRAINT name, for the clause after it
  std::span<const kw> words = p.rules.column_words;
  std::vector<kw> with_place;
  if (place) {
    with_place.assign(words.begin(), words.end());
    with_place.insert(with_place.end(), std::begin(place_words), std::end(place_words));
    words = with_place;
  }
  for (;;) {
    if (!skip(p, {.punct = stops, .words = words, .last_line = &last_line, .comments = doc ? &doc->after : nullptr}))
      return NO_ID;
    kw k = dlex_kw(p.t);
    if (!rules_have(words, k))
      return pos;  // at one of `stops`, the statement's end or the input's
    last_line = p.t.line;
    if (!next(p))
      return NO_ID;
    key_draft d;
    d.key.name = pending_name;
    pending_name = {};
    d.cols.emplace_back(col_name);
    d.own = tab.cols[pos].id;
    switch (k) {
      case KW_CONSTRAINT:
        if (is_name(p) && !rules_have(p.rules.column_words, dlex_kw(p.t))) {
          name_of(p);
          pending_name = text_keep(p.s.texts, p.word);
          if (!next(p))
            return NO_ID;
        }
        continue;
      case KW_PRIMARY:
      case KW_KEY:  // MySQL: KEY alone is the primary key
        if (k == KW_PRIMARY && !at(p, KW_KEY))
          continue;
        if (k == KW_PRIMARY && !next(p))
          return NO_ID;
        d.key.kind = key_kind::primary;
        break;
      case KW_UNIQUE:
        if (at(p, KW_KEY) && !next(p))
          return NO_ID;
        d.key.kind = key_kind::unique;
        break;
      case KW_CHECK:
        d.key.kind = key_kind::check;
        if (at(p, '(') && !skip_group(p))
          return NO_ID;
        break;
      case KW_REFERENCES:
        d.key.kind = key_kind::foreign;
        if (!qualified_name(p, d.target) || (at(p, '(') && !column_list(p, d.target_cols)))
          return NO_ID;
        break;
      case KW_COMMENT:
        if (p.t.kind == DTOKEN_STRING) {
          tab.cols[pos].c->note = keep_note(p, p.t);
          last_line = p.t.end_line;
          if (!next(p))
            return NO_ID;
        }
        continue;
      case KW_FIRST:
        place->first = true;
        continue;
      case KW_AFTER:
        if (is_name(p)) {
          name_of(p);
          place->after = p.word;
          if (!next(p))
            return NO_ID;
        }
        continue;
      default: continue;
    }
    drafts.push_back(std::move(d));
  }
}

// ---- the list of a CREATE TABLE

namespace {

// Moves the comments of `comments` that stand on `line` to the end of
// `after`: those at the end of an item's line, which document it.
void take_trailing(std::vector<dcomment>& comments, size_t line, std::vector<dcomment>& after) {
  // They come first: the comments are in the order written.
  size_t n = 0;
  while (n < comments.size() && comments[n].line == line)
    n++;
  if (n == 0)
    return;
  after.insert(after.end(), comments.begin(), comments.begin() + n);
  comments.erase(comments.begin(), comments.begin() + n);
}

// LIKE t [INCLUDING ... | EXCLUDING ...], at LIKE: t's columns, and what
// the options (or, for MySQL's whole copy, everything) bring along.
bool like_clause(dparser& p, dtab& tab, std::vector<key_draft>& drafts, std::string_view stops) {
  std::vector<std::string> parts;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  uint32_t from = resolve_table(p, parts);
  if (from == NO_ID && p.rules.typed_tables)
    if (auto it = p.types.find(parts.back()); it != p.types.end())
      for (const query_col& c : it->second)  // a composite type's, or a view's
        if (column_find(p.cat, tab, c.name) == NO_ID)
          column_add(p.cat, tab, text_keep(p.s.texts, c.name), NO_TEXT);
  bool whole = p.rules.like == like_item::whole, notes = whole, keys = whole;
  while (at(p, KW_INCLUDING) || at(p, KW_EXCLUDING)) {
    bool including = at(p, KW_INCLUDING);
    if (!next(p))
      return false;
    if (at(p, KW_COMMENTS) || at(p, KW_ALL))
      notes = including;
    if (at(p, KW_INDEXES) || at(p, KW_ALL))
      keys = including;
    if (p.t.kind == DTOKEN_WORD && !next(p))
      return false;
  }
  if (from != NO_ID) {
    copy_columns(p, tab, from, notes, keys, drafts);
    if (whole)
      tab.note = p.cat.tabs[from].note;  // MySQL's copy has the table's comment too
  }
  return skip(p, {.punct = stops});
}

// The parenthesised list of a CREATE TABLE, at "(". A column is documented
// by the comments that touch it from in front, those inside its definition,
// and those at the end of its last line (after its "," or the list's ")").
// Comments on lines of their own in front of a "," are the next item's.
bool table_items(dparser& p, dtab& tab, std::vector<key_draft>& drafts) {
  p.last_column.col = NO_ID;
  size_t open_line = p.t.line;
  if (!next(p))
    return false;
  // Comments after the "(" on its line, the first item on a line below,
  // are about the table, not the item.
  if (p.t.line != open_line)
    std::erase_if(p.dl.comments, [&](const dcomment& c) { return c.line == open_line; });
  std::vector<dcomment>& carried = p.carried;  // in front of the "," before the item, on lines of their own
  uint32_t prev_col = NO_ID;                   // the column that the item before made
  size_t prev_last = 0;                        // the line where that item ends
  bool comma_on_last = false;                  // its "," is on that line
  column_doc &doc = p.item_doc, &prev_doc = p.prev_item_doc;
  carried.clear();
  for (;;) {
    doc.lead.assign(carried.begin(), carried.end());
    doc.lead.insert(doc.lead.end(), p.dl.comments.begin(), p.dl.comments.end());
    doc.after.clear();
    carried.clear();
    if (prev_col != NO_ID) {
      if (comma_on_last)
        take_trailing(doc.lead, prev_last, prev_doc.after);
      if (!prev_doc.after.empty())
        column_document(p, tab.cols[prev_col], prev_doc);
    }
    prev_col = NO_ID;
    if (at(p, ')'))
      return next(p);
    size_t last_line = p.t.line;
    uint32_t made = NO_ID;
    if (p.rules.like != like_item::none && at(p, KW_LIKE)) {
      if (!like_clause(p, tab, drafts, ",)"))
        return false;
    } else if (at_constraint(p)) {
      if (!table_constraint(p, drafts, ",)"))
        return false;
    } else {
      made = column_definition(p, tab, drafts, &doc, ",)", last_line);
      if (made == NO_ID)
        return false;
    }
    // The comments in front of the "," or ")": those on the item's last
    // line are its own, those on lines of their own the next item's.
    carried.assign(p.dl.comments.begin(), p.dl.comments.end());
    if (made != NO_ID)
      take_trailing(carried, last_line, doc.after);
    if (at(p, ')')) {
      if (made == NO_ID)
        return next(p);
      if (!next(p))
        return false;
      // After the ")", on the column's last line: its own too, as are
      // those after the statement's end on that line (taken then).
      std::vector<dcomment> after_list(p.dl.comments.begin(), p.dl.comments.end());
      take_trailing(after_list, last_line, doc.after);
      if (!doc.after.empty())
        column_document(p, tab.cols[made], doc);
      p.last_column.col = made;
      p.last_column.line = last_line;
      std::swap(p.last_column.doc, doc);
      return true;
    }
    prev_col = made;
    prev_last = last_line;
    comma_on_last = p.t.line == last_line;
    std::swap(prev_doc, doc);
    if (!expect(p, ','))
      return false;
  }
}

// INHERITS (a, b), at INHERITS: the parents' columns come first, in their
// order, a column of the table's own that has a parent's name at its place.
bool inherits(dparser& p, dtab& tab) {
  p.inherited_from.clear();
  if (!next(p) || !expect(p, '('))
    return false;
  std::vector<dcol> cols;
  std::vector<std::string> parts;
  std::vector<bool> taken(tab.cols.size());
  for (;;) {
    if (!qualified_name(p, parts))
      return false;
    uint32_t from = resolve_table(p, parts);
    if (from != NO_ID) {
      p.inherited_from.push_back(from);
      for (uint32_t pos : column_positions(p.cat.tabs[from])) {
        std::string_view parent = p.cat.tabs[from].cols[pos].name();
        if (std::any_of(cols.begin(), cols.end(), [&](const dcol& c) { return c.name() == parent; }))
          continue;
        uint32_t own = column_find(p.cat, tab, parent);
        if (own != NO_ID) {
          taken[own] = true;
          cols.push_back(tab.cols[own]);
        } else {
          dtab scratch;  // a record for the inherited column
          column_add(p.cat, scratch, parent, NO_TEXT);
          cols.push_back(scratch.cols[0]);
          cols.back().inherited = true;
        }
      }
    }
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  for (uint32_t i = 0; i < tab.cols.size(); i++)
    if (!taken[i] && !tab.cols[i].dropped)
      cols.push_back(tab.cols[i]);
  // Keys name the columns by name until the table is made: ids start over.
  for (uint32_t i = 0; i < cols.size(); i++)
    cols[i].id = i;
  tab.cols = std::move(cols);
  tab.live = tab.cols.size();
  tab.next_id = uint32_t(tab.cols.size());
  tab.index.map.reset();
  return expect(p, ')');
}

// What follows a CREATE TABLE's list up to the end of the statement.
bool table_options(dparser& p, dtab& tab) {
  for (;;) {
    if (p.dl.failed)
      return false;
    if (at_end(p))
      return true;
    kw k = dlex_kw(p.t);
    if (k == KW_INHERITS && p.rules.inheritance) {
      if (!inherits(p, tab))
        return false;
      continue;
    }
    if ((k == KW_ENGINE && p.rules.engines) || (k == KW_COMMENT && p.rules.comment_clauses)) {
      if (!next(p) || (at(p, '=') && !next(p)))
        return false;
      if (k == KW_ENGINE)
        tab.keys_kept = engine_keeps_keys(option_text(p));
      else if (p.t.kind == DTOKEN_STRING)
        tab.note = keep_note(p, p.t);
      if (!next(p))
        return false;
      continue;
    }
    if (k == KW_AS || ((k == KW_SELECT || k == KW_IGNORE || k == KW_REPLACE) && p.rules.query_after_items)) {
      if (!query_columns(p, tab))
        return false;
      continue;
    }
    if (at(p, '(')) {
      if (!skip_group(p))
        return false;
      continue;
    }
    if (at(p, ')'))
      return unexpected(p);
    if (!next(p))
      return false;
  }
}

// SQLite's own tables.
bool internal_table(const dparser& p, std::string_view name) {
  return p.rules.virtual_tables && ascii_istarts_with(name, "sqlite_");
}

}  // namespace

std::string option_text(dparser& p) {
  std::string out;
  if (p.t.kind == DTOKEN_STRING)
    dlex_string(p.t, out);
  else if (p.t.kind == DTOKEN_NAME)
    dlex_name(p.t, p.rules, out);
  else
    out.assign(p.t.raw);
  return out;
}

bool engine_keeps_keys(std::string_view engine) {
  return ascii_iequal(engine, "innodb") || ascii_iequal(engine, "ndb") || ascii_iequal(engine, "ndbcluster");
}

void copy_columns(dparser& p, dtab& tab, uint32_t from, bool notes, bool keys, std::vector<key_draft>& drafts) {
  const dtab& source = p.cat.tabs[from];
  for (uint32_t pos : column_positions(source)) {
    const dcol& c = source.cols[pos];
    if (column_find(p.cat, tab, c.name()) != NO_ID)
      continue;
    uint32_t made = column_add(p.cat, tab, c.name(), NO_TEXT);
    if (notes)
      tab.cols[made].c->note = c.c->note;
  }
  if (!keys)
    return;
  for (const dkey& k : source.keys) {
    if (k.kind != key_kind::primary && k.kind != key_kind::unique)
      continue;
    key_draft d;
    d.key.kind = k.kind;
    if (p.rules.naming == key_naming::mysql)
      d.key.name = k.name;  // MySQL's copy keeps its indexes' names
    for (uint32_t id : catalog_ids(p.cat, k.cols))
      if (uint32_t pos = column_by_id(source, id); pos != NO_ID)
        d.cols.emplace_back(source.cols[pos].name());
    drafts.push_back(std::move(d));
  }
}

void place_column(dparser& p, dtab& tab, uint32_t pos, const column_place& place) {
  if (place.first) {
    column_move(tab, pos, 0);
  } else if (!place.after.empty()) {
    uint32_t after = column_find(p.cat, tab, place.after);
    if (after != NO_ID && after != pos)
      column_move(tab, pos, after + 1);
  }
}

bool create_table(dparser& p, std::span<const dcomment> lead, size_t lead_line, bool replace, bool temp,
                  bool is_virtual) {
  std::vector<std::string> parts;
  if (!next(p) || !if_exists(p, true) || !qualified_name(p, parts))
    return false;
  table_ref ref = resolve_new(p, parts);
  // A temporary table is kept apart, where it hides the others of its name
  // until it is dropped; it is not shown.
  if (temp || ref.temp) {
    temp_space(p, ref.space, p.doc);
    ref.space = text_keep(p.s.texts, p.doc);
    p.cat.temps_made = true;
  }
  dtab tab;
  tab.temp = temp || ref.temp;
  tab.doc = keep_doc(p, lead, lead_line);
  // Of SQLite's databases, main alone is the file's: attached ones are others.
  bool other_db = p.rules.spaces == name_spaces::attached && !tab.temp && ref.space != "main";
  tab.shown = !tab.temp && !other_db && !is_virtual && !internal_table(p, ref.name);
  tab.is_virtual = is_virtual;
  tab.keys_kept = !p.rules.engines || p.default_engine_keeps_keys;
  std::vector<key_draft> drafts;
  p.inherited_from.clear();
  tab.cols.reserve(16);  // most tables have fewer; the room left is given back below
  if (is_virtual) {
    if (!skip(p, {}))
      return false;
  } else if (at(p, '(')) {
    if (!table_items(p, tab, drafts))
      return false;
  } else if (at(p, KW_PARTITION) && p.rules.inheritance) {
    if (!next(p) || !at(p, KW_OF))
      return unexpected(p, "OF");
    std::vector<std::string> parent;
    if (!next(p) || !qualified_name(p, parent))
      return false;
    tab.parent = resolve_table(p, parent);
    if (tab.parent != NO_ID)
      copy_columns(p, tab, tab.parent, false, false, drafts);
    for (dcol& col : tab.cols)
      col.inherited = true;  // a partition has no columns of its own
    if (at(p, '(') && !table_items(p, tab, drafts))
      return false;
  } else if (at(p, KW_LIKE) && p.rules.like == like_item::whole) {
    if (!like_clause(p, tab, drafts, ""))
      return false;
  } else if (at(p, KW_AS) || at(p, KW_SELECT)) {
    if (!query_columns(p, tab))
      return false;
  } else if (at(p, KW_OF) && p.rules.typed_tables) {
    // A typed table: the type's columns, then options for them and constraints.
    if (!next(p) || !is_name(p))
      return p.dl.failed ? false : unexpected(p, "name");
    std::vector<std::string> type;
    if (!qualified_name(p, type))
      return false;
    if (auto it = p.types.find(type.back()); it != p.types.end())
      for (const query_col& c : it->second)
        column_add(p.cat, tab, text_keep(p.s.texts, c.name), NO_TEXT);
    if (at(p, '(') && !table_items(p, tab, drafts))
      return false;
  } else {
    return unexpected(p, "(");
  }
  if (!table_options(p, tab))
    return false;
  if (p.refused) {
    p.refused = false;
    log_verbose(p.dl.lx, {"ignoring statement: the database refuses it: ", log_quote(ref.name)});
    return true;
  }
  tab.cols.shrink_to_fit();
  uint32_t partition_of = tab.parent;
  if (!catalog_add(p.cat, std::move(tab), ref.space, ref.name, replace)) {
    log_verbose(p.dl.lx, {"table exists: ", log_quote(ref.name)});
    return true;
  }
  uint32_t ti = uint32_t(p.cat.tabs.size() - 1);
  p.last_column.tab = ti;
  for (uint32_t parent : p.inherited_from)
    catalog_add_heir(p.cat, parent, ti, true);
  if (partition_of != NO_ID)
    catalog_add_heir(p.cat, partition_of, ti, false);
  add_keys(p, ti, drafts);
  return true;
}

std::vector<uint32_t> descendants(const dparser& p, uint32_t ti) {
  std::vector<uint32_t> out, todo{ti};
  std::vector<bool> seen;
  while (!todo.empty()) {
    auto it = p.cat.heirs.find(todo.back());
    uint32_t parent = todo.back();
    todo.pop_back();
    if (it == p.cat.heirs.end())
      continue;
    if (seen.empty())
      seen.resize(p.cat.tabs.size());
    for (const catalog::heir& h : it->second) {
      const dtab& c = p.cat.tabs[h.table];
      if (!c.alive || seen[h.table] || (!h.inherits && c.parent != parent))
        continue;
      seen[h.table] = true;
      out.push_back(h.table);
      todo.push_back(h.table);
    }
  }
  return out;
}

bool create_type(dparser& p) {
  // CREATE TYPE name AS (a int, b text): its columns, for CREATE TABLE ... OF.
  std::vector<std::string> parts;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  if (!at(p, KW_AS) || !next(p) || !at(p, '('))
    return p.dl.failed ? false : skip_statement(p, false);
  dtab fields;
  std::vector<key_draft> none;
  size_t last_line;
  if (!next(p))
    return false;
  while (!at(p, ')')) {
    if (column_definition(p, fields, none, nullptr, ",)", last_line) == NO_ID)
      return false;
    if (at(p, ',') && !next(p))
      return false;
    if (p.t.kind == DTOKEN_END)
      return unexpected(p, ")");
  }
  std::vector<query_col>& cols = p.types[parts.back()];
  cols.clear();
  for (uint32_t pos : column_positions(fields))
    cols.push_back({std::string(fields.cols[pos].name()), NO_TEXT});
  return next(p) && rest_of_statement(p);
}

void index_key(dparser& p, uint32_t ti, std::string_view name) {
  p.key = std::to_string(ti);
  p.key += '\x1f';
  p.key += name;
}

namespace {

// CREATE [UNIQUE] INDEX [CONCURRENTLY] [IF NOT EXISTS] [name] ON [ONLY] t
// [USING method] (columns): its columns, for a key made of it later.
bool create_index(dparser& p) {
  if (at(p, KW_UNIQUE) && !next(p))
    return false;
  if (!next(p))
    return false;
  if (at_word(p, "concurrently") && !next_is(p, KW_ON) && !next(p))
    return false;
  if (!if_exists(p, true))
    return false;
  std::string name;
  if (!at(p, KW_ON) && is_name(p)) {
    std::vector<std::string> parts;
    if (!qualified_name(p, parts))
      return false;
    name = parts.back();
  }
  if (!at(p, KW_ON) || name.empty())
    return p.dl.failed ? false : skip_statement(p, false);
  std::vector<std::string> table;
  if (!next(p) || (at(p, KW_ONLY) && !next(p)) || !qualified_name(p, table))
    return false;
  uint32_t ti = resolve_table(p, table);
  if (at(p, KW_USING) && (!next(p) || !next(p)))
    return false;
  if (ti == NO_ID || !at(p, '('))
    return p.dl.failed ? false : skip_statement(p, false);
  std::vector<std::string> cols;
  if (!next(p))
    return false;
  for (;;) {
    bool plain = is_name(p) && !next_is(p, '(');  // a column, not a function's call
    if (plain)
      name_of(p);
    cols.push_back(plain ? p.word : std::string());
    if (!skip(p, {.punct = ",)"}))
      return false;
    if (at(p, ')') || p.t.kind == DTOKEN_END)
      break;
    if (!next(p))
      return false;
  }
  index_key(p, ti, name);
  p.indexes[p.key] = std::move(cols);
  return skip_statement(p, false);
}

// CREATE VIEW v [(names)] [WITH (...)] AS query: its columns, as a row type
// that LIKE may take.
bool create_view(dparser& p) {
  std::vector<std::string> parts, names;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  if (at(p, '(') && !column_list(p, names))
    return false;
  static constexpr kw as[] = {KW_AS};
  if (!skip(p, {.words = as}) || !at(p, KW_AS))
    return p.dl.failed ? false : skip_statement(p, false);
  std::vector<query_col> cols;
  if (!next(p) || !query_output(p, cols))
    return false;
  for (size_t k = 0; k < names.size() && k < cols.size(); k++)
    cols[k].name = names[k];
  p.types[parts.back()] = std::move(cols);
  return skip_statement(p, false);
}

}  // namespace

bool create_statement(dparser& p, std::span<const dcomment> lead) {
  size_t lead_line = p.t.line;
  if (!next(p))
    return false;
  bool replace = false, temp = false, is_virtual = false;
  if (at(p, KW_OR)) {
    if (!next(p))
      return false;
    replace = at(p, KW_REPLACE);
    if (replace && !next(p))
      return false;
  }
  for (;; next(p)) {
    if (at(p, KW_TEMP) || at(p, KW_TEMPORARY))
      temp = true;
    else if (at(p, KW_VIRTUAL) && p.rules.virtual_tables)
      is_virtual = true;
    else if (!(at(p, KW_GLOBAL) || at(p, KW_LOCAL) || at(p, KW_UNLOGGED)))
      break;
  }
  if (p.dl.failed)
    return false;
  if (at(p, KW_TABLE))
    return create_table(p, lead, lead_line, replace, temp, is_virtual);
  if (at(p, KW_SCHEMA) && p.rules.spaces == name_spaces::search_path)
    return create_schema(p);
  if (at(p, KW_TYPE) && p.rules.typed_tables)
    return create_type(p);
  if (p.rules.keys_using_index && (at(p, KW_INDEX) || (at(p, KW_UNIQUE) && next_is(p, KW_INDEX))))
    return create_index(p);
  if (p.rules.typed_tables && at(p, KW_VIEW))
    return create_view(p);
  log_verbose(p.dl.lx, {"ignoring statement: CREATE ", log_quote(p.t.raw)});
  return skip_statement(p, true);
}
