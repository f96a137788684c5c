// The foreign-key pass. A target table is the first of its name in name order,
// which is the earliest created of equal names; a target column likewise.
#include "reader/fkey.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

void fkey_link_all(schema& s, std::span<const fkey_link> links) {
  std::vector<fkey_link> more;
  for (const fkey_link& l : links) {
    if (!l.source->fkey)
      l.source->fkey = l.target;
    else if (l.target != l.source->fkey)
      more.push_back(l);
  }
  if (more.empty())
    return;
  // Each column's further targets together, in the order read, without repeats.
  std::stable_sort(more.begin(), more.end(),
                   [](const fkey_link& a, const fkey_link& b) { return std::less<>()(a.source, b.source); });
  s.more_targets.reserve(s.more_targets.size() + more.size());
  for (size_t i = 0; i < more.size();) {
    column* source = more[i].source;
    size_t first = s.more_targets.size();
    for (; i < more.size() && more[i].source == source; i++) {
      const column* target = more[i].target;
      if (std::find(s.more_targets.begin() + first, s.more_targets.end(), target) == s.more_targets.end())
        s.more_targets.push_back(target);
    }
    source->fkey_more = std::span(s.more_targets).subspan(first);
  }
}

void parse_fkeys(schema& s, std::span<const named_table> tables, const diagnostics& d, fkey_targets targets_kept) {
  std::vector<fkey_link> links;  // with fkey_targets::every
  // Each reference's target table first: the search reads only the index,
  // and the tables themselves can then be fetched ahead of their turn below.
  // Null where the clause was cut short by ")" (it was reported then) or no
  // table has the name.
  std::vector<table*> targets(s.refs.size());
  for (size_t i = 0; i < s.refs.size(); i++) {
    const reference& ref = s.refs[i];
    if (ref.tname && ref.cname)
      targets[i] = name_find_table(tables, *ref.tname);
  }

  // Each target table, and then its columns, are asked for a few references
  // ahead. Without it tablegraph takes 9 % longer at 100,000 tables
  // (bench/compare.sh, plain and realistic).
  constexpr size_t ahead = 8;
  for (size_t i = 0; i < s.refs.size(); i++) {
    if (i + ahead < targets.size() && targets[i + ahead])
      __builtin_prefetch(targets[i + ahead]);
    if (i + ahead / 2 < targets.size() && targets[i + ahead / 2])
      __builtin_prefetch(targets[i + ahead / 2]->cols.data());
    const reference& ref = s.refs[i];
    if (!ref.tname || !ref.cname)
      continue;
    column* source = ref.source;
    if (!targets[i]) {
      log_file(d, {"unknown foreign key table on ", log_quote(source->parent->name), ".", log_quote(source->name),
                   ": ", log_quote(*ref.tname), ".", log_quote(*ref.cname)});
      continue;
    }
    column* target = name_find_column(*targets[i], *ref.cname);
    if (targets_kept == fkey_targets::every) {
      if (target)
        links.push_back({source, target});
      continue;
    }
    if (source->fkey) {
      log_file(d, {"foreign key exists: ", log_quote(source->fkey->parent->name), ".", log_quote(source->fkey->name)});
      continue;
    }
    // A missing target column leaves fkey null, so a later reference may bind it.
    source->fkey = target;
  }
  fkey_link_all(s, links);
}
