// The reader's entry: which grammar reads the input. The loose grammar
// (parse.cc) and the dialect grammar (dialect_parse.cc) know nothing of
// each other.
#include "reader/read.h"

#include "reader/dialect_parse.h"
#include "reader/load.h"
#include "reader/parse.h"

bool parse_input(const diagnostics& d, input_pages& in, schema& s) {
  if (s.dialect == sql_dialect::none && s.dialect_from_text) {
    s.guess = dialect_of_text(in.bytes);
    s.dialect = s.guess.dialect;
  }
  if (s.dialect != sql_dialect::none)
    return dialect_parse(d, in, s);
  return parse_loose(d, in, s);
}

bool parse_buf(const diagnostics& d, std::string_view data, schema& s) {
  input_pages in{data};
  return parse_input(d, in, s);
}
