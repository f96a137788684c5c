// HTML text escaping and the docstring markup of tabledoc.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "reader/writer.h"

/// Writes one byte of a name or docstring as HTML text: '"', '&', '<', '>' as
/// entities, every ASCII white-space byte as one space, anything else as is.
void html_putc(writer& w, unsigned char c);
void html_putc(std::FILE* out, unsigned char c);

/// Writes `text` as html_putc writes each of its bytes.
void html_puttext(writer& w, std::string_view text);

/// Renders a docstring: paragraph breaks, quotes, dashes, @references linked
/// to "#prefix-identifier", [text](target) links, backslash escapes. Writes no
/// newline of its own. The docstring ends at its first NUL byte, if any.
void html_comment(writer& w, const char* prefix, std::string_view doc);
void html_comment(std::FILE* out, const char* prefix, std::string_view doc);
