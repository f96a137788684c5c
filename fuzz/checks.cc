// The reader's fuzz targets' shared checks.
#include "fuzz/checks.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "html/writer.h"
#include "reader/read.h"
#include "tabledoc/document.h"
#include "tablegraph/dot.h"

bool acceptable_xml_text(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    unsigned char c = s[i];
    if (c < 0x80) {
      if ((c < 0x20 && c != '\t' && c != '\n' && c != '\r'))
        return false;
      i++;
      continue;
    }
    size_t len = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : 2;
    if (c < 0xC2 || c > 0xF4 || i + len > s.size())
      return false;
    uint32_t cp = c & (len == 2 ? 0x1F : len == 3 ? 0x0F : 0x07);
    for (size_t k = 1; k < len; k++) {
      unsigned char b = s[i + k];
      if ((b & 0xC0) != 0x80)
        return false;
      cp = cp << 6 | (b & 0x3F);
    }
    bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF) || cp == 0xFFFE || cp == 0xFFFF)
      return false;
    i += len;
  }
  return true;
}

reading read_schema(std::string_view input, schema& s) {
  char* text = nullptr;
  size_t size = 0;
  diagnostics d = fuzz_diagnostics();
  d.stream = open_memstream(&text, &size);
  CHECK(d.stream);
  reading r{parse_buf(d, input, s), {}};
  std::fclose(d.stream);
  r.messages.assign(text, size);
  std::fwrite(text, 1, size, fuzz_diagnostics().stream);  // seen with FUZZ_MESSAGES=1
  std::free(text);
  return r;
}


void write_both(const schema& s, bool ok) {
  std::string doc, graph;
  {
    writer w(doc), g(graph);
    if (ok) {
      write_document(w, s);
      write_graph(g, s, graph_options{});
    }
  }
  CHECK(ok || (doc.empty() && graph.empty()));
  CHECK(acceptable_xml_text(graph));
}
