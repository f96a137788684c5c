// A buffered writer over a stdio stream. The writers emit many small pieces;
// gathering them here costs a copy each, where a stdio call costs far more.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string_view>

struct writer {
  explicit writer(std::FILE* stream) : out(stream) {}
  writer(const writer&) = delete;
  writer& operator=(const writer&) = delete;
  ~writer() { flush(); }

  void put(char c) {
    if (n == sizeof buf)
      flush();
    buf[n++] = c;
  }

  void put(std::string_view s) {
    if (s.empty())
      return;  // its data may be null, which memcpy must not see
    if (s.size() > sizeof buf - n) {
      flush();
      if (s.size() > sizeof buf) {
        fwrite_unlocked(s.data(), 1, s.size(), out);
        return;
      }
    }
    std::memcpy(buf + n, s.data(), s.size());
    n += s.size();
  }

  /// Writes `v` in decimal.
  void put_num(size_t v) {
    char digits[24];
    auto end = std::to_chars(digits, digits + sizeof digits, v).ptr;
    put(std::string_view(digits, end - digits));
  }

  /// Hands everything gathered so far to the stream.
  void flush() {
    fwrite_unlocked(buf, 1, n, out);
    n = 0;
  }

  std::FILE* out;
  size_t n = 0;
  char buf[1 << 14];
};
