// Tests of filling the page's template.
#include "page/template.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace {

std::string filled(std::string_view tmpl) {
  const page_marker markers[] = {{"TITLE", "Title @ENGINE@ @TITLE@"}, {"ENGINE", "dot"}, {"EMPTY", ""}};
  return written([&](writer& w) { fill_template(w, tmpl, markers); });
}

TEST(Template, EachMarkerOnce) {
  const struct {
    const char* tmpl;
    const char* want;
  } cases[] = {
      // What a marker stands for is never searched for markers.
      {"<title>@TITLE@</title>", "<title>Title @ENGINE@ @TITLE@</title>"},
      {"@ENGINE@@ENGINE@", "dotdot"},
      {"a@EMPTY@b", "ab"},
      {"mail@example.org @ENGINE", "mail@example.org @ENGINE"},
      {"@@ENGINE@@", "@dot@"},
      {"@OTHER@ @engine@", "@OTHER@ @engine@"},
      {"", ""},
      {"@", "@"},
  };
  for (const auto& c : cases) EXPECT_EQ(filled(c.tmpl), c.want) << c.tmpl;
}

TEST(Template, BuiltIn) {
  // The markers filled at build time are gone, those filled at run time there.
  for (const char* gone : {"@PAGE_STYLE@", "@PAGE_SCRIPT@", "@SCRIPT_HASHES@"})
    EXPECT_EQ(PAGE_TEMPLATE.find(gone), std::string_view::npos) << gone;
  for (const char* there : {"@PAGE_TITLE@", "@SCHEMA_MAP@", "@SCHEMA_DOC@", "@PAGE_DATA@"})
    EXPECT_NE(PAGE_TEMPLATE.find(there), std::string_view::npos) << there;
  EXPECT_NE(PAGE_TEMPLATE.find("script-src 'sha256-"), std::string_view::npos);
}

}  // namespace
