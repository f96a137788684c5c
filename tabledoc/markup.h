// The docstring markup of tabledoc.
#pragma once

#include <string_view>

#include "html/writer.h"

/// Renders a docstring: paragraph breaks, quotes, dashes, @references linked
/// to "#prefix-identifier", [text](target) links, backslash escapes. Writes no
/// newline of its own. The docstring ends at its first NUL byte, if any.
void html_comment(writer& w, const char* prefix, std::string_view doc);

/// Whether a link target would run script or reach outside the site when
/// followed: after its leading bytes 0x01 to 0x20 and every tab, LF and CR in
/// it are dropped, it begins with "javascript:", "vbscript:", "file:" or
/// "data:" (ASCII case ignored), other than a "data:image/" of PNG, GIF,
/// JPEG or WebP.
bool unsafe_link_target(std::string_view target);
