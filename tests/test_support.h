// What several unit tests need: a message stream in memory and the text that
// a writer writes.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "html/writer.h"
#include "reader/log.h"

/// A diagnostics stream in memory: what was reported on it, read back.
struct Messages {
  char* buf = nullptr;
  size_t size = 0;
  std::FILE* stream = open_memstream(&buf, &size);
  Messages() = default;
  Messages(const Messages&) = delete;
  Messages& operator=(const Messages&) = delete;
  ~Messages() {
    std::fclose(stream);
    std::free(buf);
  }
  diagnostics diag() const { return {stream, "t.sql", false}; }
  std::string text() {
    std::fflush(stream);
    return std::string(buf, size);
  }
};

/// What `write`, given a writer, writes, collected in a string.
template <class F>
std::string written(F write) {
  std::string s;
  {
    writer w(s);
    write(w);
  }
  return s;
}
