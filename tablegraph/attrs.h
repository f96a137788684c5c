// The attribute texts that tablegraph's -c, -h and -t options gather.
#pragma once

#include <optional>
#include <string>

/// Appends `arg` to `slot`, after one space when the slot already holds text.
/// Refuses (0, slot unchanged) an argument that begins with "href=" in any
/// case; 1 when it was added.
[[nodiscard]] int attrs_append(std::optional<std::string>& slot, const char* arg);
