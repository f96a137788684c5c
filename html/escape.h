// Every escape of the outputs: HTML text and attribute values, and the text
// of Graphviz's HTML-like labels.
#pragma once

#include <string_view>

#include "html/writer.h"
#include "reader/chars.h"

/// The entity for '"', '&', '<' or '>', or null for any other byte.
constexpr const char* html_entity(unsigned char c) {
  switch (c) {
    case '"': return "&quot;";
    case '&': return "&amp;";
    case '<': return "&lt;";
    case '>': return "&gt;";
  }
  return nullptr;
}

/// Whether html_putc writes `c` as something else than itself: one of the
/// four entities, or a white-space byte written as a space.
constexpr bool html_text_special(unsigned char c) {
  return html_entity(c) || is_space(c);
}

/// Writes one byte of a name or docstring as HTML text: '"', '&', '<', '>' as
/// entities, every ASCII white-space byte as one space, anything else as is.
void html_putc(writer& w, unsigned char c);

/// Writes `text` as html_putc writes each of its bytes.
void html_puttext(writer& w, std::string_view text);

/// Writes `text`, plain text with line breaks as its author meant them
/// (a catalog's comment), as HTML text: a blank line (two line breaks with
/// only white space between) as a paragraph break "<p></p>", the white
/// space around it left out; any other white space, a single line break
/// included, as html_putc writes it. Nothing in it is markup.
void html_plain_text(writer& w, std::string_view text);

/// Writes `text` with '"', '&', '<' and '>' as entities; every other byte,
/// white space included, unchanged.
void html_puts(writer& w, std::string_view text);

/// Writes `text` as the text of a label cell that Graphviz's XML parser
/// accepts, whatever its bytes: as html_puts does, and besides that valid
/// UTF-8 as it is, but U+FFFE, U+FFFF and the control bytes other than tab,
/// LF and CR as "&#xFFFD;", and a byte that begins no valid UTF-8 sequence
/// as its own character reference "&#xNN;".
void label_puts(writer& w, std::string_view text);
