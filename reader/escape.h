// HTML attribute escaping shared by both writers.
#pragma once

#include <cstdio>
#include <string_view>

/// Writes `text` with '"', '&', '<' and '>' as entities; every other byte,
/// white space included, unchanged.
void html_puts(std::FILE* out, std::string_view text);
