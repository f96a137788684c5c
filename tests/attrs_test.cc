// attrs_append: gathering the -c, -h and -t arguments into one attribute text.
#include "tablegraph/attrs.h"

#include <gtest/gtest.h>

#include <cctype>
#include <optional>
#include <string>
#include <vector>

namespace {

struct attrs_case {
  const char* what;
  std::vector<const char*> args;        // appended one after the other to an absent slot
  std::vector<int> results;             // what each call returns
  std::optional<std::string> expected;  // the slot afterwards
};

const attrs_case attrs_cases[] = {
    {"first argument is copied", {"ALIGN=\"LEFT\""}, {1}, "ALIGN=\"LEFT\""},
    {"later arguments follow after one space", {"a", "b c", "d"}, {1, 1, 1}, "a b c d"},
    {"empty argument makes the text present", {""}, {1}, ""},
    {"empty arguments still get their space", {"", ""}, {1, 1}, " "},
    {"leading href= is refused", {"href=x"}, {0}, std::nullopt},
    {"any letter case is refused", {"HREF=x"}, {0}, std::nullopt},
    {"mixed case is refused", {"hReF=#a"}, {0}, std::nullopt},
    {"href= alone is refused", {"href="}, {0}, std::nullopt},
    {"refusal leaves earlier text unchanged", {"a", "Href=x", "b"}, {1, 0, 1}, "a b"},
    {"href without '=' passes", {"href"}, {1}, "href"},
    {"shorter than five bytes passes", {"hre"}, {1}, "hre"},
    {"space before '=' passes", {"href =x"}, {1}, "href =x"},
    {"space before href passes", {" href=x"}, {1}, " href=x"},
    {"href= later in the text passes", {"x href=y"}, {1}, "x href=y"},
};

class AttrsAppend : public testing::TestWithParam<attrs_case> {};

TEST_P(AttrsAppend, GathersOrRefuses) {
  const attrs_case& c = GetParam();
  std::optional<std::string> slot;
  std::vector<int> results;
  for (const char* arg : c.args)
    results.push_back(attrs_append(slot, arg));
  EXPECT_EQ(results, c.results);
  EXPECT_EQ(slot, c.expected);
}

INSTANTIATE_TEST_SUITE_P(attrs, AttrsAppend, testing::ValuesIn(attrs_cases),
                         [](const testing::TestParamInfo<attrs_case>& info) {
                           std::string name;
                           for (const char* p = info.param.what; *p; p++)
                             name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
                           return name;
                         });

}  // namespace
