// The HTML fragment that documents a parsed schema.
#pragma once

#include <cstdio>

struct parser;

/// Writes the definition list of every table and column of a successfully
/// parsed `p`, with "sql" as the anchor prefix.
void write_document(std::FILE* out, const parser& p);
