#pragma once

#include <unordered_set>

#include "foundation/Geometry.h"

namespace GeometryLib {

// Sets of grid cells (cell coordinates) covered by a position and an extent.
// The order of cells in a set carries no meaning.
using CellSet = std::unordered_set<Point, PointHash>;

// The square of cells within `radius` pixels of the centre cell:
// r = ceil((radius - tileSize/2) / tileSize) cells each way, 0 when the radius
// does not pass half a tile.
CellSet cellsWithinRadius(const Point& centreCell, u32 tileSize, float radius);
// Cells touched by a box of halfSize pixels each way around a pixel position.
CellSet cellsCoveredByBox(const Point& position, u32 tileSize, float halfSize);
// A block of cells given in cell units: from the origin towards +x and -y
// (the origin is the block's top-left cell). Empty when width or height is 0.
CellSet cellsOfGridRect(const Rect& rect);
// Cells touched by a pixel rectangle; a far edge exactly on a cell border also
// covers the next cell.
CellSet cellsCoveredByRect(const Point& origin, u32 width, u32 height, u32 tileSize);

}  // namespace GeometryLib
