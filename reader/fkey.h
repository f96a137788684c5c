// The foreign-key pass, run once after the whole input has been read.
#pragma once

#include <span>
#include <string_view>

#include "reader/log.h"
#include "reader/schema.h"

/// A table beside its name, so that searching by name reads only names.
struct named_table {
  std::string_view name;
  table* tab;
};

/// Binds each reference's source column to its target column. `tables` holds
/// every table in name order (equal names in creation order), and every
/// table's `cols` is in name order. Reports unknown tables and second
/// bindings through log_file; never fails.
void parse_fkeys(schema& s, std::span<const named_table> tables, const diagnostics& d);
