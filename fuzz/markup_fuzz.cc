// Arbitrary bytes as a docstring for the markup renderer. A docstring is a C
// string, so the input counts up to its first NUL byte. Besides the
// sanitizers' findings, a run aborts when the rendering is not made of the
// renderer's own pieces: text in which '"', '<' and '>' appear only as
// entities and no line break appears; the entities "&quot;", "&amp;", "&lt;",
// "&gt;", quotation marks and dashes; "<p></p>"; and links "<a href=\"...\">"
// ... "</a>", not nested, whose attribute value holds no '"', '<' or '>' and
// is no target that runs script.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "fuzz/common.h"
#include "html/writer.h"
#include "tabledoc/markup.h"

namespace {

void fail(std::string_view out, size_t at, const char* why) {
  std::fprintf(report, "rendering check failed at byte %zu: %s\n%.*s\n", at, why, int(out.size()), out.data());
  std::abort();
}

// An attribute value as the browser reads it: the four entities that the
// writer makes turned back into their bytes.
std::string unescape(std::string_view s) {
  std::string plain;
  for (size_t i = 0; i < s.size(); i++) {
    std::string_view rest = s.substr(i);
    if (rest.starts_with("&quot;")) {
      plain += '"';
      i += 5;
    } else if (rest.starts_with("&amp;")) {
      plain += '&';
      i += 4;
    } else if (rest.starts_with("&lt;")) {
      plain += '<';
      i += 3;
    } else if (rest.starts_with("&gt;")) {
      plain += '>';
      i += 3;
    } else {
      plain += s[i];
    }
  }
  return plain;
}

void check_rendering(std::string_view out) {
  static const char* const entities[] = {"&quot;", "&amp;", "&lt;", "&gt;", "&#x201c;", "&#x201d;", "&#8211;",
                                         "&#8212;"};
  bool in_link = false;
  size_t i = 0;
  while (i < out.size()) {
    std::string_view rest = out.substr(i);
    if (rest.starts_with("<p></p>")) {
      i += 7;
    } else if (rest.starts_with("<a href=\"")) {
      if (in_link)
        fail(out, i, "link inside a link");
      size_t end = rest.find('"', 9);
      if (end == rest.npos || rest.substr(end, 2) != "\">")
        fail(out, i, "link start not closed");
      std::string_view target = rest.substr(9, end - 9);
      if (target.find_first_of("<>") != rest.npos)
        fail(out, i, "raw '<' or '>' in a link target");
      if (unsafe_link_target(unescape(target)))
        fail(out, i, "a link target that runs script");
      in_link = true;
      i += end + 2;
    } else if (rest.starts_with("</a>")) {
      if (!in_link)
        fail(out, i, "link end without a start");
      in_link = false;
      i += 4;
    } else if (rest[0] == '&') {
      size_t n = 0;
      for (const char* e : entities)
        if (rest.starts_with(e))
          n = std::strlen(e);
      if (!n)
        fail(out, i, "'&' that begins no entity");
      i += n;
    } else if (rest[0] == '"' || rest[0] == '<' || rest[0] == '>' || rest[0] == '\n') {
      fail(out, i, "raw '\"', '<', '>' or newline in the text");
    } else {
      i++;
    }
  }
  if (in_link)
    fail(out, out.size(), "link not closed");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* text = reinterpret_cast<const char*>(data);
  std::string doc(text, strnlen(text, size));
  std::string out;
  {
    writer w(out);
    html_comment(w, "sql", doc);
  }
  check_rendering(out);
  return 0;
}
