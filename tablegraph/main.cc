// tablegraph: writes a Graphviz digraph of the tables, columns and foreign
// keys of a schema, every cell linked to tabledoc's entry for it.
#include <err.h>
#include <unistd.h>

#include "frame/frame.h"
#include "tablegraph/attrs.h"
#include "tablegraph/dot.h"

int main(int argc, char** argv) {
  frame_start();
  frame f;
  f.model.docstrings = false;  // the graph draws none
  graph_options opt;
  int ch;
  // "+": options end at the first operand.
  while ((ch = getopt(argc, argv, "+h:c:t:p:vd:")) != -1) {
    std::optional<std::string>* slot = nullptr;
    switch (ch) {
      case 'c': slot = &opt.cell_attrs; break;
      case 'h': slot = &opt.header_attrs; break;
      case 't': slot = &opt.table_attrs; break;
      case 'p': opt.prefix = optarg; continue;
      case 'v': f.diag.verbose = true; continue;
      case 'd':
        if (!frame_dialect(f, optarg))
          return 1;
        continue;
      default: return frame_usage("[-v] [-c attrs] [-h attrs] [-t attrs] file");
    }
    if (!attrs_append(*slot, optarg))
      warnx("-%c %s: ignoring", ch, optarg);
  }
  // argv[argc] is null: standard input when there is no operand.
  if (!frame_read(f, argv[optind]))
    return 1;
  write_graph(f.out, f.model, opt);
  return frame_finish(f);
}
