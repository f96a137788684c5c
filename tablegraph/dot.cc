// The Graphviz digraph: one node per table, named by its creation number and
// drawn as an HTML-like table, one port per column named by its declaration
// number, and one edge per resolved foreign key.
#include "tablegraph/dot.h"

#include "html/anchor.h"
#include "html/escape.h"
#include "reader/prefetch.h"

namespace {

// An attribute text with the space that separates it from what follows (or,
// in the TABLE element, precedes it); both empty when the option was not given.
struct attr_pair {
  std::string_view text;
  std::string_view sep;
};

attr_pair pair_of(const std::optional<std::string>& attrs) {
  return attrs ? attr_pair{*attrs, " "} : attr_pair{};
}

// The start of a row: "<TR><TD attrs HREF="#", no more.
void put_cell(writer& w, const attr_pair& attrs) {
  w.put("\t\t\t<TR><TD ");
  w.put(attrs.text);
  w.put(attrs.sep);
  w.put("HREF=\"#");
}

void put_edge(writer& w, const column& from, const column& to) {
  w.put("\ttable");
  w.put_num(from.parent->idx);
  w.put(":f");
  w.put_num(from.idx);
  w.put(" -> table");
  w.put_num(to.parent->idx);
  w.put(":f");
  w.put_num(to.idx);
  w.put(";\n");
}

}  // namespace

void write_graph(writer& w, const schema& s, const graph_options& opt) {
  attr_pair tab_attrs = pair_of(opt.table_attrs);
  attr_pair head_attrs = pair_of(opt.header_attrs ? opt.header_attrs : opt.cell_attrs);
  attr_pair cell_attrs = pair_of(opt.cell_attrs);
  std::string_view prefix = opt.prefix;

  w.put("digraph G {\n");
  for (size_t i = 0; i < s.tables.size(); i++) {
    schema_prefetch(s, i);
    const table* tab = s.tables[i];
    w.put("\ttable");
    w.put_num(tab->idx);
    w.put(" [shape=none; label=<<TABLE");
    w.put(tab_attrs.sep);
    w.put(tab_attrs.text);
    w.put(">\n");
    put_cell(w, head_attrs);
    anchor_table(w, prefix, tab->name);
    w.put("\">");
    label_puts(w, tab->name);
    w.put("</TD></TR>\n");
    for (const column* col : tab->cols) {
      put_cell(w, cell_attrs);
      anchor_column(w, prefix, tab->name, col->name);
      w.put("\" PORT=\"f");
      w.put_num(col->idx);
      w.put("\">");
      label_puts(w, col->name);
      w.put("</TD></TR>\n");
    }
    w.put("\t\t</TABLE>>];\n");
    for (const column* col : tab->cols) {
      if (col->fkey)
        put_edge(w, *col, *col->fkey);
      for (const column* target : col->fkey_more)
        put_edge(w, *col, *target);
    }
  }
  w.put("}\n");
}
