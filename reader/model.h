// Building the schema model: the one way tables and columns are made, and
// the order they are put in once the input has been read.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "reader/names.h"
#include "reader/schema.h"

/// A new table called `name` (copied) with the docstring `doc` (kept in the
/// schema's text store already, or absent), the next creation number, and
/// no columns yet.
table& model_add_table(schema& s, std::string_view name, std::optional<std::string_view> doc, int flags);

/// A new column of `tab`, the table created last, called `name` (copied,
/// unless `kept`: in the schema's text store already), with the docstring
/// `doc` and the next declaration number.
column& model_add_column(schema& s, table& tab, std::string_view name, std::optional<std::string_view> doc,
                         bool kept = false);

/// A column record made by a dialect reading, in the schema's store, joins
/// `tab`, the table created last: it gets its table, the next declaration
/// number, and its place in the schema's list of columns.
void model_adopt_column(schema& s, table& tab, column& c);

/// Once the input has been read: gives each table its columns, and puts the
/// tables in name order as if each had been inserted by name when it was
/// created (equal names in creation order). Each table's columns must be in
/// name order already. Returns the tables in that order beside their names.
std::vector<named_table> model_order(schema& s);
