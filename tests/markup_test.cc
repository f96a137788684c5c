// Tests of tabledoc's docstring rendering and its check of link targets.
#include "tabledoc/markup.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>

#include "tests/test_support.h"

namespace {

std::string render(const std::string& doc, const char* prefix = "sql") {
  return written([&](writer& w) { html_comment(w, prefix, doc); });
}

TEST(HtmlComment, Markup) {
  const struct {
    std::string doc;
    std::string want;
  } cases[] = {
      {"", ""},
      {"Line one.\nLine two.", "Line one.<p></p>Line two."},
      {"\r\n", " <p></p>"},
      {"tab\there", "tab here"},
      {"a < b & \"c\"", "a &lt; b &amp; &quot;c&quot;"},
      // Quotes and dashes pair from the left.
      {"``quoted''", "&#x201c;quoted&#x201d;"},
      {"''quoted''", "&#x201d;quoted&#x201d;"},
      {"```", "&#x201c;`"},
      {"'''", "&#x201d;'"},
      {"Use -- and --- dashes.", "Use &#8211; and &#8212; dashes."},
      {"----", "&#8212;-"},
      {"-----", "&#8212;&#8211;"},
      // A backslash escapes the one byte after it, another backslash included.
      {"a \\@b \\-- c\\\\d", "a @b -- c\\d"},
      {"`\\``", "```"},  // an escaped grave accent starts no pair
      {"a\\\nb", "a b"},
      {"\\@x", "@x"},
      {"\\", ""},
      {"x\\", "x"},
      {"\\\\\\", "\\\\"},
      {"a\\\\\\@b", "a\\\\@b"},
      // Docstring references.
      {"See @users and @\"order items\".",
       "See <a href=\"#sql-users\">users</a> and <a href=\"#sql-order_items\">order items</a>."},
      {"Owner: @users.id, required.", "Owner: <a href=\"#sql-users.id\">users.id</a>, required."},
      {"Owned by @users.", "Owned by <a href=\"#sql-users.\">users.</a>"},
      {" Blog posts.\n See @users.",
       " Blog posts.<p></p> See <a href=\"#sql-users.\">users.</a>"},
      {"@users;@posts", "<a href=\"#sql-users\">users</a>;<a href=\"#sql-posts\">posts</a>"},
      {"mail @ home, x@", "mail @ home, x@"},
      {"@\"\"", "@"},
      {"@\"a", "<a href=\"#sql-a\">a</a>"},
      {"@\"x\"y", "<a href=\"#sql-x\">x</a>y"},
      {"@@", "<a href=\"#sql-_\">@</a>"},
      {"@(x)", "@(x)"},
      {"@\nx", "@<p></p>x"},
      {"@a<b", "<a href=\"#sql-a_b\">a&lt;b</a>"},
      {"@caf\xC3\xA9", "<a href=\"#sql-caf__\">caf\xC3\xA9</a>"},
      // The name ends in a backslash, so the newline after it is escaped.
      {"see @t.c\\\n", "see <a href=\"#sql-t.c_\">t.c\\</a> "},
      // Bracket links; targets are attribute-escaped.
      {"Read [the manual](manual.html) or [faq].",
       "Read <a href=\"manual.html\">the manual</a> or <a href=\"faq\">faq</a>."},
      {"[see this", "<a href=\"see this\">see this</a>"},
      {"[text] (url)", "<a href=\"text\">text</a> (url)"},
      {"[a](b", "<a href=\"b\">a</a>"},
      {"[x](a\"b)", "<a href=\"a&quot;b\">x</a>"},
      {"[x](a&b<c>'d e)", "<a href=\"a&amp;b&lt;c&gt;'d e\">x</a>"},
      {"[a<b]", "<a href=\"a&lt;b\">a&lt;b</a>"},
      {"[a\\]b]", "<a href=\"a\\\">a\\</a>b]"},
      {"[a\nb](c\nd)", "<a href=\"c\nd\">a b</a>"},
      {"[--](@x)", "<a href=\"@x\">--</a>"},
      // An empty link text writes the '[' and the scan goes on right after it.
      {"[]", "[]"},
      {"[](x)", "[](x)"},
      {"[", "["},
      {"a [", "a ["},
      {"[](--)", "[](&#8211;)"},
      {"[][b]", "[]<a href=\"b\">b</a>"},
      // A target that would run script is left out; the text stays.
      {"[x](javascript:alert(1))", "<a href=\"\">x</a>)"},
      {"[javascript:x]", "<a href=\"\">javascript:x</a>"},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, render(c.doc)) << "docstring: " << c.doc;
}

TEST(HtmlComment, LongDocstring) {  // far beyond any small output buffer
  std::string text(40000, 'a');
  std::string want = text + "<a href=\"#sql-x\">x</a> &#8211; " + text;
  std::string got = render(text + "@x -- " + text);
  auto diff = std::mismatch(want.begin(), want.end(), got.begin(), got.end());
  EXPECT_TRUE(want == got) << "sizes " << want.size() << " and " << got.size()
                           << ", first difference at " << (diff.first - want.begin());
}

TEST(HtmlComment, Prefix) {
  EXPECT_EQ("<a href=\"#db-t.c\">t.c</a>", render("@t.c", "db"));
}

TEST(UnsafeLinkTarget, Schemes) {  // and what a link to each target renders as
  const struct {
    std::string_view target;  // no byte that html_puts escapes, no ')'
    bool unsafe;
  } cases[] = {
      {"javascript:alert(1", true},
      {"JavaScript:x", true},
      {" javascript:x", true},
      {"\x01javascript:x", true},
      {"\x01\x1f \x10javascript:x", true},
      {"java\tscript:x", true},
      {"java\nscript:x", true},
      {"java\rscript:x", true},
      {"vbscript:x", true},
      {"VBScript:x", true},
      {"file:///etc/passwd", true},
      {"data:text/html,x", true},
      {"data:", true},
      {"data:image/svg+xml,x", true},
      {"data:image/png;base64,AAA", false},
      {"data:image/gif", false},
      {"data:image/jpeg;base64,AAA", false},
      {"data:image/webp", false},
      {"DATA:IMAGE/PNG", false},
      {"Data:Image/Gif;base64,AAA", false},
      {"https://example.org/javascript:x", false},
      {"javascript", false},
      {"myjavascript:x", false},
      {"java script:x", false},
      {"manual.html", false},
      {"", false},
  };
  for (const auto& c : cases) {
    std::string target(c.target);
    EXPECT_EQ(c.unsafe, unsafe_link_target(target)) << "target: " << target;
    EXPECT_EQ("<a href=\"" + (c.unsafe ? "" : target) + "\">x</a>", render("[x](" + target + ")"))
        << "target: " << target;
  }
}

}  // namespace
