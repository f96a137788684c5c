// HTML attribute escaping shared by both writers.
#pragma once

#include <string_view>

#include "reader/writer.h"

/// Writes `text` with '"', '&', '<' and '>' as entities; every other byte,
/// white space included, unchanged.
void html_puts(writer& w, std::string_view text);

/// The entity for one of the four bytes that html_puts escapes, or null.
const char* html_entity(unsigned char c);
