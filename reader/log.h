// The reader's diagnostics: one line each, on a stream the caller chooses
// (standard error in the programs).
#pragma once

#include <cstdio>
#include <initializer_list>
#include <string>
#include <string_view>

struct lexer;

/// Where messages go and what they say about the input.
struct diagnostics {
  std::FILE* stream = stderr;
  const char* fname = "<stdin>";  // name shown in messages; not owned
  bool verbose = false;           // trace messages too
  // While a mapped file is read: whether it has changed under the reading
  // (see input_changed). What is said of its bytes then is not said: the
  // one message is that it changed.
  const struct input_watch* watch = nullptr;
};

/// A piece of a message. One quoted from the input (log_quote) is written
/// whole up to LOG_QUOTE_LIMIT bytes; of a longer one only its start, and
/// how many bytes follow: "aaaa[... 8388352 more bytes]".
struct log_piece {
  log_piece(std::string_view t) : text(t) {}
  log_piece(const char* t) : text(t) {}
  log_piece(const std::string& t) : text(t) {}
  std::string_view text;
  bool from_input = false;
};

inline constexpr size_t LOG_QUOTE_LIMIT = 256;

/// `text`, from the input, as a bounded piece of a message.
inline log_piece log_quote(std::string_view text) {
  log_piece p(text);
  p.from_input = true;
  return p;
}

// A message is given as pieces that are written one after the other.
using log_text = std::initializer_list<log_piece>;

/// "fname:line:column: message" where the tokenizer stands.
void log_at(const lexer& lx, log_text msg);

/// As log_at, only with -v.
void log_verbose(const lexer& lx, log_text msg);

/// "fname:LINE:COLUMN: message", LINE counted from 0 and shown from 1.
void log_at_place(const diagnostics& d, size_t line, size_t column, log_text msg);

/// "fname: message", for what is found after the whole input has been read.
void log_file(const diagnostics& d, log_text msg);

/// "program: message", and ": " with the text of `errnum` unless it is 0.
void log_error(const diagnostics& d, int errnum, log_text msg);

/// The one way out when memory runs out, whatever asked for it: writes
/// "program: CALL: Cannot allocate memory" to standard error and ends the
/// process with status 1 at once, flushing no other stream, so that standard
/// output gets nothing more than it had.
[[noreturn]] void log_out_of_memory(const char* call);
