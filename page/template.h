// The page's template, compiled into the program, and the filling of its
// markers.
#pragma once

#include <span>
#include <string_view>

#include "html/writer.h"

/// page.html.in with page.css and page.js in their places and the hashes of
/// its scripts in its Content-Security-Policy (made by page/embed.cmake).
extern const std::string_view PAGE_TEMPLATE;

/// A marker of the template, "@NAME@", and what it stands for.
struct page_marker {
  std::string_view name;   // NAME, without the '@'s
  std::string_view value;  // written as it is
};

/// Writes `tmpl` with each of the markers in it replaced by its value. The
/// template is read once from start to end, and what a marker is replaced
/// with is never searched for markers: a title that reads "@PAGE_ENGINE@"
/// stays as it is. An '@' that begins no marker of `markers` is written as
/// it is.
void fill_template(writer& w, std::string_view tmpl, std::span<const page_marker> markers);
