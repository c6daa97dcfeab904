#pragma once

#include <unordered_set>

#include "foundation/Geometry.h"

namespace GeometryLib {

// Sets of grid cells (cell coordinates) covered by a position and an extent.
// The order of cells in a set carries no meaning.
using CellSet = std::unordered_set<Point, PointHash>;

// Cells touched by a box of halfSize pixels each way around a pixel position.
CellSet cellsCoveredByBox(const Point& position, u32 tileSize, float halfSize);
// Cells touched by a pixel rectangle; a far edge exactly on a cell border also
// covers the next cell.
CellSet cellsCoveredByRect(const Point& origin, u32 width, u32 height, u32 tileSize);

}  // namespace GeometryLib
