// HTML text escaping and the docstring markup. The renderer walks the
// docstring once, dispatching on the byte under the cursor; each construct
// writes its output and moves the cursor past itself.
#include "tabledoc/markup.h"

#include <cstring>

#include "reader/anchor.h"
#include "reader/escape.h"

namespace {

bool is_space(unsigned char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// Ends a bare @name: the end of the docstring, white space, or punctuation.
bool ends_bare_name(unsigned char c) {
  return c == '\0' || is_space(c) || c == '(' || c == ')' || c == ',' || c == ';';
}

void put_text(std::FILE* out, const char* s, size_t n) {
  for (size_t i = 0; i < n; i++)
    html_putc(out, s[i]);
}

// @name or @"quoted name" at s[i]; returns where the scan resumes. The name is
// taken as written, so a sentence's full stop becomes part of it.
size_t render_reference(std::FILE* out, const char* prefix, const char* s, size_t i) {
  size_t start = i + 1, end, resume;
  if (s[start] == '"') {
    start++;
    const char* q = std::strchr(s + start, '"');
    end = q ? size_t(q - s) : start + std::strlen(s + start);
    resume = q ? end + 1 : end;
  } else {
    end = start;
    while (!ends_bare_name(s[end]))
      end++;
    resume = end;
  }
  if (end == start) {
    putc_unlocked('@', out);
    return resume;
  }
  std::string id = anchor_idn(s + start, end - start);
  std::fprintf(out, "<a href=\"#%s-%s\">", prefix, id.c_str());
  put_text(out, s + start, end - start);
  fputs_unlocked("</a>", out);
  return resume;
}

// [text](target) or [text] at s[i]; returns where the scan resumes. Nothing
// inside has markup meaning; a backslash does not keep ']' or ')' from ending.
size_t render_link(std::FILE* out, const char* s, size_t i) {
  size_t start = i + 1;
  size_t end = start + std::strcspn(s + start, "]");
  if (end == start) {  // no text: the '[' is ordinary text
    html_putc(out, '[');
    return i + 1;
  }
  size_t target = start, target_end = end, resume;
  if (s[end] == ']' && s[end + 1] == '(') {
    target = end + 2;
    target_end = target + std::strcspn(s + target, ")");
    resume = s[target_end] == ')' ? target_end + 1 : target_end;
  } else {
    resume = s[end] == ']' ? end + 1 : end;
  }
  // The target is an attribute value: escaped so that it cannot end it.
  fputs_unlocked("<a href=\"", out);
  html_puts(out, std::string_view(s + target, target_end - target));
  fputs_unlocked("\">", out);
  put_text(out, s + start, end - start);
  fputs_unlocked("</a>", out);
  return resume;
}

}  // namespace

void html_putc(std::FILE* out, unsigned char c) {
  switch (c) {
    case '"': fputs_unlocked("&quot;", out); return;
    case '&': fputs_unlocked("&amp;", out); return;
    case '<': fputs_unlocked("&lt;", out); return;
    case '>': fputs_unlocked("&gt;", out); return;
  }
  putc_unlocked(is_space(c) ? ' ' : c, out);
}

void html_comment(std::FILE* out, const char* prefix, const std::string& doc) {
  const char* s = doc.c_str();
  size_t i = 0;
  while (s[i] != '\0') {
    // Only the one raw byte before decides: an escaped backslash still escapes.
    bool escaped = i > 0 && s[i - 1] == '\\';
    char c = s[i];
    if (c == '\\') {
      if (escaped)
        putc_unlocked('\\', out);
      i++;
    } else if (escaped) {
      html_putc(out, c);
      i++;
    } else if (c == '\n') {
      fputs_unlocked("<p></p>", out);
      i++;
    } else if (c == '`' && s[i + 1] == '`') {
      fputs_unlocked("&#x201c;", out);
      i += 2;
    } else if (c == '\'' && s[i + 1] == '\'') {
      fputs_unlocked("&#x201d;", out);
      i += 2;
    } else if (c == '-' && s[i + 1] == '-' && s[i + 2] == '-') {
      fputs_unlocked("&#8212;", out);
      i += 3;
    } else if (c == '-' && s[i + 1] == '-') {
      fputs_unlocked("&#8211;", out);
      i += 2;
    } else if (c == '@') {
      i = render_reference(out, prefix, s, i);
    } else if (c == '[') {
      i = render_link(out, s, i);
    } else {
      html_putc(out, c);
      i++;
    }
  }
}
