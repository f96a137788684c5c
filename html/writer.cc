// The writer's one way out.
#include "html/writer.h"

#include <cerrno>

void writer::emit(const char* data, size_t size) {
  if (size == 0 || error)
    return;
  if (str) {
    str->append(data, size);
    return;
  }
  errno = 0;
  if (fwrite_unlocked(data, 1, size, out) != size || ferror_unlocked(out))
    error = errno ? errno : EIO;
}
