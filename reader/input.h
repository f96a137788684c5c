// The input as the grammars read it: its bytes, the pages of it that may be
// given back as the reading passes them, and, for a mapped file, whether it
// changed under the reading.
#pragma once

#include <csignal>
#include <cstddef>
#include <string_view>

/// An input as the parser reads it, and how much of it has been given back.
struct input_pages {
  std::string_view bytes;
  bool mapped = false;  // a file mapping: pages the parser has passed may be given back
  size_t released = 0;  // the bytes before this have been given back
};

/// The parser's word that it will read nothing before `pos` again: of a
/// mapped file, the pages that lie there are given back every few megabytes,
/// so that the input and the model never both stand in memory whole.
void input_passed(input_pages& in, size_t pos);

/// A mapped file being read: its descriptor and size when mapped, and
/// whether reading it met a page that the file no longer backs.
struct input_watch {
  int fd = -1;
  size_t size = 0;
  const volatile sig_atomic_t* faulted = nullptr;
};

/// Whether the file has changed under the reading: a fault, or a size
/// other than it had. `cheap`: the fault alone, without asking the system.
bool input_changed(const input_watch& w, bool cheap = false);
