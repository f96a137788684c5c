// The layout. dot draws in layers, which reads best, but its time depends on
// the shape of the graph far more than on its size: generated schemas of 120
// tables with about five keys each take it a minute, 300 tables more than
// half an hour, while sfdp takes a fifth of a second for either (figures in
// bench/README.md). So auto gives dot the schemas that it lays out quickly,
// and even then only a second.
#include "page/layout.h"

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <numeric>

#include "page/child.h"

namespace {

constexpr double DOT_BUDGET = 1;  // seconds that auto gives dot before sfdp takes over

// The root of `i` in a union-find forest, halving paths on the way.
size_t root(std::vector<size_t>& up, size_t i) {
  while (up[i] != i)
    i = up[i] = up[up[i]];
  return i;
}

// Counts the key from `from` to `to`, which joins their tables' components.
void connect(std::vector<size_t>& up, schema_shape& shape, const column& from, const column& to) {
  shape.keys++;
  size_t a = root(up, from.parent->idx), b = root(up, to.parent->idx);
  if (a != b) {
    up[a] = b;
    shape.components--;
  }
}

void say(const std::string& text) { std::fprintf(stderr, "schemapage: %s\n", text.c_str()); }

std::string seconds_text(double s) {
  char buf[32];
  std::snprintf(buf, sizeof buf, s < 1 ? "%.2f s" : "%.1f s", s);
  return buf;
}

// Reports why `r` gave no layout; the engine's own messages first.
void report_failure(const std::string& engine, const child_result& r, const layout_options& opt) {
  if (!r.started) {
    if (r.errnum == ENOENT)
      say(engine + ": not found (Graphviz; Debian package graphviz)");
    else
      say(engine + ": " + std::strerror(r.errnum));
    return;
  }
  std::fwrite(r.err.data(), 1, r.err.size(), stderr);
  if (r.stopped_by)
    say(engine + " stopped: " + strsignal(r.stopped_by));
  else if (r.timed_out)
    say(engine + " failed: no layout after " + seconds_text(opt.seconds) + " (-w gives it longer)");
  else if (WIFSIGNALED(r.status))
    say(engine + " failed (killed by signal " + std::to_string(WTERMSIG(r.status)) + ")");
  else
    say(engine + " failed (status " + std::to_string(WEXITSTATUS(r.status)) + ")");
}

}  // namespace

schema_shape shape_of(const schema& s) {
  schema_shape shape;
  shape.tables = s.tables.size();
  shape.components = shape.tables;
  std::vector<size_t> up(shape.tables);
  std::iota(up.begin(), up.end(), size_t(0));
  for (const column* col : s.columns) {
    if (col->fkey)
      connect(up, shape, *col, *col->fkey);
    for (const column* target : col->fkey_more)
      connect(up, shape, *col, *target);
  }
  return shape;
}

std::string auto_engine(const schema_shape& shape, size_t dot_limit) {
  return shape.tables <= dot_limit && shape.keys <= 2 * shape.tables ? "dot" : "sfdp";
}

std::vector<std::string> layout_command(const std::string& engine, const schema_shape& shape) {
  std::vector<std::string> argv = {engine, "-Tsvg", "-Nfontname=Helvetica", "-Nfontsize=11", "-Earrowsize=0.7"};
  if (engine == "dot") {
    argv.push_back("-Grankdir=LR");
    // Tables that no key connects would stand in one long column: the groups
    // are laid out each by itself and put side by side in rows, about three
    // times as wide as high, as the map's box is.
    if (shape.components > 1) {
      size_t columns = size_t(std::ceil(std::sqrt(4.5 * double(shape.components))));
      argv.push_back("-Gpack=true");
      argv.push_back("-Gpackmode=array_c" + std::to_string(columns));
    }
  } else {
    // No table over another, and straight edges: curves around the tables
    // would cost most of the time.
    argv.push_back("-Goverlap=prism");
    argv.push_back("-Gsplines=false");
  }
  return argv;
}

layout_result lay_out(const std::string& graph, const schema_shape& shape, const layout_options& opt) {
  layout_result res;
  res.engine = opt.engine == "auto" ? auto_engine(shape, opt.dot_limit) : opt.engine;
  bool fallback = opt.engine == "auto" && res.engine == "dot" && opt.seconds > DOT_BUDGET;
  child_result r = run_child(layout_command(res.engine, shape), graph, fallback ? DOT_BUDGET : opt.seconds);
  double taken = r.seconds;
  if (fallback && r.timed_out && !r.stopped_by) {
    say("dot took more than " + seconds_text(DOT_BUDGET) + ": the map is laid out by sfdp instead");
    res.engine = "sfdp";
    r = run_child(layout_command(res.engine, shape), graph, opt.seconds - DOT_BUDGET);
    taken += r.seconds;
  }
  if (!child_succeeded(r)) {
    report_failure(res.engine, r, opt);
    return res;
  }
  std::fwrite(r.err.data(), 1, r.err.size(), stderr);
  if (taken > 1 || opt.report_time)
    say("the layout took " + seconds_text(taken) + " (" + res.engine + ", " + std::to_string(shape.tables) +
        " tables, " + std::to_string(shape.keys) + " keys)");
  res.svg = std::move(r.out);
  res.ok = true;
  return res;
}
