// The model's blocks and its text store.
#include "reader/store.h"

#include <sys/mman.h>

#include <cstring>

#include "reader/log.h"

void block_release::operator()(char* p) const { munmap(p, size); }

memory_block block_alloc(size_t size) {
  const size_t huge = size_t(2) << 20;
  size = (size + 4095) & ~size_t(4095);
  // Every page of a block is written soon: the pages are made at once rather
  // than a fault each (without it tablegraph takes 3 to 5 % longer at 100,000
  // tables). A huge block is first advised to use huge pages, then made
  // (without huge pages 3 to 17 % longer; both by bench/compare.sh on
  // bench/run.sh's plain and realistic schemas).
  int populate = size >= huge ? 0 : MAP_POPULATE;
  void* p = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS | populate, -1, 0);
  if (p == MAP_FAILED)
    log_out_of_memory("mmap");
  if (size >= huge) {
    madvise(p, size, MADV_HUGEPAGE);
    madvise(p, size, MADV_POPULATE_WRITE);  // where the system cannot, the pages come as they are written
  }
  return memory_block(static_cast<char*>(p), block_release{size});
}

// Names and docstrings are many and small, and all live as long as the
// model: they are packed into large blocks, allocated and released a block at
// once.
void text_append(text_store& store, std::string_view piece) {
  size_t need = store.open + piece.size() + 1;  // with the closing NUL
  if (need > store.room) {
    // A new block, at least twice what the text needs so that a text that
    // keeps growing moves only now and then; the text so far moves along.
    memory_block block = block_alloc(std::max(block_bytes(store.blocks.size()), 2 * need));
    if (store.open)
      std::memcpy(block.get(), store.next, store.open);
    store.next = block.get();
    store.room = block.get_deleter().size;
    store.blocks.push_back(std::move(block));
  }
  if (!piece.empty())
    std::memcpy(store.next + store.open, piece.data(), piece.size());
  store.open += piece.size();
}

std::string_view text_close(text_store& store) {
  if (store.room == 0)
    text_append(store, {});  // an empty text still needs room for its NUL
  char* text = store.next;
  size_t size = store.open;
  text[size] = '\0';
  store.next += size + 1;
  store.room -= size + 1;
  store.open = 0;
  return {text, size};
}

void text_drop(text_store& store) { store.open = 0; }

void text_forget(text_store& store, std::string_view text) {
  if (store.open == 0 && text.data() + text.size() + 1 == store.next) {
    store.room += text.size() + 1;
    store.next -= text.size() + 1;
  }
}

std::string_view text_keep(text_store& store, std::string_view text) {
  text_append(store, text);
  return text_close(store);
}
