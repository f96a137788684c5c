// Tests of running a child process: input and output both ways at once,
// status, signals, a program that is not there, the time budget, and a stop
// of this process while the child runs.
#include "page/child.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <cerrno>
#include <string>

namespace {

TEST(Child, FeedsAndCollects) {
  // Far more than a pipe holds, so that writing and reading must interleave.
  std::string input;
  for (int i = 0; input.size() < (4 << 20); i++)
    input += "line " + std::to_string(i) + "\n";
  child_result r = run_child({"cat"}, input, 30);
  EXPECT_TRUE(child_succeeded(r));
  EXPECT_EQ(r.out, input);
  EXPECT_EQ(r.err, "");
}

TEST(Child, Ends) {
  const struct {
    const char* what;
    std::string script;
    bool succeeded;
    int exit_status;  // -1: killed by SIGKILL
    const char* err;
  } cases[] = {
      {"exits 0 without reading its input", "exit 0", true, 0, ""},
      {"fails with a message", "echo 'out of cheese' >&2; exit 3", false, 3, "out of cheese\n"},
      {"dies of a signal", "kill -9 $$", false, -1, ""},
  };
  std::string input(1 << 20, 'x');
  for (const auto& c : cases) {
    child_result r = run_child({"sh", "-c", c.script}, input, 30);
    EXPECT_TRUE(r.started) << c.what;
    EXPECT_EQ(child_succeeded(r), c.succeeded) << c.what;
    if (c.exit_status >= 0) {
      EXPECT_TRUE(WIFEXITED(r.status)) << c.what;
      EXPECT_EQ(WEXITSTATUS(r.status), c.exit_status) << c.what;
    } else {
      EXPECT_TRUE(WIFSIGNALED(r.status) && WTERMSIG(r.status) == SIGKILL) << c.what;
    }
    EXPECT_EQ(r.err, c.err) << c.what;
    EXPECT_FALSE(r.timed_out) << c.what;
  }
}

TEST(Child, NotFound) {
  child_result r = run_child({"no-such-program-anywhere"}, "", 30);
  EXPECT_FALSE(r.started);
  EXPECT_EQ(r.errnum, ENOENT);
  EXPECT_FALSE(child_succeeded(r));
}

TEST(Child, TimeIsUp) {
  // The child and what it started, which holds the pipes too, are killed.
  child_result r = run_child({"sh", "-c", "sleep 30 & sleep 30"}, "", 0.3);
  EXPECT_TRUE(r.timed_out);
  EXPECT_FALSE(child_succeeded(r));
  EXPECT_LT(r.seconds, 5);
}

TEST(Child, StoppedWhileItRuns) {
  // SIGTERM to this process ends the run at once and kills the child; the
  // process's own handling of the signal is back afterwards.
  struct sigaction before;
  sigaction(SIGTERM, nullptr, &before);
  child_result r = run_child({"sh", "-c", "kill -TERM $PPID; sleep 30"}, "", 30);
  EXPECT_EQ(r.stopped_by, SIGTERM);
  EXPECT_FALSE(child_succeeded(r));
  EXPECT_LT(r.seconds, 5);
  struct sigaction after;
  sigaction(SIGTERM, nullptr, &after);
  EXPECT_EQ(after.sa_handler, before.sa_handler);
}

}  // namespace
