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
