// The SQL dialects that the reader can read a schema in, as the database
// itself would run it. Without one the schema is read by the reader's own
// loose grammar.
#pragma once

#include <optional>
#include <string_view>

enum class sql_dialect {
  none,      // the reader's own grammar
  postgres,  // PostgreSQL, its files and pg_dump's dumps (psql's meta-commands passed over)
  mysql,     // MySQL and MariaDB, their files and mysqldump's dumps
  sqlite,    // SQLite, its files and sqlite3's .schema
};

/// The dialect called `name` ("postgres", "mysql" or "sqlite"), or nothing.
std::optional<sql_dialect> dialect_named(std::string_view name);

/// The names that dialect_named knows, for messages: "postgres, mysql or sqlite".
inline constexpr const char* DIALECT_NAMES = "postgres, mysql or sqlite";

/// The dialect of a dump whose first lines say which tool wrote it:
/// pg_dump's "-- PostgreSQL database dump", mysqldump's "-- MySQL dump" or
/// "-- MariaDB dump" (after MariaDB's sandbox line), or nothing.
std::optional<sql_dialect> dialect_of_dump(std::string_view input);

/// The name of `d` as dialect_named takes it ("postgres", ...), "" for none.
std::string_view dialect_name(sql_dialect d);
