// psql's variables and conditionals, as psql applies them to the lines it
// reads before it sends a statement.
#include "reader/dialect_psql.h"

#include "reader/chars.h"
#include "reader/dialect_lex.h"

namespace {

bool is_var_byte(unsigned char c) { return is_letter(c) || is_digit(c) || c == '_' || c >= 0x80; }

// The value of a variable reference at s[k] (":name", ":'name'", ":"name"",
// ":{?name}"), with `len` its length, as psql gives it: the value itself,
// quoted as a literal, quoted as a name, or whether it is set. false where
// it is no reference, or names a variable that is not set.
bool reference_at(const psql_state& ps, std::string_view s, size_t k, size_t& len, std::string& out) {
  if (k >= s.size() || s[k] != ':' || k + 1 >= s.size())
    return false;
  char q = s[k + 1];
  if (q == '{') {
    if (k + 2 >= s.size() || s[k + 2] != '?')
      return false;
    size_t close = s.find('}', k + 3);
    if (close == std::string_view::npos)
      return false;
    std::string name(s.substr(k + 3, close - k - 3));
    out = ps.vars.count(name) ? "TRUE" : "FALSE";
    len = close + 1 - k;
    return true;
  }
  size_t from = k + 1 + (q == '\'' || q == '"');
  size_t end = from;
  while (end < s.size() && is_var_byte(s[end]))
    end++;
  if (end == from)
    return false;
  if (q == '\'' || q == '"') {
    if (end >= s.size() || s[end] != q)
      return false;
  }
  auto it = ps.vars.find(std::string(s.substr(from, end - from)));
  if (it == ps.vars.end())
    return false;
  len = end - k + (q == '\'' || q == '"');
  if (q != '\'' && q != '"') {
    out = it->second;
    return true;
  }
  out.assign(1, q);
  for (char c : it->second) {
    out += c;
    if (c == q)
      out += q;  // doubled, as a literal or a quoted name has it
  }
  out += q;
  return true;
}

// The arguments of a backslash command, as psql reads them: white space
// parts them; '...' is one (its quotes gone, '' and \' a quote, \n \t and
// the like their bytes); "..." is kept with its quotes; variables are
// replaced; `...` (a shell command's output) is left out. An unquoted
// backslash ends them: another command follows.
std::vector<std::string> arguments(const psql_state& ps, std::string_view s) {
  std::vector<std::string> args;
  size_t k = 0;
  std::string value;
  for (;;) {
    while (k < s.size() && is_space(s[k]))
      k++;
    if (k >= s.size() || s[k] == '\\')
      return args;
    std::string arg;
    while (k < s.size() && !is_space(s[k]) && s[k] != '\\') {
      char c = s[k];
      size_t len;
      if (c == '\'') {
        for (k++; k < s.size();) {
          if (s[k] == '\'') {
            if (k + 1 < s.size() && s[k + 1] == '\'') {
              arg += '\'';
              k += 2;
              continue;
            }
            k++;
            break;
          }
          if (s[k] == '\\' && k + 1 < s.size()) {
            char e = s[k + 1];
            arg += e == 'n' ? '\n' : e == 't' ? '\t' : e == 'r' ? '\r' : e == 'b' ? '\b' : e == 'f' ? '\f' : e;
            k += 2;
            continue;
          }
          arg += s[k++];
        }
      } else if (c == '"') {
        size_t close = s.find('"', k + 1);
        close = close == std::string_view::npos ? s.size() : close + 1;
        arg += s.substr(k, close - k);
        k = close;
      } else if (c == '`') {
        size_t close = s.find('`', k + 1);
        k = close == std::string_view::npos ? s.size() : close + 1;
      } else if (reference_at(ps, s, k, len, value)) {
        arg += value;
        k += len;
      } else {
        arg += c;
        k++;
      }
    }
    args.push_back(std::move(arg));
  }
}

// A boolean as psql reads one: true, false, yes, no (or the start of one),
// on, off, 1, 0, in any case. An expression that is none of them is false.
bool truth(const std::vector<std::string>& args) {
  if (args.size() != 1 || args[0].empty())
    return false;
  std::string v;
  for (char c : args[0])
    v += char(ascii_lower(c));
  auto starts = [&](std::string_view word, size_t least) {
    return v.size() >= least && v.size() <= word.size() && word.substr(0, v.size()) == v;
  };
  return starts("true", 1) || starts("yes", 1) || (v.size() >= 2 && starts("on", 2)) || v == "1";
}

void branch_changed(psql_state& ps) { ps.skipping = !ps.branches.empty() && !ps.branches.back().runs; }

}  // namespace

bool psql_command(dlexer& dl, std::string_view name, std::string_view args) {
  psql_state& ps = dl.psql;
  bool outer = !ps.skipping;
  if (name == "if") {
    bool runs = outer && truth(arguments(ps, args));
    ps.branches.push_back({runs, runs, outer});
  } else if (name == "elif" || name == "else") {
    if (ps.branches.empty())
      return true;  // psql refuses it, and runs on
    psql_state::branch& b = ps.branches.back();
    // A branch's condition is read only where no branch before it ran.
    b.runs = b.outer && !b.taken && (name == "else" || truth(arguments(ps, args)));
    b.taken |= b.runs;
  } else if (name == "endif") {
    if (!ps.branches.empty())
      ps.branches.pop_back();
  } else if (ps.skipping) {
    return true;
  } else if (name == "set") {
    std::vector<std::string> a = arguments(ps, args);
    if (a.empty())
      return true;  // lists the variables
    std::string value;
    for (size_t k = 1; k < a.size(); k++)
      value += a[k];
    ps.vars[a[0]] = std::move(value);
    return true;
  } else if (name == "unset") {
    std::vector<std::string> a = arguments(ps, args);
    if (!a.empty())
      ps.vars.erase(a[0]);
    return true;
  } else {
    return false;
  }
  branch_changed(ps);
  return true;
}

bool psql_substitute(dlexer& dl, size_t i, dtoken& t, bool& got) {
  psql_state& ps = dl.psql;
  lexer& lx = dl.lx;
  std::string_view rest(lx.buf + i, lx.len - i);
  if (ps.vars.empty() || (i > 0 && lx.buf[i - 1] == ':') || (rest.size() > 1 && rest[1] == ':'))
    return false;  // none set, or a cast (::)
  size_t len;
  std::string value;
  if (!reference_at(ps, rest, 0, len, value))
    return false;
  size_t line = lx.line;
  lx.pos = i + len;
  // The value is read as tokens of its own, kept where their views stay put.
  ps.values.push_back(std::move(value));
  diagnostics quiet = lx.diag;
  quiet.stream = nullptr;
  dlexer sub(ps.values.back(), quiet, dl.rules);
  sub.keep_comments = false;
  ps.queued.clear();
  ps.next_queued = 0;
  dtoken v;
  while (dlex_next(v, sub)) {
    v.line = v.end_line = line;
    v.end_column = lex_column(lx);
    ps.queued.push_back(v);
  }
  if (sub.failed) {
    log_at(lx, {"the value of psql's variable ", log_quote(rest.substr(0, len)), " is not whole tokens"});
    dl.failed = true;
    return false;
  }
  got = !ps.queued.empty();
  if (got)
    t = ps.queued[ps.next_queued++];
  return true;
}
