// A child process with pipes on its standard input, output and error, driven
// by one ppoll loop: input written as the child takes it, output read as it
// comes, both at once, so that neither side waits for the other with a full
// pipe.
#include "page/child.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>

extern char** environ;

namespace {

constexpr int STOP_SIGNALS[] = {SIGHUP, SIGINT, SIGTERM};

// The stop signal that arrived during a run; set by the handler, which does
// nothing else.
volatile sig_atomic_t stop_signal = 0;

void note_stop(int sig) { stop_signal = sig; }

double now() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

// A descriptor that is closed with its owner.
struct fd_guard {
  int fd = -1;
  fd_guard() = default;
  fd_guard(const fd_guard&) = delete;
  fd_guard& operator=(const fd_guard&) = delete;
  ~fd_guard() { reset(); }
  void reset() {
    if (fd >= 0)
      close(fd);
    fd = -1;
  }
};

struct pipe_pair {
  fd_guard read, write;
  bool open() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
      return false;
    read.fd = fds[0];
    write.fd = fds[1];
    return true;
  }
};

// What is changed in this process for the length of a run, and put back by
// the destructor: the stop signals blocked (they get through only while
// ppoll waits) and caught, SIGPIPE ignored (a child that ends without
// reading all of its input makes the write fail with EPIPE instead).
struct signal_scope {
  sigset_t old_mask;
  struct sigaction old_stop[3];
  struct sigaction old_pipe;

  signal_scope() {
    stop_signal = 0;
    sigset_t block;
    sigemptyset(&block);
    for (int sig : STOP_SIGNALS)
      sigaddset(&block, sig);
    sigprocmask(SIG_BLOCK, &block, &old_mask);
    struct sigaction sa = {};
    sa.sa_handler = note_stop;
    sigemptyset(&sa.sa_mask);
    for (int i = 0; i < 3; i++)
      sigaction(STOP_SIGNALS[i], &sa, &old_stop[i]);
    sa.sa_handler = SIG_IGN;
    sigaction(SIGPIPE, &sa, &old_pipe);
  }
  signal_scope(const signal_scope&) = delete;
  signal_scope& operator=(const signal_scope&) = delete;
  ~signal_scope() {
    sigaction(SIGPIPE, &old_pipe, nullptr);
    for (int i = 0; i < 3; i++)
      sigaction(STOP_SIGNALS[i], &old_stop[i], nullptr);
    sigprocmask(SIG_SETMASK, &old_mask, nullptr);
  }
};

// Starts the child with its ends of the three pipes as descriptors 0, 1, 2,
// every signal at its default action and the mask this process had before
// the run.
bool spawn(const std::vector<std::string>& argv, pipe_pair& in, pipe_pair& out, pipe_pair& err,
           const signal_scope& signals, pid_t& pid, int& errnum) {
  std::vector<char*> args;
  for (const std::string& a : argv)
    args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in.read.fd, 0);
  posix_spawn_file_actions_adddup2(&actions, out.write.fd, 1);
  posix_spawn_file_actions_adddup2(&actions, err.write.fd, 2);

  posix_spawnattr_t attr;
  posix_spawnattr_init(&attr);
  sigset_t defaults;
  sigemptyset(&defaults);
  for (int sig : STOP_SIGNALS)
    sigaddset(&defaults, sig);
  sigaddset(&defaults, SIGPIPE);
  posix_spawnattr_setsigdefault(&attr, &defaults);
  posix_spawnattr_setsigmask(&attr, &signals.old_mask);
  posix_spawnattr_setpgroup(&attr, 0);
  posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETPGROUP);

  errnum = posix_spawnp(&pid, args[0], &actions, &attr, args.data(), environ);
  posix_spawnattr_destroy(&attr);
  posix_spawn_file_actions_destroy(&actions);
  return errnum == 0;
}

// Reads what is there on `fd` into `to`; false at its end or on an error.
bool drain(int fd, std::string& to) {
  char buf[1 << 16];
  ssize_t n = read(fd, buf, sizeof buf);
  if (n < 0 && (errno == EINTR || errno == EAGAIN))
    return true;
  if (n <= 0)
    return false;
  to.append(buf, size_t(n));
  return true;
}

}  // namespace

bool child_succeeded(const child_result& r) {
  return r.started && !r.timed_out && !r.stopped_by && WIFEXITED(r.status) && WEXITSTATUS(r.status) == 0;
}

child_result run_child(const std::vector<std::string>& argv, std::string_view input, double seconds) {
  child_result r;
  pipe_pair in, out, err;
  if (argv.empty() || !in.open() || !out.open() || !err.open()) {
    r.errnum = argv.empty() ? EINVAL : errno;
    return r;
  }
  signal_scope signals;
  pid_t pid;
  double start = now();
  if (!spawn(argv, in, out, err, signals, pid, r.errnum))
    return r;
  r.started = true;
  in.read.reset();
  out.write.reset();
  err.write.reset();
  fcntl(in.write.fd, F_SETFL, O_NONBLOCK);
  if (input.empty())
    in.write.reset();

  size_t written = 0;
  while (out.read.fd >= 0 || err.read.fd >= 0) {
    pollfd fds[3];
    nfds_t n = 0;
    for (fd_guard* g : {&out.read, &err.read})
      if (g->fd >= 0)
        fds[n++] = {g->fd, POLLIN, 0};
    if (in.write.fd >= 0)
      fds[n++] = {in.write.fd, POLLOUT, 0};
    timespec wait{};
    timespec* timeout = nullptr;
    if (seconds > 0) {
      double left = start + seconds - now();
      if (left <= 0) {
        r.timed_out = true;
        break;
      }
      wait.tv_sec = time_t(left);
      wait.tv_nsec = long((left - std::floor(left)) * 1e9);
      timeout = &wait;
    }
    int ready = ppoll(fds, n, timeout, &signals.old_mask);
    if (stop_signal)
      break;
    if (ready < 0 && errno != EINTR)
      break;
    if (ready <= 0)
      continue;
    for (nfds_t i = 0; i < n; i++) {
      if (!fds[i].revents)
        continue;
      if (fds[i].fd == in.write.fd) {
        ssize_t k = write(in.write.fd, input.data() + written, input.size() - written);
        if (k > 0)
          written += size_t(k);
        // A child that closed its input gets no more of it.
        if ((k < 0 && errno != EAGAIN && errno != EINTR) || written == input.size())
          in.write.reset();
      } else {
        fd_guard& g = fds[i].fd == out.read.fd ? out.read : err.read;
        if (!drain(g.fd, g.fd == out.read.fd ? r.out : r.err))
          g.reset();
      }
    }
  }
  r.stopped_by = stop_signal;
  if (r.timed_out || r.stopped_by || out.read.fd >= 0 || err.read.fd >= 0)
    kill(-pid, SIGKILL);
  while (waitpid(pid, &r.status, 0) < 0 && errno == EINTR) {
  }
  r.seconds = now() - start;
  return r;
}
