// Running a program as a child process: its standard input fed from memory,
// its standard output and error collected, a time budget after which it is
// stopped, and a stop of this process (SIGHUP, SIGINT, SIGTERM) passed on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

struct child_result {
  bool started = false;      // false: it could not be started, `errnum` says why
  int errnum = 0;
  bool timed_out = false;    // still running when its time was up: killed
  int stopped_by = 0;        // the signal that came to this process during the run; the child was killed
  int status = 0;            // its wait status, once started
  double seconds = 0;        // how long it ran
  std::string out;           // its standard output
  std::string err;           // its standard error
};

/// Whether the child ended by itself with exit status 0.
bool child_succeeded(const child_result& r);

/// Runs `argv` (argv[0] looked up on PATH) with `input` on its standard
/// input and waits for it, at most `seconds` (none when not above 0). The
/// child runs in a process group of its own, which is killed when the time
/// is up or this process receives SIGHUP, SIGINT or SIGTERM.
child_result run_child(const std::vector<std::string>& argv, std::string_view input, double seconds);
