// The schema model's text store.
#include "reader/schema.h"

#include <cstring>

// Names and docstrings are many and small, and all live as long as the
// model: they are packed into large blocks, allocated and released a block at
// once.
std::string_view text_keep(text_store& store, std::string_view text) {
  constexpr size_t block_size = 1 << 16;
  size_t need = text.size() + 1;
  char* copy;
  if (need > block_size / 4) {
    // A large text gets a block of its own; the current block keeps its room.
    store.blocks.push_back(std::make_unique_for_overwrite<char[]>(need));
    copy = store.blocks.back().get();
  } else {
    if (need > store.room) {
      store.blocks.push_back(std::make_unique_for_overwrite<char[]>(block_size));
      store.next = store.blocks.back().get();
      store.room = block_size;
    }
    copy = store.next;
    store.next += need;
    store.room -= need;
  }
  std::memcpy(copy, text.data(), text.size());
  copy[text.size()] = '\0';
  return {copy, text.size()};
}
