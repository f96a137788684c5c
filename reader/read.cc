// The reader's entry: which grammar reads the input. The loose grammar
// (parse.cc) and the dialect grammar (dialect_parse.cc) know nothing of
// each other.
#include "reader/read.h"

#include <string>

#include "reader/dialect_parse.h"
#include "reader/load.h"
#include "reader/parse.h"

namespace {

// "program: FILE: ...: read as with -d NAME", saying what chose the
// dialect, or that two told alike and the loose grammar reads the file.
// Nothing where nothing told.
void say_guess(const diagnostics& d, const dialect_guess& g) {
  if (g.found == 0)
    return;
  std::string text = d.fname;
  if (g.dialect == sql_dialect::none) {
    text += ": holds both ";
    text += dialect_rules_of(g.leader).title;
    text += "'s and ";
    text += dialect_rules_of(g.rival).title;
    text += "'s ways: read by the loose grammar; -d names the dialect";
  } else {
    const dialect_rules& r = dialect_rules_of(g.dialect);
    if (g.evidence[0] == DUMP_HEADING) {
      text += ": a dump by ";
      text += r.dump_tool;
    } else {
      text += ": holds ";
      text += r.title;
      text += "'s ";
      for (size_t i = 0; i < g.found; i++) {
        if (i)
          text += i + 1 == g.found ? " and " : ", ";
        text += g.evidence[i];
      }
    }
    text += ": read as with -d ";
    text += r.name;
  }
  log_error(d, 0, {std::string_view(text)});
}

}  // namespace

bool parse_input(const diagnostics& d, input_pages& in, schema& s) {
  if (s.dialect == sql_dialect::none && s.dialect_from_text) {
    s.guess = dialect_of_text(in.bytes);
    s.dialect = s.guess.dialect;
    say_guess(d, s.guess);
  }
  if (s.dialect != sql_dialect::none)
    return dialect_parse(d, in, s);
  return parse_loose(d, in, s);
}

bool parse_buf(const diagnostics& d, std::string_view data, schema& s) {
  input_pages in{data};
  return parse_input(d, in, s);
}
