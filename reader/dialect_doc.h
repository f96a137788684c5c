// Docstrings of the dialect readings: the comments in front of a table or a
// column, without the comments that dump tools write about their own
// output, the rules that frame a banner, and the paragraph breaks that
// those leave at either end.
#pragma once

#include <cstddef>
#include <span>
#include <string>

#include "reader/dialect_lex.h"

/// Whether a comment is one that pg_dump, mysqldump or sqlite3 writes about
/// the dump itself ("-- Name: t; Type: TABLE; ...", "-- Dumped by pg_dump
/// version ...", "-- Table structure for table `t`", "/* No STAT tables
/// available */", ...).
bool dialect_boilerplate(const dcomment& c);

/// Whether a comment is a rule: a row of one of "-=*#~_+", and nothing else.
bool dialect_rule_line(const dcomment& c);

/// The docstring that `lead` make in front of the token that starts on line
/// `next_line`, followed by `trailing` (the comments after it on its line),
/// into `out`. Of `lead`, only the comments that touch the token document it: a comment that a blank line parts from the next is
/// a heading for what follows, not documentation, unless what it parts from
/// holds a dump tool's note (the tools write a blank line after theirs).
/// Of those, the texts joined as the reader's own tokenizer joins them (a
/// line comment's after its opener, an empty one a paragraph break, a block
/// comment's rewritten), with boilerplate and rules left out and the white
/// space at either end, paragraph breaks included, taken off. false, with
/// `out` empty, when nothing is left.
bool dialect_docstring(std::span<const dcomment> lead, size_t next_line, std::span<const dcomment> trailing,
                       std::string& out);
