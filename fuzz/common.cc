// The set-up that the fuzz targets share.
#include "fuzz/common.h"

#include <cstdint>

std::FILE* report = stderr;

diagnostics fuzz_diagnostics() {
  static std::FILE* messages = [] {
    const char* keep = std::getenv("FUZZ_MESSAGES");
    if (keep && *keep && *keep != '0')
      return stderr;
    std::FILE* null = std::fopen("/dev/null", "w");
    if (!null)
      std::abort();
    return null;
  }();
  diagnostics d;
  d.stream = messages;
  d.fname = "fuzz.sql";
  return d;
}
