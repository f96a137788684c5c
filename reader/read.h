// The reader's entry points: a schema's bytes in, its model out.
#pragma once

#include <string_view>

#include "reader/log.h"
#include "reader/schema.h"

/// Where the input of parse_buf lies.
enum class input_memory {
  buffer,   // memory that only the caller may release
  mapping,  // a mapping of a file, whose pages behind the parser it may give back
};

/// Reads the schema in `data` (only read, needed only during the call) into
/// `s`, which must be empty, with `d` for the messages. true on success; false
/// after a reported failure, with what was read so far in `s`.
[[nodiscard]] bool parse_buf(const diagnostics& d, std::string_view data, schema& s,
                             input_memory memory = input_memory::buffer);

/// Reads the file at `path`: a regular file is mapped, anything else that
/// opens (a pipe, a terminal) is read to its end. Messages name `path`.
[[nodiscard]] bool parse_file(const char* path, const diagnostics& d, schema& s);

/// Reads all of standard input, as "<stdin>" in messages.
[[nodiscard]] bool parse_stdin(const diagnostics& d, schema& s);
