// How the reader brings a schema into memory; for parse_file and its tests.
#pragma once

#include <cstddef>
#include <string_view>

#include "reader/input.h"
#include "reader/log.h"
#include "reader/schema.h"

/// Parses `size` bytes of a file mapped at `data`. A fault while reading them
/// (the file shrank under the mapping) or, when `fd` is not -1, a size of the
/// file on `fd` other than `file_size` afterwards fails the parse with "file
/// changed while being read"; the rest of the mapping then reads as zero
/// bytes.
[[nodiscard]] bool parse_mapped(const diagnostics& d, int fd, size_t file_size, const char* data, size_t size,
                                schema& s);

/// parse_buf over `in`, in the grammar that `s` asks for (or that the
/// input's telltales choose), telling the loader between statements what it
/// has passed.
[[nodiscard]] bool parse_input(const diagnostics& d, input_pages& in, schema& s);
