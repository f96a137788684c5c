// The dialects' names.
#include "reader/dialect.h"

std::optional<sql_dialect> dialect_named(std::string_view name) {
  if (name == "postgres")
    return sql_dialect::postgres;
  if (name == "mysql")
    return sql_dialect::mysql;
  if (name == "sqlite")
    return sql_dialect::sqlite;
  return std::nullopt;
}

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

std::string_view dialect_name(sql_dialect d) {
  switch (d) {
    case sql_dialect::postgres: return "postgres";
    case sql_dialect::mysql: return "mysql";
    case sql_dialect::sqlite: return "sqlite";
    case sql_dialect::none: break;
  }
  return "";
}
