// The Graphviz digraph: one node per table, named by its creation number and
// drawn as an HTML-like table, one port per column named by its declaration
// number, and one edge per resolved foreign key.
#include "tablegraph/dot.h"

#include "reader/anchor.h"
#include "reader/escape.h"
#include "reader/schema.h"

namespace {

// An attribute text with the space that separates it from what follows (or,
// in the TABLE element, precedes it); both empty when the option was not given.
struct attr_pair {
  const char* text = "";
  const char* sep = "";
};

attr_pair pair_of(const std::optional<std::string>& attrs) {
  return attrs ? attr_pair{attrs->c_str(), " "} : attr_pair{};
}

void put_cell(std::FILE* out, const attr_pair& attrs, const char* prefix, const std::string& id) {
  std::fprintf(out, "\t\t\t<TR><TD %s%sHREF=\"#%s-%s\"", attrs.text, attrs.sep, prefix, id.c_str());
}

}  // namespace

void write_graph(std::FILE* out, const parser& p, const graph_options& opt) {
  attr_pair tab_attrs = pair_of(opt.table_attrs);
  attr_pair head_attrs = pair_of(opt.header_attrs ? opt.header_attrs : opt.cell_attrs);
  attr_pair cell_attrs = pair_of(opt.cell_attrs);

  fputs_unlocked("digraph G {\n", out);
  for (const auto& tab : p.tables) {
    std::fprintf(out, "\ttable%zu [shape=none; label=<<TABLE%s%s>\n", tab->idx, tab_attrs.sep, tab_attrs.text);
    put_cell(out, head_attrs, opt.prefix, anchor_id(tab->name, nullptr));
    fputs_unlocked(">", out);
    html_puts(out, tab->name);
    fputs_unlocked("</TD></TR>\n", out);
    for (const auto& col : tab->cols) {
      put_cell(out, cell_attrs, opt.prefix, anchor_id(tab->name, col->name.c_str()));
      std::fprintf(out, " PORT=\"f%zu\">", col->idx);
      html_puts(out, col->name);
      fputs_unlocked("</TD></TR>\n", out);
    }
    fputs_unlocked("\t\t</TABLE>>];\n", out);
    for (const auto& col : tab->cols)
      if (const column* target = col->fkey)
        std::fprintf(out, "\ttable%zu:f%zu -> table%zu:f%zu;\n", tab->idx, col->idx, target->parent->idx,
                     target->idx);
  }
  fputs_unlocked("}\n", out);
}
