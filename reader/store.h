// The model's storage: large blocks of zeroed memory straight from the
// system, and the stores that pack records and texts into them. Everything a
// store holds is released with the store, a block at a time.
#pragma once

#include <algorithm>
#include <cstddef>
#include <memory>
#include <new>
#include <string_view>
#include <type_traits>
#include <vector>

struct block_release {
  size_t size;
  void operator()(char* p) const;
};
using memory_block = std::unique_ptr<char[], block_release>;

/// A block of at least `size` zeroed bytes. There is always one: when the
/// system has none, the process ends through log_out_of_memory.
memory_block block_alloc(size_t size);

/// The size of the next block of a store that has `blocks` already: small at
/// first, so that a small schema zeroes little memory, then doubling up to
/// one huge page (2 MiB).
inline size_t block_bytes(size_t blocks) { return size_t(64) << 10 << std::min<size_t>(blocks, 5); }

/// Owns records of type T, made in place in large blocks. A record never
/// moves, so a pointer to it stays valid as long as the store. Records are
/// never destroyed one by one: their blocks are simply released, which only
/// a type with a trivial destructor allows.
template <typename T>
struct record_store {
  static_assert(std::is_trivially_destructible_v<T>, "a store's records are released without being destroyed");

  std::vector<memory_block> blocks;
  size_t used = 0, room = 0;  // records taken from the last block, and its capacity

  T& make() {
    if (used == room) {
      blocks.push_back(block_alloc(block_bytes(blocks.size())));
      used = 0;
      room = blocks.back().get_deleter().size / sizeof(T);
    }
    return *new (blocks.back().get() + used++ * sizeof(T)) T{};
  }
};

/// NUL-terminated copies of names and docstrings, packed into blocks. A text
/// is kept in one piece, or gathered piece by piece at the end of the last
/// block and then closed. A kept text never moves.
struct text_store {
  std::vector<memory_block> blocks;
  char* next = nullptr;  // free room in the last block; a text being gathered starts here
  size_t room = 0;
  size_t open = 0;  // bytes of the text being gathered
};

/// Keeps a NUL-terminated copy of `text` in `store`; returns it without the NUL.
std::string_view text_keep(text_store& store, std::string_view text);

/// Appends `piece` to the text being gathered, starting one if none is.
void text_append(text_store& store, std::string_view piece);

/// Ends the text being gathered and returns it, without its NUL.
std::string_view text_close(text_store& store);

/// Drops the text being gathered.
void text_drop(text_store& store);

/// Takes back `text` when it is the last text kept in `store`: its room is
/// used again.
void text_forget(text_store& store, std::string_view text);
