// Anchor identifiers: the names that tie tabledoc's entries to their links and
// to tablegraph's cells. Both programs write them here, so they agree.
#pragma once

#include <string_view>

#include "html/writer.h"

/// Writes the identifier made from `text`: each of its bytes but letters,
/// digits, '-', '.' and '_' as '_', so it is exactly as long as the text.
void anchor_idn(writer& w, std::string_view text);

/// Writes the identifier of a table.
void anchor_id(writer& w, std::string_view table_name);

/// Writes the identifier of a column: "table.column", each name as anchor_idn
/// writes it.
void anchor_id(writer& w, std::string_view table_name, std::string_view column_name);

/// The anchor prefix of both programs, unless tablegraph's -p gives another.
inline constexpr const char* ANCHOR_PREFIX = "sql";

// An anchor is the prefix, '-' and an identifier: what an id names and an
// href points to after its '#'.

/// Writes the anchor of a table.
void anchor_table(writer& w, std::string_view prefix, std::string_view table_name);

/// Writes the anchor of a column.
void anchor_column(writer& w, std::string_view prefix, std::string_view table_name, std::string_view column_name);

/// Writes the anchor whose identifier is made from `text` as a whole, as a
/// docstring's @table.column reference names it.
void anchor_text(writer& w, std::string_view prefix, std::string_view text);
