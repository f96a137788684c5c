// tabledoc: writes an HTML fragment documenting the tables and columns of a
// schema of CREATE TABLE statements.
#include <unistd.h>

#include "frame/frame.h"
#include "tabledoc/document.h"

int main(int argc, char** argv) {
  frame_start();
  frame f;
  int ch;
  // "+": options end at the first operand; "tabledoc schema.sql -x" reads schema.sql.
  while ((ch = getopt(argc, argv, "+vd:")) != -1) {
    if (ch == 'v')
      f.diag.verbose = true;
    else if (ch != 'd')
      return frame_usage("[-v] file");
    else if (!frame_dialect(f, optarg))
      return 1;
  }
  // argv[argc] is null: standard input when there is no operand.
  if (!frame_read(f, argv[optind]))
    return 1;
  write_document(f.out, f.model);
  return frame_finish(f);
}
