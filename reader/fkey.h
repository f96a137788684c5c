// The foreign-key pass, run once after the whole input has been read.
#pragma once

#include <compare>
#include <cstdint>
#include <span>
#include <string_view>

#include "reader/log.h"
#include "reader/schema.h"

/// The first 16 bytes of a name as two numbers that compare as the bytes do
/// (unsigned, a shorter name first), so that most comparisons of two names
/// need neither name's bytes.
struct name_head {
  uint64_t hi = 0, lo = 0;
  auto operator<=>(const name_head&) const = default;
};

name_head name_head_of(std::string_view name);

/// A table beside its name and the head of its name, so that sorting and
/// searching by name mostly read only this index.
struct named_table {
  name_head head;
  std::string_view name;
  table* tab;
};

/// Name order: the heads first, the whole names only when the heads are equal.
inline bool name_less(const named_table& a, const name_head& head, std::string_view name) {
  return a.head != head ? a.head < head : a.name < name;
}

/// Binds each reference's source column to its target column. `tables` holds
/// every table in name order (equal names in creation order), and every
/// table's `cols` is in name order. Reports unknown tables and second
/// bindings through log_file; never fails.
void parse_fkeys(schema& s, std::span<const named_table> tables, const diagnostics& d);
