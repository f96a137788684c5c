// The dialects' rules: one row per database. A new database is a new row
// here, the value of sql_dialect that names it, and the statements that only
// it has (reader/dialect_parse.h says where those go).
#include "reader/dialect.h"

#include <array>

#include "reader/chars.h"

namespace {

// ---- PostgreSQL

constexpr kw pg_constraints[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE, KW_CHECK, KW_FOREIGN, KW_EXCLUDE};
constexpr kw pg_column_words[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE, KW_CHECK, KW_REFERENCES};
constexpr kw pg_statements[] = {KW_CREATE, KW_ALTER,  KW_DROP,   KW_COMMENT,  KW_SET,       KW_RESET,
                                KW_SELECT, KW_PREPARE, KW_BEGIN, KW_START,   KW_COMMIT,    KW_END,
                                KW_ROLLBACK, KW_ABORT, KW_SAVEPOINT, KW_RELEASE, KW_COPY, KW_DO};
constexpr kw pg_alter[] = {KW_ADD, KW_DROP, KW_RENAME, KW_ATTACH, KW_DETACH, KW_INHERIT, KW_NO, KW_SET};
constexpr std::string_view pg_words[] = {
    "SERIAL", "BIGSERIAL", "SMALLSERIAL", "TIMESTAMPTZ", "BYTEA", "JSONB", "TSVECTOR", "PLPGSQL", "NEXTVAL",
    "REGCLASS", "ILIKE", "search_path",
};
constexpr std::string_view pg_marks[] = {"::", "$$", "E'"};
constexpr std::string_view pg_send[] = {"g", "gx", "gset", "gexec", "gdesc", "crosstabview"};

// ---- MySQL and MariaDB

constexpr kw my_constraints[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE,   KW_CHECK,  KW_FOREIGN,
                                 KW_KEY,        KW_INDEX,   KW_FULLTEXT, KW_SPATIAL, KW_PERIOD};
constexpr kw my_column_words[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE, KW_CHECK, KW_REFERENCES, KW_KEY, KW_COMMENT};
constexpr kw my_statements[] = {KW_CREATE, KW_ALTER, KW_DROP, KW_SET, KW_RENAME, KW_USE, KW_DELIMITER};
constexpr kw my_alter[] = {KW_ADD, KW_DROP, KW_RENAME, KW_CHANGE, KW_MODIFY, KW_COMMENT, KW_ENGINE};
constexpr std::string_view my_words[] = {
    "AUTO_INCREMENT", "UNSIGNED", "CHARSET", "TINYINT", "MEDIUMINT", "MEDIUMTEXT", "LONGTEXT",
    "TINYTEXT", "LONGBLOB", "MEDIUMBLOB", "ZEROFILL",
};
constexpr std::string_view my_marks[] = {"`", "/*!"};
constexpr std::string_view my_send[] = {"g", "G"};
constexpr std::string_view my_client_words[] = {"charset", "warnings", "nowarning", "tee", "notee", "pager", "nopager",
                                                "rehash", "status", "prompt", "connect", "system", "source", "print",
                                                "help", "ego", "go", "exit", "quit", "resetconnection"};

// ---- SQLite

constexpr kw lite_constraints[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE, KW_CHECK, KW_FOREIGN};
constexpr kw lite_column_words[] = {KW_CONSTRAINT, KW_PRIMARY, KW_UNIQUE, KW_CHECK, KW_REFERENCES};
constexpr kw lite_statements[] = {KW_CREATE, KW_ALTER,    KW_DROP,      KW_BEGIN,   KW_COMMIT, KW_END,
                                  KW_ROLLBACK, KW_SAVEPOINT, KW_RELEASE, KW_ATTACH, KW_DETACH, KW_PRAGMA};
constexpr kw lite_alter[] = {KW_ADD, KW_DROP, KW_RENAME};
constexpr std::string_view lite_words[] = {"AUTOINCREMENT", "PRAGMA", "sqlite_sequence"};
constexpr std::string_view lite_marks[] = {"WITHOUT ROWID"};
constexpr std::string_view lite_terminators[] = {"go", "/"};

constexpr dialect_rules rows[] = {
    {
        .id = sql_dialect::postgres,
        .name = "postgres",
        .title = "PostgreSQL",
        .dump_tool = "pg_dump",
        .name_quotes = "\"",
        .string_quotes = "'",
        .bracket_names = false,
        .backslash_strings = false,
        .escape_strings = true,
        .unicode_strings = true,
        .dollar_quotes = true,
        .charset_introducers = false,
        .nested_comments = true,
        .hash_comments = false,
        .dash_comment_needs_space = false,
        .executable_comments = false,
        .open_comment_ok = false,
        .meta_command = '\\',
        .send_commands = pg_send,
        .delimiter_command = "",
        .client_variables = true,
        .client_words = {},
        .terminator_lines = {},
        .executable_below = 0,
        .executable_upto = 0,
        .joining = string_joining::across_lines,
        .strings_as_names = false,
        .folds_names = true,
        .columns_ignore_case = false,
        .tables_ignore_case = false,
        .name_limit = 63,
        .default_schema = "public",
        .spaces = name_spaces::search_path,
        .transactional_ddl = true,
        .fkeys_by_name = false,
        .engines = false,
        .naming = key_naming::postgres,
        .comment_clauses = false,
        .inheritance = true,
        .virtual_tables = false,
        .query_after_items = false,
        .query_keeps_comments = false,
        .query_names_strings = false,
        .query_names = query_naming::by_expression,
        .query_duplicates = duplicate_names::refused,
        .using_columns = using_place::first,
        .typed_tables = true,
        .placed_columns = false,
        .schema_elements = true,
        .keys_using_index = true,
        .like = like_item::options,
        .set_assignments = false,
        .rename_bare_name = false,
        .constraint_words = pg_constraints,
        .column_words = pg_column_words,
        .statements = pg_statements,
        .alter_actions = pg_alter,
        .telltale_words = pg_words,
        .telltale_marks = pg_marks,
    },
    {
        .id = sql_dialect::mysql,
        .name = "mysql",
        .title = "MySQL",
        .dump_tool = "mysqldump",
        .name_quotes = "`",
        .string_quotes = "'\"",
        .bracket_names = false,
        .backslash_strings = true,
        .escape_strings = false,
        .unicode_strings = false,
        .dollar_quotes = false,
        .charset_introducers = true,
        .nested_comments = false,
        .hash_comments = true,
        .dash_comment_needs_space = true,
        .executable_comments = true,
        .open_comment_ok = false,
        .meta_command = '\\',
        .send_commands = my_send,
        .delimiter_command = "d",
        .client_variables = false,
        .client_words = my_client_words,
        .terminator_lines = {},
        .executable_below = 50700,
        .executable_upto = 101199,
        .joining = string_joining::adjacent,
        .strings_as_names = true,
        .folds_names = false,
        .columns_ignore_case = true,
        .tables_ignore_case = false,
        .name_limit = 0,
        .default_schema = "",
        .spaces = name_spaces::databases,
        .transactional_ddl = false,
        .fkeys_by_name = true,
        .engines = true,
        .naming = key_naming::mysql,
        .comment_clauses = true,
        .inheritance = false,
        .virtual_tables = false,
        .query_after_items = true,
        .query_keeps_comments = true,
        .query_names_strings = true,
        .query_names = query_naming::as_written,
        .query_duplicates = duplicate_names::refused,
        .using_columns = using_place::first,
        .typed_tables = false,
        .placed_columns = true,
        .schema_elements = false,
        .keys_using_index = false,
        .like = like_item::whole,
        .set_assignments = true,
        .rename_bare_name = true,
        .constraint_words = my_constraints,
        .column_words = my_column_words,
        .statements = my_statements,
        .alter_actions = my_alter,
        .telltale_words = my_words,
        .telltale_marks = my_marks,
    },
    {
        .id = sql_dialect::sqlite,
        .name = "sqlite",
        .title = "SQLite",
        .dump_tool = "sqlite3",
        .name_quotes = "\"`",
        .string_quotes = "'",
        .bracket_names = true,
        .backslash_strings = false,
        .escape_strings = false,
        .unicode_strings = false,
        .dollar_quotes = false,
        .charset_introducers = false,
        .nested_comments = false,
        .hash_comments = false,
        .dash_comment_needs_space = false,
        .executable_comments = false,
        .open_comment_ok = true,
        .meta_command = '.',
        .send_commands = {},
        .delimiter_command = "",
        .client_variables = false,
        .client_words = {},
        .terminator_lines = lite_terminators,
        .executable_below = 0,
        .executable_upto = 0,
        .joining = string_joining::none,
        .strings_as_names = true,
        .folds_names = false,
        .columns_ignore_case = true,
        .tables_ignore_case = true,
        .name_limit = 0,
        .default_schema = "main",
        .spaces = name_spaces::attached,
        .transactional_ddl = true,
        .fkeys_by_name = true,
        .engines = false,
        .naming = key_naming::none,
        .comment_clauses = false,
        .inheritance = false,
        .virtual_tables = true,
        .query_after_items = false,
        .query_keeps_comments = false,
        .query_names_strings = false,
        .query_names = query_naming::as_written,
        .query_duplicates = duplicate_names::numbered,
        .using_columns = using_place::in_place,
        .typed_tables = false,
        .placed_columns = false,
        .schema_elements = false,
        .keys_using_index = false,
        .like = like_item::none,
        .set_assignments = false,
        .rename_bare_name = false,
        .constraint_words = lite_constraints,
        .column_words = lite_column_words,
        .statements = lite_statements,
        .alter_actions = lite_alter,
        .telltale_words = lite_words,
        .telltale_marks = lite_marks,
    },
};

}  // namespace

const dialect_rules& dialect_rules_of(sql_dialect d) { return rows[static_cast<int>(d) - 1]; }

std::span<const dialect_rules> dialect_rows() { return rows; }

std::optional<sql_dialect> dialect_named(std::string_view name) {
  for (const dialect_rules& r : rows)
    if (r.name == name)
      return r.id;
  return std::nullopt;
}

std::string_view dialect_name(sql_dialect d) { return d == sql_dialect::none ? "" : dialect_rules_of(d).name; }

std::optional<sql_dialect> dialect_of_dump(std::string_view input) {
  // The heading is the first line that is not a bare "--" or MariaDB's
  // sandbox line.
  for (;;) {
    size_t end = input.find('\n');
    std::string_view text = input.substr(0, end);
    if (text.starts_with("-- PostgreSQL database dump"))
      return sql_dialect::postgres;
    if (text.starts_with("-- MySQL dump ") || text.starts_with("-- MariaDB dump "))
      return sql_dialect::mysql;
    bool lead_in = text == "--" || text == "--\r" || text.starts_with("/*M!");
    if (!lead_in || end == std::string_view::npos)
      return std::nullopt;
    input.remove_prefix(end + 1);
  }
}

namespace {

constexpr size_t guess_window = size_t(4) << 20;

bool word_byte(unsigned char c) { return is_letter(c) || is_digit(c) || c == '_'; }

// Notes telltale `t` of dialect `d` once.
void found(std::array<std::array<std::string_view, 8>, 3>& seen, std::array<size_t, 3>& count, size_t d,
           std::string_view t) {
  for (size_t i = 0; i < count[d] && i < seen[d].size(); i++)
    if (seen[d][i] == t)
      return;
  if (count[d] < seen[d].size())
    seen[d][count[d]] = t;
  count[d]++;
}

}  // namespace

dialect_guess dialect_of_text(std::string_view input) {
  if (std::optional<sql_dialect> dump = dialect_of_dump(input)) {
    dialect_guess g;
    g.dialect = *dump;
    g.evidence[0] = DUMP_HEADING;
    g.found = 1;
    return g;
  }
  std::string_view s = input.substr(0, guess_window);
  std::array<std::array<std::string_view, 8>, 3> seen{};
  std::array<size_t, 3> count{};
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = s[i];
    // Strings and comments say nothing of the dialect; their quotes and
    // openers are common to all three.
    if (c == '\'' || c == '"' || c == '`') {
      // A string or a quoted name; a backquote is a telltale itself.
      if (c == '`')
        for (size_t d = 0; d < dialect_rows().size(); d++)
          for (std::string_view m : dialect_rows()[d].telltale_marks)
            if (m == "`")
              found(seen, count, d, m);
      size_t end = s.find(char(c), i + 1);
      i = end == std::string_view::npos ? s.size() : end + 1;
      continue;
    }
    if (c == '-' && i + 1 < s.size() && s[i + 1] == '-') {
      size_t end = s.find('\n', i);
      i = end == std::string_view::npos ? s.size() : end + 1;
      continue;
    }
    if (c == '/' && i + 1 < s.size() && s[i + 1] == '*' && !(i + 2 < s.size() && s[i + 2] == '!')) {
      size_t end = s.find("*/", i + 2);
      i = end == std::string_view::npos ? s.size() : end + 2;
      continue;
    }
    const auto& all = dialect_rows();
    if (word_byte(c)) {
      size_t end = i;
      while (end < s.size() && word_byte(s[end]))
        end++;
      std::string_view word = s.substr(i, end - i);
      for (size_t d = 0; d < all.size(); d++)
        for (std::string_view t : all[d].telltale_words)
          if (ascii_iequal(word, t))
            found(seen, count, d, t);
      // A mark may begin with the word: E'...', WITHOUT ROWID.
      for (size_t d = 0; d < all.size(); d++)
        for (std::string_view m : all[d].telltale_marks)
          if (word_byte(m[0]) && ascii_istarts_with(s.substr(i), m))
            found(seen, count, d, m);
      i = end;
      continue;
    }
    for (size_t d = 0; d < all.size(); d++)
      for (std::string_view m : all[d].telltale_marks)
        if (!word_byte(m[0]) && s.substr(i).starts_with(m))
          found(seen, count, d, m);
    i++;
  }
  dialect_guess g;
  size_t best = 0;
  for (size_t d = 1; d < count.size(); d++)
    if (count[d] > count[best])
      best = d;
  if (count[best] == 0)
    return g;
  for (size_t d = 0; d < count.size(); d++)
    if (d != best && count[d] == count[best]) {
      g.leader = dialect_rows()[best].id;
      g.rival = dialect_rows()[d].id;
      g.found = 1;
      return g;
    }
  g.dialect = dialect_rows()[best].id;
  for (; g.found < 3 && g.found < count[best]; g.found++)
    g.evidence[g.found] = seen[best][g.found];
  return g;
}
