// HTML text escaping and the docstring markup of tabledoc.
#pragma once

#include <cstdio>
#include <string>

/// Writes one byte of a name or docstring as HTML text: '"', '&', '<', '>' as
/// entities, every ASCII white-space byte as one space, anything else as is.
void html_putc(std::FILE* out, unsigned char c);

/// Renders a docstring: paragraph breaks, quotes, dashes, @references linked
/// to "#prefix-identifier", [text](target) links, backslash escapes. Writes no
/// newline of its own.
void html_comment(std::FILE* out, const char* prefix, const std::string& doc);
