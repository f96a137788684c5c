// What both fuzz targets share: a sink for the writers' output and the
// silencing of the reader's messages.
#pragma once

#include <cstdio>
#include <cstdlib>

/// Called once from LLVMFuzzerInitialize. The reader writes its messages
/// through the `stderr` stream; pointing that stream at /dev/null silences them
/// (and saves the formatting cost) while the sanitizers, which write to
/// descriptor 2 directly, and libFuzzer, which took its own copy of the stream
/// at start-up, still report. FUZZ_MESSAGES=1 in the environment keeps them.
inline void fuzz_quiet_messages() {
  const char* keep = std::getenv("FUZZ_MESSAGES");
  if (keep && *keep && *keep != '0')
    return;
  if (std::FILE* null = std::fopen("/dev/null", "w"))
    stderr = null;
}

/// The stream that the writers write to: /dev/null, opened once.
inline std::FILE* fuzz_sink() {
  static std::FILE* sink = [] {
    std::FILE* f = std::fopen("/dev/null", "w");
    if (!f)
      std::abort();
    return f;
  }();
  return sink;
}
