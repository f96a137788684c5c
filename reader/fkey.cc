// The foreign-key pass. Lists are in name order, so the first table or column
// of a name (the earliest created of equals) is found by binary search.
#include "reader/fkey.h"

#include <algorithm>
#include <cstring>

#include "reader/log.h"
#include "reader/schema.h"

namespace {

// The first element named `name`, or null. Names are compared as strcmp
// compares them; a std::string compares its bytes unsigned, the same order.
template <typename T>
T* find_first(const std::vector<std::unique_ptr<T>>& list, const std::string& name) {
  auto it = std::lower_bound(list.begin(), list.end(), name,
                             [](const std::unique_ptr<T>& e, const std::string& n) { return e->name < n; });
  return it != list.end() && (*it)->name == name ? it->get() : nullptr;
}

}  // namespace

void parse_fkeys(parser& p) {
  for (const reference& ref : p.refs) {
    // A clause cut short by ")" named no complete target; it was reported then.
    if (!ref.tname || !ref.cname)
      continue;
    column* source = ref.source;
    table* target_table = find_first(p.tables, *ref.tname);
    if (!target_table) {
      log_file(p, "unknown foreign key table on %s.%s: %s.%s", source->parent->name.c_str(),
               source->name.c_str(), ref.tname->c_str(), ref.cname->c_str());
      continue;
    }
    column* target = find_first(target_table->cols, *ref.cname);
    if (source->fkey) {
      log_file(p, "foreign key exists: %s.%s", source->fkey->parent->name.c_str(), source->fkey->name.c_str());
      continue;
    }
    // A missing target column leaves fkey null, so a later reference may bind it.
    source->fkey = target;
  }
}
