// The HTML fragment that documents a schema.
#pragma once

#include "html/writer.h"
#include "reader/schema.h"

/// Writes the definition list of every table and column of a successfully
/// read schema, with ANCHOR_PREFIX as the anchor prefix.
void write_document(writer& w, const schema& s);
