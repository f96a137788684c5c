// The dialect grammar. It reads what shapes the catalog (tables, their
// columns, primary and foreign keys, comments) and passes over every other
// statement as a whole, with its nested parentheses, blocks and delimiters.
//
// Tables are gathered here first, as the database keeps them while the file
// runs (later statements add columns and keys, rename, comment and drop),
// and put into the model only at the end, in creation order: the model's
// column lists must each be one stretch, which ALTER TABLE would break.
#include "reader/dialect_parse.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "reader/chars.h"
#include "reader/dialect_doc.h"
#include "reader/dialect_lex.h"
#include "reader/fkey.h"
#include "reader/model.h"
#include "reader/names.h"

namespace {

constexpr size_t npos = static_cast<size_t>(-1);

using text = std::optional<std::string_view>;  // kept in the schema's text store

struct dcol {
  std::string_view name;
  text doc;   // the file's comments around its definition
  text note;  // the catalog's comment: COMMENT ON COLUMN, MySQL's COMMENT attribute
};

struct dfkey {
  std::string constraint;         // its name, where one was given
  std::vector<std::string> cols;  // the columns it starts from
  size_t target = npos;           // the table it names, where that existed when it was read
  std::string target_key;         // else the key it is found by at the end
  std::string target_name;        // and the name it is reported by
  std::vector<std::string> tcols;  // empty: the target's primary key
};

struct dtab {
  std::string_view name;  // as the catalog shows it
  std::string key;        // how it is found: name with its schema, folded where the database folds
  std::string space;      // its schema or database
  text doc, note;
  std::vector<dcol> cols;
  std::vector<std::string> pkey;
  std::vector<dfkey> fkeys;
  bool alive = true;   // not dropped
  bool shown = true;   // not a temporary or virtual table
  bool keys_kept = true;  // MySQL: an engine that stores foreign keys
  bool is_virtual = false;
  size_t parent = npos;  // PostgreSQL: the table it is a partition of, whose foreign keys it has too
};

// A table's name as a statement gives it, resolved.
struct tname {
  std::string key, name;
  std::string space;  // its schema or database as written; "" for MySQL's current one
  bool temp = false;  // in SQLite's temp schema
};

struct dparser {
  dparser(const diagnostics& d, input_pages& in, schema& s) : dl(in.bytes, d, s.dialect), s(s), in(in) {}

  dlexer dl;
  dtoken t;
  schema& s;
  input_pages& in;
  std::vector<dtab> tabs;
  std::unordered_map<std::string, size_t> by_key;
  // PostgreSQL: where unqualified names are created and looked for.
  std::vector<std::string> search_path{"public"};
  std::set<std::string, std::less<>> schemas{"public"};
  // MySQL: the database that unqualified names are in; the first one chosen
  // is the file's own and is left off names.
  std::string home_db, current_db;
  bool db_chosen = false;
  std::string delimiter = ";";
  std::string word;  // scratch
  std::string doc;   // scratch for docstrings
  std::vector<std::string> ref_parts;  // scratch for the names that REFERENCES gives
};

sql_dialect dialect(const dparser& p) { return p.dl.dialect; }
bool is_pg(const dparser& p) { return dialect(p) == sql_dialect::postgres; }
bool is_my(const dparser& p) { return dialect(p) == sql_dialect::mysql; }
bool is_lite(const dparser& p) { return dialect(p) == sql_dialect::sqlite; }

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z')
      c = char(c - 'A' + 'a');
  return out;
}

bool iequal(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  for (size_t i = 0; i < a.size(); i++) {
    unsigned char x = a[i], y = b[i];
    if ((x >= 'A' && x <= 'Z' ? x + 32 : x) != (y >= 'A' && y <= 'Z' ? y + 32 : y))
      return false;
  }
  return true;
}

// Column names: MySQL and SQLite ignore their letter case.
bool same_column(const dparser& p, std::string_view a, std::string_view b) { return is_pg(p) ? a == b : iequal(a, b); }

dcol* find_col(const dparser& p, dtab& tab, std::string_view name) {
  for (dcol& c : tab.cols)
    if (same_column(p, c.name, name))
      return &c;
  return nullptr;
}

// ---- tokens

bool next(dparser& p) { return dlex_next(p.t, p.dl); }

bool at_word(const dparser& p, std::string_view keyword) { return dlex_is(p.t, keyword); }
bool at(const dparser& p, char c) { return dlex_punct(p.t, c); }

bool is_name(const dparser& p) {
  return p.t.kind == DTOKEN_WORD || p.t.kind == DTOKEN_NAME || (p.t.kind == DTOKEN_STRING && !is_pg(p));
}

// Where the statement delimiter stands in the current token: its offset in
// the token, or npos. Only MySQL's DELIMITER makes it anything but ";".
size_t delimiter_at(const dparser& p) {
  if (p.delimiter == ";")
    return at(p, ';') ? 0 : npos;
  if (p.t.kind != DTOKEN_WORD && p.t.kind != DTOKEN_PUNCT)
    return npos;
  std::string_view rest(p.t.raw.data(), p.dl.lx.len - (p.t.raw.data() - p.dl.lx.buf));
  for (size_t k = 0; k < p.t.raw.size(); k++)
    if (rest.substr(k).starts_with(p.delimiter))
      return k;
  return npos;
}

// Whether the statement ends here: at its delimiter, which is then passed,
// or at the end of the input.
bool at_end(dparser& p) {
  if (p.t.kind == DTOKEN_END)
    return true;
  size_t k = delimiter_at(p);
  if (k == npos)
    return false;
  size_t from = p.t.raw.data() - p.dl.lx.buf;
  if (from + k + p.delimiter.size() > p.dl.lx.pos)
    lex_advance(p.dl.lx, from + k + p.delimiter.size());
  return true;
}

// Reports the current token as unexpected; false. A token that the end of
// the input cut short was reported already.
bool unexpected(dparser& p, std::string_view wanted = {}) {
  if (p.dl.failed)
    return false;
  if (p.t.kind == DTOKEN_END)
    log_at(p.dl.lx, {"unexpected eof"});
  else if (wanted.empty())
    log_at(p.dl.lx, {"unexpected: ", p.t.raw});
  else
    log_at(p.dl.lx, {"unexpected: ", p.t.raw, " (wanted \"", wanted, "\")"});
  p.dl.failed = true;
  return false;
}

bool is_stop(std::string_view stops, char c) {
  for (char s : stops)
    if (s == c)
      return true;
  return false;
}

bool expect(dparser& p, char c) {
  if (!at(p, c)) {
    char w[2] = {c, '\0'};
    return unexpected(p, w);
  }
  next(p);
  return !p.dl.failed;
}

// Passes over tokens up to one of `stops` or of the keywords `words` at this
// depth of parentheses, or to the end of the statement. `last_line` gets the
// line of the last token passed.
bool skip_to(dparser& p, std::string_view stops, size_t* last_line = nullptr,
             std::span<const std::string_view> words = {}) {
  int depth = 0;
  for (;;) {
    if (p.dl.failed)
      return false;
    if (p.t.kind == DTOKEN_END || (depth == 0 && delimiter_at(p) != npos))
      return true;
    if (p.t.kind == DTOKEN_PUNCT) {
      char c = p.t.raw[0];
      if (depth == 0 && is_stop(stops, c))
        return true;
      if (c == '(')
        depth++;
      else if (c == ')' && --depth < 0)
        return unexpected(p);
    } else if (depth == 0 && std::any_of(words.begin(), words.end(), [&](std::string_view k) { return at_word(p, k); })) {
      return true;
    }
    if (last_line)
      *last_line = p.t.line;
    next(p);
  }
}

// Passes over the rest of the statement, and its delimiter.
bool rest_of_statement(dparser& p) { return skip_to(p, "") && (at_end(p) || unexpected(p, ";")); }

// IF EXISTS, or IF NOT EXISTS where `negated`, when the current word is IF.
// `strict`: a word missing there is reported; otherwise it is passed over
// (the database would refuse the statement, which changes nothing here).
bool if_exists(dparser& p, bool negated, bool strict) {
  if (!at_word(p, "if"))
    return true;
  next(p);
  if (negated) {
    if (at_word(p, "not"))
      next(p);
    else if (strict)
      return unexpected(p, "NOT");
  }
  if (at_word(p, "exists"))
    next(p);
  else if (strict)
    return unexpected(p, "EXISTS");
  return true;
}

// ---- names

// A name of one or more parts joined by ".", into `parts`.
bool qualified_name(dparser& p, std::vector<std::string>& parts) {
  parts.clear();
  for (;;) {
    if (!is_name(p))
      return unexpected(p, "name");
    dlex_name(p.t, dialect(p), p.word);
    parts.push_back(p.word);
    next(p);
    if (!at(p, '.'))
      return !p.dl.failed;
    next(p);
  }
}

tname make_name(const dparser& p, std::string_view space, std::string_view name) {
  tname n;
  n.space = space;
  if (is_pg(p)) {
    n.name = space == "public" ? std::string(name) : std::string(space) + "." + std::string(name);
    n.key = n.name;
  } else if (is_my(p)) {
    n.name = space.empty() || space == p.home_db ? std::string(name) : std::string(space) + "." + std::string(name);
    n.key = n.name;
  } else {
    bool main = space.empty() || iequal(space, "main");  // as nearly every name is
    n.temp = iequal(space, "temp") || iequal(space, "temporary");
    n.name = main ? std::string(name) : std::string(space) + "." + std::string(name);
    n.key = lower(n.name);
  }
  return n;
}

size_t find_table(const dparser& p, const std::string& key) {
  auto it = p.by_key.find(key);
  return it == p.by_key.end() ? npos : it->second;
}

// The table that `parts` name: where a new table goes (`creating`), or
// which existing table they mean, as the database looks names up.
tname resolve(const dparser& p, const std::vector<std::string>& parts, bool creating) {
  std::string_view name = parts.back();
  if (parts.size() >= 2)
    return make_name(p, parts[parts.size() - 2], name);
  if (is_my(p))
    return make_name(p, p.current_db, name);
  if (is_lite(p))
    return make_name(p, "main", name);
  // PostgreSQL: the first schema on the path that exists; a reference to the
  // first one that holds the table.
  const std::string* first = nullptr;
  for (const std::string& sp : p.search_path) {
    if (!p.schemas.count(sp))
      continue;
    if (!first)
      first = &sp;
    if (creating)
      break;
    tname n = make_name(p, sp, name);
    if (find_table(p, n.key) != npos)
      return n;
  }
  return make_name(p, first ? *first : std::string_view("public"), name);
}

// A parenthesised list of column names, as keys and indexes give them (with
// lengths, orders and collations after each name).
bool column_list(dparser& p, std::vector<std::string>& cols) {
  cols.clear();
  if (!expect(p, '('))
    return false;
  for (;;) {
    if (!is_name(p))
      return unexpected(p, "column name");
    dlex_name(p.t, dialect(p), p.word);
    cols.push_back(p.word);
    next(p);
    if (!skip_to(p, ",)"))
      return false;
    if (at(p, ')'))
      return next(p), !p.dl.failed;
    if (!at(p, ','))
      return unexpected(p, ")");
    next(p);
  }
}

// REFERENCES t [(columns)], at REFERENCES, into `fk`.
bool references(dparser& p, dfkey& fk) {
  next(p);
  if (!qualified_name(p, p.ref_parts))
    return false;
  tname n = resolve(p, p.ref_parts, false);
  fk.target = find_table(p, n.key);
  fk.target_key = std::move(n.key);
  fk.target_name = std::move(n.name);
  if (at(p, '('))
    return column_list(p, fk.tcols);
  return true;
}

// ---- documentation

text keep_doc(dparser& p, std::span<const dcomment> comments) {
  if (!p.s.docstrings || comments.empty())
    return std::nullopt;
  if (!dialect_docstring(comments, p.doc))
    return std::nullopt;
  return text_keep(p.s.texts, p.doc);
}

// A catalog comment: '' removes it.
text keep_note(dparser& p, const dtoken& str) {
  if (!p.s.docstrings)
    return std::nullopt;
  std::string out;
  dlex_string(str, dialect(p), out);
  if (out.empty())
    return std::nullopt;
  return text_keep(p.s.texts, out);
}

// The file's comment, a paragraph break, the catalog's.
text compose(dparser& p, text doc, text note) {
  if (!doc || !note)
    return doc ? doc : note;
  std::string both(*doc);
  both += '\n';
  both += *note;
  return text_keep(p.s.texts, both);
}

// ---- table contents

bool constraint_word(const dparser& p) {
  if (p.t.kind != DTOKEN_WORD)
    return false;
  for (std::string_view k : {"constraint", "primary", "unique", "check", "foreign"})
    if (at_word(p, k))
      return true;
  if (is_pg(p))
    return at_word(p, "exclude");
  if (is_my(p))
    for (std::string_view k : {"key", "index", "fulltext", "spatial", "period"})
      if (at_word(p, k))
        return true;
  return false;
}

// A table constraint, at its first word; foreign and primary keys are kept.
// Ends at one of `stops`, or the end of the statement.
bool table_constraint(dparser& p, dtab& tab, std::string_view stops) {
  std::string name;
  if (at_word(p, "constraint")) {
    next(p);
    if (is_name(p) && !constraint_word(p)) {
      dlex_name(p.t, dialect(p), name);
      next(p);
    }
  }
  if (at_word(p, "primary")) {
    next(p);
    if (!at_word(p, "key"))
      return unexpected(p, "KEY");
    next(p);
    // MySQL lets an index type stand before the list.
    if (!at(p, '(') && !skip_to(p, std::string(stops) + "("))
      return false;
    if (at(p, '(') && !column_list(p, tab.pkey))
      return false;
  } else if (at_word(p, "foreign")) {
    next(p);
    if (!at_word(p, "key"))
      return unexpected(p, "KEY");
    next(p);
    dfkey fk;
    fk.constraint = name;
    if (is_name(p) && !at(p, '(')) {  // MySQL: the index's name
      if (name.empty())
        dlex_name(p.t, dialect(p), fk.constraint);
      next(p);
    }
    if (!column_list(p, fk.cols))
      return false;
    if (!at_word(p, "references"))
      return unexpected(p, "REFERENCES");
    if (!references(p, fk))
      return false;
    tab.fkeys.push_back(std::move(fk));
  }
  return skip_to(p, stops);
}

// A column definition, at the column's name, ending at one of `stops`.
// `lead` are the comments in front of it; `last_line` gets the line of its
// last token.
// `name`, where given, is the column's name read already; the current
// token is then the one after it.
bool column_definition(dparser& p, dtab& tab, std::span<const dcomment> lead, std::string_view stops,
                       size_t& last_line, const dtoken* name = nullptr) {
  const dtoken& name_token = name ? *name : p.t;
  if (!name && !is_name(p))
    return unexpected(p, "column name");
  dlex_name(name_token, dialect(p), p.word);
  dcol* col = find_col(p, tab, p.word);
  if (!col) {
    tab.cols.push_back({text_keep(p.s.texts, p.word), keep_doc(p, lead), std::nullopt});
    col = &tab.cols.back();
  }
  std::string_view col_name = col->name;  // kept in the text store: stays where it is
  last_line = name_token.line;
  if (!name)
    next(p);
  // The words that say something of the column; MySQL's COMMENT is its
  // documentation, in the others no attribute is called that.
  static constexpr std::string_view mysql_words[] = {"references", "primary", "comment"};
  std::span<const std::string_view> words(mysql_words, is_my(p) ? 3 : 2);
  for (;;) {
    if (!skip_to(p, stops, &last_line, words))
      return false;
    if (at_word(p, "references")) {
      dfkey fk;
      fk.cols.emplace_back(col_name);
      if (!references(p, fk))
        return false;
      tab.fkeys.push_back(std::move(fk));
    } else if (at_word(p, "primary")) {
      last_line = p.t.line;
      next(p);
      if (at_word(p, "key"))
        tab.pkey.assign(1, std::string(col_name));
    } else if (at_word(p, "comment")) {
      last_line = p.t.line;
      next(p);
      if (p.t.kind == DTOKEN_STRING) {
        find_col(p, tab, col_name)->note = keep_note(p, p.t);
        last_line = p.t.line;
        next(p);
      }
    } else {
      return true;  // at one of `stops`, the statement's end or the input's
    }
  }
}

// The comments among `comments` that stand on line `line`: those at the end
// of a column's own line, which document that column.
void split_trailing(std::vector<dcomment>& comments, size_t line, std::vector<dcomment>& trailing) {
  auto own = std::stable_partition(comments.begin(), comments.end(), [&](const dcomment& c) { return c.line == line; });
  trailing.insert(trailing.end(), comments.begin(), own);
  comments.erase(comments.begin(), own);
}

// Adds the comments at the end of a column's line to its documentation.
void add_trailing(dparser& p, dtab& tab, size_t col, std::vector<dcomment>& lead, std::vector<dcomment>& trailing) {
  if (trailing.empty() || col == npos || !p.s.docstrings)
    return;
  lead.insert(lead.end(), trailing.begin(), trailing.end());
  tab.cols[col].doc = keep_doc(p, lead);
}

// The parenthesised list of a CREATE TABLE, at "(".
bool table_elements(dparser& p, dtab& tab) {
  size_t prev_line = p.t.line, prev_col = npos;  // where the item before ended, and the column it made
  // Made once for the whole list: each item's are cleared, not freed.
  std::vector<dcomment> prev_lead, lead, trailing;
  next(p);
  for (;;) {
    if (p.dl.failed)
      return false;
    lead.assign(p.dl.comments.begin(), p.dl.comments.end());
    trailing.clear();
    split_trailing(lead, prev_line, trailing);
    add_trailing(p, tab, prev_col, prev_lead, trailing);
    prev_col = npos;
    if (at(p, ')'))
      return next(p), !p.dl.failed;
    size_t last_line = p.t.line;
    if (at_word(p, "like") && is_pg(p)) {
      next(p);
      std::vector<std::string> parts;
      if (!qualified_name(p, parts))
        return false;
      size_t from = find_table(p, resolve(p, parts, false).key);
      bool comments = false;
      while (at_word(p, "including") || at_word(p, "excluding")) {
        bool including = at_word(p, "including");
        next(p);
        if (at_word(p, "comments") || at_word(p, "all"))
          comments = including;
        if (p.t.kind == DTOKEN_WORD)
          next(p);
      }
      if (from != npos)
        for (const dcol& c : p.tabs[from].cols)
          if (!find_col(p, tab, c.name))
            tab.cols.push_back({c.name, std::nullopt, comments ? c.note : std::nullopt});
      if (!skip_to(p, ",)"))
        return false;
    } else if ((is_pg(p) && at_word(p, "exclude")) || (is_my(p) && at_word(p, "period"))) {
      // A constraint, EXCLUDE USING ... or PERIOD FOR ..., or a column of that name.
      dtoken word = p.t;
      next(p);
      if (at_word(p, "using") || at(p, '(') || at_word(p, "for")) {
        if (!skip_to(p, ",)"))
          return false;
      } else {
        size_t before = tab.cols.size();
        if (!column_definition(p, tab, lead, ",)", last_line, &word))
          return false;
        if (tab.cols.size() > before) {
          prev_col = before;
          prev_lead.swap(lead);
        }
      }
    } else if (constraint_word(p)) {
      if (!table_constraint(p, tab, ",)"))
        return false;
    } else {
      size_t before = tab.cols.size();
      if (!column_definition(p, tab, lead, ",)", last_line))
        return false;
      if (tab.cols.size() > before) {
        prev_col = before;
        prev_lead.swap(lead);
      }
    }
    // Comments in front of the "," or ")" on the item's last line are its own.
    if (prev_col != npos && !p.dl.comments.empty()) {
      lead.assign(p.dl.comments.begin(), p.dl.comments.end());
      trailing.clear();
      split_trailing(lead, last_line, trailing);
      add_trailing(p, tab, prev_col, prev_lead, trailing);
    }
    if (at(p, ')')) {
      next(p);
      return !p.dl.failed;
    }
    if (!at(p, ','))
      return unexpected(p, ")");
    prev_line = p.t.line;
    next(p);
  }
}

// What follows a CREATE TABLE's list up to the end of the statement.
bool table_options(dparser& p, dtab& tab) {
  std::vector<std::string> parts;
  int depth = 0;
  for (;;) {
    if (p.dl.failed)
      return false;
    if (p.t.kind == DTOKEN_END && depth > 0)
      return unexpected(p);
    if (depth == 0 && at_end(p))
      return true;
    if (at(p, '(')) {
      depth++;
    } else if (at(p, ')')) {
      if (--depth < 0)
        return unexpected(p);
    } else if (depth == 0 && is_my(p) && at_word(p, "comment")) {
      next(p);
      if (at(p, '='))
        next(p);
      if (p.t.kind == DTOKEN_STRING)
        tab.note = keep_note(p, p.t);
      continue;
    } else if (depth == 0 && is_my(p) && at_word(p, "engine")) {
      next(p);
      if (at(p, '='))
        next(p);
      tab.keys_kept = at_word(p, "innodb") || at_word(p, "ndb") || at_word(p, "ndbcluster");
      continue;
    } else if (depth == 0 && is_pg(p) && at_word(p, "inherits")) {
      next(p);
      if (!expect(p, '('))
        return false;
      for (;;) {
        if (!qualified_name(p, parts))
          return false;
        size_t from = find_table(p, resolve(p, parts, false).key);
        if (from != npos)
          for (const dcol& c : p.tabs[from].cols)
            if (!find_col(p, tab, c.name))
              tab.cols.push_back({c.name, std::nullopt, std::nullopt});
        if (!at(p, ','))
          break;
        next(p);
      }
      if (!expect(p, ')'))
        return false;
      continue;
    }
    next(p);
  }
}

// Makes `tab` the table called `n`, in place of one of that name unless
// that one stands and is not replaced. One search of the names: at 100,000
// tables each costs as much as reading a statement.
void add_table(dparser& p, dtab&& tab, const tname& n, bool replace) {
  auto [it, fresh] = p.by_key.try_emplace(n.key, p.tabs.size());
  if (!fresh) {
    if (!replace) {
      log_verbose(p.dl.lx, {"table exists: ", n.name});
      return;
    }
    p.tabs[it->second].alive = false;
    it->second = p.tabs.size();
  }
  tab.key = n.key;
  tab.space = n.space;
  tab.name = text_keep(p.s.texts, n.name);
  p.tabs.push_back(std::move(tab));
}

// Copies the columns of the table that `parts` name, for PARTITION OF and LIKE.
void copy_columns(dparser& p, dtab& tab, const std::vector<std::string>& parts, bool notes) {
  size_t from = find_table(p, resolve(p, parts, false).key);
  if (from == npos)
    return;
  for (const dcol& c : p.tabs[from].cols)
    tab.cols.push_back({c.name, std::nullopt, notes ? c.note : std::nullopt});
}

// Whether the query's list of items ends at the current word.
bool query_clause(const dparser& p) {
  for (std::string_view k : {"from", "where", "group", "order", "limit", "union", "into", "having", "window"})
    if (at_word(p, k))
      return true;
  return false;
}

// CREATE TABLE ... AS SELECT: the columns the query's items name (an alias,
// a column; "*" and "t.*" the columns of the table after FROM). An item
// that names nothing (an expression without an alias) is left out.
bool query_columns(dparser& p, dtab& tab) {
  if (at_word(p, "as"))
    next(p);
  int open = 0;
  for (; at(p, '('); next(p))
    open++;
  if (at_word(p, "select")) {
    next(p);
    if (at_word(p, "distinct") || at_word(p, "all"))
      next(p);
    std::vector<std::string> names;  // "" for a star
    for (;;) {
      int depth = 0;
      bool star = false;
      std::string last;
      for (;;) {
        if (p.dl.failed)
          return false;
        if (p.t.kind == DTOKEN_END || (depth == 0 && delimiter_at(p) != npos))
          break;
        if (depth == 0 && (at(p, ',') || at(p, ')') || query_clause(p)))
          break;
        if (at(p, '(')) {
          depth++;
        } else if (at(p, ')')) {
          depth--;
        } else if (depth == 0 && at(p, '*')) {
          star = true;
        } else if (depth == 0 && (p.t.kind == DTOKEN_NAME || p.t.kind == DTOKEN_WORD) && !at_word(p, "as") &&
                   !(p.t.raw[0] >= '0' && p.t.raw[0] <= '9')) {
          dlex_name(p.t, dialect(p), last);
          star = false;
        }
        next(p);
      }
      if (star)
        names.emplace_back();
      else if (!last.empty())
        names.push_back(last);
      if (!at(p, ','))
        break;
      next(p);
    }
    std::vector<std::string> from;
    if (at_word(p, "from")) {
      next(p);
      if (is_name(p) && !qualified_name(p, from))
        return false;
    }
    for (const std::string& name : names) {
      if (!name.empty()) {
        if (!find_col(p, tab, name))
          tab.cols.push_back({text_keep(p.s.texts, name), std::nullopt, std::nullopt});
      } else if (!from.empty()) {
        size_t ti = find_table(p, resolve(p, from, false).key);
        if (ti != npos)
          for (const dcol& c : p.tabs[ti].cols)
            if (!find_col(p, tab, c.name))
              tab.cols.push_back({c.name, std::nullopt, std::nullopt});
      }
    }
  }
  // The rest of the query, up to the parenthesis that opened it.
  for (int depth = open; depth > 0 && !p.dl.failed && p.t.kind != DTOKEN_END; next(p)) {
    if (at(p, '('))
      depth++;
    else if (at(p, ')'))
      depth--;
  }
  return !p.dl.failed;
}

// SQLite's own tables, and a virtual table's shadow tables.
bool internal_table(const dparser& p, std::string_view name) {
  if (!is_lite(p))
    return false;
  return name.size() >= 7 && iequal(name.substr(0, 7), "sqlite_");
}

// CREATE [OR REPLACE] [TEMP|...] [VIRTUAL] TABLE, after CREATE: false with
// `handled` false when it is not a table's creation.
bool create_table(dparser& p, std::span<const dcomment> lead, bool& handled) {
  handled = false;
  bool replace = false, temp = false, is_virtual = false;
  if (at_word(p, "or")) {
    next(p);
    if (!at_word(p, "replace"))
      return true;
    replace = true;
    next(p);
  }
  for (;;) {
    if (at_word(p, "temp") || at_word(p, "temporary")) {
      temp = true;
    } else if (at_word(p, "virtual") && is_lite(p)) {
      is_virtual = true;
    } else if (!(at_word(p, "global") || at_word(p, "local") || at_word(p, "unlogged"))) {
      break;
    }
    next(p);
  }
  if (!at_word(p, "table"))
    return true;
  handled = true;
  next(p);
  if (!if_exists(p, true, true))
    return false;
  std::vector<std::string> parts;
  if (!qualified_name(p, parts))
    return false;
  tname n = resolve(p, parts, true);
  dtab tab;
  tab.doc = keep_doc(p, lead);
  tab.shown = !temp && !n.temp && !is_virtual && !internal_table(p, parts.back());
  tab.is_virtual = is_virtual;
  if (is_virtual) {
    if (!skip_to(p, ""))
      return false;
  } else if (at(p, '(')) {
    if (!table_elements(p, tab))
      return false;
  } else if (at_word(p, "partition") && is_pg(p)) {
    next(p);
    if (!at_word(p, "of"))
      return unexpected(p, "OF");
    next(p);
    std::vector<std::string> parent;
    if (!qualified_name(p, parent))
      return false;
    copy_columns(p, tab, parent, false);
    tab.parent = find_table(p, resolve(p, parent, false).key);
    if (at(p, '(')) {
      dtab extra;  // its constraints and column options
      if (!table_elements(p, extra))
        return false;
      for (dfkey& fk : extra.fkeys)
        tab.fkeys.push_back(std::move(fk));
    }
  } else if (at_word(p, "like") && is_my(p)) {
    next(p);
    if (!qualified_name(p, parts))
      return false;
    copy_columns(p, tab, parts, true);
  } else if (at_word(p, "as") || at_word(p, "select")) {
    if (!query_columns(p, tab))
      return false;
  } else if (at_word(p, "of")) {
    // A typed table: its columns are the type's, which the file made elsewhere.
  } else {
    return unexpected(p, "(");
  }
  if (!table_options(p, tab))
    return false;
  if (temp || n.temp)
    return true;  // gone when the session that ran the file ends
  add_table(p, std::move(tab), n, replace);
  return true;
}

// RENAME TO: the table keeps its schema unless the new name gives one.
void rename_table(dparser& p, size_t ti, const std::vector<std::string>& parts) {
  dtab& tab = p.tabs[ti];
  tname n = parts.size() >= 2 ? resolve(p, parts, true) : make_name(p, tab.space, parts.back());
  if (find_table(p, n.key) != npos)
    return;  // the database refuses it
  p.by_key.erase(tab.key);
  tab.key = n.key;
  tab.space = n.space;
  tab.name = text_keep(p.s.texts, n.name);
  p.by_key[n.key] = ti;
}

// RENAME COLUMN: the keys that name it follow.
void rename_column(dparser& p, size_t ti, const std::string& old, const std::string& name) {
  dtab& tab = p.tabs[ti];
  dcol* col = find_col(p, tab, old);
  if (!col || find_col(p, tab, name))
    return;
  col->name = text_keep(p.s.texts, name);
  auto rename = [&](std::vector<std::string>& list) {
    for (std::string& c : list)
      if (same_column(p, c, old))
        c = name;
  };
  rename(tab.pkey);
  for (dfkey& fk : tab.fkeys)
    rename(fk.cols);
  for (dtab& other : p.tabs)
    for (dfkey& fk : other.fkeys)
      if (fk.target == ti)
        rename(fk.tcols);
}

// ALTER TABLE, after ALTER: its actions on columns, keys and comments.
bool alter_table(dparser& p, std::span<const dcomment> lead, bool& handled) {
  handled = false;
  if (!at_word(p, "table"))
    return true;
  handled = true;
  next(p);
  if (!if_exists(p, false, true))
    return false;
  if (at_word(p, "only"))
    next(p);
  std::vector<std::string> parts;
  if (!qualified_name(p, parts))
    return false;
  if (at(p, '*'))
    next(p);
  size_t ti = find_table(p, resolve(p, parts, false).key);
  if (ti == npos) {
    log_verbose(p.dl.lx, {"ignoring statement: ALTER TABLE of an unknown table"});
    return rest_of_statement(p);
  }
  std::vector<dcomment> comments(lead.begin(), lead.end());
  for (;;) {
    if (p.dl.failed)
      return false;
    dtab& tab = p.tabs[ti];
    size_t last_line = 0;
    if (at_word(p, "add")) {
      next(p);
      comments.insert(comments.end(), p.dl.comments.begin(), p.dl.comments.end());
      if (at_word(p, "column")) {
        next(p);
        comments.insert(comments.end(), p.dl.comments.begin(), p.dl.comments.end());
      }
      if_exists(p, true, false);
      if (constraint_word(p)) {
        if (!table_constraint(p, tab, ","))
          return false;
      } else if (at(p, '(')) {
        if (!skip_to(p, ","))
          return false;
      } else if (!column_definition(p, tab, comments, ",", last_line)) {
        return false;
      }
    } else if (at_word(p, "drop")) {
      next(p);
      if (at_word(p, "constraint") || (at_word(p, "foreign") && is_my(p))) {
        bool foreign = at_word(p, "foreign");
        next(p);
        if (foreign && at_word(p, "key"))
          next(p);
        if_exists(p, false, false);
        if (is_name(p)) {
          dlex_name(p.t, dialect(p), p.word);
          std::erase_if(tab.fkeys, [&](const dfkey& fk) { return fk.constraint == p.word; });
          next(p);
        }
      } else if (at_word(p, "primary")) {
        tab.pkey.clear();
      } else if (!(at_word(p, "index") || at_word(p, "key") || at_word(p, "check") || at_word(p, "period") ||
                   at_word(p, "partition"))) {
        if (at_word(p, "column"))
          next(p);
        if_exists(p, false, false);
        if (is_name(p)) {
          dlex_name(p.t, dialect(p), p.word);
          std::string name = p.word;
          std::erase_if(tab.cols, [&](const dcol& c) { return same_column(p, c.name, name); });
          std::erase_if(tab.fkeys, [&](const dfkey& fk) {
            return std::any_of(fk.cols.begin(), fk.cols.end(), [&](const std::string& c) { return same_column(p, c, name); });
          });
          next(p);
        }
      }
      if (!skip_to(p, ","))
        return false;
    } else if (at_word(p, "rename")) {
      next(p);
      if (at_word(p, "to") || at_word(p, "as")) {
        next(p);
        if (!qualified_name(p, parts))
          return false;
        rename_table(p, ti, parts);
      } else if (!(at_word(p, "constraint") || at_word(p, "index") || at_word(p, "key"))) {
        bool column_word = at_word(p, "column");
        if (column_word)
          next(p);
        if (is_name(p)) {
          dlex_name(p.t, dialect(p), p.word);
          std::string old = p.word;
          next(p);
          if (at_word(p, "to")) {
            next(p);
            if (is_name(p)) {
              dlex_name(p.t, dialect(p), p.word);
              rename_column(p, ti, old, p.word);
              next(p);
            }
          } else if (!column_word && is_my(p)) {
            rename_table(p, ti, {old});  // MySQL: RENAME new_name
          }
        }
      }
      if (!skip_to(p, ","))
        return false;
    } else if (is_my(p) && (at_word(p, "change") || at_word(p, "modify"))) {
      bool change = at_word(p, "change");
      next(p);
      if (at_word(p, "column"))
        next(p);
      if (change && is_name(p)) {
        dlex_name(p.t, dialect(p), p.word);
        if (dcol* col = find_col(p, tab, p.word)) {
          std::string_view old = col->name;
          next(p);
          if (is_name(p)) {
            dlex_name(p.t, dialect(p), p.word);
            col->name = text_keep(p.s.texts, p.word);
            for (dfkey& fk : tab.fkeys)
              for (std::string& c : fk.cols)
                if (same_column(p, c, old))
                  c = p.word;
          }
          col->note = std::nullopt;  // the new definition replaces the whole old one
          if (!column_definition(p, tab, {}, ",", last_line))
            return false;
        } else if (!skip_to(p, ",")) {
          return false;
        }
      } else if (is_name(p)) {
        dlex_name(p.t, dialect(p), p.word);
        dcol* col = find_col(p, tab, p.word);
        text doc = col ? col->doc : std::nullopt;
        if (col)
          col->note = std::nullopt;  // the new definition replaces the whole old one
        if (!column_definition(p, tab, {}, ",", last_line))
          return false;
        if (col)
          col->doc = doc;
      }
    } else if (is_pg(p) && at_word(p, "attach")) {
      next(p);
      if (at_word(p, "partition")) {
        next(p);
        if (!qualified_name(p, parts))
          return false;
        size_t child = find_table(p, resolve(p, parts, false).key);
        if (child != npos && child != ti)
          p.tabs[child].parent = ti;
      }
      if (!skip_to(p, ","))
        return false;
    } else if (is_my(p) && at_word(p, "comment")) {
      next(p);
      if (at(p, '='))
        next(p);
      if (p.t.kind == DTOKEN_STRING) {
        tab.note = keep_note(p, p.t);
        next(p);
      }
      if (!skip_to(p, ","))
        return false;
    } else if (!skip_to(p, ",")) {
      return false;
    }
    comments.clear();
    if (p.dl.failed)
      return false;
    if (at(p, ',')) {
      next(p);
      continue;
    }
    if (at_end(p))
      return true;
    return unexpected(p, ";");
  }
}

// COMMENT ON TABLE|COLUMN name IS 'text' | NULL, after COMMENT.
bool comment_on(dparser& p) {
  if (!at_word(p, "on"))
    return rest_of_statement(p);
  next(p);
  bool on_column = at_word(p, "column");
  if (!on_column && !at_word(p, "table"))
    return rest_of_statement(p);
  next(p);
  std::vector<std::string> parts;
  if (!qualified_name(p, parts))
    return false;
  if (!at_word(p, "is"))
    return unexpected(p, "IS");
  next(p);
  text note;
  if (p.t.kind == DTOKEN_STRING)
    note = keep_note(p, p.t);
  else if (!at_word(p, "null"))
    return unexpected(p, "a string");
  next(p);
  std::string col;
  if (on_column) {
    if (parts.size() < 2)
      return rest_of_statement(p);
    col = parts.back();
    parts.pop_back();
  }
  size_t ti = find_table(p, resolve(p, parts, false).key);
  if (ti != npos) {
    if (!on_column)
      p.tabs[ti].note = note;
    else if (dcol* c = find_col(p, p.tabs[ti], col))
      c->note = note;
  }
  return rest_of_statement(p);
}

// DROP TABLE [IF EXISTS] names, after DROP.
bool drop_table(dparser& p) {
  if (!at_word(p, "table"))
    return rest_of_statement(p);
  next(p);
  if_exists(p, false, false);
  std::vector<std::string> parts;
  for (;;) {
    if (!qualified_name(p, parts))
      return false;
    size_t ti = find_table(p, resolve(p, parts, false).key);
    if (ti != npos) {
      p.tabs[ti].alive = false;
      p.by_key.erase(p.tabs[ti].key);
    }
    if (!at(p, ','))
      break;
    next(p);
  }
  return rest_of_statement(p);
}

// The schemas that a search_path setting names, from its text ("a, b").
void set_search_path(dparser& p, std::string_view value) {
  p.search_path.clear();
  size_t i = 0;
  while (i <= value.size()) {
    size_t comma = value.find(',', i);
    if (comma == std::string_view::npos)
      comma = value.size();
    std::string_view item = value.substr(i, comma - i);
    while (!item.empty() && is_space(item.front()))
      item.remove_prefix(1);
    while (!item.empty() && is_space(item.back()))
      item.remove_suffix(1);
    if (item.size() >= 2 && item.front() == '"')
      p.search_path.emplace_back(item.substr(1, item.size() - 2));
    else if (!item.empty())
      p.search_path.push_back(lower(item));
    i = comma + 1;
  }
}

// SET search_path = a, b | TO ...; other settings are passed over.
bool set_statement(dparser& p) {
  if (at_word(p, "session") || at_word(p, "local"))
    next(p);
  if (!is_pg(p) || !at_word(p, "search_path"))
    return rest_of_statement(p);
  next(p);
  if (at(p, '=') || at_word(p, "to"))
    next(p);
  std::string value, part;
  while (!p.dl.failed && !at_end(p)) {
    if (at(p, ','))
      value += ',';
    else if (p.t.kind == DTOKEN_STRING)
      dlex_string(p.t, dialect(p), part), value += part;
    else if (p.t.kind == DTOKEN_NAME)
      value += p.t.raw;
    else if (at_word(p, "default"))
      value += "public";
    else
      value += p.t.raw;
    next(p);
  }
  set_search_path(p, value);
  return !p.dl.failed;
}

// Any statement passed over, at its first token: to its end, minding
// blocks where `blocks` (the bodies of SQLite's triggers, PostgreSQL's
// BEGIN ATOMIC), and the data that follows COPY ... FROM stdin.
bool skip_statement(dparser& p, bool blocks, bool copy) {
  int depth = 0, block = 0;
  bool from = false, stdin_data = false;
  for (;;) {
    if (p.dl.failed)
      return false;
    if (p.t.kind == DTOKEN_END || (depth == 0 && block == 0 && at_end(p)))
      break;  // a statement that the end of the input cuts short is passed over too
    if (at(p, '(')) {
      depth++;
    } else if (at(p, ')')) {
      depth = std::max(depth - 1, 0);
    } else if (blocks && p.delimiter == ";" && (at_word(p, "begin") || at_word(p, "case"))) {
      block++;
    } else if (blocks && p.delimiter == ";" && at_word(p, "end") && block > 0) {
      block--;
    } else if (copy && at_word(p, "stdin") && from) {
      stdin_data = true;
    }
    from = copy && at_word(p, "from");
    next(p);
  }
  if (stdin_data) {
    // The rows, up to a line "\.".
    lexer& lx = p.dl.lx;
    std::string_view rest(lx.buf + lx.pos, lx.len - lx.pos);
    size_t line = rest.find('\n');
    while (line != std::string_view::npos) {
      size_t start = line + 1, end = rest.find('\n', start);
      std::string_view text = rest.substr(start, end == std::string_view::npos ? rest.size() - start : end - start);
      if (text == "\\." || text == "\\.\r") {
        lex_advance(lx, lx.pos + (end == std::string_view::npos ? rest.size() : end));
        break;
      }
      line = end;
    }
    if (line == std::string_view::npos)
      lex_advance(lx, lx.len);
  }
  return true;
}

// MySQL's DELIMITER line: the rest of the line is the new delimiter.
void delimiter_line(dparser& p) {
  lexer& lx = p.dl.lx;
  size_t i = lx.pos;
  while (i < lx.len && (lx.buf[i] == ' ' || lx.buf[i] == '\t'))
    i++;
  size_t start = i;
  while (i < lx.len && !is_space(lx.buf[i]))
    i++;
  if (i > start)
    p.delimiter.assign(lx.buf + start, i - start);
  while (i < lx.len && lx.buf[i] != '\n')
    i++;
  lex_advance(lx, i);
}

// One statement, at its first token.
bool statement(dparser& p) {
  std::vector<dcomment> lead(p.dl.comments.begin(), p.dl.comments.end());
  dtoken first = p.t;
  if (is_my(p) && at_word(p, "delimiter")) {
    delimiter_line(p);
    return true;
  }
  next(p);
  bool handled = false;
  if (dlex_is(first, "create")) {
    dtoken second = p.t;
    if (!create_table(p, lead, handled))
      return false;
    if (handled)
      return true;
    if (dlex_is(second, "schema") && at_word(p, "schema") && is_pg(p)) {
      next(p);
      if_exists(p, true, false);
      if (is_name(p)) {
        dlex_name(p.t, dialect(p), p.word);
        p.schemas.insert(p.word);
      }
    }
    log_verbose(p.dl.lx, {"ignoring statement: CREATE ", second.raw});
    bool blocks = true;
    return skip_statement(p, blocks, false);
  }
  if (dlex_is(first, "alter")) {
    if (!alter_table(p, lead, handled))
      return false;
    if (handled)
      return true;
  } else if (dlex_is(first, "comment") && is_pg(p)) {
    return comment_on(p);
  } else if (dlex_is(first, "drop")) {
    return drop_table(p);
  } else if (dlex_is(first, "set")) {
    return set_statement(p);
  } else if (dlex_is(first, "rename") && is_my(p) && at_word(p, "table")) {
    // RENAME TABLE a TO b [, c TO d ...]
    next(p);
    std::vector<std::string> from, to;
    for (;;) {
      if (!qualified_name(p, from))
        return false;
      if (!at_word(p, "to"))
        return unexpected(p, "TO");
      next(p);
      if (!qualified_name(p, to))
        return false;
      size_t ti = find_table(p, resolve(p, from, false).key);
      if (ti != npos)
        rename_table(p, ti, to);
      if (!at(p, ','))
        break;
      next(p);
    }
    return rest_of_statement(p);
  } else if (dlex_is(first, "use") && is_my(p) && is_name(p)) {
    dlex_name(p.t, dialect(p), p.current_db);
    if (!p.db_chosen && p.tabs.empty())
      p.home_db = p.current_db;
    p.db_chosen = true;
    return rest_of_statement(p);
  } else if (dlex_is(first, "select") && is_pg(p)) {
    // pg_dump: SELECT pg_catalog.set_config('search_path', '', false);
    bool path = false;
    std::string value;
    while (!p.dl.failed && !at_end(p)) {
      if (p.t.kind == DTOKEN_STRING) {
        dlex_string(p.t, dialect(p), value);
        if (path) {
          set_search_path(p, value);
          path = false;
        } else {
          path = value == "search_path";
        }
      }
      next(p);
    }
    return !p.dl.failed;
  }
  log_verbose(p.dl.lx, {"ignoring statement: ", first.raw});
  return skip_statement(p, false, dlex_is(first, "copy"));
}

// The tables in creation order into the model, then their keys.
bool finish(dparser& p, const diagnostics& d) {
  schema& s = p.s;
  std::vector<std::vector<column*>> made(p.tabs.size());
  // Shadow tables of a virtual table: its name, "_", and a word.
  std::set<std::string, std::less<>> shadows;
  for (const dtab& tab : p.tabs)
    if (tab.is_virtual)
      for (std::string_view suffix : {"content", "data", "idx", "docsize", "config", "segments", "segdir", "stat",
                                      "node", "rowid", "parent"})
        shadows.insert(lower(std::string(tab.name) + "_" + std::string(suffix)));
  for (size_t i = 0; i < p.tabs.size(); i++) {
    dtab& tab = p.tabs[i];
    if (!tab.alive || !tab.shown || (!shadows.empty() && shadows.count(lower(tab.name))))
      continue;
    table& mt = model_add_table(s, tab.name, compose(p, tab.doc, tab.note), 0);
    for (const dcol& c : tab.cols)
      made[i].push_back(&model_add_column(s, mt, c.name, compose(p, c.doc, c.note)));
    name_sort_columns(std::span(s.columns).last(mt.ncols));
  }
  std::vector<named_table> named = model_order(s);
  for (size_t i = 0; i < p.tabs.size(); i++) {
    dtab& tab = p.tabs[i];
    if (made[i].empty() || !tab.keys_kept)
      continue;
    // Its own keys, then those of the tables it is a partition of.
    std::vector<const dfkey*> keys;
    for (size_t from = i, hops = 0; from != npos && hops < p.tabs.size(); from = p.tabs[from].parent, hops++)
      for (const dfkey& fk : p.tabs[from].fkeys)
        keys.push_back(&fk);
    for (const dfkey* key : keys) {
      const dfkey& fk = *key;
      size_t ti = fk.target != npos && p.tabs[fk.target].alive ? fk.target : find_table(p, fk.target_key);
      dtab* target = ti == npos ? nullptr : &p.tabs[ti];
      static const std::vector<std::string> unknown{""};  // reported as the table's alone
      const std::vector<std::string>& tcols = !fk.tcols.empty() ? fk.tcols : target ? target->pkey : unknown;
      for (size_t k = 0; k < fk.cols.size() && k < tcols.size(); k++) {
        auto src = std::find_if(tab.cols.begin(), tab.cols.end(),
                                [&](const dcol& c) { return same_column(p, c.name, fk.cols[k]); });
        if (src == tab.cols.end())
          continue;
        std::string_view tname = target ? target->name : std::string_view(fk.target_name);
        std::string_view cname = tcols[k];
        if (target)
          if (const dcol* tc = find_col(p, *target, cname))
            cname = tc->name;
        s.refs.push_back({made[i][src - tab.cols.begin()], text_keep(s.texts, tname), text_keep(s.texts, cname)});
      }
    }
  }
  parse_fkeys(s, named, d, fkey_targets::every);
  return true;
}

}  // namespace

bool dialect_parse(const diagnostics& d, input_pages& in, schema& s) {
  if (in.bytes.empty()) {
    log_error(d, 0, {d.fname, ": empty file"});
    return false;
  }
  dparser p(d, in, s);
  p.dl.keep_comments = s.docstrings;
  p.by_key.reserve(in.bytes.size() / 512 + 16);  // a table per 512 bytes of a dump, as most are
  for (;;) {
    // Between statements nothing refers to the input: names and comments
    // have been copied.
    input_passed(in, p.dl.lx.pos);
    if (!next(p))
      break;
    if (at_end(p))
      continue;  // an empty statement
    if (!statement(p))
      return false;
  }
  if (p.dl.failed)
    return false;
  return finish(p, d);
}
