// The page's data, written from the model and the map.
#include "page/data.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "html/writer.h"

namespace {

void put_whole(writer& w, double v) {
  long n = std::lround(v);
  if (n < 0) {
    w.put('-');
    n = -n;
  }
  w.put_num(size_t(n));
}

void link(std::vector<std::vector<size_t>>& near, const column& from, const column& to) {
  size_t a = from.parent->idx, b = to.parent->idx;
  if (a == b)
    return;
  near[a].push_back(b);
  near[b].push_back(a);
}

}  // namespace

std::string page_data(const schema& s, const map_model& m) {
  std::vector<std::vector<size_t>> near(s.tables.size());
  for (const column* col : s.columns) {
    if (col->fkey)
      link(near, *col, *col->fkey);
    for (const column* target : col->fkey_more)
      link(near, *col, *target);
  }
  std::string text;
  {
    writer w(text);
    w.put("{\"width\":");
    put_whole(w, m.width);
    w.put(",\"height\":");
    put_whole(w, m.height);
    w.put(",\"near\":[");
    for (size_t i = 0; i < near.size(); i++) {
      std::vector<size_t>& list = near[i];
      std::sort(list.begin(), list.end());
      list.erase(std::unique(list.begin(), list.end()), list.end());
      w.put(i ? ",[" : "[");
      for (size_t j = 0; j < list.size(); j++) {
        if (j)
          w.put(',');
        w.put_num(list[j]);
      }
      w.put(']');
    }
    w.put("],\n\"boxes\":[");
    for (size_t i = 0; i < m.nodes.size(); i++) {
      const map_node& n = m.nodes[i];
      w.put(i ? ",[" : "[");
      w.put_num(n.table);
      for (double v : {n.x, n.y, n.w, n.h}) {
        w.put(',');
        put_whole(w, v);
      }
      w.put(']');
    }
    w.put("]}");
  }
  return text;
}
