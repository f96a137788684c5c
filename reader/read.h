// The reader's entry points: a schema's bytes in, its model out. Running out
// of memory in any of them ends the process (log_out_of_memory).
//
// Two grammars read a schema into the same model: the loose grammar
// (parse.cc), which reads any database's CREATE TABLE statements alike, and
// the dialect grammar (dialect_parse.cc and the dialect_*.cc beside it),
// which runs the file as one database would; read.cc chooses between them.
//
// What a newcomer touches to add a database: its row of rules in
// dialect.cc (its quotes, comments, how it folds and finds names, which
// statements and ALTER TABLE actions it reads, its telltales) and a value of
// sql_dialect in dialect.h; for a statement or clause that only it has, a
// keyword in keywords.h, a field of its rules that says it has it, and a
// function in the grammar (dialect_statements.cc for a statement,
// dialect_create.cc for a clause of CREATE TABLE, dialect_alter.cc for an
// ALTER TABLE action) with its case where those are dispatched by keyword.
// The database test (tests/db/db_test.py) then wants a server for it and
// fixtures.
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
///
/// What the caller's process gets: while a mapped file is parsed, the
/// process's SIGBUS action is this reader's own, which turns pages that the
/// file no longer backs (it shrank under the mapping) into zero pages and
/// fails the parse with "file changed while being read"; a SIGBUS elsewhere
/// gets the previous action back and is raised again. The previous action is
/// restored before the call returns. So only one file is parsed at a time in
/// a process, and a caller's own SIGBUS handler does not run during the call.
[[nodiscard]] bool parse_file(const char* path, const diagnostics& d, schema& s);

/// Reads all of standard input, as "<stdin>" in messages; a regular file
/// there is mapped as by parse_file, with the same SIGBUS action.
[[nodiscard]] bool parse_stdin(const diagnostics& d, schema& s);
