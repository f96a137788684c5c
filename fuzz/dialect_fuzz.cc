// Arbitrary bytes as a schema in one of the dialects (PostgreSQL, MySQL,
// SQLite by the first byte modulo 3: "-" is PostgreSQL, "C" MySQL, "/"
// SQLite): the reader, then on success both writers. Besides the sanitizers'
// findings, a run aborts when
// - a failed reading leaves anything in the model, or a successful one has
//   tables or columns out of name order, a column that its table does not
//   own, or a link to a column outside the model or to one target twice;
// - tablegraph's reading (no docstrings) succeeds or fails otherwise than
//   tabledoc's, or with other messages;
// - a failed reading writes anything, or the graph is not text that
//   Graphviz's XML parser accepts.
#include <cstddef>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/checks.h"

namespace {

// A dialect reading: a failure leaves the model empty; after a success the
// lists are in order and every link leads to a column of the model.
void check_dialect_model(const schema& s, bool ok) {
  if (!ok) {
    CHECK(s.tables.empty() && s.columns.empty());
    return;
  }
  check_order(s.tables, s.tables.size());
  std::set<const column*> columns;
  for (const auto& tab : s.tables) {
    CHECK(tab->cols.size() == tab->ncols);
    check_order(tab->cols, tab->ncols);
    for (const column* col : tab->cols) {
      CHECK(col->parent == tab);
      columns.insert(col);
    }
  }
  for (const column* col : columns) {
    CHECK(!col->fkey || columns.count(col->fkey));
    CHECK(col->fkey_more.empty() || col->fkey);
    std::set<const column*> targets{col->fkey};
    for (const column* more : col->fkey_more)
      CHECK(columns.count(more) && targets.insert(more).second);
  }
}

void read_dialect(std::string_view input, sql_dialect dialect) {
  schema s;
  s.dialect = dialect;
  reading doc_reading = read_schema(input, s);
  check_dialect_model(s, doc_reading.ok);
  {
    schema g;
    g.docstrings = false;
    g.dialect = dialect;
    reading graph_reading = read_schema(input, g);
    CHECK(graph_reading.ok == doc_reading.ok);
    CHECK(graph_reading.messages == doc_reading.messages);
  }
  write_both(s, doc_reading.ok);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0)
    return 0;
  constexpr sql_dialect dialects[] = {sql_dialect::postgres, sql_dialect::mysql, sql_dialect::sqlite};
  read_dialect(std::string_view(reinterpret_cast<const char*>(data), size), dialects[data[0] % 3]);
  return 0;
}
