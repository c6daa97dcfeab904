#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "grid/BlockableManager.h"
#include "grid/CellGrid.h"
#include "grid/MapProperties.h"

namespace Zarn {

// Reads the grid section: u32 byte length L, then L bytes laid out as
// | width, height, cellSize | u32 each (MapProperties) |
// | tiles             | (width x height) / (cellSize x cellSize) bytes; the cell with origin (x, y)
// |                   | is byte ((y x width) / cellSize + x) / cellSize; 1 = solid |
// | rectangle header  | MaximalRectangleHeader: a u32 not read, u32 count n |
// | rectangles        | n x GeometryLib::Rect (12 bytes) |
// It sizes the grid, marks its cells, makes one RectBlockable per solid cell
// (when there is a blockable manager) and fills the maximal rectangles. A
// width or height that is not a whole number of cells leaves a strip without
// cells (see CellGrid).
//
// A stream at its end skips the section. Refused with "bad map": a cell size of
// 0, a width or height past maxExtent, more than maxCells tiles, and tiles or
// rectangles that the L bytes do not hold.
class GridMapImporter : public Convinience::StreamImporter {
public:
    // Rooms of more tiles than this are refused: it bounds the memory of the
    // grid and of its blockables, far above any room the game ships.
    static constexpr u64 maxCells = u64{1} << 18;
    // Widths and heights in map units must fit a 16-bit point: cells and
    // positions are GeometryLib::Point.
    static constexpr u32 maxExtent = 32767;

    // All belong to the GameMap and outlive the importer; rectangles and
    // blockables may be null.
    GridMapImporter(CellGrid& grid, std::vector<GeometryLib::Rect>* rectangles, BlockableManager* blockables)
        : grid_(grid), rectangles_(rectangles), blockables_(blockables) {}

    void import(std::istream& stream) override;

    // The properties read by the last import.
    const MapProperties& properties() const { return properties_; }

private:
    CellGrid& grid_;
    std::vector<GeometryLib::Rect>* rectangles_;
    BlockableManager* blockables_;
    MapProperties properties_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
