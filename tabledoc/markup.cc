// The docstring markup. The renderer walks the docstring once, dispatching on
// the byte under the cursor; each construct writes its output and moves the
// cursor past itself.
#include "tabledoc/markup.h"

#include <array>

#include "html/anchor.h"
#include "html/escape.h"
#include "reader/chars.h"

namespace {

// Bytes that may begin markup or that html_putc writes as something else; a
// run of other bytes is written as it stands.
constexpr auto markup_special = [] {
  std::array<bool, 256> table{};
  for (int c = 0; c < 256; c++)
    table[c] = html_text_special(c);
  for (unsigned char c : {'\\', '`', '\'', '-', '@', '['})
    table[c] = true;
  return table;
}();

// Ends a bare @name: the end of the docstring, white space, or punctuation.
bool ends_bare_name(unsigned char c) {
  return c == '\0' || is_space(c) || is_punct(c);
}

// The byte at `i`, or NUL past the end: the docstring is read as a C string.
char at(std::string_view s, size_t i) { return i < s.size() ? s[i] : '\0'; }

// The position of the first `c` from `from` on, or the end of `s`.
size_t find_or_end(std::string_view s, char c, size_t from) {
  size_t found = s.find(c, from);
  return found == std::string_view::npos ? s.size() : found;
}

// @name or @"quoted name" at s[i]; returns where the scan resumes. The name is
// taken as written, so a sentence's full stop becomes part of it.
size_t render_reference(writer& w, const char* prefix, std::string_view s, size_t i) {
  size_t start = i + 1, end, resume;
  if (at(s, start) == '"') {
    start++;
    end = find_or_end(s, '"', start);
    resume = end < s.size() ? end + 1 : end;
  } else {
    end = start;
    while (!ends_bare_name(at(s, end)))
      end++;
    resume = end;
  }
  if (end == start) {
    w.put('@');
    return resume;
  }
  std::string_view name = s.substr(start, end - start);
  w.put("<a href=\"#");
  anchor_text(w, prefix, name);
  w.put("\">");
  html_puttext(w, name);
  w.put("</a>");
  return resume;
}

// [text](target) or [text] at s[i]; returns where the scan resumes. Nothing
// inside has markup meaning; a backslash does not keep ']' or ')' from ending.
size_t render_link(writer& w, std::string_view s, size_t i) {
  size_t start = i + 1;
  size_t end = find_or_end(s, ']', start);
  if (end == start) {  // no text: the '[' is ordinary text
    w.put('[');
    return i + 1;
  }
  size_t target = start, target_end = end, resume;
  if (end < s.size() && at(s, end + 1) == '(') {
    target = end + 2;
    target_end = find_or_end(s, ')', target);
    resume = target_end < s.size() ? target_end + 1 : target_end;
  } else {
    resume = end < s.size() ? end + 1 : end;
  }
  // The target is an attribute value: escaped so that it cannot end it, and
  // left out when following it would run script.
  std::string_view href = s.substr(target, target_end - target);
  w.put("<a href=\"");
  if (!unsafe_link_target(href))
    html_puts(w, href);
  w.put("\">");
  html_puttext(w, s.substr(start, end - start));
  w.put("</a>");
  return resume;
}

}  // namespace

bool unsafe_link_target(std::string_view target) {
  // What a browser reads of the scheme: leading control bytes and spaces
  // dropped, tabs and line breaks dropped anywhere.
  char scheme[16];  // enough for the longest prefix tested below
  size_t n = 0, i = 0;
  while (i < target.size() && static_cast<unsigned char>(target[i]) >= 0x01 &&
         static_cast<unsigned char>(target[i]) <= 0x20)
    i++;
  for (; i < target.size() && n < sizeof scheme; i++) {
    char c = target[i];
    if (c == '\t' || c == '\n' || c == '\r')
      continue;
    scheme[n++] = char(ascii_lower(c));
  }
  std::string_view head(scheme, n);
  if (head.starts_with("javascript:") || head.starts_with("vbscript:") || head.starts_with("file:"))
    return true;
  if (!head.starts_with("data:"))
    return false;
  for (std::string_view image : {"data:image/png", "data:image/gif", "data:image/jpeg", "data:image/webp"})
    if (head.starts_with(image))
      return false;
  return true;
}

void html_comment(writer& w, const char* prefix, std::string_view doc) {
  std::string_view s = doc.substr(0, find_or_end(doc, '\0', 0));
  size_t i = 0;
  while (i < s.size()) {
    size_t run = i;
    while (i < s.size() && !markup_special[static_cast<unsigned char>(s[i])])
      i++;
    if (i > run) {
      w.put(s.substr(run, i - run));
      continue;
    }
    // Only the one raw byte before decides: an escaped backslash still escapes.
    bool escaped = i > 0 && s[i - 1] == '\\';
    char c = s[i];
    if (c == '\\') {
      if (escaped)
        w.put('\\');
      i++;
    } else if (escaped) {
      html_putc(w, c);
      i++;
    } else if (c == '\n') {
      w.put("<p></p>");
      i++;
    } else if (c == '`' && at(s, i + 1) == '`') {
      w.put("&#x201c;");
      i += 2;
    } else if (c == '\'' && at(s, i + 1) == '\'') {
      w.put("&#x201d;");
      i += 2;
    } else if (c == '-' && at(s, i + 1) == '-' && at(s, i + 2) == '-') {
      w.put("&#8212;");
      i += 3;
    } else if (c == '-' && at(s, i + 1) == '-') {
      w.put("&#8211;");
      i += 2;
    } else if (c == '@') {
      i = render_reference(w, prefix, s, i);
    } else if (c == '[') {
      i = render_link(w, s, i);
    } else {
      html_putc(w, c);
      i++;
    }
  }
}
