// Arbitrary bytes as a schema: the reader, then on success both writers, then
// the release of the model. Besides the sanitizers' findings, a run aborts
// when the model breaks one of its invariants:
// - tables, and each table's columns, stand in strcmp order of their names,
//   equal names in creation order;
// - creation numbers run from 0 without gaps, and a column's parent owns it;
// - after a failed parse no column has a foreign-key target; after a
//   successful one the targets are those that the references name (the first
//   table of the name, its first column of the name, the first reference of a
//   column that names an existing table wins);
// or when the two programs read the input differently:
// - tablegraph keeps no docstrings, and so takes shortcuts past comments; its
//   result and every message of the reader must still be tabledoc's;
// or when the output is unsafe to hand on:
// - a failed parse writes nothing;
// - the graph is valid UTF-8 and holds no control byte but tab, LF and CR,
//   so that Graphviz's XML parser accepts every label.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string>
#include <string_view>

#include "fuzz/checks.h"
#include "reader/read.h"

namespace {

template <typename List>
auto first_named(const List& list, std::string_view name) -> decltype(&*list.front()) {
  for (const auto& e : list)
    if (c_name(e->name) == c_name(name))
      return &*e;
  return nullptr;
}

void check_model(const schema& p, bool ok) {
  std::set<const column*> columns;
  for (const auto& tab : p.tables)
    for (const auto& col : tab->cols) {
      CHECK(col->parent == &*tab);
      columns.insert(&*col);
    }
  for (const reference& ref : p.refs)
    CHECK(columns.count(ref.source));
  if (!ok) {
    for (const column* col : columns)
      CHECK(col->fkey == nullptr);
    return;
  }
  check_order(p.tables, p.tables.size());
  for (const auto& tab : p.tables) {
    CHECK(tab->cols.size() == tab->ncols);
    check_order(tab->cols, tab->ncols);
  }
  std::map<const column*, const column*> bound;
  for (const reference& ref : p.refs) {
    if (!ref.tname || !ref.cname)
      continue;
    const auto* target_table = first_named(p.tables, *ref.tname);
    if (!target_table || bound.count(ref.source))
      continue;
    if (const auto* target = first_named(target_table->cols, *ref.cname))
      bound[ref.source] = target;
  }
  for (const column* col : columns) {
    auto it = bound.find(col);
    CHECK(col->fkey == (it == bound.end() ? nullptr : it->second));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view input(reinterpret_cast<const char*>(data), size);
  schema s;
  reading doc_reading = read_schema(input, s);
  bool ok = doc_reading.ok;
  check_model(s, ok);
  {
    schema g;
    g.docstrings = false;  // as tablegraph reads
    reading graph_reading = read_schema(input, g);
    CHECK(graph_reading.ok == ok);
    CHECK(graph_reading.messages == doc_reading.messages);
  }
  write_both(s, ok);
  return 0;
}
