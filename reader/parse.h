// The reader's own loose grammar, which reads any dialect's CREATE TABLE
// statements alike and passes over everything else.
#pragma once

#include "reader/input.h"
#include "reader/log.h"
#include "reader/schema.h"

/// Reads `in` into `s`, which must be empty, by the loose grammar. true on
/// success; false after a reported failure, with what was read so far in `s`.
[[nodiscard]] bool parse_loose(const diagnostics& d, input_pages& in, schema& s);
