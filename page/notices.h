// The reader's messages as schemapage shows them: each once, and a notice
// that the schema repeats (chado's thousands of "ignoring non-table
// creation") summed up in one line.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

/// Writes `messages`, the reader's lines for the file `fname`, to `to`.
/// With `all`, every line as it is. Otherwise a line whose text after its
/// "fname:line:column: " position was already shown is left out, and after
/// the rest one line per such text tells how many more there were.
void write_notices(std::FILE* to, std::string_view messages, std::string_view fname, bool all);

/// The text of a message after its "fname:line:column: " position, or all of
/// it when it has none.
std::string_view notice_text(std::string_view line, std::string_view fname);
