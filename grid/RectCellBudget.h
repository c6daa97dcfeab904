#pragma once

#include "foundation/Types.h"

namespace Zarn {

class CellGrid;

// The blockable rectangles a map may place (solid decorations, doors): each
// must fit the room, and together they may reach at most kCellsPerGridCell
// cells per cell of the grid (plus one cell's worth), which bounds what the
// blockable manager files for any map file. One budget per kind of rectangle
// and map load. Used by the thread that loads the world.
class RectCellBudget {
public:
    static constexpr u64 kCellsPerGridCell = 16;

    // The grid belongs to the game map and outlives the budget.
    explicit RectCellBudget(const CellGrid& grid) : grid_(grid) {}

    // Counts the cells a rectangle of width x height map units reaches (its
    // far edges reach into the next cell). False when the rectangle is wider
    // or higher than the room, the room has no cell size, or the rectangles
    // counted so far now pass the budget.
    bool take(u32 width, u32 height);
    // Starts counting from 0.
    void clear() { used_ = 0; }

private:
    const CellGrid& grid_;
    u64 used_ = 0;
};

}  // namespace Zarn
