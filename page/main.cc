// schemapage: one standalone HTML page for a schema: its title, the map of
// its tables laid out by Graphviz, every cell a link into the document below
// it, and the document.
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "frame/frame.h"
#include "html/escape.h"
#include "page/data.h"
#include "page/layout.h"
#include "page/notices.h"
#include "page/svg.h"
#include "page/template.h"
#include "reader/dialect.h"
#include "reader/log.h"
#include "tabledoc/document.h"
#include "tablegraph/dot.h"

namespace {

constexpr const char* SYNOPSIS =
    "[-v] [-d postgres|mysql|sqlite|auto|loose] [-t title] [-e dot|sfdp|auto] [-l tables] [-w seconds] file";

void say(const std::string& text) { std::fprintf(stderr, "schemapage: %s\n", text.c_str()); }

bool read_count(const char* text, size_t& v) {
  std::string_view s = text;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

bool read_seconds(const char* text, double& v) {
  char* end;
  errno = 0;
  v = std::strtod(text, &end);
  return *text && !*end && errno == 0 && v > 0;
}

// The messages of the reader, gathered so that repeated ones can be summed up.
struct message_buffer {
  char* text = nullptr;
  size_t size = 0;
  std::FILE* stream = open_memstream(&text, &size);
  message_buffer() = default;
  message_buffer(const message_buffer&) = delete;
  message_buffer& operator=(const message_buffer&) = delete;
  ~message_buffer() {
    if (stream)
      std::fclose(stream);
    std::free(text);
  }
  std::string_view close() {
    std::fclose(stream);
    stream = nullptr;
    return {text, size};
  }
};

// The cells as the page draws them; the white of the tables hides the edges
// that run below them.
graph_options map_style() {
  graph_options g;
  g.table_attrs = "BORDER=\"0\" CELLBORDER=\"1\" CELLSPACING=\"0\" CELLPADDING=\"3\" BGCOLOR=\"white\"";
  g.header_attrs = "BGCOLOR=\"#dde6f0\"";
  g.cell_attrs = "ALIGN=\"LEFT\"";
  return g;
}

}  // namespace

int main(int argc, char** argv) {
  frame_start();
  frame f;
  layout_options layout;
  bool dialect_given = false;
  const char* title = nullptr;
  bool all_notices = false;
  int ch;
  // "+": options end at the first operand.
  while ((ch = getopt(argc, argv, "+d:t:e:l:w:v")) != -1) {
    switch (ch) {
      case 't': title = optarg; break;
      case 'v':
        all_notices = true;
        layout.report_time = true;
        break;
      case 'd':
        if (!frame_dialect(f, optarg))
          return 1;
        dialect_given = true;
        break;
      case 'e':
        layout.engine = optarg;
        if (layout.engine != "dot" && layout.engine != "sfdp" && layout.engine != "auto") {
          say(std::string("-e ") + optarg + ": the engine is dot, sfdp or auto");
          return 1;
        }
        break;
      case 'l':
        if (!read_count(optarg, layout.dot_limit)) {
          say(std::string("-l ") + optarg + ": not a number of tables");
          return 1;
        }
        break;
      case 'w':
        if (!read_seconds(optarg, layout.seconds)) {
          say(std::string("-w ") + optarg + ": not a number of seconds above 0");
          return 1;
        }
        break;
      default: return frame_usage(SYNOPSIS);
    }
  }
  if (argc - optind != 1)
    return frame_usage(SYNOPSIS);
  const char* operand = argv[optind];

  // The schema is read once, whatever the operand is (a pipe can be read only
  // once); the document, the graph and the page's data come from that model.
  message_buffer messages;
  f.diag.stream = messages.stream;
  // Without -d, a file is read in the dialect that its telltales choose (a
  // dump's heading, or what only that database writes), and the user is told.
  if (!dialect_given)
    f.model.dialect_from_text = true;
  bool ok = frame_read(f, operand);
  f.diag.stream = stderr;
  write_notices(stderr, messages.close(), operand, all_notices);
  if (!ok)
    return 1;

  std::string doc, graph;
  {
    writer w(doc);
    write_document(w, f.model, {.referenced_by = true});
  }
  {
    writer w(graph);
    write_graph(w, f.model, map_style());
  }
  schema_shape shape = shape_of(f.model);
  layout_result laid = lay_out(graph, shape, layout);
  if (!laid.ok)
    return 1;
  map_model map;
  if (!read_map(laid.svg, map)) {
    say(laid.engine + " wrote no <svg> element");
    return 1;
  }
  std::string data = page_data(f.model, map);

  std::string shown_title;
  {
    writer w(shown_title);
    if (title) {
      html_puts(w, title);
    } else {
      std::string_view name = operand;
      size_t slash = name.find_last_of('/');
      html_puts(w, slash == std::string_view::npos ? name : name.substr(slash + 1));
    }
  }
  std::string tables = std::to_string(shape.tables);
  const page_marker markers[] = {
      {"PAGE_TITLE", shown_title}, {"PAGE_ENGINE", laid.engine}, {"PAGE_TABLES", tables},
      {"SCHEMA_MAP", map.svg},     {"SCHEMA_DOC", doc},          {"PAGE_DATA", data},
  };
  fill_template(f.out, PAGE_TEMPLATE, markers);
  return frame_finish(f);
}
