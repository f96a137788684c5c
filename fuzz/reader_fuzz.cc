// Arbitrary bytes as a schema: the reader, then on success both writers, then
// the release of the model. Besides the sanitizers' findings, a run aborts
// when the model breaks one of its invariants:
// - tables, and each table's columns, stand in strcmp order of their names,
//   equal names in creation order;
// - creation numbers run from 0 without gaps, and a column's parent owns it;
// - after a failed parse no column has a foreign-key target; after a
//   successful one the targets are those that the references name (the first
//   table of the name, its first column of the name, the first reference of a
//   column that names an existing table wins).
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <set>
#include <string_view>

#include "fuzz/sink.h"
#include "reader/schema.h"
#include "tabledoc/document.h"
#include "tablegraph/dot.h"

namespace {

std::FILE* report;  // the standard error stream as it was before silencing

#define CHECK(cond)                                                                    \
  do {                                                                                 \
    if (!(cond)) {                                                                     \
      std::fprintf(report, "%s:%d: model check failed: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                    \
    }                                                                                  \
  } while (0)

// A name as a C string sees it: up to its first NUL byte. Compared as
// string_views, such names stand in strcmp order.
std::string_view c_name(std::string_view name) { return name.substr(0, name.find('\0')); }

// Name order with equal names by creation number, as the lists must be.
// The lists hold pointers of some kind to their records; &*e is the record.
template <typename List>
void check_order(const List& list, size_t count) {
  std::set<size_t> seen;
  for (size_t i = 0; i < list.size(); i++) {
    CHECK(list[i]->idx < count && seen.insert(list[i]->idx).second);
    if (i == 0)
      continue;
    int c = c_name(list[i - 1]->name).compare(c_name(list[i]->name));
    CHECK(c < 0 || (c == 0 && list[i - 1]->idx < list[i]->idx));
  }
  CHECK(seen.size() == count);
}

template <typename List>
auto first_named(const List& list, std::string_view name) -> decltype(&*list.front()) {
  for (const auto& e : list)
    if (c_name(e->name) == c_name(name))
      return &*e;
  return nullptr;
}

void check_model(const parser& p, bool ok) {
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
  CHECK(p.tables.size() == p.ntables);
  check_order(p.tables, p.ntables);
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

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  report = stderr;
  fuzz_quiet_messages();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  parser p{};
  int ok = parse_buf("fuzz.sql", reinterpret_cast<const char*>(data), size, p);
  check_model(p, ok);
  if (ok) {
    write_document(fuzz_sink(), p);
    write_graph(fuzz_sink(), p, graph_options{});
  }
  parser_free(p);
  CHECK(p.tables.empty() && p.refs.empty());
  return 0;
}
