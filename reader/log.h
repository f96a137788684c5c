// The reader's diagnostics: one line each on standard error.
#pragma once

struct parser;

#define LOG_PRINTF(f, a) __attribute__((format(printf, f, a)))

/// "fname:line:column: message" where the tokenizer stands; always written.
void log_at(const parser& p, const char* fmt, ...) LOG_PRINTF(2, 3);

/// As log_at, but only with -v; the arguments are not formatted otherwise.
void log_verbose(const parser& p, const char* fmt, ...) LOG_PRINTF(2, 3);

/// "fname: message", for what is found after the whole input has been read.
void log_file(const parser& p, const char* fmt, ...) LOG_PRINTF(2, 3);

#undef LOG_PRINTF
