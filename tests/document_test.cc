// Tests of the document writer's option for the page: each table's entry
// lists the tables whose keys point at it, and without the option the
// fragment is tabledoc's own.
#include "tabledoc/document.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "reader/read.h"
#include "tests/test_support.h"

namespace {

std::string document(std::string_view sql, bool referenced_by) {
  schema s;
  Messages messages;
  EXPECT_TRUE(parse_buf(messages.diag(), sql, s)) << messages.text();
  return written([&](writer& w) { write_document(w, s, {.referenced_by = referenced_by}); });
}

// The "Referenced by" lines of a document, one per line.
std::string referrers(const std::string& doc) {
  std::string lines;
  for (size_t at = doc.find("<div class=\"referenced\">"); at != std::string::npos;
       at = doc.find("<div class=\"referenced\">", at + 1))
    lines += doc.substr(at, doc.find('\n', at) - at) + "\n";
  return lines;
}

TEST(Document, ReferencedBy) {
  // posts refers to users twice and to itself; tags to users and posts; the
  // tables are written in name order, and so are their referrers.
  const char* sql =
      "CREATE TABLE users (id INT);\n"
      "CREATE TABLE posts (id INT, author INT REFERENCES users (id), editor INT REFERENCES users (id),\n"
      "  parent INT REFERENCES posts (id));\n"
      "CREATE TABLE tags (post INT REFERENCES posts (id), \"by <me>\" INT REFERENCES users (id));\n"
      "CREATE TABLE \"a b\" (x INT REFERENCES users (id));\n";
  EXPECT_EQ(referrers(document(sql, true)),
            "<div class=\"referenced\">Referenced by <a href=\"#sql-tags\">tags</a></div>\n"
            "<div class=\"referenced\">Referenced by <a href=\"#sql-a_b\">a b</a>, "
            "<a href=\"#sql-posts\">posts</a>, <a href=\"#sql-tags\">tags</a></div>\n");
  // The line stands after the table's comment, before its columns.
  std::string doc = document("-- Who.\nCREATE TABLE u (id INT);\nCREATE TABLE p (a INT REFERENCES u (id));\n", true);
  size_t comment = doc.find("Who."), line = doc.find("Referenced by"), cols = doc.find("<dl class=\"cols\">", comment);
  EXPECT_LT(comment, line);
  EXPECT_LT(line, cols);
}

TEST(Document, ReferencedByIsOffByDefault) {
  const char* sql = "CREATE TABLE u (id INT);\nCREATE TABLE p (a INT REFERENCES u (id));\n";
  schema s;
  Messages messages;
  ASSERT_TRUE(parse_buf(messages.diag(), sql, s));
  std::string plain = written([&](writer& w) { write_document(w, s); });
  EXPECT_EQ(plain, document(sql, false));
  EXPECT_EQ(plain.find("referenced"), std::string::npos);
}

}  // namespace
