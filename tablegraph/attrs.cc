// Attribute texts gathered from tablegraph's -c, -h and -t options.
#include "tablegraph/attrs.h"

#include <strings.h>

int attrs_append(std::optional<std::string>& slot, const char* arg) {
  // Every cell already carries its own HREF; a second one is refused. The test
  // stops at the argument's end, so "href" alone passes.
  if (strncasecmp(arg, "href=", 5) == 0)
    return 0;
  if (slot) {
    *slot += ' ';
    *slot += arg;
  } else {
    slot.emplace(arg);
  }
  return 1;
}
