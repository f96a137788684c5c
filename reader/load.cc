// Input loading: a regular file is mapped read-only and parsed in place;
// standard input, pipes and devices are read to their end into one buffer.
#include "reader/load.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <memory>

#include "reader/read.h"

namespace {

// The mapping that the SIGBUS handler may repair, and whether it had to.
struct bus_guard {
  uintptr_t begin = 0, end = 0;  // the mapped bytes, end rounded up to a page
  uintptr_t page = 4096;
  struct sigaction previous;
  volatile sig_atomic_t faulted = 0;
};
bus_guard guard;

// Reading a page of the mapping that no longer has a byte of the file behind
// it raises SIGBUS. From that page to the end the mapping is replaced by
// zero pages, the fault noted, and the read goes on; the parse is failed when
// it returns. A fault anywhere else is none of this handler's business: the
// previous action is put back, and the faulting read raises it again.
void on_bus(int, siginfo_t* info, void*) {
  uintptr_t addr = reinterpret_cast<uintptr_t>(info->si_addr);
  if (addr >= guard.begin && addr < guard.end) {
    uintptr_t from = addr & ~(guard.page - 1);
    void* zero = mmap(reinterpret_cast<void*>(from), guard.end - from, PROT_READ,
                      MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0);
    if (zero != MAP_FAILED) {
      guard.faulted = 1;
      return;
    }
  }
  sigaction(SIGBUS, &guard.previous, nullptr);
}

// Reads descriptor `fd` to its end into one buffer and parses it.
bool parse_stream(const diagnostics& d, int fd, schema& s) {
  // The buffer doubles as it fills, so reading n bytes copies O(n) in all.
  size_t cap = 64 * 1024, total = 0;
  std::unique_ptr<char[]> buf(new char[cap]);
  for (;;) {
    if (total == cap) {
      std::unique_ptr<char[]> bigger(new char[cap * 2]);
      std::copy(buf.get(), buf.get() + total, bigger.get());
      buf = std::move(bigger);
      cap *= 2;
    }
    ssize_t n = read(fd, buf.get() + total, cap - total);
    if (n < 0) {
      log_error(d, errno, {d.fname});
      return false;
    }
    if (n == 0)
      break;
    total += size_t(n);
  }
  return parse_buf(d, std::string_view(buf.get(), total), s);
}

// Maps the regular file open on `fd` from byte `offset` to its end, and
// parses it. The pages are read in as the mapping is made: far cheaper than
// one fault per page.
bool parse_regular(const diagnostics& d, int fd, size_t offset, size_t file_size, schema& s) {
  size_t page = size_t(sysconf(_SC_PAGESIZE));
  size_t start = offset & ~(page - 1), size = file_size - start;
  // A file of length 0 cannot be mapped (EINVAL) and is reported here. The
  // pages come in as they are read: mapping them all at once (MAP_POPULATE)
  // saved nothing measurable and cost tablegraph 26 MiB of peak RSS at
  // 100,000 tables.
  void* map = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, off_t(start));
  if (map == MAP_FAILED) {
    log_error(d, errno, {d.fname});
    return false;
  }
  const char* data = static_cast<const char*>(map) + (offset - start);
  bool ok = parse_mapped(d, fd, file_size, data, file_size - offset, s);
  if (munmap(map, size) != 0) {
    log_error(d, errno, {d.fname});
    return false;
  }
  return ok;
}

}  // namespace

bool parse_mapped(const diagnostics& d, int fd, size_t file_size, const char* data, size_t size, schema& s) {
  guard.page = uintptr_t(sysconf(_SC_PAGESIZE));
  guard.begin = reinterpret_cast<uintptr_t>(data);
  guard.end = (guard.begin + size + guard.page - 1) & ~(guard.page - 1);
  guard.faulted = 0;
  struct sigaction on_fault = {};
  on_fault.sa_sigaction = on_bus;
  on_fault.sa_flags = SA_SIGINFO;
  sigemptyset(&on_fault.sa_mask);
  sigaction(SIGBUS, &on_fault, &guard.previous);
  input_pages in{std::string_view(data, size), true};
  // What the parse would say of bytes that changed under it is not said;
  // the one message is the one below.
  input_watch watch{fd, file_size, &guard.faulted};
  diagnostics watched = d;
  watched.watch = &watch;
  bool ok = parse_input(watched, in, s);
  sigaction(SIGBUS, &guard.previous, nullptr);
  guard.begin = guard.end = 0;

  struct stat st;
  bool same_size = fd < 0 || (fstat(fd, &st) == 0 && size_t(st.st_size) == file_size);
  if (guard.faulted || !same_size) {
    log_error(d, 0, {d.fname, ": file changed while being read"});
    return false;
  }
  return ok;
}

bool parse_file(const char* path, const diagnostics& options, schema& s) {
  diagnostics d = options;
  d.fname = path;
  int fd = open(path, O_RDONLY);
  if (fd < 0) {
    log_error(d, errno, {path});
    return false;
  }
  bool ok;
  struct stat st;
  if (fstat(fd, &st) != 0) {
    log_error(d, errno, {path});
    ok = false;
  } else if (S_ISDIR(st.st_mode)) {
    log_error(d, EISDIR, {path});
    ok = false;
  } else if (S_ISREG(st.st_mode)) {
    ok = parse_regular(d, fd, 0, size_t(st.st_size), s);
  } else {
    ok = parse_stream(d, fd, s);  // a pipe, a terminal, a device
  }
  if (close(fd) != 0) {
    log_error(d, errno, {path});
    return false;
  }
  return ok;
}

bool parse_stdin(const diagnostics& options, schema& s) {
  diagnostics d = options;
  d.fname = "<stdin>";
  // A file on standard input is mapped like a file operand, from where its
  // reading stands; what remains of it may be nothing at all.
  struct stat st;
  off_t at = lseek(0, 0, SEEK_CUR);
  if (fstat(0, &st) == 0 && S_ISREG(st.st_mode) && at >= 0 && at < st.st_size)
    return parse_regular(d, 0, size_t(at), size_t(st.st_size), s);
  return parse_stream(d, 0, s);
}
