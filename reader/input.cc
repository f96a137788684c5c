// Giving back the pages of the input, and noticing that it changed.
#include "reader/input.h"

#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>

// Without it the peak RSS at 100,000 realistic tables (174 MiB) is 387 MiB
// instead of 227 for tabledoc, 325 instead of 191 for tablegraph
// (bench/compare.sh); the time is the same.
void input_passed(input_pages& in, size_t pos) {
  constexpr size_t step = size_t(16) << 20;
  if (!in.mapped || pos - in.released < step)
    return;
  const uintptr_t page = uintptr_t(sysconf(_SC_PAGESIZE));
  uintptr_t from = (reinterpret_cast<uintptr_t>(in.bytes.data() + in.released) + page - 1) & ~(page - 1);
  uintptr_t to = reinterpret_cast<uintptr_t>(in.bytes.data() + pos) & ~(page - 1);
  if (from < to)
    madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
  in.released = pos;
}

bool input_changed(const input_watch& w, bool cheap) {
  if (w.faulted && *w.faulted)
    return true;
  if (cheap || w.fd < 0)
    return false;
  struct stat st;
  return fstat(w.fd, &st) != 0 || size_t(st.st_size) != w.size;
}
