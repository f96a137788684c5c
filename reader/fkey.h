// The foreign-key pass, run once after the whole input has been read.
#pragma once

struct parser;

/// Binds each reference's source column to its target column. `p.tables` and
/// every `cols` must be in name order. Reports unknown tables and second
/// bindings through log_file; never fails.
void parse_fkeys(parser& p);
