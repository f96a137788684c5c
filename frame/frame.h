// What both programs do around their writer: standard output and error set up,
// the schema read from the operand or standard input, running out of memory
// reported, and the output checked before the exit status is given.
#pragma once

#include <cstdio>

#include "html/writer.h"
#include "reader/log.h"
#include "reader/schema.h"

/// One run of a program.
struct frame {
  writer out{stdout};  // everything the program writes to standard output
  diagnostics diag;    // messages on standard error; main sets `verbose`
  schema model;
};

/// Call first: standard output is then written only through a frame's
/// writer, in large blocks, and running out of memory in operator new ends
/// the process through log_out_of_memory, as it does in the model's stores.
void frame_start();

/// Writes "usage: program SYNOPSIS" to standard error; returns the exit
/// status 1.
[[nodiscard]] int frame_usage(const char* synopsis);

/// Takes `-d NAME`: the model is read as that dialect's database runs it;
/// "auto": in the dialect that the input's telltales choose, or by the
/// loose grammar where none does; "loose": by the loose grammar. false,
/// after "program: -d NAME: the dialect is postgres, mysql, sqlite, auto or
/// loose", for a name it does not know.
[[nodiscard]] bool frame_dialect(frame& f, const char* name);


/// Reads the schema in the file `operand`, or on standard input when it is
/// null. false after a failure, which has been reported; nothing must then be
/// written.
[[nodiscard]] bool frame_read(frame& f, const char* operand);

/// Ends a run whose output has been written: hands it to standard output and
/// checks that all of it got there. The exit status: 0, or 1 after
/// "program: write error: REASON".
[[nodiscard]] int frame_finish(frame& f);
