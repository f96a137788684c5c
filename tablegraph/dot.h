// The Graphviz digraph of a parsed schema.
#pragma once

#include <optional>
#include <string>

#include "html/anchor.h"
#include "html/writer.h"
#include "reader/schema.h"

struct graph_options {
  std::optional<std::string> cell_attrs;    // -c: every column cell, and the header without -h
  std::optional<std::string> header_attrs;  // -h: every header cell
  std::optional<std::string> table_attrs;   // -t: every TABLE element
  const char* prefix = ANCHOR_PREFIX;       // -p: the anchor prefix
};

/// Writes one node per table and one edge per resolved foreign key of a
/// successfully read schema.
void write_graph(writer& w, const schema& s, const graph_options& opt);
