// The reader's diagnostics. Positions are where the tokenizer stands, just
// behind the last byte it consumed.
#include "reader/log.h"

#include <cstdarg>
#include <cstdio>

#include "reader/schema.h"

// One message line: the position prefix or the file prefix, the text, '\n'.
static void log_line(const parser& p, bool at, const char* fmt, va_list ap) {
  if (at)
    std::fprintf(stderr, "%s:%zu:%zu: ", p.fname, p.line + 1, p.column);
  else
    std::fprintf(stderr, "%s: ", p.fname);
  std::vfprintf(stderr, fmt, ap);
  std::fputc('\n', stderr);
}

void log_at(const parser& p, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  log_line(p, true, fmt, ap);
  va_end(ap);
}

void log_verbose(const parser& p, const char* fmt, ...) {
  if (!p.verbose)
    return;
  va_list ap;
  va_start(ap, fmt);
  log_line(p, true, fmt, ap);
  va_end(ap);
}

void log_file(const parser& p, const char* fmt, ...) {
  va_list ap;
  va_start(ap, fmt);
  log_line(p, false, fmt, ap);
  va_end(ap);
}
