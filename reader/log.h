// The reader's diagnostics: one line each, on a stream the caller chooses
// (standard error in the programs).
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string_view>

struct lexer;

/// Where messages go and what they say about the input.
struct diagnostics {
  std::FILE* stream = stderr;
  const char* fname = "<stdin>";  // name shown in messages; not owned
  bool verbose = false;           // trace messages too
};

// A message is given as pieces that are written one after the other, so that
// a piece of any length (a token of gigabytes) is written whole.
using log_text = std::initializer_list<std::string_view>;

/// "fname:line:column: message" where the tokenizer stands.
void log_at(const lexer& lx, log_text msg);

/// As log_at, only with -v.
void log_verbose(const lexer& lx, log_text msg);

/// "fname: message", for what is found after the whole input has been read.
void log_file(const diagnostics& d, log_text msg);

/// "program: message", and ": " with the text of `errnum` unless it is 0.
void log_error(const diagnostics& d, int errnum, log_text msg);

/// The one way out when memory runs out, whatever asked for it: writes
/// "program: CALL: Cannot allocate memory" to standard error and ends the
/// process with status 1 at once, flushing no other stream, so that standard
/// output gets nothing more than it had.
[[noreturn]] void log_out_of_memory(const char* call);
