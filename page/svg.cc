// Reading Graphviz's SVG. Graphviz writes one tag per line, and this reader
// goes by lines: a line is a tag, a text, or the end of a group.
#include "page/svg.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>

namespace {

// The font that every name is drawn in, given once to the group of the whole
// graph instead of to each text: at a thousand tables a fifth less to parse.
constexpr std::string_view FONT = " font-family=\"Helvetica,sans-Serif\" font-size=\"11.00\"";

size_t count(std::string_view s, std::string_view what) {
  size_t n = 0;
  for (size_t at = s.find(what); at != std::string_view::npos; at = s.find(what, at + what.size()))
    n++;
  return n;
}

void erase_first(std::string& s, std::string_view what) {
  size_t at = s.find(what);
  if (at != std::string::npos)
    s.erase(at, what.size());
}

// The value of the attribute `name` in a tag, or nothing.
std::optional<std::string_view> attribute(std::string_view tag, std::string_view name) {
  std::string key = " " + std::string(name) + "=\"";
  size_t at = tag.find(key);
  if (at == std::string_view::npos)
    return std::nullopt;
  at += key.size();
  size_t end = tag.find('"', at);
  if (end == std::string_view::npos)
    return std::nullopt;
  return tag.substr(at, end - at);
}

// Reads a number at the start of `s` and moves past it.
bool number(std::string_view& s, double& v) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc())
    return false;
  s.remove_prefix(size_t(end - s.data()));
  return true;
}

bool count_number(std::string_view& s, size_t& v) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  if (ec != std::errc())
    return false;
  s.remove_prefix(size_t(end - s.data()));
  return true;
}

bool skip(std::string_view& s, std::string_view what) {
  if (!s.starts_with(what))
    return false;
  s.remove_prefix(what.size());
  return true;
}

// "tableN" with an optional ":port", as a node's or an edge end's title names it.
bool table_number(std::string_view& s, size_t& n) {
  if (!skip(s, "table") || !count_number(s, n))
    return false;
  if (skip(s, ":"))
    while (!s.empty() && s[0] != '&')
      s.remove_prefix(1);
  return true;
}

// The transform of the graph's group: scale(sx sy) rotate(0) translate(tx ty).
struct placement {
  double sx = 1, sy = 1, tx = 0, ty = 0;
};

placement read_placement(std::string_view tag) {
  placement p;
  std::optional<std::string_view> t = attribute(tag, "transform");
  if (!t)
    return p;
  std::string_view s = *t;
  if (skip(s, "scale(") && number(s, p.sx) && skip(s, " "))
    number(s, p.sy);
  size_t at = s.find("translate(");
  if (at != std::string_view::npos) {
    s.remove_prefix(at + 10);
    if (number(s, p.tx) && skip(s, " "))
      number(s, p.ty);
  }
  return p;
}

// The smallest box around every point of a node's polygons.
struct bounds {
  double x0 = std::numeric_limits<double>::max(), y0 = x0;
  double x1 = std::numeric_limits<double>::lowest(), y1 = x1;

  void add_points(std::string_view points) {
    double x, y;
    while (number(points, x) && skip(points, ",") && number(points, y)) {
      x0 = std::min(x0, x);
      x1 = std::max(x1, x);
      y0 = std::min(y0, y);
      y1 = std::max(y1, y);
      skip(points, " ");
    }
  }
};

// "<svg width="874pt" height="949pt"": a size in points would draw the map a
// third larger than its units; in pixels a name is 11 px at scale 1.
void size_in_pixels(std::string& line, std::string_view name, double& value) {
  std::string key = " " + std::string(name) + "=\"";
  size_t at = line.find(key);
  if (at == std::string::npos)
    return;
  at += key.size();
  size_t end = line.find('"', at);
  if (end == std::string::npos)
    return;
  std::string_view v(line.data() + at, end - at);
  if (number(v, value) && v == "pt")
    line.erase(end - 2, 2);
}

// Where the lines of the drawing go.
enum class part { head, edges, nodes, tail };

struct svg_reader {
  map_model& m;
  std::string head, edges, nodes, tail;
  placement place;
  int depth = 0;           // groups open, the graph's own included
  part in = part::head;    // where the lines of the group being read go
  std::string pending;     // a node's or edge's opening tag, until its title names it
  bool in_node = false;
  bool in_comment = false;
  bool in_svg_tag = false;  // the <svg ...> tag may span lines
  size_t links_open = 0;    // link groups unwrapped, whose "</g>" is still to drop
  std::string prev;         // the last line written
  bounds box;
  size_t node_table = 0;

  explicit svg_reader(map_model& model) : m(model) {}

  std::string& out() {
    switch (in) {
      case part::head: return head;
      case part::edges: return edges;
      case part::nodes: return nodes;
      case part::tail: return tail;
    }
    return tail;
  }

  void emit(const std::string& line) {
    out() += line;
    out() += '\n';
    prev = line;
  }

  // Cuts comments out of `line`, which may open or close one.
  std::string uncomment(std::string_view line) {
    std::string kept;
    while (!line.empty()) {
      if (in_comment) {
        size_t end = line.find("-->");
        if (end == std::string_view::npos)
          return kept;
        line.remove_prefix(end + 3);
        in_comment = false;
      }
      size_t start = line.find("<!--");
      if (start == std::string_view::npos) {
        kept += line;
        break;
      }
      kept += line.substr(0, start);
      line.remove_prefix(start + 4);
      in_comment = true;
    }
    return kept;
  }

  void title(std::string_view text) {
    std::string_view s = text;
    size_t from, to;
    if (in_node && table_number(s, from) && s.empty()) {
      node_table = from;
      pending = "<g id=\"n" + std::to_string(from) + "\" class=\"node\">";
    } else if (!in_node && table_number(s, from) && skip(s, "&#45;&gt;") && table_number(s, to) && s.empty()) {
      pending = "<g class=\"edge\" data-from=\"" + std::to_string(from) + "\" data-to=\"" + std::to_string(to) + "\">";
    }
    emit(pending);
    pending.clear();
  }

  void end_node() {
    if (box.x0 <= box.x1)
      m.nodes.push_back({node_table, place.sx * (box.x0 + place.tx), place.sy * (box.y0 + place.ty),
                         place.sx * (box.x1 - box.x0), place.sy * (box.y1 - box.y0)});
    in_node = false;
  }

  void line(std::string_view raw) {
    bool blank = raw.find_first_not_of(" \t\r") == std::string_view::npos;
    std::string line = uncomment(raw);
    if (!blank && line.find_first_not_of(" \t\r") == std::string::npos)
      return;  // a comment and nothing else
    if (in_svg_tag || line.starts_with("<svg")) {
      size_in_pixels(line, "width", m.width);
      size_in_pixels(line, "height", m.height);
      in_svg_tag = line.find('>') == std::string::npos;
      emit(line);
      return;
    }
    if (line.starts_with("<title>") && line.ends_with("</title>")) {
      if (!pending.empty())
        title(std::string_view(line).substr(7, line.size() - 15));
      return;  // a tooltip of the node's number is no help to a reader
    }
    if (!pending.empty()) {  // a group without a title keeps its tag
      emit(pending);
      pending.clear();
    }
    if (depth == 0 && line.starts_with("<g id=\"graph0\" ")) {
      place = read_placement(line);
      line.insert(line.size() - 1, FONT);
      depth = 1;
      emit(line);
      return;
    }
    if (depth == 1 && line.starts_with("<g ")) {
      bool node = line.find(" class=\"node\"") != std::string::npos;
      bool edge = line.find(" class=\"edge\"") != std::string::npos;
      in = edge ? part::edges : part::nodes;
      depth = 2;
      if (node || edge) {
        in_node = node;
        box = bounds{};
        pending = line;
      } else {
        emit(line);
      }
      return;
    }
    if (line.starts_with("<g id=\"a_") && line.find("><a ") != std::string::npos) {
      // A cell is a link in a group of its own: the link alone will do, and
      // its title ("<TABLE>") says nothing.
      line.erase(0, line.find("><a ") + 1);
      std::optional<std::string_view> t = attribute(line, "xlink:title");
      if (t)
        erase_first(line, " xlink:title=\"" + std::string(*t) + "\"");
      links_open++;
      emit(line);
      return;
    }
    if (line == "</g>" && prev == "</a>" && links_open > 0) {
      links_open--;
      prev = line;
      return;
    }
    if (in_node && line.starts_with("<polygon ")) {
      std::optional<std::string_view> points = attribute(line, "points");
      if (points)
        box.add_points(*points);
    }
    if (line.starts_with("<text ")) {
      erase_first(line, " text-anchor=\"start\"");
      erase_first(line, FONT);
    }
    depth += int(count(line, "<g ") + count(line, "<g>")) - int(count(line, "</g>"));
    if (depth == 1 && in != part::head && in != part::tail) {
      emit(line);  // the end of a node's or edge's group
      if (in_node)
        end_node();
      in = part::nodes;  // what follows the groups at their level, if anything
      return;
    }
    if (depth <= 0 && in != part::tail) {
      in = part::tail;
      depth = 0;
    }
    emit(line);
  }
};

}  // namespace

bool read_map(std::string_view graphviz_svg, map_model& m) {
  size_t start = graphviz_svg.find("<svg");
  if (start == std::string_view::npos)
    return false;
  // The start of the line that holds "<svg": the doctype and the comments
  // before it are cut by the first line's own rule.
  std::string_view rest = graphviz_svg.substr(start);
  svg_reader r(m);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    r.line(rest.substr(0, end));
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  m.svg = std::move(r.head);
  m.svg += r.edges;
  m.svg += r.nodes;
  m.svg += r.tail;
  return m.svg.find("</svg>") != std::string::npos;
}
