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

// Whether the comment after `prev` starts on its last line or the next:
// no blank line parts them.
bool touches(const dcomment& prev, size_t next_line) { return next_line <= prev.end_line + 1; }

}  // namespace

bool dialect_boilerplate(const dcomment& c) {
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

namespace {

// The comments of `lead` that document the token on `next_line`: the last
// run of them without a blank line, if it touches the token or holds a
// dump tool's note.
std::span<const dcomment> touching(std::span<const dcomment> lead, size_t next_line) {
  if (lead.empty())
    return lead;
  size_t first = lead.size() - 1;
  while (first > 0 && touches(lead[first - 1], lead[first].line))
    first--;
  std::span<const dcomment> run = lead.subspan(first);
  if (touches(run.back(), next_line))
    return run;
  for (const dcomment& c : run)
    if (dialect_boilerplate(c))
      return run;
  return {};
}

bool is_rule(std::string_view text) {
  text = trim(text);
  if (text.size() < 3 || std::string_view("-=*#~_+").find(text[0]) == std::string_view::npos)
    return false;
  return text.find_first_not_of(text[0]) == std::string_view::npos;
}

// A block comment's body with the lines that are rules (after the margin's
// "*" of a framed line) emptied, so that they frame nothing.
std::string without_rules(std::string_view body) {
  std::string out;
  for (size_t start = 0; start <= body.size();) {
    size_t end = body.find('\n', start);
    if (end == std::string_view::npos)
      end = body.size();
    std::string_view line = body.substr(start, end - start);
    std::string_view text = trim(line);
    if (!text.empty() && text[0] == '*' && !is_rule(text))
      text.remove_prefix(1);
    if (!is_rule(text))
      out += line;
    if (end < body.size())
      out += '\n';
    start = end + 1;
  }
  return out;
}

// Adds the text of comment `c` as the reader's own tokenizer makes it.
void add_text(const dcomment& c, std::string& out, std::string& block) {
  if (dialect_boilerplate(c) || dialect_rule_line(c))
    return;
  if (c.kind == dcomment_kind::line) {
    out += c.body;
    if (trim(c.body).empty())
      out += '\n';  // an empty comment line is a paragraph break
  } else {
    // "/**" opens a block as "/*" does: the stars after the opener are its own.
    std::string_view body = c.body;
    while (body.starts_with('*') && body.size() > 1 && (body[1] == '*' || is_space(body[1])))
      body.remove_prefix(1);
    lex_block_text(without_rules(body), block);
    out += block;
  }
}

}  // namespace

bool dialect_rule_line(const dcomment& c) { return is_rule(c.body); }

bool dialect_docstring(std::span<const dcomment> lead, size_t next_line, std::span<const dcomment> trailing,
                       std::string& out) {
  out.clear();
  std::string block;
  for (const dcomment& c : touching(lead, next_line))
    add_text(c, out, block);
  for (const dcomment& c : trailing)
    add_text(c, out, block);
  if (out.empty())
    return false;
  // Paragraph breaks that stand together, with the white space around them,
  // are one; at either end, none.
  size_t w = 0;
  for (size_t i = 0; i < out.size();) {
    size_t j = i;
    bool paragraph = false;
    while (j < out.size() && is_space(out[j]))
      paragraph |= out[j++] == '\n';
    if (paragraph) {
      out[w++] = '\n';
      i = j;
    } else {
      out[w++] = out[i++];
    }
  }
  out.resize(w);
  std::string_view kept = trim(out);
  if (kept.empty()) {
    out.clear();
    return false;
  }
  out = std::string(kept);
  return true;
}
