// tabledoc: writes an HTML fragment documenting the tables and columns of a
// schema of CREATE TABLE statements.
#include <cerrno>
#include <cstdio>
#include <err.h>
#include <new>
#include <unistd.h>

#include "reader/schema.h"
#include "tabledoc/document.h"

static int usage() {
  std::fprintf(stderr, "usage: %s [-v] file\n", program_invocation_short_name);
  return 1;
}

static int run(int argc, char** argv) {
  parser p{};
  int ch;
  // "+": options end at the first operand; "tabledoc schema.sql -x" reads schema.sql.
  while ((ch = getopt(argc, argv, "+v")) != -1) {
    if (ch != 'v')
      return usage();
    p.verbose = 1;
  }
  int ok = optind < argc ? parse_file(argv[optind], p) : parse_stdin(p);
  if (ok)
    write_document(stdout, p);
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
