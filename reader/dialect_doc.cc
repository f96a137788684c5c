// Docstrings of the dialect readings.
#include "reader/dialect_doc.h"

#include <string_view>

#include "reader/chars.h"

namespace {

// How the dump tools begin the comments that describe their own output.
constexpr std::string_view dump_lines[] = {
    // pg_dump
    "PostgreSQL database dump", "Dumped from database version", "Dumped by pg_dump version", "TOC entry ",
    "Data for Name: ", "Started on ", "Completed on ",
    // mysqldump and mariadb-dump
    "MySQL dump ", "MariaDB dump ", "Server version", "Table structure for table ",
    "Dumping data for table ", "Dumping routines for database ", "Dumping events for database ", "Dump completed on ",
    "Temporary table structure for view ", "Temporary view structure for view ", "Final view structure for view ",
    "Current Database: ", "Position to start replication", "GTID state at ",
    // sqlite3's .schema
    "No STAT tables available",
};

std::string_view trim(std::string_view s) {
  while (!s.empty() && is_space(s.front()))
    s.remove_prefix(1);
  while (!s.empty() && is_space(s.back()))
    s.remove_suffix(1);
  return s;
}

}  // namespace

bool dialect_boilerplate(const dcomment& c) {
  if (c.kind == dcomment_kind::executable)
    return true;
  std::string_view text = trim(c.body);
  // pg_dump's heading of every object: "Name: t; Type: TABLE; Schema: public; Owner: -".
  if (text.starts_with("Name: ") && text.find("; Type: ") != std::string_view::npos)
    return true;
  // mysqldump's heading: "Host: localhost    Database: app".
  if (text.starts_with("Host: ") && text.find("Database: ") != std::string_view::npos)
    return true;
  for (std::string_view start : dump_lines)
    if (!text.empty() && text[0] == start[0] && text.starts_with(start))  // most differ at once
      return true;
  return false;
}

bool dialect_docstring(std::span<const dcomment> comments, std::string& out) {
  out.clear();
  std::string block;
  for (const dcomment& c : comments) {
    if (dialect_boilerplate(c))
      continue;
    if (c.kind == dcomment_kind::line) {
      out += c.body;
      if (trim(c.body).empty())
        out += '\n';  // an empty comment line is a paragraph break
    } else {
      lex_block_text(c.body, block);
      out += block;
    }
  }
  if (trim(out).empty()) {
    out.clear();
    return false;
  }
  return true;
}
