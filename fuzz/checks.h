// What the reader's fuzz targets share: one reading of an input with its
// messages caught, the order that the model's lists must keep, and the text
// that Graphviz's XML parser accepts.
#pragma once

#include <set>
#include <string>
#include <string_view>

#include "fuzz/common.h"
#include "reader/schema.h"

// A name as a C string sees it: up to its first NUL byte. Compared as
// string_views, such names stand in strcmp order.
inline std::string_view c_name(std::string_view name) { return name.substr(0, name.find('\0')); }

// Name order with equal names by creation number, as the lists must be.
// The lists hold pointers of some kind to their records; &*e is the record.
template <typename List>
void check_order(const List& list, size_t count) {
  std::set<size_t> seen;
  for (size_t i = 0; i < list.size(); i++) {
    CHECK(list[i]->idx < count && seen.insert(list[i]->idx).second);
    if (i == 0)
      continue;
    int c = c_name(list[i - 1]->name).compare(c_name(list[i]->name));
    CHECK(c < 0 || (c == 0 && list[i - 1]->idx < list[i]->idx));
  }
  CHECK(seen.size() == count);
}

/// Whether `s` is UTF-8 as RFC 3629 has it (no overlong form, no surrogate,
/// nothing above U+10FFFF) without U+FFFE, U+FFFF or a control byte other
/// than tab, LF and CR.
bool acceptable_xml_text(std::string_view s);

/// What one reading of the input gives: its result and its messages.
struct reading {
  bool ok;
  std::string messages;
};

/// Reads `input` into `s` (set up by the caller), catching the messages
/// (and showing them with FUZZ_MESSAGES=1).
reading read_schema(std::string_view input, schema& s);

/// Writes the document and the graph of `s` after a successful reading (`ok`),
/// and checks that a failed one writes nothing and that the graph is text
/// that Graphviz's XML parser accepts.
void write_both(const schema& s, bool ok);
