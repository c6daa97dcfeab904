#pragma once

#include <string>
#include <vector>

#include "world/grid/CellGrid.h"

namespace zarn_test {

// A grid drawn as text: rows[y][x] is the cell (x, y); '#' is solid, anything
// else free. Every row has the same length.
inline void drawGrid(Zarn::CellGrid& grid, const std::vector<std::string>& rows, u32 cellSize) {
    const u32 columns = rows.empty() ? 0 : static_cast<u32>(rows[0].size());
    grid.setProperties(
        Zarn::MapProperties(columns * cellSize, static_cast<u32>(rows.size()) * cellSize, cellSize));
    grid.resize();
    grid.forEachCell([&](const GeometryLib::Point& origin, Zarn::TileStatus& status) {
        status = rows[origin.y / cellSize][origin.x / cellSize] == '#' ? 1 : 0;
    });
}

}  // namespace zarn_test
