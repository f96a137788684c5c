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
// or when a dialect reading of the same input (the dialect chosen by the
// input's first byte) breaks the same invariants of order and ownership, or
// links a column to a column outside the model, or to one target twice;
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

#include "fuzz/common.h"
#include "html/writer.h"
#include "reader/read.h"
#include "tabledoc/document.h"
#include "tablegraph/dot.h"

namespace {

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

// Whether `s` is UTF-8 as RFC 3629 has it (no overlong form, no surrogate,
// nothing above U+10FFFF) without U+FFFE, U+FFFF or a control byte other
// than tab, LF and CR.
bool acceptable_xml_text(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r'))
        return false;
      i++;
      continue;
    }
    size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (c < 0xC2 || c > 0xF4 || i + len > s.size())
      return false;
    uint32_t cp = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (size_t k = 1; k < len; k++) {
      unsigned char b = s[i + k];
      if ((b & 0xC0) != 0x80)
        return false;
      cp = cp << 6 | (b & 0x3F);
    }
    bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF)
      return false;
    i += len;
  }
  return true;
}

// What one reading of the input gives: its result and its messages.
struct reading {
  bool ok;
  std::string messages;
};

reading read_schema(std::string_view input, schema& s) {
  char* text = nullptr;
  size_t size = 0;
  diagnostics d = fuzz_diagnostics();
  d.stream = open_memstream(&text, &size);
  CHECK(d.stream);
  reading r{parse_buf(d, input, s), {}};
  std::fclose(d.stream);
  r.messages.assign(text, size);
  std::fwrite(text, 1, size, fuzz_diagnostics().stream);  // seen with FUZZ_MESSAGES=1
  std::free(text);
  return r;
}

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

void write_both(const schema& s, bool ok) {
  std::string doc, graph;
  {
    writer w(doc), g(graph);
    if (ok) {
      write_document(w, s);
      write_graph(g, s, graph_options{});
    }
  }
  CHECK(ok || (doc.empty() && graph.empty()));
  CHECK(acceptable_xml_text(graph));
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
  if (size > 0) {
    constexpr sql_dialect dialects[] = {sql_dialect::postgres, sql_dialect::mysql, sql_dialect::sqlite};
    read_dialect(input, dialects[data[0] % 3]);
  }
  return 0;
}
