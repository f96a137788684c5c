// The reader's diagnostics. Positions are where the tokenizer stands, just
// behind the last byte it consumed.
#include "reader/log.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "reader/input.h"
#include "reader/lex.h"

namespace {

void put_piece(std::FILE* f, const log_piece& piece) {
  std::string_view text = piece.text;
  if (text.empty())
    return;  // its data may be null, which fwrite must not see
  if (!piece.from_input || text.size() <= LOG_QUOTE_LIMIT) {
    std::fwrite(text.data(), 1, text.size(), f);
    return;
  }
  // The start of a character of UTF-8, so that the part shown is text.
  size_t n = LOG_QUOTE_LIMIT;
  while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80)
    n--;
  std::fwrite(text.data(), 1, n, f);
  std::fprintf(f, "[... %zu more bytes]", text.size() - n);
}

void put_pieces(std::FILE* f, log_text msg) {
  for (const log_piece& piece : msg)
    put_piece(f, piece);
  std::fputc('\n', f);
}

// Whether a message about the input's bytes is to be left unsaid: they are
// not what the file holds any more.
// A reading without a stream is one whose failure its caller tells.
bool muted(const diagnostics& d, bool cheap) { return !d.stream || (d.watch && input_changed(*d.watch, cheap)); }

}  // namespace

void log_at(const lexer& lx, log_text msg) { log_at_place(lx.diag, lx.line, lex_column(lx), msg); }

void log_verbose(const lexer& lx, log_text msg) {
  if (lx.diag.verbose && !muted(lx.diag, true)) {
    std::fprintf(lx.diag.stream, "%s:%zu:%zu: ", lx.diag.fname, lx.line + 1, lex_column(lx));
    put_pieces(lx.diag.stream, msg);
  }
}

void log_at_place(const diagnostics& d, size_t line, size_t column, log_text msg) {
  if (muted(d, false))
    return;
  std::fprintf(d.stream, "%s:%zu:%zu: ", d.fname, line + 1, column);
  put_pieces(d.stream, msg);
}

void log_file(const diagnostics& d, log_text msg) {
  if (muted(d, false))
    return;
  std::fprintf(d.stream, "%s: ", d.fname);
  put_pieces(d.stream, msg);
}

void log_error(const diagnostics& d, int errnum, log_text msg) {
  std::fprintf(d.stream, "%s: ", program_invocation_short_name);
  for (const log_piece& piece : msg)
    put_piece(d.stream, piece);
  if (errnum)
    std::fprintf(d.stream, ": %s", std::strerror(errnum));
  std::fputc('\n', d.stream);
}

void log_out_of_memory(const char* call) {
  std::fprintf(stderr, "%s: %s: %s\n", program_invocation_short_name, call, std::strerror(ENOMEM));
  std::fflush(stderr);
  _exit(1);
}
