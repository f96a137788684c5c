// Input loading: a schema file is mapped, standard input is read to its end;
// either way parse_buf makes the one private copy that the tokenizer rewrites.
#include <err.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "reader/schema.h"

int parse_file(const char* path, parser& p) {
  int fd = open(path, O_RDONLY);
  if (fd < 0) {
    warn("%s", path);
    return 0;
  }
  int r = parse_fd(path, fd, p);
  if (close(fd) != 0) {
    warn("%s", path);
    return 0;
  }
  return r;
}

int parse_fd(const char* path, int fd, parser& p) {
  struct stat st;
  if (fstat(fd, &st) != 0) {
    warn("%s", path);
    return 0;
  }
  // A file of length 0 cannot be mapped (EINVAL) and is reported here.
  size_t size = size_t(st.st_size);
  void* map = mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
  if (map == MAP_FAILED) {
    warn("%s", path);
    return 0;
  }
  int r = parse_buf(path, static_cast<const char*>(map), size, p);
  if (munmap(map, size) != 0) {
    warn("%s", path);
    return 0;
  }
  return r;
}

int parse_stdin(parser& p) {
  // The buffer doubles as it fills, so reading n bytes copies O(n) in all.
  // When standard input is a file, its size is known and nothing is copied.
  size_t cap = 64 * 1024, total = 0;
  struct stat st;
  if (fstat(0, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0)
    cap = std::max(cap, size_t(st.st_size) + 1);
  std::unique_ptr<char[]> buf(new char[cap]);
  for (;;) {
    if (total == cap) {
      std::unique_ptr<char[]> bigger(new char[cap * 2]);
      std::copy(buf.get(), buf.get() + total, bigger.get());
      buf = std::move(bigger);
      cap *= 2;
    }
    ssize_t n = read(0, buf.get() + total, cap - total);
    if (n < 0) {
      warn("<stdin>");
      return 0;
    }
    if (n == 0)
      break;
    total += size_t(n);
  }
  return parse_buf("<stdin>", buf.get(), total, p);
}
