// Sorting and searching by name.
#include "reader/names.h"

#include <algorithm>
#include <vector>

namespace {

bool by_name(const column* a, const column* b) { return name_less(a->name, b->name); }

}  // namespace

std::vector<named_table> name_sort_tables(std::vector<table*>& tables) {
  std::vector<named_table> index;
  index.reserve(tables.size());
  for (table* tab : tables)
    index.push_back({tab->name, tab});
  std::stable_sort(index.begin(), index.end(),
                   [](const named_table& a, const named_table& b) { return name_less(a.name, b.name); });
  for (size_t i = 0; i < tables.size(); i++)
    tables[i] = index[i].tab;
  return index;
}

void name_sort_columns(std::span<column*> cols) { std::stable_sort(cols.begin(), cols.end(), by_name); }

table* name_find_table(std::span<const named_table> tables, std::string_view name) {
  auto it = std::lower_bound(tables.begin(), tables.end(), name,
                             [](const named_table& t, std::string_view n) { return name_less(t.name, n); });
  return it != tables.end() && it->name == name ? it->tab : nullptr;
}

column* name_find_column(const table& tab, std::string_view name) {
  auto it = std::lower_bound(tab.cols.begin(), tab.cols.end(), name,
                             [](const column* c, std::string_view n) { return name_less(c->name, n); });
  return it != tab.cols.end() && (*it)->name == name ? *it : nullptr;
}
