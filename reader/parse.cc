// The statement parser of the loose grammar: CREATE TABLE statements become
// tables, columns and foreign-key references; every other statement is
// passed over up to its ";". One forward pass over the tokens; no token is
// ever put back.
#include <map>
#include <string_view>

#include "reader/parse.h"

#include "reader/fkey.h"
#include "reader/lex.h"
#include "reader/model.h"
#include "reader/names.h"

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

// The parse context: the tokenizer over the input and the model it fills.
struct parser {
  lexer lex;
  schema& model;
};

// The state of one CREATE TABLE statement.
struct statement {
  explicit statement(parser& parse) : p(parse) {}
  parser& p;
  token t;
  table* tab = nullptr;
  // The table's columns by name, built on the first FOREIGN KEY clause of the
  // table and kept up to date after it; the earliest created of equal names.
  std::map<std::string_view, column*, name_order> by_name;
  bool by_name_built = false;
};

// A keyword test: never an empty token; `word_only` also refuses quoted ones.
bool matches(const token& t, const char* keyword, bool word_only = false) {
  return t.len > 0 && (!word_only || t.type == TOKEN_WORD) && lex_keyword(t, keyword);
}

// A copy of the token's text for the model, cut at its first NUL as a C
// string copy is.
std::string_view keep_token(text_store& store, const token& t) { return text_keep(store, lex_cstr(t.text())); }

// Where lex_comment keeps docstrings: nowhere when the model wants none.
text_store* docstrings(schema& s) { return s.docstrings ? &s.texts : nullptr; }

// Reads the next token that is not a comment; false at the end of the
// input, which lex_next has reported.
bool read_token(token& t, parser& p) { return lex_token(t, p.lex); }

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

column* add_column(statement& s, std::optional<std::string_view> doc) {
  column* c = &model_add_column(s.p.model, *s.tab, lex_cstr(s.t.text()), doc);
  if (s.by_name_built)
    s.by_name.emplace(c->name, c);  // keeps an earlier column of the same name
  log_verbose(s.p.lex, {"added column: ", log_quote(s.tab->name), ".", log_quote(c->name)});
  return c;
}

// The first column in name order whose name begins with the token's text,
// compared over the token's length as strncmp does: a NUL in the token ends
// the comparison there, so the name must then end at that NUL.
column* find_column_prefix(statement& s) {
  if (!s.by_name_built) {
    const std::vector<column*>& columns = s.p.model.columns;
    for (size_t i = columns.size() - s.tab->ncols; i < columns.size(); i++)
      s.by_name.emplace(columns[i]->name, columns[i]);
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
  std::vector<reference>& refs = p.model.refs;
  if (!read_token(s.t, p))
    return next::list_end;
  size_t ref = refs.size();
  refs.push_back(reference{source, keep_token(p.model.texts, s.t), std::nullopt});
  if (!read_token(s.t, p))
    return next::list_end;
  if (!matches(s.t, "(", true)) {
    lex_unexpected(p.lex, s.t, "(");
    return next::list_end;
  }
  if (!read_token(s.t, p))
    return next::list_end;
  refs[ref].cname = keep_token(p.model.texts, s.t);
  log_verbose(p.lex, {"added reference to ", log_quote(s.tab->name), ".", log_quote(source->name), ": ",
                      log_quote(*refs[ref].tname), ".", log_quote(*refs[ref].cname)});
  if (!read_token(s.t, p))
    return next::list_end;
  if (!matches(s.t, ")", true)) {
    lex_unexpected(p.lex, s.t, ")");
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
  lex_unexpected(s.p.lex, s.t, keyword);
  return false;
}

// FOREIGN KEY ( column ) REFERENCES table ( column ) ..., read after FOREIGN.
next foreign_key_clause(statement& s) {
  parser& p = s.p;
  std::vector<reference>& refs = p.model.refs;
  if (!clause_word(s, "key") || !clause_word(s, "("))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  std::optional<size_t> ref;  // its place in refs, when the column was found
  if (column* source = find_column_prefix(s)) {
    ref = refs.size();
    refs.push_back(reference{source, std::nullopt, std::nullopt});
  } else {
    log_at(p.lex, {"cannot find column: ", log_quote(lex_cstr(s.t.text()))});
  }
  if (!clause_word(s, ")") || !clause_word(s, "references"))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  if (ref)
    refs[*ref].tname = keep_token(p.model.texts, s.t);
  if (!clause_word(s, "("))
    return next::list_end;
  if (!read_token(s.t, p))
    return next::list_end;
  if (ref) {
    reference& r = refs[*ref];
    r.cname = keep_token(p.model.texts, s.t);
    log_verbose(p.lex, {"added foreign key to ", log_quote(s.tab->name), ".", log_quote(r.source->name), ": ", log_quote(*r.tname), ".", log_quote(*r.cname)});
  }
  if (!lex_expect(s.t, p.lex, ")"))
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
    std::optional<std::string_view> doc;
    if (!lex_comment(s.t, s.p.lex, false, docstrings(s.p.model), doc))
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

// Reports a syntax error of a table statement, which fails the parse.
ended syntax_error(parser& p, const char* what) {
  log_at(p.lex, {what});
  return ended::failed;
}

// After the column list and an optional WITHOUT ROWID: the token that must
// be the statement's ";".
ended statement_end(parser& p, const token& t) {
  if (t.len == 0 || !matches(t, ";"))
    return syntax_error(p, "syntax error at end of table statement");
  return ended::at_semicolon;
}

// CREATE [TEMP|TEMPORARY] TABLE [IF NOT EXISTS], read after the CREATE token.
// Nothing when it was read, with the table's name in `s.t` and its flags in
// `flags`; otherwise how the statement ended: skipped, as it creates no
// table, or failed.
std::optional<ended> table_header(statement& s, int& flags) {
  parser& p = s.p;
  token& t = s.t;
  if (!read_token(t, p))
    return ended::failed;
  if (matches(t, "temp") || matches(t, "temporary")) {
    flags = TABLE_TEMP;
    if (!read_token(t, p))
      return ended::failed;
  }
  if (!matches(t, "table")) {
    log_at(p.lex, {"ignoring non-table creation"});
    return skip(t, p);
  }
  if (!read_token(t, p))
    return ended::failed;
  if (matches(t, "if")) {
    // IF must be followed by NOT EXISTS; a table named like IF fails silently.
    if (!read_token(t, p) || !matches(t, "not", true))
      return ended::failed;
    if (!read_token(t, p) || !matches(t, "exists", true))
      return ended::failed;
    if (!read_token(t, p))
      return ended::failed;
    flags |= TABLE_IFNOTEXISTS;
  }
  return std::nullopt;
}

// The column list and what may follow it up to the ";", for the table `s.tab`.
ended table_body(statement& s) {
  parser& p = s.p;
  token& t = s.t;
  if (!read_token(t, p))
    return ended::failed;
  if (!matches(t, "(", true))
    return syntax_error(p, "syntax error leading columns");
  if (!column_list(s))
    return ended::failed;
  // A clause may have stopped at a ")" of its own: the list ends there too.
  if (!matches(t, ")"))
    return syntax_error(p, "syntax error trailing columns");
  if (!read_token(t, p))
    return ended::failed;
  if (matches(t, "without")) {
    match rowid = lex_match(t, p.lex, "rowid");
    if (rowid == match::eof)
      return ended::failed;
    if (rowid == match::no)
      return syntax_error(p, "syntax error leading columns");
    if (!read_token(t, p))
      return ended::failed;
  }
  return statement_end(p, t);
}

// The rest of a CREATE statement, after the CREATE token.
ended create_statement(parser& p, std::optional<std::string_view> doc) {
  statement s(p);
  int flags = 0;
  if (std::optional<ended> e = table_header(s, flags))
    return *e;
  // From here on the statement completes or the parse fails.
  s.tab = &model_add_table(p.model, lex_cstr(s.t.text()), doc, flags);
  log_verbose(p.lex, {"added table: ", log_quote(s.tab->name)});
  ended e = table_body(s);
  // Sorted now, while they are fresh in the cache.
  if (e == ended::at_semicolon)
    name_sort_columns(std::span(p.model.columns).last(s.tab->ncols));
  return e;
}

// The input is complete: order the model and bind the foreign keys.
bool finish(parser& p) {
  parse_fkeys(p.model, model_order(p.model), p.lex.diag);
  return true;
}

// The model keeps what was read, in order, but no foreign key is bound.
bool fail(parser& p) {
  schema& m = p.model;
  table* last = m.tables.empty() ? nullptr : m.tables.back();  // the statement that failed
  model_order(m);
  if (last)
    name_sort_columns(last->cols);
  return false;
}

}  // namespace

bool parse_loose(const diagnostics& d, input_pages& in, schema& s) {
  if (in.bytes.empty()) {
    log_error(d, 0, {d.fname, ": empty file"});
    return false;
  }
  parser p{lexer(in.bytes, d), s};
  p.lex.comment_text = s.docstrings;
  // Room for every record that a schema of common shape holds (a table per
  // 256 bytes, a column per 32), so that the lists are seldom copied while
  // they fill; denser input makes them grow as vectors do. Only the lists
  // of pointers and references move: the records stay where they were made.
  // Room reserved but never written costs no memory. Without it tablegraph
  // takes 5 % longer at 100,000 plain tables (bench/compare.sh).
  s.tables.reserve(in.bytes.size() / 256 + 16);
  s.columns.reserve(in.bytes.size() / 32 + 64);
  s.refs.reserve(in.bytes.size() / 256 + 16);
  for (;;) {
    // Between statements nothing refers to the input behind the lexer any
    // more: every name and docstring has been copied into the model.
    input_passed(in, p.lex.pos);
    token t;
    std::optional<std::string_view> doc;  // the statement's docstring
    if (!lex_comment(t, p.lex, true, docstrings(s), doc))
      return finish(p);
    ended e;
    size_t tables = s.tables.size();
    if (!matches(t, "create")) {
      log_verbose(p.lex, {"ignoring top-level statement"});
      e = skip(t, p);
    } else {
      e = create_statement(p, doc);
    }
    if (doc && s.tables.size() == tables)
      text_forget(s.texts, *doc);  // no table took the docstring
    if (e == ended::failed)
      return fail(p);
    if (p.lex.pos >= p.lex.len)
      return e == ended::at_semicolon ? finish(p) : fail(p);
  }
}
