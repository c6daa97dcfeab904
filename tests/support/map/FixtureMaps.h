#pragma once

#include <string>
#include <utility>
#include <vector>

#include "support/map/MapBuilder.h"

namespace zarn_test {

// A small room that uses every section and every record class the sections
// read: a 6 x 4 grid of 16-unit cells with walls and two maximal rectangles,
// the sample traps, trap groups, events and elements, two dialogs (7 and 9),
// two z-order entries and two camera regions (the first with one transition).
MapBuilder everySectionMap();

// The seed maps of the map import fuzzer, by file name.
std::vector<std::pair<std::string, std::vector<u8>>> mapFuzzSeeds();

}  // namespace zarn_test
