// Summing up repeated notices. A line is "the same" as another when its text
// after the position is; the position itself is what differs.
#include "page/notices.h"

#include <map>
#include <vector>

namespace {

void put(std::FILE* to, std::string_view s) { std::fwrite(s.data(), 1, s.size(), to); }

bool is_digit(char c) { return c >= '0' && c <= '9'; }

// Skips a run of digits followed by ':' at `at`; npos when there is none.
size_t skip_number(std::string_view s, size_t at) {
  size_t i = at;
  while (i < s.size() && is_digit(s[i]))
    i++;
  if (i == at || i == s.size() || s[i] != ':')
    return std::string_view::npos;
  return i + 1;
}

}  // namespace

std::string_view notice_text(std::string_view line, std::string_view fname) {
  if (!line.starts_with(fname) || line.size() <= fname.size() || line[fname.size()] != ':')
    return line;
  size_t at = skip_number(line, fname.size() + 1);
  if (at != std::string_view::npos)
    at = skip_number(line, at);
  if (at == std::string_view::npos || at >= line.size() || line[at] != ' ')
    return line;
  return line.substr(at + 1);
}

void write_notices(std::FILE* to, std::string_view messages, std::string_view fname, bool all) {
  // How often each text came, and the texts that came more than once, in
  // the order they first came.
  std::map<std::string_view, size_t> seen;
  std::vector<std::string_view> repeated;
  while (!messages.empty()) {
    size_t end = messages.find('\n');
    std::string_view line = messages.substr(0, end);
    messages.remove_prefix(end == std::string_view::npos ? messages.size() : end + 1);
    size_t& count = seen[notice_text(line, fname)];
    if (all || count == 0) {
      put(to, line);
      put(to, "\n");
    }
    else if (count == 1)
      repeated.push_back(notice_text(line, fname));
    count++;
  }
  if (all)
    return;
  for (std::string_view text : repeated) {
    put(to, fname);
    put(to, ": ");
    put(to, text);
    size_t more = seen[text] - 1;
    std::fprintf(to, ": %zu more %s (-v shows each)\n", more, more == 1 ? "time" : "times");
  }
}
