// The dialect readings' grammar: a schema file or dump read as its database
// runs it, into the same model as the reader's own grammar. (reader/read.h
// says what adding a database takes.)
#pragma once

#include "reader/input.h"
#include "reader/log.h"
#include "reader/schema.h"

/// Reads `in` in the dialect `s.dialect` into `s`, which must be empty: the
/// tables, columns, foreign keys and comments that the database's catalog
/// holds after running it. true on success; false after a reported failure,
/// with nothing in `s`.
[[nodiscard]] bool dialect_parse(const diagnostics& d, input_pages& in, schema& s);
