// tablegraph: writes a Graphviz digraph of the tables, columns and foreign
// keys of a schema, every cell linked to tabledoc's entry for it.
#include <cerrno>
#include <cstdio>
#include <err.h>
#include <new>
#include <unistd.h>

#include "reader/schema.h"
#include "tablegraph/attrs.h"
#include "tablegraph/dot.h"

static int usage() {
  std::fprintf(stderr, "usage: %s [-v] [-c attrs] [-h attrs] [-t attrs] file\n", program_invocation_short_name);
  return 1;
}

static int run(int argc, char** argv) {
  parser p{};
  graph_options opt;
  int ch;
  // "+": options end at the first operand.
  while ((ch = getopt(argc, argv, "+h:c:t:p:v")) != -1) {
    std::optional<std::string>* slot = nullptr;
    switch (ch) {
      case 'c': slot = &opt.cell_attrs; break;
      case 'h': slot = &opt.header_attrs; break;
      case 't': slot = &opt.table_attrs; break;
      case 'p': opt.prefix = optarg; continue;
      case 'v': p.verbose = 1; continue;
      default: return usage();
    }
    if (!attrs_append(*slot, optarg))
      warnx("-%c %s: ignoring", ch, optarg);
  }
  int ok = optind < argc ? parse_file(argv[optind], p) : parse_stdin(p);
  if (ok)
    write_graph(stdout, p, opt);
  parser_free(p);
  return ok ? 0 : 1;
}

int main(int argc, char** argv) {
  static char outbuf[1 << 16];
  std::setvbuf(stdout, outbuf, _IOFBF, sizeof outbuf);
  try {
    return run(argc, argv);
  } catch (const std::bad_alloc&) {
    errno = ENOMEM;
    err(1, "malloc");
  }
}
