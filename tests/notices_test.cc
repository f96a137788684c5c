// Tests of how schemapage shows the reader's messages.
#include "page/notices.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

std::string shown(const std::string& messages, bool all) {
  Messages out;
  write_notices(out.stream, messages, "s.sql", all);
  return out.text();
}

TEST(Notices, RepeatsSummedUp) {
  const std::string messages =
      "s.sql:3:7: ignoring non-table creation\n"
      "s.sql:4:1: syntax error trailing columns\n"
      "s.sql:9:7: ignoring non-table creation\n"
      "s.sql:12:7: ignoring non-table creation\n"
      "s.sql: unknown foreign key table on a.b: c.d\n"
      "s.sql:20:1: ignoring top-level statement\n"
      "s.sql:21:1: ignoring top-level statement\n"
      "schemapage: s.sql: Input/output error\n";
  EXPECT_EQ(shown(messages, false),
            "s.sql:3:7: ignoring non-table creation\n"
            "s.sql:4:1: syntax error trailing columns\n"
            "s.sql: unknown foreign key table on a.b: c.d\n"
            "s.sql:20:1: ignoring top-level statement\n"
            "schemapage: s.sql: Input/output error\n"
            "s.sql: ignoring non-table creation: 2 more times (-v shows each)\n"
            "s.sql: ignoring top-level statement: 1 more time (-v shows each)\n");
  EXPECT_EQ(shown(messages, true), messages);
  EXPECT_EQ(shown("", false), "");
}

TEST(Notices, Text) {
  const struct {
    const char* line;
    const char* text;
  } cases[] = {
      {"s.sql:3:7: ignoring non-table creation", "ignoring non-table creation"},
      {"s.sql: foreign key exists: a.b", "s.sql: foreign key exists: a.b"},
      {"s.sql:3: no column", "s.sql:3: no column"},
      {"s.sql:3:x: no column", "s.sql:3:x: no column"},
      {"t.sql:3:7: another file", "t.sql:3:7: another file"},
      {"s.sql:3:7:", "s.sql:3:7:"},
  };
  for (const auto& c : cases) EXPECT_EQ(notice_text(c.line, "s.sql"), c.text) << c.line;
}

}  // namespace
