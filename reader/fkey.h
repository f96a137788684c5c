// The foreign-key pass, run once after the whole input has been read.
#pragma once

#include <span>

#include "reader/log.h"
#include "reader/names.h"
#include "reader/schema.h"

/// How a column's second foreign key is taken.
enum class fkey_targets {
  first,  // the first binding stands; a later one is reported ("foreign key exists")
  every,  // each further target is kept in the column's `fkey_more`, once
};

/// A foreign key's link from one column to another, found already.
struct fkey_link {
  column* source;
  const column* target;
};

/// Binds each link's source to its target, in the order given: the first
/// target of a column is its `fkey`, each further one, once, in its
/// `fkey_more`.
void fkey_link_all(schema& s, std::span<const fkey_link> links);

/// Binds each reference's source column to its target column. `tables` are
/// the schema's tables as name_sort_tables returns them, and every table's
/// columns are in name order. Reports unknown tables (and, with
/// fkey_targets::first, second bindings) through log_file; never fails.
void parse_fkeys(schema& s, std::span<const named_table> tables, const diagnostics& d,
                 fkey_targets targets_kept = fkey_targets::first);
