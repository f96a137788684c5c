// Prefetching for the writers, which walk the tables in name order while the
// records lie in creation order.
#pragma once

#include "reader/schema.h"

/// For writers walking `s.tables`, called before the i-th table: asks for
/// what the next tables need ahead of their turn, since tables in name order
/// lie scattered in memory. Each step of the chain is asked for one table
/// after the step it depends on: the table record, then its list of columns,
/// then the columns, then the targets of their foreign keys and their tables.
/// (Always inlined: a call of a function that only prefetches counts as a
/// call without effect, which the compiler would drop.) Without it and the
/// foreign-key pass's prefetch, both programs take 22 to 37 % longer at
/// 100,000 tables (bench/compare.sh on bench/run.sh's plain and realistic
/// schemas).
[[gnu::always_inline]] inline void schema_prefetch(const schema& s, size_t i) {
  const size_t n = s.tables.size();
  if (i + 4 < n)
    __builtin_prefetch(s.tables[i + 4]);
  if (i + 3 < n) {
    const table* t = s.tables[i + 3];
    __builtin_prefetch(t->cols.data());
    __builtin_prefetch(t->name.data());
  }
  if (i + 2 < n)
    for (const column* c : s.tables[i + 2]->cols)
      __builtin_prefetch(c);
  if (i + 1 < n)
    for (const column* c : s.tables[i + 1]->cols) {
      __builtin_prefetch(c->name.data());
      if (c->fkey) {
        __builtin_prefetch(c->fkey->parent);
        __builtin_prefetch(c->fkey->name.data());
      }
    }
}
