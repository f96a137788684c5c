// The HTML fragment: a definition list of the tables in name order, each with
// its docstring and a nested list of its columns. Every entry's id is the
// anchor that links here and tablegraph's cells point to.
#include "tabledoc/document.h"

#include "html/anchor.h"
#include "html/escape.h"
#include "reader/prefetch.h"
#include "tabledoc/markup.h"

namespace {

const char* const prefix = ANCHOR_PREFIX;

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

void put_foreign(writer& w, const column& target) {
  w.put("\t\t\t\t<div class=\"foreign\"><a href=\"#");
  anchor_column(w, prefix, target.parent->name, target.name);
  w.put("\">");
  html_puttext(w, target.parent->name);
  html_putc(w, '.');
  html_puttext(w, target.name);
  w.put("</a></div>\n");
}

void put_column(writer& w, const column& col) {
  w.put("\t\t\t<dt id=\"");
  anchor_column(w, prefix, col.parent->name, col.name);
  w.put("\">");
  html_puttext(w, col.name);
  w.put("</dt>\n\t\t\t<dd>\n");
  if (col.fkey)
    put_foreign(w, *col.fkey);
  for (const column* target : col.fkey_more)
    put_foreign(w, *target);
  if (col.comment)
    put_comment(w, "\t\t\t\t", *col.comment);
  w.put("\t\t\t</dd>\n");
}

}  // namespace

void write_document(writer& w, const schema& s) {
  w.put("<dl class=\"tabs\">\n");
  for (size_t i = 0; i < s.tables.size(); i++) {
    schema_prefetch(s, i);
    const table* tab = s.tables[i];
    w.put("\t<dt id=\"");
    anchor_table(w, prefix, tab->name);
    w.put("\">");
    html_puttext(w, tab->name);
    w.put("</dt>\n\t<dd>\n");
    if (tab->comment)
      put_comment(w, "\t\t", *tab->comment);
    w.put("\t\t<dl class=\"cols\">\n");
    for (const column* col : tab->cols)
      put_column(w, *col);
    w.put("\t\t</dl>\n\t</dd>\n");
  }
  w.put("</dl>\n");
}
