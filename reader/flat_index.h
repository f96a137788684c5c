// A hash index from names to numbers, in one flat array: the dialect
// readings find tables, columns and constraint names by it. A node per entry
// (std::unordered_map) costs a cache miss and an allocation each; at 200,000
// tables that was a third of a reading's time.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

/// Names (views of text that outlives the index) to numbers. With `fold`,
/// names that differ only in ASCII letter case are the same name.
struct flat_index {
  static constexpr uint32_t NONE = UINT32_MAX;

  explicit flat_index(bool fold = false) : fold(fold) {}

  /// The number kept for `name`, or NONE.
  uint32_t find(std::string_view name) const;

  /// Keeps `value` for `name`; returns the number it had, or NONE.
  uint32_t set(std::string_view name, uint32_t value);

  /// Forgets `name`; returns the number it had, or NONE.
  uint32_t erase(std::string_view name);

  /// Room for `n` names without growing.
  void reserve(size_t n);

  size_t size() const { return live; }

 private:
  struct slot {
    std::string_view name;
    uint32_t value = NONE;  // NONE: never used; GONE: erased
    uint32_t hash = 0;
  };
  static constexpr uint32_t GONE = UINT32_MAX - 1;

  uint32_t hash_of(std::string_view name) const;
  bool same(std::string_view a, std::string_view b) const;
  size_t probe(std::string_view name, uint32_t h) const;  // its slot, or the empty one it would take
  void grow(size_t capacity);

  bool fold;
  std::vector<slot> slots;  // a power of two, at most 70 % of them used or erased
  size_t live = 0, used = 0;
};

/// A set of 64-bit hashes of names, 8 bytes each: where a false "taken" once
/// in 2^64 costs nothing but a number after a made name.
struct hash_set {
  /// Whether `h` is in the set.
  bool contains(uint64_t h) const;
  /// Adds `h`; false when it was there.
  bool insert(uint64_t h);
  /// Removes `h`.
  void erase(uint64_t h);

 private:
  static uint64_t key(uint64_t h) { return h < 2 ? h + 2 : h; }  // 0 is empty, 1 erased
  size_t probe(uint64_t k) const;
  void grow(size_t capacity);
  std::vector<uint64_t> slots;
  size_t used = 0;
};

/// The hash that hash_set keeps of `a` "\x1f" `b`.
uint64_t hash_pair(std::string_view a, std::string_view b);
