// How the reader brings a schema into memory; for parse_file and its tests.
#pragma once

#include <cstddef>
#include <string_view>

#include "reader/log.h"
#include "reader/schema.h"

/// Parses `size` bytes of a file mapped at `data`. A fault while reading them
/// (the file shrank under the mapping) or, when `fd` is not -1, a size of the
/// file on `fd` other than `file_size` afterwards fails the parse with "file
/// changed while being read"; the rest of the mapping then reads as zero
/// bytes.
[[nodiscard]] bool parse_mapped(const diagnostics& d, int fd, size_t file_size, const char* data, size_t size,
                                schema& s);

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

/// parse_buf over `in`, telling the loader between statements what it has
/// passed.
[[nodiscard]] bool parse_input(const diagnostics& d, input_pages& in, schema& s);
