// A buffered writer into a stdio stream or a string. The writers emit many
// small pieces; gathering them here costs a copy each, where a stdio call
// costs far more.
#pragma once

#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

struct writer {
  explicit writer(std::FILE* stream) : out(stream) {}
  explicit writer(std::string& text) : str(&text) {}
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
        emit(s.data(), s.size());
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

  /// Hands everything gathered so far to the stream or string.
  void flush() {
    emit(buf, n);
    n = 0;
  }

  std::FILE* out = nullptr;
  std::string* str = nullptr;
  int error = 0;  // errno of the first write that failed; nothing is written after it
  size_t n = 0;
  char buf[1 << 16];

 private:
  void emit(const char* data, size_t size);
};
