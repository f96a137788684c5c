// The dialect grammar's statements other than CREATE TABLE and ALTER TABLE:
// DROP, COMMENT ON, the settings that decide where names go, transactions,
// and the lines that belong to a database's client.
#include "reader/chars.h"
#include "reader/dialect_grammar.h"

// ---- DROP

namespace {

// DROP [TEMPORARY] TABLE [IF EXISTS] names, after TABLE; with TEMPORARY
// (`temp_only`), only temporary tables go.
bool drop_table(dparser& p, bool temp_only) {
  std::vector<std::string> parts;
  std::vector<uint32_t> dropped;
  if (!next(p) || !if_exists(p, false))
    return false;
  for (;;) {
    if (!qualified_name(p, parts))
      return false;
    uint32_t ti = resolve_table(p, parts);
    if (ti != NO_ID && (!temp_only || p.cat.tabs[ti].temp))
      dropped.push_back(ti);
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  // PostgreSQL: a table's partitions go with it, and with CASCADE the tables
  // that inherit from it (without, it refuses).
  for (uint32_t ti : dropped) {
    for (uint32_t heir : descendants(p, ti))
      catalog_drop(p.cat, heir);
    catalog_drop(p.cat, ti);
  }
  return rest_of_statement(p);
}

// MySQL's DROP DATABASE | SCHEMA [IF EXISTS] name, after the word: its
// tables go.
bool drop_database(dparser& p) {
  if (!next(p) || !if_exists(p, false))
    return false;
  if (is_name(p)) {
    name_of(p);
    std::string_view space = p.word == p.home_db ? std::string_view() : std::string_view(p.word);
    for (uint32_t ti = 0; ti < p.cat.tabs.size(); ti++)
      if (p.cat.tabs[ti].alive && dtab_space(p.cat.tabs[ti]) == space)
        catalog_drop(p.cat, ti);
  }
  return rest_of_statement(p);
}

// DROP SCHEMA [IF EXISTS] names, after SCHEMA: their tables go too (with
// CASCADE; without it the database refuses a schema that holds any).
bool drop_schema(dparser& p) {
  std::vector<std::string> names;
  if (!next(p) || !if_exists(p, false))
    return false;
  for (;;) {
    if (!is_name(p))
      return unexpected(p, "name");
    name_of(p);
    names.push_back(p.word);
    if (!next(p))
      return false;
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  for (const std::string& n : names)
    if (p.cat.schemas.count(n))
      catalog_drop_schema(p.cat, text_keep(p.s.texts, n));
  return rest_of_statement(p);
}

}  // namespace

bool drop_statement(dparser& p) {
  if (!next(p))
    return false;
  if (at(p, KW_TABLE))
    return drop_table(p, false);
  if (at(p, KW_TEMPORARY) && next_is(p, KW_TABLE))
    return next(p) && drop_table(p, true);
  if (at(p, KW_SCHEMA) && p.rules.spaces == name_spaces::search_path)
    return drop_schema(p);
  if ((at(p, KW_SCHEMA) || at(p, KW_DATABASE)) && p.rules.spaces == name_spaces::databases)
    return drop_database(p);
  return skip_statement(p, false);
}

// ---- COMMENT ON

bool comment_statement(dparser& p) {
  // COMMENT ON TABLE|COLUMN name IS 'text' | NULL
  if (!next(p) || !at(p, KW_ON))
    return p.dl.failed ? false : rest_of_statement(p);
  if (!next(p))
    return false;
  bool on_column = at(p, KW_COLUMN);
  if (!on_column && !at(p, KW_TABLE))
    return rest_of_statement(p);
  std::vector<std::string> parts;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  if (!at(p, KW_IS))
    return unexpected(p, "IS");
  if (!next(p))
    return false;
  text note = NO_TEXT;
  if (p.t.kind == DTOKEN_STRING)
    note = keep_note(p, p.t);
  else if (!at(p, KW_NULL_))
    return unexpected(p, "a string");
  if (!next(p))
    return false;
  std::string col;
  if (on_column) {
    if (parts.size() < 2)
      return rest_of_statement(p);
    col = parts.back();
    parts.pop_back();
  }
  uint32_t ti = resolve_table(p, parts);
  if (ti != NO_ID) {
    dtab& tab = catalog_edit(p.cat, ti);
    if (!on_column) {
      tab.note = note;
    } else if (uint32_t pos = column_find(p.cat, tab, col); pos != NO_ID) {
      tab.cols[pos].c->note = note;
    }
  }
  return rest_of_statement(p);
}

// ---- settings

std::vector<std::string> path_from_text(dparser& p, std::string_view value) {
  std::vector<std::string> path;
  size_t i = 0;
  while (i <= value.size()) {
    size_t comma = value.find(',', i);
    if (comma == std::string_view::npos)
      comma = value.size();
    std::string_view item = trim(value.substr(i, comma - i));
    std::string name;
    if (item.size() >= 2 && item.front() == '"') {
      name = item.substr(1, item.size() - 2);
    } else if (!item.empty()) {
      ascii_lower_into(item, name);
    }
    if (p.rules.name_limit && name.size() > p.rules.name_limit)
      name.resize(p.rules.name_limit);
    if (!name.empty())
      path.push_back(std::move(name));
    i = comma + 1;
  }
  return path;
}

namespace {

// The search path that SET and set_config give, in a transaction or not.
void set_path(dparser& p, std::vector<std::string> path, bool local) {
  if (local) {
    if (p.cat.marks.empty())
      return;  // SET LOCAL outside a transaction does nothing
    if (!p.cat.path_before_local)
      p.cat.path_before_local = p.cat.search_path;
  }
  catalog_set_path(p.cat, std::move(path));
}

// MySQL's sql_mode: NO_BACKSLASH_ESCAPES makes a backslash in a string a
// backslash, ANSI_QUOTES (and ANSI) makes "..." a name. A value that is not
// a list of modes (a variable's) is taken for the default, which has neither.
void sql_mode(dparser& p, std::string_view value) {
  std::string modes;
  ascii_lower_into(value, modes);
  auto has = [&](std::string_view mode) {
    for (size_t at = modes.find(mode); at != std::string::npos; at = modes.find(mode, at + 1)) {
      size_t end = at + mode.size();
      if ((at == 0 || modes[at - 1] == ',') && (end == modes.size() || modes[end] == ','))
        return true;
    }
    return false;
  };
  p.dl.no_backslash_escapes = has("no_backslash_escapes");
  bool ansi = has("ansi_quotes") || has("ansi");
  p.dl.classes[static_cast<unsigned char>('"')] = ansi ? DBYTE_NAME : DBYTE_STRING;
}

// The value of SET name = value | TO value, at "=" or TO, as text; DEFAULT
// is the setting's default, `fallback`.
bool setting_value(dparser& p, std::string& value, std::string_view fallback) {
  value.clear();
  if ((at(p, '=') || at(p, KW_TO)) && !next(p))
    return false;
  std::string part;
  while (!p.dl.failed && !at_end(p)) {
    if (at(p, ',') && p.rules.set_assignments)
      break;  // the next setting
    if (p.t.kind == DTOKEN_STRING) {
      dlex_string(p.t, part);
      value += part;
    } else if (at(p, KW_DEFAULT)) {
      value += fallback;
    } else {
      value += p.t.raw;
    }
    if (!next(p))
      return false;
  }
  return !p.dl.failed;
}

}  // namespace

bool set_statement(dparser& p) {
  // PostgreSQL: SET [SESSION | LOCAL] name {= | TO} value. MySQL: SET
  // [SESSION | GLOBAL] name = value [, name = value ...], names with @@.
  if (!next(p))
    return false;
  bool local = at(p, KW_LOCAL) && p.rules.transactional_ddl;
  for (;;) {
    // The setting's scope: a GLOBAL one changes nothing of this session.
    bool global = false;
    if (at(p, KW_SESSION) || at(p, KW_LOCAL) || at(p, KW_GLOBAL)) {
      global = at(p, KW_GLOBAL);
      if (!next(p))
        return false;
    }
    while ((at(p, '@') || at(p, '.') || at(p, KW_SESSION) || at(p, KW_GLOBAL) || at(p, KW_LOCAL)) &&
           p.t.kind != DTOKEN_END) {
      global |= at(p, KW_GLOBAL);
      if (!next(p))
        return false;
    }
    kw name = global ? KW_NONE : dlex_kw(p.t);
    if (!next(p))
      return false;
    std::string value;
    if ((name == KW_SEARCH_PATH || name == KW_SCHEMA) && p.rules.spaces == name_spaces::search_path) {
      // SET SCHEMA 'name' is SET search_path TO 'name'.
      if (!setting_value(p, value, "\"$user\", public"))
        return false;
      set_path(p, path_from_text(p, value), local);
    } else if (name == KW_SQL_MODE && p.rules.backslash_strings) {
      if (!setting_value(p, value, ""))
        return false;
      sql_mode(p, value);
    } else if (name == KW_STANDARD_CONFORMING_STRINGS && p.rules.escape_strings) {
      if (!setting_value(p, value, "on"))
        return false;
      std::string v;
      ascii_lower_into(trim(value), v);
      p.dl.backslash_strings = v == "off" || v == "false" || v == "0";
    } else if ((name == KW_DEFAULT_STORAGE_ENGINE || name == KW_STORAGE_ENGINE) && p.rules.engines) {
      if (!setting_value(p, value, "innodb"))
        return false;
      p.default_engine_keeps_keys = engine_keeps_keys(trim(value));
    } else if (!setting_value(p, value, "")) {
      return false;
    }
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  return rest_of_statement(p);
}

bool reset_statement(dparser& p) {
  // RESET search_path | ALL: the default, "$user", public.
  if (!next(p))
    return false;
  if (at(p, KW_SEARCH_PATH) || at(p, KW_ALL))
    catalog_set_path(p.cat, {"$user", "public"});
  return rest_of_statement(p);
}

namespace {

// pg_dump's SELECT pg_catalog.set_config('search_path', '', false), after
// SELECT.
bool set_config(dparser& p) {
  std::vector<std::string> args;
  std::string value;
  while (!p.dl.failed && !at_end(p)) {
    if (p.t.kind == DTOKEN_STRING) {
      dlex_string(p.t, value);
      args.push_back(value);
    } else if (p.t.kind == DTOKEN_WORD && !args.empty()) {
      args.push_back(std::string(p.t.raw));
    }
    if (!next(p))
      return false;
  }
  if (args.size() >= 2 && args[0] == "search_path") {
    std::string local;
    if (args.size() >= 3)
      ascii_lower_into(args[2], local);
    set_path(p, path_from_text(p, args[1]), local == "true");
  }
  return !p.dl.failed;
}

}  // namespace

bool select_statement(dparser& p) {
  // SELECT set_config(...), or SELECT ... INTO t: a table of the query's columns.
  const dtoken& after = dlex_peek(p.dl);
  if (ascii_iequal(after.raw, "pg_catalog") || ascii_iequal(after.raw, "set_config")) {
    if (!next(p))
      return false;
    return set_config(p);
  }
  std::vector<query_col> cols;
  std::vector<std::string> into;
  if (!query_output(p, cols, &into))
    return false;
  if (!into.empty()) {
    table_ref ref = resolve_new(p, into);
    dtab tab;
    for (const query_col& c : cols)
      if (column_find(p.cat, tab, c.name) == NO_ID)
        column_add(p.cat, tab, text_keep(p.s.texts, c.name), NO_TEXT);
    if (!ref.temp)
      catalog_add(p.cat, std::move(tab), ref.space, ref.name, false);
  }
  return rest_of_statement(p);
}

// ---- MySQL's names and lines

bool rename_statement(dparser& p) {
  // RENAME TABLE a TO b [, c TO d ...]
  if (!next(p))
    return false;
  if (!at(p, KW_TABLE))
    return skip_statement(p, false);
  std::vector<std::string> from, to;
  if (!next(p))
    return false;
  for (;;) {
    if (!qualified_name(p, from))
      return false;
    if (!at(p, KW_TO))
      return unexpected(p, "TO");
    if (!next(p) || !qualified_name(p, to))
      return false;
    uint32_t ti = resolve_table(p, from);
    if (ti != NO_ID) {
      table_ref r = resolve_new(p, to);
      catalog_rename(p.cat, ti, r.space, r.name);
    }
    if (!at(p, ','))
      break;
    if (!next(p))
      return false;
  }
  return rest_of_statement(p);
}

bool use_statement(dparser& p) {
  if (!next(p))
    return false;
  if (is_name(p)) {
    dlex_name(p.t, p.rules, p.current_db);
    if (!p.db_chosen && p.cat.tabs.empty())
      p.home_db = p.current_db;
    p.db_chosen = true;
  }
  return rest_of_statement(p);
}

bool delimiter_statement(dparser& p) {
  // DELIMITER //: the rest of the line is the new delimiter.
  dlex_unpeek(p.dl);
  lexer& lx = p.dl.lx;
  size_t i = lx.pos;
  while (i < lx.len && (lx.buf[i] == ' ' || lx.buf[i] == '\t'))
    i++;
  size_t start = i;
  while (i < lx.len && !is_space(lx.buf[i]))
    i++;
  if (i > start)
    p.dl.delimiter.assign(lx.buf + start, i - start);
  p.dl.semicolon = p.dl.delimiter == ";";
  while (i < lx.len && lx.buf[i] != '\n')
    i++;
  lex_advance(lx, i);
  p.dl.statement_open = false;
  return true;
}

bool copy_statement(dparser& p) {
  // COPY t FROM stdin; then the rows, up to a line "\.".
  bool from_stdin = false, from = false;
  if (!next(p))
    return false;
  while (!p.dl.failed && !at_end(p)) {
    from_stdin |= from && at(p, KW_STDIN);
    from = at(p, KW_FROM);
    if (!next(p))
      return false;
  }
  if (p.dl.failed)
    return false;
  if (!from_stdin)
    return true;
  dlex_unpeek(p.dl);
  lexer& lx = p.dl.lx;
  std::string_view rest(lx.buf + lx.pos, lx.len - lx.pos);
  size_t line = rest.find('\n');
  while (line != std::string_view::npos) {
    size_t start = line + 1, end = rest.find('\n', start);
    std::string_view text = rest.substr(start, end == std::string_view::npos ? rest.size() - start : end - start);
    if (text == "\\." || text == "\\.\r") {
      lex_advance(lx, lx.pos + (end == std::string_view::npos ? rest.size() : end));
      return true;
    }
    line = end;
  }
  lex_advance(lx, lx.len);
  return true;
}

// ---- transactions

bool transaction_statement(dparser& p, kw first) {
  // BEGIN [WORK|TRANSACTION|DEFERRED|...], START TRANSACTION, COMMIT, END,
  // ROLLBACK [TO [SAVEPOINT] name], ABORT, SAVEPOINT name, RELEASE [SAVEPOINT] name.
  if (!next(p))
    return false;
  if (first == KW_START && !at(p, KW_TRANSACTION))
    return skip_statement(p, false);
  // COMMIT | ROLLBACK [WORK | TRANSACTION] AND CHAIN: the next
  // transaction begins at once.
  auto chained = [&] {
    if ((at(p, KW_WORK) || at(p, KW_TRANSACTION)) && !next(p))
      return false;
    if (at(p, KW_AND) && next_is(p, KW_CHAIN))
      catalog_begin(p.cat);
    return true;
  };
  switch (first) {
    case KW_BEGIN:
    case KW_START: catalog_begin(p.cat); break;
    case KW_COMMIT:
    case KW_END:
      catalog_commit(p.cat);
      if (!chained())
        return false;
      break;
    case KW_ABORT:
      catalog_rollback(p.cat);
      if (!chained())
        return false;
      break;
    case KW_ROLLBACK:
      if ((at(p, KW_WORK) || at(p, KW_TRANSACTION)) && !next(p))
        return false;
      if (!at(p, KW_TO)) {
        catalog_rollback(p.cat);
        if (!chained())
          return false;
        break;
      }
      if (!next(p) || (at(p, KW_SAVEPOINT) && !next(p)))
        return false;
      if (is_name(p)) {
        name_of(p);
        catalog_rollback_to(p.cat, p.word);
      }
      break;
    case KW_SAVEPOINT:
    case KW_RELEASE:
      if (first == KW_RELEASE && at(p, KW_SAVEPOINT) && !next(p))
        return false;
      if (is_name(p)) {
        name_of(p);
        if (first == KW_SAVEPOINT)
          catalog_savepoint(p.cat, p.word);
        else
          catalog_release(p.cat, p.word);
      }
      break;
    default: break;
  }
  return skip_statement(p, false);
}

// ---- CREATE SCHEMA

bool create_schema(dparser& p) {
  // CREATE SCHEMA [IF NOT EXISTS] name [AUTHORIZATION role] [element ...],
  // or CREATE SCHEMA AUTHORIZATION role: the role's name. The elements
  // (CREATE TABLE, CREATE VIEW, GRANT, ...) follow without ";", and make
  // what they make in the new schema.
  if (!next(p) || !if_exists(p, true))
    return false;
  std::string name;
  bool by_role = at(p, KW_AUTHORIZATION);
  if (by_role && !next(p))
    return false;
  if (!is_name(p))
    return unexpected(p, "name");
  name_of(p);
  name = p.word;
  if (!next(p))
    return false;
  if (!by_role && at(p, KW_AUTHORIZATION) && (!next(p) || !next(p)))
    return false;
  catalog_add_schema(p.cat, text_keep(p.s.texts, name));
  if (!p.rules.schema_elements)
    return rest_of_statement(p);
  static constexpr kw element_words[] = {KW_CREATE, KW_GRANT};
  std::vector<std::string> outer = p.cat.search_path;
  p.cat.search_path.insert(p.cat.search_path.begin(), name);
  catalog_path_changed(p.cat);
  p.element_stops = element_words;
  // Each element ends at the next one, or at the statement's delimiter,
  // which stays the current token.
  bool ok = true;
  while (ok && !p.dl.failed) {
    if (at(p, KW_CREATE)) {
      std::vector<dcomment> lead(p.dl.comments.begin(), p.dl.comments.end());
      ok = create_statement(p, lead);
    } else if (at(p, KW_GRANT)) {
      ok = next(p) && skip(p, {});
    } else {
      break;
    }
  }
  p.element_stops = {};
  p.cat.search_path = std::move(outer);
  catalog_path_changed(p.cat);
  return ok && !p.dl.failed && rest_of_statement(p);
}

// ---- SQLite's attached databases

bool attach_statement(dparser& p) {
  // ATTACH [DATABASE] file AS name: its tables are not the file's.
  static constexpr kw as[] = {KW_AS};
  if (!next(p) || !skip(p, {.words = as}))
    return false;
  if (at(p, KW_AS) && next(p) && is_name(p)) {
    name_of(p);
    std::string key;
    catalog_key(p.cat, p.word, "", key);
    p.attached.push_back(key.substr(0, key.find('\x1f')));
    if (!next(p))
      return false;
  }
  return !p.dl.failed && rest_of_statement(p);
}

bool detach_statement(dparser& p) {
  // DETACH [DATABASE] name: its tables are gone from the session.
  if (!next(p) || (at(p, KW_DATABASE) && !next(p)))
    return false;
  if (is_name(p)) {
    name_of(p);
    std::string key;
    catalog_key(p.cat, p.word, "", key);
    std::string space = key.substr(0, key.find('\x1f'));
    std::erase(p.attached, space);
    for (uint32_t ti = 0; ti < p.cat.tabs.size(); ti++)
      if (p.cat.tabs[ti].alive && dtab_space(p.cat.tabs[ti]) == space)
        catalog_drop(p.cat, ti);
    if (!next(p))
      return false;
  }
  return !p.dl.failed && rest_of_statement(p);
}

bool pragma_statement(dparser& p) {
  // PRAGMA [schema.]name [= value | (value)]: the two that decide what a
  // rename does to the keys that refer to the table.
  std::vector<std::string> parts;
  if (!next(p) || !qualified_name(p, parts))
    return false;
  bool* setting = ascii_iequal(parts.back(), "legacy_alter_table") ? &p.legacy_alter_table
                  : ascii_iequal(parts.back(), "foreign_keys")     ? &p.foreign_keys
                                                                   : nullptr;
  bool paren = at(p, '(');
  if ((at(p, '=') || paren) && !next(p))
    return false;
  if (setting && (p.t.kind == DTOKEN_WORD || p.t.kind == DTOKEN_STRING)) {
    std::string value;
    if (p.t.kind == DTOKEN_STRING)
      dlex_string(p.t, value);
    else
      value = p.t.raw;
    static constexpr std::string_view on[] = {"1", "on", "true", "yes"};
    static constexpr std::string_view off[] = {"0", "off", "false", "no"};
    for (std::string_view v : on)
      if (ascii_iequal(value, v))
        *setting = true;
    for (std::string_view v : off)
      if (ascii_iequal(value, v))
        *setting = false;
  }
  return skip_statement(p, false);
}
