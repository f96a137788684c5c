// The program frame shared by tabledoc and tablegraph.
#include "frame/frame.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include "reader/dialect.h"
#include "reader/read.h"

namespace {

// Standard error keeps each message whole, in one write.
char error_buffer[4096];

// operator new, for every container and string of the programs.
[[noreturn]] void new_failed() { log_out_of_memory("malloc"); }

}  // namespace

void frame_start() {
  // The writer gathers the output into large blocks, so the stream itself
  // needs no buffer; with none, nothing can be left in it to reach standard
  // output at an exit.
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  std::setvbuf(stderr, error_buffer, _IOLBF, sizeof error_buffer);
  std::set_new_handler(new_failed);
}

int frame_usage(const char* synopsis) {
  std::fprintf(stderr, "usage: %s %s\n", program_invocation_short_name, synopsis);
  return 1;
}

bool frame_dialect(frame& f, const char* name) {
  if (std::string_view(name) == "auto" || std::string_view(name) == "loose") {
    f.model.dialect = sql_dialect::none;
    f.model.dialect_from_text = std::string_view(name) == "auto";
    return true;
  }
  std::optional<sql_dialect> dialect = dialect_named(name);
  if (!dialect) {
    log_error(f.diag, 0, {"-d ", name, ": the dialect is ", DIALECT_CHOICES});
    return false;
  }
  f.model.dialect = *dialect;
  f.model.dialect_from_text = false;
  return true;
}

bool frame_read(frame& f, const char* operand) {
  return operand ? parse_file(operand, f.diag, f.model) : parse_stdin(f.diag, f.model);
}

int frame_finish(frame& f) {
  f.out.flush();
  int error = f.out.error;
  if (std::fflush(stdout) != 0 && !error)
    error = errno;
  if (std::ferror(stdout) && !error)
    error = EIO;
  if (std::fclose(stdout) != 0 && !error)
    error = errno;
  if (error) {
    log_error(f.diag, error, {"write error"});
    return 1;
  }
  return 0;
}
