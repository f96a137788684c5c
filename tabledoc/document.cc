// The HTML fragment: a definition list of the tables in name order, each with
// its docstring and a nested list of its columns. Every entry's id is the
// anchor that links here and tablegraph's cells point to.
#include "tabledoc/document.h"

#include "reader/anchor.h"
#include "reader/schema.h"
#include "tabledoc/markup.h"

namespace {

const char* const prefix = "sql";

void put_name(std::FILE* out, const std::string& name) {
  for (unsigned char c : name)
    html_putc(out, c);
}

// Prints "prefix-identifier" in an id or href.
void put_anchor(std::FILE* out, const std::string& table_name, const char* column_name) {
  fputs_unlocked(prefix, out);
  putc_unlocked('-', out);
  fputs_unlocked(anchor_id(table_name, column_name).c_str(), out);
}

void put_comment(std::FILE* out, const char* indent, const std::string& doc) {
  std::fprintf(out, "%s<div class=\"comment\">\n%s\t", indent, indent);
  html_comment(out, prefix, doc);
  std::fprintf(out, "\n%s</div>\n", indent);
}

void put_column(std::FILE* out, const column& col) {
  fputs_unlocked("\t\t\t<dt id=\"", out);
  put_anchor(out, col.parent->name, col.name.c_str());
  fputs_unlocked("\">", out);
  put_name(out, col.name);
  fputs_unlocked("</dt>\n\t\t\t<dd>\n", out);
  if (const column* target = col.fkey) {
    fputs_unlocked("\t\t\t\t<div class=\"foreign\"><a href=\"#", out);
    put_anchor(out, target->parent->name, target->name.c_str());
    fputs_unlocked("\">", out);
    put_name(out, target->parent->name);
    html_putc(out, '.');
    put_name(out, target->name);
    fputs_unlocked("</a></div>\n", out);
  }
  if (col.comment)
    put_comment(out, "\t\t\t\t", *col.comment);
  fputs_unlocked("\t\t\t</dd>\n", out);
}

}  // namespace

void write_document(std::FILE* out, const parser& p) {
  fputs_unlocked("<dl class=\"tabs\">\n", out);
  for (const auto& tab : p.tables) {
    fputs_unlocked("\t<dt id=\"", out);
    put_anchor(out, tab->name, nullptr);
    fputs_unlocked("\">", out);
    put_name(out, tab->name);
    fputs_unlocked("</dt>\n\t<dd>\n", out);
    if (tab->comment)
      put_comment(out, "\t\t", *tab->comment);
    fputs_unlocked("\t\t<dl class=\"cols\">\n", out);
    for (const auto& col : tab->cols)
      put_column(out, *col);
    fputs_unlocked("\t\t</dl>\n\t</dd>\n", out);
  }
  fputs_unlocked("</dl>\n", out);
}
