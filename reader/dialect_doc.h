// Docstrings of the dialect readings: the comments in front of a table or a
// column, as the reader's own grammar joins them, without the comments that
// dump tools write about their own output.
#pragma once

#include <span>
#include <string>

#include "reader/dialect_lex.h"

/// Whether a comment is one that pg_dump, mysqldump or sqlite3 writes about
/// the dump itself ("-- Name: t; Type: TABLE; ...", "-- Dumped by pg_dump
/// version ...", "-- Table structure for table `t`", "/* No STAT tables
/// available */", ...), or MySQL's executable kind.
bool dialect_boilerplate(const dcomment& c);

/// The docstring that `comments` make, into `out`: their texts joined, a
/// line comment's after its opener (with its newline when it holds nothing
/// but white space), a block comment's rewritten as the reader's own
/// tokenizer does. Boilerplate is left out. false, with `out` empty, when
/// nothing but white space is left.
bool dialect_docstring(std::span<const dcomment> comments, std::string& out);
