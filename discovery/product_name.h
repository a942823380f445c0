#pragma once

#include <cstddef>
#include <string_view>

#include "discovery/release_table.h"

namespace discovery {

// The release a product's ProductName names: the first of the first `recognisedRows` rows
// (ascending year) whose year text occurs in the name at a character boundary other than its
// very start. A year at the start alone names nothing ("2013 Edition"), but the same year
// again further on does ("2013 AutoCAD 2013"). Null when no row matches.
const ReleaseRow* ClassifyProductName(std::string_view productName, std::size_t recognisedRows);

}  // namespace discovery
