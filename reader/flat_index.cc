// Open addressing with linear probing over a power-of-two array.
#include "reader/flat_index.h"

#include "reader/chars.h"

namespace {

// FNV-1a over 64 bits, folding case where asked; names are short.
uint64_t fnv(std::string_view s, bool fold, uint64_t h = 14695981039346656037ull) {
  for (unsigned char c : s)
    h = (h ^ (fold ? ascii_lower(c) : c)) * 1099511628211ull;
  return h;
}

}  // namespace

uint32_t flat_index::hash_of(std::string_view name) const {
  uint64_t h = fnv(name, fold);
  return uint32_t(h ^ (h >> 32));
}

bool flat_index::same(std::string_view a, std::string_view b) const { return fold ? ascii_iequal(a, b) : a == b; }

size_t flat_index::probe(std::string_view name, uint32_t h) const {
  size_t mask = slots.size() - 1, i = h & mask, first_gone = SIZE_MAX;
  for (;; i = (i + 1) & mask) {
    const slot& s = slots[i];
    if (s.value == NONE)
      return first_gone != SIZE_MAX ? first_gone : i;
    if (s.value == GONE) {
      if (first_gone == SIZE_MAX)
        first_gone = i;
    } else if (s.hash == h && same(s.name, name)) {
      return i;
    }
  }
}

uint32_t flat_index::find(std::string_view name) const {
  if (slots.empty())
    return NONE;
  uint32_t h = hash_of(name);
  size_t mask = slots.size() - 1;
  for (size_t i = h & mask;; i = (i + 1) & mask) {
    const slot& s = slots[i];
    if (s.value == NONE)
      return NONE;
    if (s.value != GONE && s.hash == h && same(s.name, name))
      return s.value;
  }
}

uint32_t flat_index::set(std::string_view name, uint32_t value) {
  if (10 * (used + 1) > 7 * slots.size())
    grow(2 * (live + 1));
  uint32_t h = hash_of(name);
  slot& s = slots[probe(name, h)];
  uint32_t before = s.value == NONE || s.value == GONE ? NONE : s.value;
  if (before == NONE) {
    if (s.value == NONE)
      used++;
    live++;
  }
  s = {name, value, h};
  return before;
}

uint32_t flat_index::erase(std::string_view name) {
  if (slots.empty())
    return NONE;
  slot& s = slots[probe(name, hash_of(name))];
  if (s.value == NONE || s.value == GONE)
    return NONE;
  uint32_t before = s.value;
  s.value = GONE;
  live--;
  return before;
}

void flat_index::reserve(size_t n) {
  if (2 * n > slots.size())
    grow(2 * n);
}

// A new array of a power of two slots, at least `capacity` and twice the
// names kept; erased slots are left behind.
void flat_index::grow(size_t capacity) {
  size_t want = 16;
  while (want < capacity || want < 2 * (live + 1))
    want *= 2;
  std::vector<slot> old(want);
  old.swap(slots);
  live = used = 0;
  for (const slot& s : old)
    if (s.value != NONE && s.value != GONE) {
      size_t mask = slots.size() - 1, i = s.hash & mask;
      while (slots[i].value != NONE)
        i = (i + 1) & mask;
      slots[i] = s;
      live++;
      used++;
    }
}

// ---- hash_set

uint64_t hash_pair(std::string_view a, std::string_view b) { return fnv(b, false, fnv("\x1f", false, fnv(a, false))); }

size_t hash_set::probe(uint64_t k) const {
  size_t mask = slots.size() - 1, i = size_t(k ^ (k >> 29)) & mask, first_gone = SIZE_MAX;
  for (;; i = (i + 1) & mask) {
    if (slots[i] == 0)
      return first_gone != SIZE_MAX ? first_gone : i;
    if (slots[i] == 1) {
      if (first_gone == SIZE_MAX)
        first_gone = i;
    } else if (slots[i] == k) {
      return i;
    }
  }
}

bool hash_set::contains(uint64_t h) const {
  if (slots.empty())
    return false;
  uint64_t k = key(h);
  size_t mask = slots.size() - 1;
  for (size_t i = size_t(k ^ (k >> 29)) & mask;; i = (i + 1) & mask) {
    if (slots[i] == 0)
      return false;
    if (slots[i] == k)
      return true;
  }
}

bool hash_set::insert(uint64_t h) {
  if (contains(h))
    return false;
  if (10 * (used + 1) > 7 * slots.size())
    grow(slots.size() < 16 ? 16 : slots.size() * 2);
  uint64_t k = key(h);
  size_t i = probe(k);
  if (slots[i] == 0)
    used++;
  slots[i] = k;
  return true;
}

void hash_set::erase(uint64_t h) {
  if (slots.empty())
    return;
  uint64_t k = key(h);
  size_t i = probe(k);
  if (slots[i] == k)
    slots[i] = 1;
}

void hash_set::grow(size_t capacity) {
  std::vector<uint64_t> old(capacity, 0);
  old.swap(slots);
  used = 0;
  for (uint64_t k : old)
    if (k > 1) {
      size_t mask = slots.size() - 1, i = size_t(k ^ (k >> 29)) & mask;
      while (slots[i] != 0)
        i = (i + 1) & mask;
      slots[i] = k;
      used++;
    }
}
