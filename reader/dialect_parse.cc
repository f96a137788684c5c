// The dialect grammar: its entry, the dispatch of statements by their first
// word, and what every statement shares: tokens, names, comments, skipping.
// It reads what shapes the catalog (tables, their columns, keys, comments,
// schemas, transactions) and passes over every other statement as a whole,
// with its nested parentheses, blocks and delimiters.
#include "reader/dialect_parse.h"

#include <algorithm>

#include "reader/chars.h"
#include "reader/dialect_doc.h"
#include "reader/dialect_grammar.h"

namespace {

constexpr size_t npos = std::string_view::npos;

// Where the statement delimiter stands in the current token: its offset in
// the token, or npos. Only MySQL's DELIMITER makes it anything but ";".
size_t delimiter_at(const dparser& p) {
  if (p.t.sends)
    return 0;  // a client's command that sends the statement
  if (p.dl.semicolon)
    return at(p, ';') ? 0 : npos;
  if (p.t.kind != DTOKEN_WORD && p.t.kind != DTOKEN_PUNCT)
    return npos;
  std::string_view rest(p.t.raw.data(), p.dl.lx.len - (p.t.raw.data() - p.dl.lx.buf));
  for (size_t k = 0; k < p.t.raw.size(); k++)
    if (rest.substr(k).starts_with(p.dl.delimiter))
      return k;
  return npos;
}

bool at_element_stop(const dparser& p) { return !p.element_stops.empty() && rules_have(p.element_stops, dlex_kw(p.t)); }

// Whether the statement ends here, without passing anything.
bool at_statement_end(const dparser& p) {
  return p.t.kind == DTOKEN_END || delimiter_at(p) != npos || at_element_stop(p);
}

}  // namespace

// ---- tokens

bool next(dparser& p) {
  if (!dlex_next(p.t, p.dl) && !p.dl.failed)
    p.t = dtoken{DTOKEN_END, {}, p.dl.lx.line, p.dl.lx.line, lex_column(p.dl.lx)};
  return !p.dl.failed;
}

bool next_is(dparser& p, kw k) { return dlex_kw(dlex_peek(p.dl)) == k; }

bool next_is(dparser& p, char c) { return dlex_punct(dlex_peek(p.dl), c); }

bool at_word(const dparser& p, std::string_view w) { return p.t.kind == DTOKEN_WORD && ascii_iequal(p.t.raw, w); }

bool at_word(const dparser& p, std::span<const std::string_view> words) {
  if (p.t.kind != DTOKEN_WORD)
    return false;
  for (std::string_view w : words)
    if (ascii_iequal(p.t.raw, w))
      return true;
  return false;
}

bool is_name(const dparser& p) {
  return p.t.kind == DTOKEN_WORD || p.t.kind == DTOKEN_NAME || (p.t.kind == DTOKEN_STRING && p.rules.strings_as_names);
}

void name_of(dparser& p) { dlex_name(p.t, p.rules, p.word); }

bool unexpected(dparser& p, std::string_view wanted) {
  if (p.dl.failed)
    return false;
  const diagnostics& d = p.dl.lx.diag;
  if (p.t.kind == DTOKEN_END)
    log_at(p.dl.lx, {"unexpected eof"});
  else if (wanted.empty())
    log_at_place(d, p.t.end_line, p.t.end_column, {"unexpected: ", log_quote(p.t.raw)});
  else
    log_at_place(d, p.t.end_line, p.t.end_column, {"unexpected: ", log_quote(p.t.raw), " (wanted \"", wanted, "\")"});
  p.dl.failed = true;
  return false;
}

bool expect(dparser& p, char c) {
  if (!at(p, c)) {
    char w[2] = {c, '\0'};
    return unexpected(p, w);
  }
  return next(p);
}

bool at_end(dparser& p) {
  if (p.t.kind == DTOKEN_END || at_element_stop(p))
    return true;
  size_t k = delimiter_at(p);
  if (k == npos)
    return false;
  p.end_line = p.t.line;
  if (p.dl.semicolon || p.t.sends) {
    p.dl.statement_open = false;
    return true;
  }
  // A delimiter of several bytes may run past the token it begins in.
  size_t end = size_t(p.t.raw.data() - p.dl.lx.buf) + k + p.dl.delimiter.size();
  dlex_unpeek(p.dl);
  if (end > p.dl.lx.pos)
    lex_advance(p.dl.lx, end);
  p.dl.statement_open = false;
  return true;
}

bool skip(dparser& p, const skip_stops& stops) {
  int depth = 0, block = 0;
  // The first letters of the words that stop it or open and close blocks:
  // a word that begins otherwise is no keyword to look up.
  uint32_t letters = 0;
  for (kw k : stops.words)
    letters |= 1u << ((keyword_initial(k) - 'a') & 31);
  if (stops.blocks)
    letters |= 1u << ('b' - 'a') | 1u << ('c' - 'a') | 1u << ('e' - 'a');
  for (;;) {
    if (p.dl.failed)
      return false;
    if (p.t.kind == DTOKEN_END)
      return true;
    bool outside = depth == 0 && block == 0;
    if (outside && at_statement_end(p))
      return true;
    if (p.t.kind == DTOKEN_PUNCT) {
      char c = p.t.raw[0];
      if (outside && stops.punct.find(c) != npos)
        return true;
      if (c == ')' && --depth < 0) {
        if (!stops.lenient)
          return unexpected(p);
        depth = 0;
      }
    }
    if (stops.comments && outside)
      stops.comments->insert(stops.comments->end(), p.dl.comments.begin(), p.dl.comments.end());
    if (p.t.kind == DTOKEN_PUNCT) {
      if (p.t.raw[0] == '(')
        depth++;
    } else if (p.t.kind == DTOKEN_WORD && letters >> ((ascii_lower(p.t.raw[0]) - 'a') & 31) & 1) {
      kw k = dlex_kw(p.t);
      if (depth == 0 && block == 0 && rules_have(stops.words, k))
        return true;
      // A block's words count only where ";" ends statements: under
      // another delimiter, the block is the statement.
      if (stops.blocks && p.dl.semicolon) {
        if (k == KW_BEGIN || k == KW_CASE)
          block++;
        else if (k == KW_END && block > 0)
          block--;
      }
    }
    if (stops.last_line)
      *stops.last_line = p.t.line;
    if (stops.names && (p.t.kind == DTOKEN_WORD || p.t.kind == DTOKEN_NAME)) {
      name_of(p);
      stops.names->push_back(p.word);
    }
    if (!next(p))
      return false;
  }
}

bool skip_group(dparser& p) {
  if (!expect(p, '('))
    return false;
  if (!skip(p, {.punct = ")"}))
    return false;
  return expect(p, ')');
}

bool rest_of_statement(dparser& p) { return skip(p, {}) && (at_end(p) || unexpected(p, ";")); }

bool if_exists(dparser& p, bool negated) {
  if (!at(p, KW_IF) || !next_is(p, negated ? KW_NOT : KW_EXISTS))
    return true;
  next(p);
  if (negated)
    next(p);
  if (at(p, KW_EXISTS))
    return next(p);
  return unexpected(p, "EXISTS");
}

// ---- names

bool qualified_name(dparser& p, std::vector<std::string>& parts) {
  parts.clear();
  for (;;) {
    if (!is_name(p))
      return unexpected(p, "name");
    name_of(p);
    parts.push_back(p.word);
    if (!next(p))
      return false;
    if (!at(p, '.'))
      return true;
    if (!next(p))
      return false;
  }
}

namespace {

// SQLite's own tables and its temp schema; its attached databases.
bool lite_main(std::string_view space) { return space.empty() || ascii_iequal(space, "main"); }
bool lite_temp(std::string_view space) { return ascii_iequal(space, "temp") || ascii_iequal(space, "temporary"); }

// The schema (or database) that a qualified name's `space` part names,
// as the catalog keys it.
std::string_view space_of(const dparser& p, std::string_view space) {
  switch (p.rules.spaces) {
    case name_spaces::databases: return space == p.home_db ? std::string_view() : space;
    case name_spaces::attached:
      return lite_main(space) ? std::string_view("main") : lite_temp(space) ? std::string_view("temp") : space;
    case name_spaces::search_path: break;
  }
  return space;
}

}  // namespace

table_ref resolve_new(dparser& p, const std::vector<std::string>& parts) {
  table_ref r;
  r.name = parts.back();
  if (parts.size() >= 2) {
    std::string_view space = parts[parts.size() - 2];
    r.temp = p.rules.spaces == name_spaces::attached && lite_temp(space);
    r.space = space_of(p, space);
    return r;
  }
  switch (p.rules.spaces) {
    case name_spaces::databases: r.space = space_of(p, p.current_db); break;
    case name_spaces::attached: r.space = "main"; break;
    case name_spaces::search_path: {
      const std::string_view* first = catalog_first_schema(p.cat);
      r.space = first ? *first : p.rules.default_schema;
      break;
    }
  }
  return r;
}

void temp_space(const dparser& p, std::string_view space, std::string& out) {
  switch (p.rules.spaces) {
    case name_spaces::search_path: out = "pg_temp"; return;
    case name_spaces::attached: out = "temp"; return;
    case name_spaces::databases: break;
  }
  // Beside each database: a byte that no name of one begins with.
  out = "\x1e";
  out += space;
}

uint32_t resolve_table(dparser& p, const std::vector<std::string>& parts, std::string* key, std::string* shown) {
  // A temporary table hides the others of its name: PostgreSQL's and
  // SQLite's where the name is not qualified, MySQL's in its database.
  if (p.cat.temps_made && (parts.size() < 2 || p.rules.spaces == name_spaces::databases)) {
    std::string_view space = parts.size() < 2 ? std::string_view(p.current_db) : std::string_view(parts[parts.size() - 2]);
    if (p.rules.spaces == name_spaces::databases)
      space = space_of(p, space);
    temp_space(p, space, p.doc);
    catalog_key(p.cat, p.doc, parts.back(), p.key);
    uint32_t ti = catalog_find(p.cat, p.key);
    if (ti != NO_ID) {
      if (key)
        *key = p.key;
      if (shown)
        *shown = parts.back();
      return ti;
    }
  }
  if (parts.size() < 2 && p.rules.spaces == name_spaces::search_path) {
    uint32_t ti = catalog_find_on_path(p.cat, parts.back());
    if (ti != NO_ID)
      return ti;
  }
  table_ref r = resolve_new(p, parts);
  catalog_key(p.cat, r.space, r.name, p.key);
  uint32_t ti = catalog_find(p.cat, p.key);
  // SQLite looks a name up in main, then in each attached database.
  for (size_t i = 0; ti == NO_ID && parts.size() < 2 && i < p.attached.size(); i++) {
    std::string k;
    catalog_key(p.cat, p.attached[i], r.name, k);
    ti = catalog_find(p.cat, k);
  }
  if (shown) {
    shown->clear();
    if (!r.space.empty() && r.space != p.rules.default_schema) {
      *shown = r.space;
      *shown += '.';
    }
    *shown += r.name;
  }
  if (key)
    *key = p.key;
  return ti;
}

bool column_list(dparser& p, std::vector<std::string>& cols) {
  cols.clear();
  if (!expect(p, '('))
    return false;
  for (;;) {
    if (!is_name(p))
      return unexpected(p, "column name");
    name_of(p);
    cols.push_back(p.word);
    if (!next(p) || !skip(p, {.punct = ",)"}))
      return false;
    if (at(p, ')'))
      return next(p);
    if (!expect(p, ','))
      return false;
  }
}

// ---- documentation

text keep_doc(dparser& p, std::span<const dcomment> lead, size_t next_line, std::span<const dcomment> trailing) {
  if (!p.s.docstrings || (lead.empty() && trailing.empty()))
    return NO_TEXT;
  if (!dialect_docstring(lead, next_line, trailing, p.doc))
    return NO_TEXT;
  return text_keep(p.s.texts, p.doc).data();
}

void column_document(dparser& p, dcol& col, const column_doc& doc) {
  column_set_doc(col, keep_doc(p, doc.lead, doc.name_line, doc.after));
}

text keep_note(dparser& p, const dtoken& str) {
  if (!p.s.docstrings)
    return NO_TEXT;
  dlex_string(str, p.doc);
  std::string_view note = lex_cstr(p.doc);  // kept as a C string
  if (note.empty())
    return NO_TEXT;
  return text_keep(p.s.texts, note).data();
}

// ---- statements

bool skip_statement(dparser& p, bool blocks) {
  // A statement that the end of the input cuts short is passed over too.
  if (!skip(p, {.blocks = blocks, .lenient = true}))
    return false;
  at_end(p);
  return true;
}

// One statement, at its first token, dispatched by its first word to the
// statements the dialect reads; any other is passed over.
bool dialect_statement(dparser& p) {
  std::vector<dcomment>& lead = p.lead;
  lead.assign(p.dl.comments.begin(), p.dl.comments.end());
  // The comments after the last statement's end, on its line, are about it:
  // the column it ended with, where that ends there too; nothing else.
  size_t n = 0;
  while (n < lead.size() && lead[n].line == p.end_line)
    n++;
  auto& last = p.last_column;
  if (n > 0 && last.tab != NO_ID && last.col != NO_ID && last.line == p.end_line) {
    last.doc.after.insert(last.doc.after.end(), lead.begin(), lead.begin() + n);
    column_document(p, catalog_edit(p.cat, last.tab).cols[last.col], last.doc);
  }
  lead.erase(lead.begin(), lead.begin() + n);
  last.tab = last.col = NO_ID;
  p.refused = false;
  kw first = dlex_kw(p.t);
  if (!rules_have(p.rules.statements, first)) {
    log_verbose(p.dl.lx, {"ignoring statement: ", log_quote(p.t.raw)});
    return skip_statement(p, false);
  }
  switch (first) {
    case KW_CREATE: return create_statement(p, lead);
    case KW_ALTER: return alter_statement(p, lead);
    case KW_DROP: return drop_statement(p);
    case KW_COMMENT: return comment_statement(p);
    case KW_SET: return set_statement(p);
    case KW_RESET: return reset_statement(p);
    case KW_SELECT: return select_statement(p);
    case KW_RENAME: return rename_statement(p);
    case KW_USE: return use_statement(p);
    case KW_DELIMITER: return delimiter_statement(p);
    case KW_COPY: return copy_statement(p);
    case KW_ATTACH: return attach_statement(p);
    case KW_PRAGMA: return pragma_statement(p);
    case KW_DO: return do_statement(p);
    case KW_DETACH: return detach_statement(p);
    case KW_PREPARE: return prepare_statement(p);
    case KW_BEGIN:
    case KW_START:
    case KW_COMMIT:
    case KW_END:
    case KW_ROLLBACK:
    case KW_ABORT:
    case KW_SAVEPOINT:
    case KW_RELEASE: return transaction_statement(p, first);
    default: return skip_statement(p, false);
  }
}

bool dialect_parse(const diagnostics& d, input_pages& in, schema& s) {
  if (in.bytes.empty()) {
    log_error(d, 0, {d.fname, ": empty file"});
    return false;
  }
  dparser p(d, in, s, dialect_rules_of(s.dialect));
  p.dl.keep_comments = s.docstrings;
  if (in.bytes.starts_with("\xEF\xBB\xBF"))
    p.dl.lx.pos = 3;  // a byte order mark, which the databases' clients pass over
  // Room for a table per 512 bytes, as most dumps have.
  p.cat.by_key.reserve(in.bytes.size() / 512 + 16);
  if (p.rules.spaces == name_spaces::search_path) {
    p.cat.schemas.insert(p.rules.default_schema);
    catalog_path_changed(p.cat);
  }
  for (;;) {
    // Between statements nothing refers to the input: names and comments
    // have been copied.
    input_passed(in, p.dl.lx.pos);
    if (!next(p) || p.t.kind == DTOKEN_END)
      break;
    if (at_end(p))
      continue;  // an empty statement
    if (!dialect_statement(p))
      break;
  }
  if (p.dl.failed) {
    s.tables.clear();
    s.columns.clear();
    return false;
  }
  catalog_finish(p.cat, d);
  return true;
}
