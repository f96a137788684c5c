// The dialect readings' grammar: a schema file or dump read as its database
// runs it, into the same model as the reader's own grammar.
//
// What a newcomer touches to add a database: its row of rules in
// reader/dialect.cc (its quotes, comments, how it folds and finds names,
// which statements and ALTER TABLE actions it has, its telltales), a value
// of sql_dialect in reader/dialect.h, and, for a statement or a clause that
// only it has, a keyword in reader/keywords.h, a field of its rules that
// says it has it, and a function in the grammar (dialect_statements.cc for a
// statement, dialect_create.cc for a clause of CREATE TABLE,
// dialect_alter.cc for an ALTER TABLE action) with its case where the
// statements or actions are dispatched. The database test
// (tests/db/db_test.py) then needs a server for it and its fixtures.
#pragma once

#include "reader/input.h"
#include "reader/log.h"
#include "reader/schema.h"

/// Reads `in` in the dialect `s.dialect` into `s`, which must be empty: the
/// tables, columns, foreign keys and comments that the database's catalog
/// holds after running it. true on success; false after a reported failure,
/// with nothing in `s`.
[[nodiscard]] bool dialect_parse(const diagnostics& d, input_pages& in, schema& s);
