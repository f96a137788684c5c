// The statement parser: CREATE TABLE statements become tables, columns and
// foreign-key references; every other statement is passed over up to its ";".
// One forward pass over the tokens; no token is ever put back.
#include <algorithm>
#include <cstring>
#include <err.h>
#include <map>
#include <string_view>

#include "reader/fkey.h"
#include "reader/lex.h"
#include "reader/log.h"
#include "reader/schema.h"

namespace {

// How a statement ended.
enum class ended {
  at_semicolon,  // complete, or skipped up to its ";"
  at_eof,        // a skip ran into the end of the input
  failed,        // a syntax error, already reported
};

// Where the column list goes after an item body or a clause.
enum class next {
  item,      // "," at depth 1: another item follows
  list_end,  // to the list end check, with the current token
  failed,
};

// The state of one CREATE TABLE statement.
struct statement {
  explicit statement(parser& parse) : p(parse) {}
  parser& p;
  token t;
  table* tab = nullptr;
  // The table's columns by name, built on the first FOREIGN KEY clause of the
  // table and kept up to date after it; the earliest created of equal names.
  std::map<std::string_view, column*> by_name;
  bool by_name_built = false;
};

// A keyword test: never an empty token; `word_only` also refuses quoted ones.
bool matches(const token& t, const char* keyword, bool word_only = false) {
  return t.len > 0 && (!word_only || t.type == TOKEN_WORD) && lex_keyword(t, keyword);
}

// A copy of the token's text, cut at its first NUL as a C string copy is.
std::string text_copy(const token& t) { return std::string(lex_cstr(t.text())); }

// The same copy, kept in one of the parser's text stores for the model.
std::string_view keep_token(text_store& store, const token& t) { return text_keep(store, lex_cstr(t.text())); }

std::optional<std::string_view> keep_doc(parser& p, const std::optional<std::string>& doc) {
  if (!doc)
    return std::nullopt;
  return text_keep(p.texts, *doc);
}

// Reads the next token that is not a comment; 0 at the end of the input,
// which lex_next has reported.
int read_token(token& t, parser& p) {
  do {
    if (!lex_next(t, p, 0))
      return 0;
  } while (t.type == TOKEN_COMMENT);
  return 1;
}

// Passes over a statement up to its ";". The token that led here may be that
// ";" itself (an empty statement, or "CREATE;"), and then the skip is over.
ended skip(token& t, parser& p) {
  if (matches(t, ";"))
    return ended::at_semicolon;
  while (read_token(t, p))
    if (matches(t, ";"))
      return ended::at_semicolon;
  return ended::at_eof;
}

column* add_column(statement& s, const std::optional<std::string>& doc) {
  column* c = &s.p.column_store.make();
  c->name = keep_token(s.p.texts, s.t);
  c->comment = keep_doc(s.p, doc);
  c->parent = s.tab;
  c->idx = s.tab->ncols++;
  s.p.columns.push_back(c);
  if (s.by_name_built)
    s.by_name.emplace(c->name, c);  // keeps an earlier column of the same name
  log_verbose(s.p, "added column: %s.%s", s.tab->name.data(), c->name.data());
  return c;
}

// The first column in name order whose name begins with the token's text,
// compared over the token's length as strncmp does: a NUL in the token ends
// the comparison there, so the name must then end at that NUL.
column* find_column_prefix(statement& s) {
  if (!s.by_name_built) {
    for (size_t i = s.p.columns.size() - s.tab->ncols; i < s.p.columns.size(); i++)
      s.by_name.emplace(s.p.columns[i]->name, s.p.columns[i]);
    s.by_name_built = true;
  }
  std::string_view text = s.t.text();
  std::string_view cut = lex_cstr(text);
  auto it = s.by_name.lower_bound(cut);
  if (it == s.by_name.end())
    return nullptr;
  if (cut.size() < text.size())
    return it->first == cut ? it->second : nullptr;
  return it->first.starts_with(cut) ? it->second : nullptr;
}

next item_body(statement& s, column* current);

// REFERENCES table ( column ), read after the keyword; `source` declares it.
next references_clause(statement& s, column* source) {
  parser& p = s.p;
  if (!read_token(s.t, p))
    return next::list_end;
  p.refs.push_back(reference{source, text_copy(s.t), std::nullopt});
  if (!read_token(s.t, p))
    return next::list_end;
  if (!matches(s.t, "(", true)) {
    lex_unexpected(s.p, s.t, "(");
    return next::list_end;
  }
  if (!read_token(s.t, p))
    return next::list_end;
  reference& ref = p.refs.back();
  ref.cname = text_copy(s.t);
  log_verbose(p, "added reference to %s.%s: %s.%s", s.tab->name.data(), source->name.data(), ref.tname->c_str(),
              ref.cname->c_str());
  if (!read_token(s.t, p))
    return next::list_end;
  if (!matches(s.t, ")", true)) {
    lex_unexpected(s.p, s.t, ")");
    return next::list_end;
  }
  return next::item;  // the item body goes on at its depth
}

// Reads one token and requires the word `keyword`; false goes to the list end.
bool clause_word(statement& s, const char* keyword) {
  if (!read_token(s.t, s.p))
    return false;
  if (matches(s.t, keyword, true))
    return true;
  lex_unexpected(s.p, s.t, keyword);
  return false;
}

// FOREIGN KEY ( column ) REFERENCES table ( column ) ..., read after FOREIGN.
next foreign_key_clause(statement& s) {
  parser& p = s.p;
  if (!clause_word(s, "key") || !clause_word(s, "("))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  reference* ref = nullptr;
  if (column* source = find_column_prefix(s)) {
    p.refs.push_back(reference{source, std::nullopt, std::nullopt});
    ref = &p.refs.back();
  } else {
    std::string_view text = lex_cstr(s.t.text());
    log_at(p, "cannot find column: %.*s", int(text.size()), text.data());
  }
  if (!clause_word(s, ")") || !clause_word(s, "references"))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  if (ref)
    ref->tname = text_copy(s.t);
  if (!clause_word(s, "("))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  if (ref) {
    ref->cname = text_copy(s.t);
    log_verbose(p, "added foreign key to %s.%s: %s.%s", s.tab->name.data(), ref->source->name.data(),
                ref->tname->c_str(), ref->cname->c_str());
  }
  if (!lex_expect(s.t, p, ")"))
    return next::list_end;
  // ON DELETE actions and the like are passed over up to the item's end.
  return item_body(s, nullptr);
}

// Everything up to the "," or ")" that ends the item, counting parentheses.
next item_body(statement& s, column* current) {
  size_t depth = 1;
  for (;;) {
    if (!read_token(s.t, s.p))
      return next::failed;
    if (s.t.len == 0)
      continue;
    if (current && matches(s.t, "references")) {
      next n = references_clause(s, current);
      if (n != next::item)
        return n;
    } else if (matches(s.t, "(")) {
      depth++;
    } else if (depth == 1 && matches(s.t, ",")) {
      return next::item;
    } else if (matches(s.t, ")")) {
      if (--depth == 0)
        return next::list_end;
    }
  }
}

// The items between "(" and ")". true with the current token at the list end
// check; false after a failure.
bool column_list(statement& s) {
  for (;;) {
    std::optional<std::string> doc;
    if (!lex_comment(s.t, s.p, 0, doc))
      return false;
    next n;
    if (matches(s.t, "unique") || matches(s.t, "foreign")) {
      // A table constraint: its comments document nothing.
      n = matches(s.t, "foreign") ? foreign_key_clause(s) : item_body(s, nullptr);
    } else {
      n = item_body(s, add_column(s, doc));
    }
    if (n == next::failed)
      return false;
    if (n == next::list_end)
      return true;
  }
}

// Equal names keep their declaration order, as if each column had been
// inserted by name after its equals.
void sort_columns(std::span<column*> cols) {
  std::stable_sort(cols.begin(), cols.end(), [](const column* a, const column* b) { return a->name < b->name; });
}

// The rest of a CREATE statement, after the CREATE token.
ended create_statement(parser& p, std::optional<std::string>& doc) {
  statement s(p);
  token& t = s.t;
  if (!read_token(t, p))
    return ended::failed;
  int flags = 0;
  if (matches(t, "temp") || matches(t, "temporary")) {
    flags = TABLE_TEMP;
    if (!read_token(t, p))
      return ended::failed;
  }
  if (!matches(t, "table")) {
    log_at(p, "ignoring non-table creation");
    return skip(t, p);
  }
  if (!read_token(t, p))
    return ended::failed;
  if (matches(t, "if")) {
    if (!read_token(t, p) || !matches(t, "not", true))
      return ended::failed;
    if (!read_token(t, p) || !matches(t, "exists", true))
      return ended::failed;
    if (!read_token(t, p))
      return ended::failed;
    flags |= TABLE_IFNOTEXISTS;
  }

  // From here on the statement completes or the parse fails.
  table* tab = &p.table_store.make();
  tab->name = keep_token(p.table_names, t);
  tab->comment = keep_doc(p, doc);
  tab->flags = flags;
  tab->idx = p.ntables++;
  s.tab = tab;
  p.tables.push_back(tab);
  log_verbose(p, "added table: %s", s.tab->name.data());

  if (!read_token(t, p))
    return ended::failed;
  if (!matches(t, "(", true)) {
    log_at(p, "syntax error leading columns");
    return ended::failed;
  }
  if (!column_list(s))
    return ended::failed;
  // A clause may have stopped at a ")" of its own: the list ends there too.
  if (!matches(t, ")")) {
    log_at(p, "syntax error trailing columns");
    return ended::failed;
  }
  if (!read_token(t, p))
    return ended::failed;
  if (t.len == 0) {
    log_at(p, "syntax error at end of table statement");
    return ended::failed;
  }
  if (matches(t, "without")) {
    int r = lex_match(t, p, "rowid");
    if (r < 0)
      return ended::failed;
    if (r == 0) {
      log_at(p, "syntax error leading columns");
      return ended::failed;
    }
    if (!read_token(t, p))
      return ended::failed;
    if (t.len == 0) {
      log_at(p, "syntax error at end of table statement");
      return ended::failed;
    }
  }
  if (!matches(t, ";")) {
    log_at(p, "syntax error at end of table statement");
    return ended::failed;
  }
  // Sorted now, while they are fresh in the cache.
  sort_columns(std::span(p.columns).last(s.tab->ncols));
  return ended::at_semicolon;
}

// Equal names keep their creation order, as if each had been inserted after
// its equals.
// Gives each table its columns, and puts the tables in name order as if each
// had been inserted by name when it was created; equal names keep their
// creation order. Returns the tables in that order with their names. The
// columns of each complete statement are in name order already.
std::vector<named_table> order_model(parser& p) {
  // Tables were created, and their columns listed, in the same order; until
  // they are sorted below, `tables` holds them in that order.
  size_t first = 0;
  for (table* tab : p.tables) {
    tab->cols = std::span(p.columns).subspan(first, tab->ncols);
    first += tab->ncols;
  }
  std::vector<named_table> index;
  index.reserve(p.tables.size());
  for (table* tab : p.tables)
    index.push_back({tab->name, tab});
  std::stable_sort(index.begin(), index.end(),
                   [](const named_table& a, const named_table& b) { return a.name < b.name; });
  for (size_t i = 0; i < index.size(); i++)
    p.tables[i] = index[i].tab;
  return index;
}

// The input is complete: order the model and bind the foreign keys.
int finish(parser& p) {
  parse_fkeys(p, order_model(p));
  p.buf = nullptr;
  return 1;
}

// The model keeps what was read, but no foreign key is bound.
int fail(parser& p) {
  table* last = p.tables.empty() ? nullptr : p.tables.back();  // the statement that failed
  order_model(p);
  if (last)
    sort_columns(last->cols);
  p.buf = nullptr;
  return 0;
}

}  // namespace

int parse_buf(const char* fname, const char* data, size_t size, parser& p) {
  if (size == 0) {
    warnx("%s: empty file", fname);
    return 0;
  }
  parser_free(p);
  p.buf = data;
  p.pos = p.line = p.column = p.ntables = 0;
  p.len = size;
  p.fname = fname;

  for (;;) {
    token t;
    std::optional<std::string> doc;  // the statement's docstring
    if (!lex_comment(t, p, 1, doc))
      return finish(p);
    ended e;
    if (!matches(t, "create")) {
      log_verbose(p, "ignoring top-level statement");
      e = skip(t, p);
    } else {
      e = create_statement(p, doc);
    }
    if (e == ended::failed)
      return fail(p);
    if (p.pos >= p.len)
      return e == ended::at_semicolon ? finish(p) : fail(p);
  }
}
