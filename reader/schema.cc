// The schema model's text store and its release.
#include "reader/schema.h"

#include <cstring>

// Names and docstrings are many and small, and all live until parser_free:
// they are packed into large blocks, allocated and released a block at once.
std::string_view parser_keep(parser& p, std::string_view text) {
  constexpr size_t block_size = 1 << 16;
  size_t need = text.size() + 1;
  char* copy;
  if (need > block_size / 4) {
    // A large text gets a block of its own; the current block keeps its room.
    p.text_store.push_back(std::make_unique_for_overwrite<char[]>(need));
    copy = p.text_store.back().get();
  } else {
    if (need > p.text_room) {
      p.text_store.push_back(std::make_unique_for_overwrite<char[]>(block_size));
      p.text_next = p.text_store.back().get();
      p.text_room = block_size;
    }
    copy = p.text_next;
    p.text_next += need;
    p.text_room -= need;
  }
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return {copy, text.size()};
}

void parser_free(parser& p) {
  p.refs.clear();
  p.tables.clear();
  p.table_store.clear();
  p.column_store.clear();
  p.columns.clear();
  p.text_store.clear();
  p.text_next = nullptr;
  p.text_room = 0;
}
