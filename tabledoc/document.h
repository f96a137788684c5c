// The HTML fragment that documents a schema.
#pragma once

#include "html/writer.h"
#include "reader/schema.h"

struct document_options {
  // Each table's entry lists the tables whose foreign keys point at it, each
  // a link to its entry: what schemapage's page shows. tabledoc leaves it out.
  bool referenced_by = false;
};

/// Writes the definition list of every table and column of a successfully
/// read schema, with ANCHOR_PREFIX as the anchor prefix.
void write_document(writer& w, const schema& s, const document_options& opt = {});
