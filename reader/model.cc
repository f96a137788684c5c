// Building the schema model.
#include "reader/model.h"

table& model_add_table(schema& s, std::string_view name, std::optional<std::string_view> doc, int flags) {
  table& tab = s.table_store.make();
  tab.name = text_keep(s.table_names, name);
  tab.comment = doc;
  tab.flags = flags;
  tab.idx = s.tables.size();
  s.tables.push_back(&tab);
  return tab;
}

column& model_add_column(schema& s, table& tab, std::string_view name, std::optional<std::string_view> doc,
                         bool kept) {
  column& c = s.column_store.make();
  c.name = kept ? name : text_keep(s.texts, name);
  c.comment = doc;
  c.parent = &tab;
  c.idx = tab.ncols++;
  s.columns.push_back(&c);
  return c;
}

void model_adopt_column(schema& s, table& tab, column& c) {
  c.parent = &tab;
  c.idx = tab.ncols++;
  s.columns.push_back(&c);
}

std::vector<named_table> model_order(schema& s) {
  // Tables were created, and their columns listed, in the same order; until
  // they are sorted below, `tables` holds them in that order.
  size_t first = 0;
  for (table* tab : s.tables) {
    tab->cols = std::span(s.columns).subspan(first, tab->ncols);
    first += tab->ncols;
  }
  return name_sort_tables(s.tables);
}
