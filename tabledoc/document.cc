// The HTML fragment: a definition list of the tables in name order, each with
// its docstring and a nested list of its columns. Every entry's id is the
// anchor that links here and tablegraph's cells point to.
#include "tabledoc/document.h"

#include <vector>

#include "html/anchor.h"
#include "html/escape.h"
#include "reader/prefetch.h"
#include "tabledoc/markup.h"

namespace {

const char* const prefix = ANCHOR_PREFIX;

// The file's docstring, in its markup, then the catalog's comment, plain
// text, a paragraph break between them.
void put_comment(writer& w, std::string_view indent, const std::optional<std::string_view>& doc, const char* note) {
  if (!doc && !note)
    return;
  w.put(indent);
  w.put("<div class=\"comment\">\n");
  w.put(indent);
  w.put('\t');
  if (doc)
    html_comment(w, prefix, *doc);
  if (doc && note)
    w.put("<p></p>");
  if (note)
    html_plain_text(w, note);
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
  put_comment(w, "\t\t\t\t", col.comment, col.note);
  w.put("\t\t\t</dd>\n");
}

using referrer_lists = std::vector<std::vector<const table*>>;

void add_referrer(referrer_lists& by, const table* from, const column* target) {
  std::vector<const table*>& list = by[target->parent->idx];
  // The tables are walked in name order, so a repeat can only be the last.
  if (target->parent != from && (list.empty() || list.back() != from))
    list.push_back(from);
}

// For each table, by its creation number, the other tables whose foreign keys
// point at it, in name order, each once.
referrer_lists referrers(const schema& s) {
  referrer_lists by(s.tables.size());
  for (const table* tab : s.tables)
    for (const column* col : tab->cols) {
      if (col->fkey)
        add_referrer(by, tab, col->fkey);
      for (const column* target : col->fkey_more)
        add_referrer(by, tab, target);
    }
  return by;
}

void put_referrers(writer& w, const std::vector<const table*>& from) {
  if (from.empty())
    return;
  w.put("\t\t<div class=\"referenced\">Referenced by ");
  for (size_t i = 0; i < from.size(); i++) {
    if (i)
      w.put(", ");
    w.put("<a href=\"#");
    anchor_table(w, prefix, from[i]->name);
    w.put("\">");
    html_puttext(w, from[i]->name);
    w.put("</a>");
  }
  w.put("</div>\n");
}

}  // namespace

void write_document(writer& w, const schema& s, const document_options& opt) {
  referrer_lists referenced;
  if (opt.referenced_by)
    referenced = referrers(s);
  w.put("<dl class=\"tabs\">\n");
  for (size_t i = 0; i < s.tables.size(); i++) {
    schema_prefetch(s, i);
    const table* tab = s.tables[i];
    w.put("\t<dt id=\"");
    anchor_table(w, prefix, tab->name);
    w.put("\">");
    html_puttext(w, tab->name);
    w.put("</dt>\n\t<dd>\n");
    put_comment(w, "\t\t", tab->comment, tab->note);
    if (opt.referenced_by)
      put_referrers(w, referenced[tab->idx]);
    w.put("\t\t<dl class=\"cols\">\n");
    for (const column* col : tab->cols)
      put_column(w, *col);
    w.put("\t\t</dl>\n\t</dd>\n");
  }
  w.put("</dl>\n");
}
