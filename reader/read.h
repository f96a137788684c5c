// The reader's entry points: a schema's bytes in, its model out.
#pragma once

#include <string_view>

#include "reader/log.h"
#include "reader/schema.h"

/// Reads the schema in `data` (only read, needed only during the call) into
/// `s`, which must be empty, with `d` for the messages. true on success; false
/// after a reported failure, with what was read so far in `s`.
[[nodiscard]] bool parse_buf(const diagnostics& d, std::string_view data, schema& s);

/// Reads the file at `path`: a regular file is mapped, anything else that
/// opens (a pipe, a terminal) is read to its end. Messages name `path`.
[[nodiscard]] bool parse_file(const char* path, const diagnostics& d, schema& s);

/// Reads all of standard input, as "<stdin>" in messages.
[[nodiscard]] bool parse_stdin(const diagnostics& d, schema& s);
