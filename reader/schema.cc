// Release of the schema model.
#include "reader/schema.h"

void parser_free(parser& p) {
  p.refs.clear();
  p.tables.clear();
}
