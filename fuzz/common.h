// What the fuzz targets share: the stream for their own reports and the
// silencing of the reader's messages.
#pragma once

#include <cstdio>
#include <cstdlib>

#include "reader/log.h"

/// Where a target reports a failed check before it aborts: standard error.
extern std::FILE* report;

/// The reader's messages go to /dev/null, which also saves their formatting
/// cost; FUZZ_MESSAGES=1 in the environment sends them to standard error.
diagnostics fuzz_diagnostics();

#define CHECK(cond)                                                                      \
  do {                                                                                   \
    if (!(cond)) {                                                                       \
      std::fprintf(report, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #cond);      \
      std::abort();                                                                      \
    }                                                                                    \
  } while (0)
