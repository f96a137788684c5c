// Choosing the layout engine and its options for a schema's shape, and
// running it in bounded time.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "reader/schema.h"

/// What the choice of engine goes by.
struct schema_shape {
  size_t tables = 0;
  size_t keys = 0;        // resolved foreign keys: the graph's edges
  size_t components = 0;  // groups of tables that keys connect, a lone table one of its own
};

/// The shape of a successfully read schema.
schema_shape shape_of(const schema& s);

struct layout_options {
  std::string engine = "auto";  // -e: dot, sfdp or auto
  size_t dot_limit = 300;       // -l: the most tables that auto gives to dot
  double seconds = 120;         // -w: the longest a layout may take; then it has failed
  bool report_time = false;     // -v: say how long the layout took, however short
};

/// The engine that `auto` chooses: dot for up to `dot_limit` tables with at
/// most two keys each, sfdp for larger or denser schemas, whose layout dot
/// may take minutes over.
std::string auto_engine(const schema_shape& shape, size_t dot_limit);

/// The command line that lays out the graph, read on standard input, with
/// `engine` as SVG.
std::vector<std::string> layout_command(const std::string& engine, const schema_shape& shape);

struct layout_result {
  bool ok = false;
  std::string engine;  // the engine that drew the map
  std::string svg;
};

/// Lays out `graph` as `opt` says and reports on standard error what went
/// wrong, a layout that took longer than a second (with report_time any
/// layout) and the engine's own messages. Under auto, dot gets a second; when it has not finished by
/// then, sfdp does the layout instead.
layout_result lay_out(const std::string& graph, const schema_shape& shape, const layout_options& opt);
