// Name order: how tables and columns are listed, and how they are found by
// name. Every comparison of names in the reader is this one.
#pragma once

#include <span>
#include <string_view>
#include <vector>

#include "reader/schema.h"

/// Whether name `a` comes before name `b`: byte by byte as unsigned values,
/// case-sensitive, a proper prefix before any longer name. (This is strcmp's
/// order, since no kept name holds a NUL byte.)
inline bool name_less(std::string_view a, std::string_view b) { return a < b; }

/// name_less as a comparison object, for ordered containers.
struct name_order {
  bool operator()(std::string_view a, std::string_view b) const { return name_less(a, b); }
};

/// A table beside its name: sorting and searching an array of these by name
/// reads the names but none of the table records, which lie scattered in
/// memory. (Sorting and searching the tables themselves made tablegraph 10 to
/// 14 % slower at 100,000 plain tables, by bench/compare.sh; a 16-byte head of
/// each name beside it saved nothing measurable and went.)
struct named_table {
  std::string_view name;
  table* tab;
};

/// Puts the tables, given in creation order, in name order; equal names keep
/// their creation order. Returns them in that order beside their names.
std::vector<named_table> name_sort_tables(std::vector<table*>& tables);

/// Puts a table's columns, given in declaration order, in name order; equal
/// names keep their declaration order.
void name_sort_columns(std::span<column*> cols);

/// The first table called `name` in `tables` as name_sort_tables returns
/// them (so the earliest created of its name), or null.
table* name_find_table(std::span<const named_table> tables, std::string_view name);

/// The first column called `name` of `tab`, whose columns are in name order,
/// or null.
column* name_find_column(const table& tab, std::string_view name);
