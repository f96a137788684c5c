// Anchor identifiers: the names that tie tabledoc's entries to their links and
// to tablegraph's cells. Both programs build them here, so they agree.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

/// The identifier of a table (column null) or of column `column` of `table`:
/// "table.column" with every byte but letters, digits, '-', '.', '_' as '_'.
std::string anchor_id(std::string_view table_name, const char* column_name);

/// As anchor_id, into `id`, whose storage is reused: for writers that print
/// one identifier after another. Without a column name, a table's.
void anchor_id_into(std::string& id, std::string_view table_name);
void anchor_id_into(std::string& id, std::string_view table_name, std::string_view column_name);

/// The identifier made from the `len` bytes at `text`, which hold no NUL.
std::string anchor_idn(const char* text, size_t len);
