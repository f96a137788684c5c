// The reader's diagnostics. Positions are where the tokenizer stands, just
// behind the last byte it consumed.
#include "reader/log.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "reader/lex.h"

namespace {

void put_pieces(std::FILE* f, log_text msg) {
  for (std::string_view piece : msg)
    std::fwrite(piece.data(), 1, piece.size(), f);
  std::fputc('\n', f);
}

}  // namespace

void log_at(const lexer& lx, log_text msg) {
  std::fprintf(lx.diag.stream, "%s:%zu:%zu: ", lx.diag.fname, lx.line + 1, lex_column(lx));
  put_pieces(lx.diag.stream, msg);
}

void log_verbose(const lexer& lx, log_text msg) {
  if (lx.diag.verbose)
    log_at(lx, msg);
}

void log_file(const diagnostics& d, log_text msg) {
  std::fprintf(d.stream, "%s: ", d.fname);
  put_pieces(d.stream, msg);
}

void log_error(const diagnostics& d, int errnum, log_text msg) {
  std::fprintf(d.stream, "%s: ", program_invocation_short_name);
  for (std::string_view piece : msg)
    std::fwrite(piece.data(), 1, piece.size(), d.stream);
  if (errnum)
    std::fprintf(d.stream, ": %s", std::strerror(errnum));
  std::fputc('\n', d.stream);
}

void log_out_of_memory(const char* call) {
  std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name, call, std::strerror(ENOMEM));
  std::fflush(stderr);
  _exit(1);
}
