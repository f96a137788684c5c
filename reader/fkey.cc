// The foreign-key pass. A target table is the first of its name in name order,
// which is the earliest created of equal names; a target column likewise.
// Both are found by binary search.
#include "reader/fkey.h"

#include <algorithm>
#include <string_view>
#include <vector>

namespace {

// The first column named `name` in the name-ordered `cols`, or null. A
// string_view compares its bytes unsigned, as strcmp does.
column* find_column(const table& tab, std::string_view name) {
  auto it = std::lower_bound(tab.cols.begin(), tab.cols.end(), name,
                             [](const column* c, std::string_view n) { return c->name < n; });
  return it != tab.cols.end() && (*it)->name == name ? *it : nullptr;
}

}  // namespace

name_head name_head_of(std::string_view name) {
  // Bytes in order of significance, missing ones as 0: a name that ends
  // there is shorter, and as long as it holds no NUL (a name never does) it
  // compares lower, as it should. Equal heads leave it to the whole names.
  auto word = [&](size_t from) {
    uint64_t w = 0;
    for (size_t i = 0; i < 8; i++)
      w = w << 8 | (from + i < name.size() ? static_cast<unsigned char>(name[from + i]) : 0);
    return w;
  };
  return {word(0), word(8)};
}

void parse_fkeys(schema& s, std::span<const named_table> tables, const diagnostics& d) {
  // Each reference's target table first: the search reads only the index,
  // which stays in the cache, and the tables themselves can then be fetched
  // ahead of their turn below. Null where the clause was cut short by ")" (it
  // was reported then) or no table has the name.
  std::vector<table*> targets(s.refs.size());
  for (size_t i = 0; i < s.refs.size(); i++) {
    const reference& ref = s.refs[i];
    if (!ref.tname || !ref.cname)
      continue;
    name_head head = name_head_of(*ref.tname);
    auto found = std::lower_bound(tables.begin(), tables.end(), *ref.tname,
                                  [&](const named_table& t, std::string_view n) { return name_less(t, head, n); });
    if (found != tables.end() && found->name == *ref.tname)
      targets[i] = found->tab;
  }

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
      log_file(d, {"unknown foreign key table on ", source->parent->name, ".", source->name, ": ", *ref.tname, ".",
                   *ref.cname});
      continue;
    }
    column* target = find_column(*targets[i], *ref.cname);
    if (source->fkey) {
      log_file(d, {"foreign key exists: ", source->fkey->parent->name, ".", source->fkey->name});
      continue;
    }
    // A missing target column leaves fkey null, so a later reference may bind it.
    source->fkey = target;
  }
}
