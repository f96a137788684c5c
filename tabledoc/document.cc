// The HTML fragment: a definition list of the tables in name order, each with
// its docstring and a nested list of its columns. Every entry's id is the
// anchor that links here and tablegraph's cells point to.
#include "tabledoc/document.h"

#include "reader/anchor.h"
#include "reader/schema.h"
#include "reader/writer.h"
#include "tabledoc/markup.h"

namespace {

const char* const prefix = "sql";

// Prints "prefix-identifier" in an id or href.
void put_anchor(writer& w, std::string_view id) {
  w.put(prefix);
  w.put('-');
  w.put(id);
}

void put_comment(writer& w, std::string_view indent, std::string_view doc) {
  w.put(indent);
  w.put("<div class=\"comment\">\n");
  w.put(indent);
  w.put('\t');
  html_comment(w, prefix, doc);
  w.put('\n');
  w.put(indent);
  w.put("</div>\n");
}

// `id` is storage for the identifiers, reused from one to the next.
void put_column(writer& w, std::string& id, const column& col) {
  w.put("\t\t\t<dt id=\"");
  anchor_id_into(id, col.parent->name, col.name);
  put_anchor(w, id);
  w.put("\">");
  html_puttext(w, col.name);
  w.put("</dt>\n\t\t\t<dd>\n");
  if (const column* target = col.fkey) {
    w.put("\t\t\t\t<div class=\"foreign\"><a href=\"#");
    anchor_id_into(id, target->parent->name, target->name);
    put_anchor(w, id);
    w.put("\">");
    html_puttext(w, target->parent->name);
    html_putc(w, '.');
    html_puttext(w, target->name);
    w.put("</a></div>\n");
  }
  if (col.comment)
    put_comment(w, "\t\t\t\t", *col.comment);
  w.put("\t\t\t</dd>\n");
}

}  // namespace

void write_document(std::FILE* out, const parser& p) {
  writer w(out);
  std::string id;
  w.put("<dl class=\"tabs\">\n");
  for (size_t i = 0; i < p.tables.size(); i++) {
    parser_prefetch(p, i);
    const table* tab = p.tables[i];
    w.put("\t<dt id=\"");
    anchor_id_into(id, tab->name);
    put_anchor(w, id);
    w.put("\">");
    html_puttext(w, tab->name);
    w.put("</dt>\n\t<dd>\n");
    if (tab->comment)
      put_comment(w, "\t\t", *tab->comment);
    w.put("\t\t<dl class=\"cols\">\n");
    for (const column* col : tab->cols)
      put_column(w, id, *col);
    w.put("\t\t</dl>\n\t</dd>\n");
  }
  w.put("</dl>\n");
}
