// The page's data: what its script needs to show a table in its
// neighbourhood and to draw the overview, without another layout.
#pragma once

#include <string>

#include "page/svg.h"
#include "reader/schema.h"

/// The data as JSON, for a <script type="application/json"> element: the
/// drawing's size, for each table by its creation number the tables that
/// its keys connect it with (both ways, itself left out), and each table's
/// box in the drawing ([number, x, y, width, height], whole pixels). Only
/// numbers: nothing in it can end the element.
std::string page_data(const schema& s, const map_model& m);
