// Tests of the escapes of the outputs: HTML text and the text of Graphviz's
// HTML-like labels.
#include "html/escape.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::string label(std::string_view text) {
  return written([&](writer& w) { label_puts(w, text); });
}

std::string hex(std::string_view s) {  // every byte, for messages
  static const char digits[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : s) {
    out += digits[c >> 4];
    out += digits[c & 15];
    out += ' ';
  }
  return out;
}

TEST(HtmlPutc, Bytes) {
  const struct {
    unsigned char c;
    std::string want;
  } cases[] = {
      {'"', "&quot;"}, {'&', "&amp;"},    {'<', "&lt;"},     {'>', "&gt;"},
      {' ', " "},      {'\t', " "},       {'\n', " "},       {'\v', " "},
      {'\f', " "},     {'\r', " "},       {'\'', "'"},       {'\\', "\\"},
      {'a', "a"},      {'@', "@"},        {'\x1f', "\x1f"},  {0x80, "\x80"},
      {0x85, "\x85"},  {0xA0, "\xA0"},    {0xFF, "\xFF"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.want, written([&](writer& w) { html_putc(w, c.c); }))
        << "byte: " << int(c.c);
}

// A catalog's comment: plain text, its wraps as spaces and its blank lines
// as paragraph breaks, nothing in it markup.
TEST(HtmlPlainText, LineBreaksAsTheAuthorMeantThem) {
  const struct {
    std::string_view in, want;
  } cases[] = {
      {"wrapped\nat seventy", "wrapped at seventy"},
      {"one\n\ntwo\n \t\nthree", "one<p></p>two<p></p>three"},
      {"  \n lead and trail \n\n", "lead and trail"},
      {"C:\\temp ``x'' -- @t.c [a](b) <i>&\"", "C:\\temp ``x'' -- @t.c [a](b) &lt;i&gt;&amp;&quot;"},
      {"tab\there", "tab here"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(c.want, written([&](writer& w) { html_plain_text(w, c.in); })) << c.in;
}

TEST(LabelPuts, Text) {
  const struct {
    std::string_view in;
    std::string want;
  } cases[] = {
      {"users.id x_1", "users.id x_1"},
      {"\"&<>", "&quot;&amp;&lt;&gt;"},
      {"a\tb\nc\rd", "a\tb\nc\rd"},
      // Control bytes that XML refuses.
      {"\x01", "&#xFFFD;"},
      {"a\x0B" "b", "a&#xFFFD;b"},
      {"\x1B[1m", "&#xFFFD;[1m"},
      {"\x1F", "&#xFFFD;"},
      {"\x7F", "\x7F"},
      // Valid UTF-8 passes, but for the two noncharacters XML refuses.
      {"caf\xC3\xA9", "caf\xC3\xA9"},
      {"\xE2\x82\xAC", "\xE2\x82\xAC"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
      {"\xF4\x8F\xBF\xBF", "\xF4\x8F\xBF\xBF"},  // U+10FFFF
      {"\xEF\xBF\xBD", "\xEF\xBF\xBD"},          // U+FFFD
      {"\xEF\xBF\xBE", "&#xFFFD;"},              // U+FFFE
      {"\xEF\xBF\xBF", "&#xFFFD;"},              // U+FFFF
      {"a\xEF\xBF\xBE" "b\xEF\xBF\xBF", "a&#xFFFD;b&#xFFFD;"},
      // A byte that begins no valid sequence becomes its own reference, and
      // the bytes after it are read afresh.
      {"caf\xE9", "caf&#xE9;"},
      {"\x80", "&#x80;"},
      {"\xC0\xAF", "&#xC0;&#xAF;"},                      // overlong
      {"\xC1\xBF", "&#xC1;&#xBF;"},                      // overlong
      {"\xE0\x80\xAF", "&#xE0;&#x80;&#xAF;"},            // overlong
      {"\xED\xA0\x80", "&#xED;&#xA0;&#x80;"},            // a surrogate
      {"\xF4\x90\x80\x80", "&#xF4;&#x90;&#x80;&#x80;"},  // above U+10FFFF
      {"\xF5", "&#xF5;"},
      {"\xFF", "&#xFF;"},
      {"a\xE2\x82", "a&#xE2;&#x82;"},  // cut short by the end
      {"\xE2\x82x", "&#xE2;&#x82;x"},
      {"\xC3\xC3\xA9", "&#xC3;\xC3\xA9"},
      {"\xE9<", "&#xE9;&lt;"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(c.want, label(c.in)) << "input: " << hex(c.in);
}

// Whether `s` is valid UTF-8: shortest forms only, no surrogate, nothing
// above U+10FFFF.
bool valid_utf8(std::string_view s) {
  size_t i = 0;
  while (i < s.size()) {
    unsigned char c = s[i];
    size_t n = c < 0x80 ? 1 : (c & 0xE0) == 0xC0 ? 2 : (c & 0xF0) == 0xE0 ? 3 : (c & 0xF8) == 0xF0 ? 4 : 0;
    if (n == 0 || i + n > s.size())
      return false;
    unsigned long cp = n == 1 ? c : c & (0x7F >> n);
    for (size_t k = 1; k < n; k++) {
      unsigned char d = s[i + k];
      if ((d & 0xC0) != 0x80)
        return false;
      cp = cp << 6 | (d & 0x3F);
    }
    static const unsigned long least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < least[n] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF)
      return false;
    i += n;
  }
  return true;
}

// Whatever the bytes, what Graphviz's XML parser reads is valid UTF-8 with no
// control byte but tab, LF and CR: each byte alone, and each pair of bytes.
TEST(LabelPuts, AnyBytesGiveXmlText) {
  auto xml_text = [](std::string_view in) {
    std::string out = label(in);
    for (unsigned char c : out)
      if (c < 0x20 && c != '\t' && c != '\n' && c != '\r')
        return false;
    return valid_utf8(out);
  };
  for (int a = 1; a < 256; a++) {
    const char in[] = {char(a), 0};
    ASSERT_TRUE(xml_text(std::string_view(in, 1))) << "input: " << hex(std::string_view(in, 1))
                                                   << "output: " << hex(label(std::string_view(in, 1)));
    for (int b = 1; b < 256; b++) {
      const char pair[] = {char(a), char(b)};
      std::string_view two(pair, 2);
      ASSERT_TRUE(xml_text(two)) << "input: " << hex(two) << "output: " << hex(label(two));
    }
  }
}

}  // namespace
