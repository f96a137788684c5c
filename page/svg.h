// Graphviz's SVG drawing of the graph, made fit to stand inline in the page.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

/// A table's box in the drawing, in the <svg> element's pixels from its top
/// left corner.
struct map_node {
  size_t table = 0;  // the table's creation number: tablegraph's node "tableN"
  double x = 0, y = 0, w = 0, h = 0;
};

/// The map as the page holds it.
struct map_model {
  std::string svg;  // the <svg> element, one line per tag
  double width = 0, height = 0;
  std::vector<map_node> nodes;  // in the order of the drawing
};

/// Reads Graphviz's SVG output of tablegraph's graph into `m`. What comes
/// before the <svg> element (XML declaration, doctype) goes, and so do the
/// comments, the titles (tooltips such as "table12") and the group around
/// each link. Sizes become pixels (one per unit of the drawing); each
/// table's group gets the id "n" + its creation number, each edge's group
/// the creation numbers of its ends (data-from, data-to); the edges are
/// drawn first, below the tables, so that none crosses a name. false when
/// there is no <svg> element.
[[nodiscard]] bool read_map(std::string_view graphviz_svg, map_model& m);
