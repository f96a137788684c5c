// The columns that a query makes, for CREATE TABLE ... AS, SELECT ... INTO
// and PREPARE: named by their aliases or the columns they take, or as the
// database names an expression's column; "*" is the columns of the tables
// after FROM.
#include <algorithm>
#include <span>
#include <optional>

#include "reader/chars.h"
#include "reader/dialect_grammar.h"

namespace {

// The words that end an item of a query's list at depth 0.
constexpr kw query_clauses[] = {KW_FROM,  KW_WHERE, KW_GROUP,  KW_ORDER, KW_LIMIT,
                                KW_UNION, KW_INTO,  KW_HAVING, KW_WINDOW};

// An item of a query's list, as read.
struct query_item {
  std::string name;    // its column's name; for a star, the table it is of ("" for all)
  std::string source;  // the column it takes, where it is a column's reference
  bool star = false;
};

// The words that may follow a table of FROM where they are no alias.
constexpr std::string_view join_words[] = {
    "left", "right", "inner", "outer", "full", "cross", "natural", "straight_join",
    "offset", "fetch", "except", "intersect", "tablesample", "force", "returning"};

bool item_ends(dparser& p) {
  return at(p, ',') || at(p, ')') || rules_have(query_clauses, dlex_kw(p.t)) || at_end(p);
}

// A bare alias after an expression: a name that no clause begins with.
bool alias_of(dparser& p, query_item& item) {
  bool as = at(p, KW_AS);
  if (as && !next(p))
    return false;
  if ((as && is_name(p)) || (!as && is_name(p) && !rules_have(query_clauses, dlex_kw(p.t)))) {
    name_of(p);
    item.name = p.word;
    if (!next(p))
      return false;
  }
  return true;
}

// One item, up to the "," or clause that ends it.
bool read_item(dparser& p, query_item& item) {
  item = {};
  if (p.rules.query_names == query_naming::by_expression) {
    if (!expression_name(p, item.name, item.star, item.source))
      return false;
    if (!item.star && !alias_of(p, item))
      return false;
    // Whatever is left of an item not understood is passed over.
    return skip(p, {.punct = ",)", .words = query_clauses});
  }
  const char* start = p.t.raw.data();
  size_t count = 0;   // tokens at depth 0, a parenthesised group counting as one
  bool chain = true;  // name(.name)*: a column's reference
  std::string last, first_word, before_last;
  bool last_is_name = false, alias = false;
  std::optional<std::string> string_value;  // the item is a string alone
  while (!p.dl.failed && !item_ends(p)) {
    if (at(p, '(')) {
      if (!skip_group(p))
        return false;
      chain = last_is_name = false;
      count++;
      continue;
    }
    bool word = (p.t.kind == DTOKEN_WORD || p.t.kind == DTOKEN_NAME) && !at(p, KW_AS) && !is_digit(p.t.raw[0]);
    if (count == 0 && p.t.kind == DTOKEN_STRING && p.rules.query_names_strings) {
      string_value.emplace();
      dlex_string(p.t, *string_value);
    }
    item.star = at(p, '*') && (count == 0 || (chain && count % 2 == 0));
    if (item.star)
      item.name = count >= 2 ? last : "";
    if (word) {
      name_of(p);
      if (chain)
        before_last = last;
      last = p.word;
      if (count == 0)
        first_word = p.word;
      chain = chain && count % 2 == 0;
    } else if (at(p, '.')) {
      chain = chain && count % 2 == 1;
    } else {
      chain = false;
      alias |= at(p, KW_AS);
    }
    last_is_name = word;
    count++;
    if (!next(p))
      return false;
  }
  if (item.star)
    return true;
  if (chain && last_is_name) {
    item.name = item.source = last;
  } else if (last_is_name && (alias || count > 1)) {
    item.name = last;  // an alias
    if (alias && count == 3)
      item.source = first_word;  // c AS x
  } else if (count == 1 && string_value) {
    item.name = *string_value;  // MySQL names a string's column by its text
  } else if (count > 0 && start) {
    // The expression as written, as MySQL and SQLite name its column.
    const char* end = p.t.kind == DTOKEN_END ? p.dl.lx.buf + p.dl.lx.len : p.t.raw.data();
    item.name = trim(std::string_view(start, end - start));
  }
  return true;
}

// The columns a table gives a query.
void table_columns(dparser& p, uint32_t ti, std::vector<query_col>& cols) {
  const dtab& tab = p.cat.tabs[ti];
  for (uint32_t pos : column_positions(tab))
    cols.push_back({std::string(tab.cols[pos].name()), tab.cols[pos].c->note});
}

// A table of FROM: the name it is called by in the query (its alias, or
// its own name), and its columns.
struct from_table {
  std::string called;
  std::vector<query_col> cols;
};

// What FROM gives a query: each of its tables, for "t.*", and the columns
// of "*", with the columns that joins join on given once.
struct from_list {
  std::vector<from_table> tables;
  std::vector<query_col> all;
};

bool has_name(const std::vector<query_col>& cols, std::string_view name) {
  return std::any_of(cols.begin(), cols.end(), [&](const query_col& c) { return c.name == name; });
}

// The columns of `left` joined to `right` on `on` (by name), as "*" has them.
std::vector<query_col> join_using(const dparser& p, std::vector<query_col>& left, const std::vector<query_col>& right,
                                  const std::vector<std::string>& on) {
  std::vector<query_col> out;
  auto joined = [&](const query_col& c) { return std::find(on.begin(), on.end(), c.name) != on.end(); };
  if (p.rules.using_columns == using_place::first)
    for (const std::string& n : on)
      for (const query_col& c : left)
        if (c.name == n) {
          out.push_back(c);
          break;
        }
  for (const query_col& c : left)
    if (p.rules.using_columns == using_place::in_place || !joined(c))
      out.push_back(c);
  for (const query_col& c : right)
    if (!joined(c))
      out.push_back(c);
  return out;
}

// One table of FROM: a table's name, or a parenthesised query, with its
// alias; into `t`.
bool from_item(dparser& p, from_table& t) {
  std::vector<std::string> parts;
  static constexpr std::string_view lateral[] = {"lateral", "only"};
  while (at_word(p, lateral))
    if (!next(p))
      return false;
  if (at(p, '(')) {
    if (!next(p))
      return false;
    if (at(p, KW_SELECT) || at(p, KW_WITH) || at(p, KW_VALUES) || at(p, KW_TABLE)) {
      if (!query_output(p, t.cols))
        return false;
    }
    if (!skip(p, {.punct = ")"}) || !expect(p, ')'))
      return false;
  } else if (is_name(p)) {
    if (!qualified_name(p, parts))
      return false;
    t.called = parts.back();
    if (at(p, '(')) {
      if (!skip_group(p))  // a function's rows
        return false;
    } else if (uint32_t ti = resolve_table(p, parts); ti != NO_ID) {
      table_columns(p, ti, t.cols);
    }
  } else {
    return true;
  }
  if (at(p, KW_AS) && !next(p))
    return false;
  if ((p.t.kind == DTOKEN_WORD && dlex_kw(p.t) == KW_NONE && !at_word(p, join_words)) ||
      p.t.kind == DTOKEN_NAME) {
    name_of(p);
    t.called = p.word;
    if (!next(p))
      return false;
    if (at(p, '(')) {
      // Names for its columns: t(a, b).
      std::vector<std::string> names;
      if (!column_list(p, names))
        return false;
      for (size_t k = 0; k < names.size() && k < t.cols.size(); k++)
        t.cols[k].name = names[k];
    }
  }
  return true;
}

// FROM's tables, after FROM: each "," begins one, each JOIN joins one to
// what stands before it.
bool read_from(dparser& p, from_list& from) {
  std::vector<query_col> chain;  // the columns of the tables joined so far
  bool natural = false;
  for (;;) {
    from_table t;
    if (!from_item(p, t))
      return false;
    std::vector<std::string> on;
    if (at(p, KW_USING) && next_is(p, '(')) {
      if (!next(p) || !column_list(p, on))
        return false;
    } else if (natural) {
      for (const query_col& c : t.cols)
        if (has_name(chain, c.name))
          on.push_back(c.name);
    }
    chain = from.tables.empty() || chain.empty() ? t.cols : join_using(p, chain, t.cols, on);
    from.tables.push_back(std::move(t));
    // ON ..., and the words up to the next JOIN or ",".
    natural = false;
    while (!p.dl.failed && !at_end(p) && !at(p, ')') && !at(p, ',') && !at(p, KW_JOIN) &&
           !(rules_have(query_clauses, dlex_kw(p.t)) && !at(p, KW_FROM))) {
      natural |= at_word(p, "natural");
      if (at(p, '(') ? !skip_group(p) : !next(p))
        return false;
    }
    if (at(p, KW_JOIN)) {
      if (!next(p))
        return false;
      continue;
    }
    from.all.insert(from.all.end(), chain.begin(), chain.end());
    chain.clear();
    if (!at(p, ','))
      return !p.dl.failed;
    if (!next(p))
      return false;
  }
}

// SELECT items [INTO t] [FROM tables] ...
bool select_output(dparser& p, std::vector<query_col>& cols, std::vector<std::string>* into) {
  if (!next(p) || ((at(p, KW_DISTINCT) || at(p, KW_ALL)) && !next(p)))
    return false;
  std::vector<query_item> items;
  for (;;) {
    items.emplace_back();
    if (!read_item(p, items.back()))
      return false;
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  if (at(p, KW_INTO)) {
    if (!next(p))
      return false;
    while (at(p, KW_TEMP) || at(p, KW_TEMPORARY) || at(p, KW_UNLOGGED) || at(p, KW_TABLE))
      if (!next(p))
        return false;
    std::vector<std::string> target;
    if (!qualified_name(p, target))
      return false;
    if (into)
      *into = std::move(target);
  }
  from_list from;
  if (at(p, KW_FROM) && (!next(p) || !read_from(p, from)))
    return false;
  for (const query_item& item : items) {
    if (item.star) {
      if (item.name.empty())
        cols.insert(cols.end(), from.all.begin(), from.all.end());
      for (const from_table& f : from.tables)
        if (!item.name.empty() && f.called == item.name)
          cols.insert(cols.end(), f.cols.begin(), f.cols.end());
      continue;
    }
    if (item.name.empty())
      continue;
    query_col col{item.name, NO_TEXT};
    if (!item.source.empty())
      for (const from_table& f : from.tables)
        for (const query_col& c : f.cols)
          if (c.name == item.source && !col.note)
            col.note = c.note;
    cols.push_back(std::move(col));
  }
  return true;
}

// VALUES (a, b), ...: column1, column2, ... for the first row's values.
bool values_output(dparser& p, std::vector<query_col>& cols) {
  if (!next(p) || !at(p, '(') || !next(p))
    return !p.dl.failed;
  for (size_t n = 1;; n++) {
    if (!skip(p, {.punct = ",)"}))
      return false;
    cols.push_back({"column" + std::to_string(n), NO_TEXT});
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  return expect(p, ')');
}

}  // namespace

bool query_output(dparser& p, std::vector<query_col>& cols, std::vector<std::string>* into) {
  int open = 0;
  for (; at(p, '('); open++)
    if (!next(p))
      return false;
  if (at(p, KW_WITH)) {
    // The common table expressions, passed over up to the query they serve.
    static constexpr kw select[] = {KW_SELECT};
    if (!next(p) || !skip(p, {.words = select}))
      return false;
  }
  bool ok = true;
  std::vector<std::string> parts;
  if (at(p, KW_SELECT)) {
    ok = select_output(p, cols, into);
  } else if (at(p, KW_VALUES)) {
    ok = values_output(p, cols);
  } else if (at(p, KW_TABLE)) {
    ok = next(p) && qualified_name(p, parts);
    if (ok)
      if (uint32_t ti = resolve_table(p, parts); ti != NO_ID)
        table_columns(p, ti, cols);
  } else if (at(p, KW_EXECUTE)) {
    ok = next(p) && is_name(p);
    if (ok) {
      name_of(p);
      if (auto it = p.prepared.find(p.word); it != p.prepared.end())
        cols = it->second;
    }
  }
  // The rest of the query (UNION, ORDER BY, ...), up to what opened it.
  if (!ok || !skip(p, {.punct = ")"}))
    return false;
  for (; open > 0 && at(p, ')'); open--)
    if (!next(p) || !skip(p, {.punct = ")"}))
      return false;
  return true;
}

bool query_columns(dparser& p, dtab& tab) {
  bool named = tab.live > 0 && !p.rules.query_after_items;
  if ((at(p, KW_IGNORE) || at(p, KW_REPLACE)) && !next(p))
    return false;
  if (at(p, KW_AS) && !next(p))
    return false;
  std::vector<query_col> cols;
  if (!query_output(p, cols))
    return false;
  std::vector<uint32_t> made;  // the ids of the query's columns
  for (size_t i = named ? tab.live : 0; i < cols.size(); i++) {
    const query_col& c = cols[i];
    // A name of the text as written ends at a NUL byte, as every name does.
    std::string_view name = std::string_view(c.name).substr(0, c.name.find('\0'));
    uint32_t pos = column_find(p.cat, tab, name);
    if (pos != NO_ID && std::find(made.begin(), made.end(), tab.cols[pos].id) != made.end()) {
      // A name the query has given already.
      if (p.rules.query_duplicates == duplicate_names::refused) {
        p.refused = true;
        return true;
      }
      // Numbered as SQLite numbers it: a number it ends with is taken off first.
      std::string first(name);
      size_t digits = first.find_last_not_of("0123456789");
      if (digits != std::string::npos && digits > 0 && digits + 1 < first.size() && first[digits] == ':')
        first.resize(digits);
      for (unsigned n = 1; pos != NO_ID; n++) {
        p.word = first + ":" + std::to_string(n);
        pos = column_find(p.cat, tab, p.word);
      }
      name = p.word;
    }
    if (pos == NO_ID) {
      pos = column_add(p.cat, tab, text_keep(p.s.texts, name), NO_TEXT);
    } else if (p.rules.query_after_items) {
      column_move(tab, pos, uint32_t(tab.cols.size()));  // a definition goes to the query's column
      pos = uint32_t(tab.cols.size() - 1);
    }
    if (p.rules.query_keeps_comments && c.note && !tab.cols[pos].c->note)
      tab.cols[pos].c->note = c.note;
    made.push_back(tab.cols[pos].id);
  }
  return true;
}

bool prepare_statement(dparser& p) {
  // PREPARE name [(types)] AS query: its columns, for EXECUTE.
  if (!next(p) || !is_name(p))
    return p.dl.failed ? false : rest_of_statement(p);
  name_of(p);
  std::string name = p.word;
  if (!next(p) || (at(p, '(') && !skip_group(p)))
    return false;
  if (!at(p, KW_AS))
    return rest_of_statement(p);
  std::vector<query_col> cols;
  if (!next(p) || !query_output(p, cols))
    return false;
  p.prepared[name] = std::move(cols);
  return rest_of_statement(p);
}
