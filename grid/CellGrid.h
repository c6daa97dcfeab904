#pragma once

#include <exception>
#include <functional>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/MapProperties.h"

namespace Zarn {

// The status of one cell: 0 free, 1 solid; every non-zero value blocks.
using TileStatus = u8;

// A point outside the room was handed to an operation that needs one inside.
class InvalidGridCordinates : public std::exception {
public:
    const char* what() const noexcept override { return "invalid grid coordinates"; }
};

// One TileStatus per square cell of a room. Points are in map units (y up)
// unless an operation says "cell"; a point is inside the room when
// 0 <= x < width and 0 <= y < height.
//
// Sizes come from map files: every query that takes a point answers "blocked"
// (or throws, where documented) for points outside the room or in the strip
// of a room whose size is not a whole number of cells; none reads outside the
// cells. Cells that no 16-bit point can reach (origins past 32767) are not
// kept.
//
// Used by the one thread that owns the world copy the grid belongs to.
class CellGrid {
public:
    CellGrid() = default;

    const MapProperties& getProperties() const { return properties_; }
    // Takes new properties; the cells follow only on resize.
    void setProperties(const MapProperties& properties) { properties_ = properties; }
    // columns := width / cellSize and rows := height / cellSize; cells that
    // stay keep their status, new cells are 0. No cells when cellSize is 0.
    void resize();

    u32 getColumns() const { return columns_; }
    u32 getRows() const { return rows_; }
    u32 getCellSize() const { return properties_.cellSize; }

    // Returns when the point lies inside the room; throws InvalidGridCordinates otherwise.
    void checkCoordinates(const GeometryLib::Point& point) const;
    // The cell (column, row) that holds a point: each coordinate, sign-extended
    // to 32 bits, divided unsigned by the cell size, low 16 bits kept. No range
    // check; (0, 0) when the cell size is 0.
    GeometryLib::Point toCell(const GeometryLib::Point& point) const;
    // The status of the cell holding the point. Throws InvalidGridCordinates for a
    // point outside the room and std::out_of_range ("invalid vector<T> subscript")
    // for a point inside the room that no cell holds.
    TileStatus cellAt(const GeometryLib::Point& point) const;
    // True when the point (truncated toward zero) lies inside the room and its
    // cell exists and is 0. Never throws.
    bool isFree(const GeometryLib::FPoint& point) const;
    bool isFree(const GeometryLib::Point& point) const { return freeAt(point.x, point.y); }
    bool sameCell(const GeometryLib::Point& a, const GeometryLib::Point& b) const;

    // The 8 steps of one cell, s = cell size, in the order every search expands
    // them: (-s, 0), (0, s), (s, 0), (0, -s), (s, s), (-s, -s), (s, -s), (-s, s).
    std::vector<GeometryLib::Point> neighbourOffsets() const;
    // Whether a unit at `from` may step by `direction` (one of the offsets): the
    // target must be inside and free; a diagonal step also needs one of its two
    // side cells inside and free (it may cut a corner). Never throws.
    bool canStep(const GeometryLib::Point& direction, const GeometryLib::Point& from) const {
        // Coordinates wrap as 16-bit values, as Point arithmetic does.
        const i32 tx = static_cast<i16>(from.x + direction.x);
        const i32 ty = static_cast<i16>(from.y + direction.y);
        if (!freeAt(tx, ty)) return false;
        if (direction.x == 0 || direction.y == 0) return true;
        return freeAt(tx, from.y) || freeAt(from.x, ty);
    }

    // The status of cell (cx, cy); 1 (solid) for a cell the grid does not hold.
    TileStatus cellStatus(u32 cx, u32 cy) const {
        return cx < columns_ && cy < rows_ ? cells_[static_cast<std::size_t>(cx) * rows_ + cy]
                                           : TileStatus{1};
    }
    // Sets the status of cell (cx, cy) with its blocked bits; a cell the grid
    // does not hold is ignored.
    void setCellStatus(u32 cx, u32 cy, TileStatus status);

    // Calls fn(cell origin in map units, status) for every cell, rows in the
    // outer loop, columns in the inner loop. fn may write the status; the
    // blocked bits follow after the last call.
    void forEachCell(const std::function<void(const GeometryLib::Point&, TileStatus&)>& fn);

    // Inside the room, held by a cell and free; false for coordinates no
    // 16-bit point can hold. Never throws.
    bool freeAt(i32 x, i32 y) const {
        if (x < 0 || y < 0 || x > 0x7FFF || y > 0x7FFF) return false;
        const u32 cx = cellOf(static_cast<u32>(x));
        const u32 cy = cellOf(static_cast<u32>(y));
        if (cx >= columns_ || cy >= rows_) return false;
        if (static_cast<u32>(x) >= properties_.width || static_cast<u32>(y) >= properties_.height)
            return false;
        return cells_[static_cast<std::size_t>(cx) * rows_ + cy] == 0;
    }
    // v / cellSize for 0 <= v <= 0xFFFF (v when the cell size is 0), without a
    // division: the searches ask this for every point they scan.
    u32 cellOf(u32 v) const { return static_cast<u32>((static_cast<u64>(v) * reciprocal_) >> 32); }

    // The statuses, column-major: cell (x, y) at [x * getRows() + y].
    const TileStatus* cellData() const { return cells_.data(); }

    // A bit per cell, 1 where the status blocks, for scans a word at a time:
    // blockedRow(y) holds row y in getRowWords() words (bit i of word k is
    // column 64k + i), blockedColumn(x) holds column x in getColumnWords()
    // words (bit i of word k is row 64k + i). Bits past the last column or row
    // are 1. Valid for y < getRows() and x < getColumns().
    u32 getRowWords() const { return rowWords_; }
    u32 getColumnWords() const { return columnWords_; }
    const u64* blockedRow(u32 y) const {
        return blockedRows_.data() + static_cast<std::size_t>(y) * rowWords_;
    }
    const u64* blockedColumn(u32 x) const {
        return blockedColumns_.data() + static_cast<std::size_t>(x) * columnWords_;
    }

private:
    bool inside(i32 x, i32 y) const {
        return x >= 0 && y >= 0 && static_cast<u32>(x) < properties_.width &&
               static_cast<u32>(y) < properties_.height;
    }
    // Builds the blocked bits from the statuses.
    void updateBlockedBits();

    MapProperties properties_;
    u32 columns_ = 0;
    u32 rows_ = 0;
    // Never 0: the cell size, or 1 when the cell size is 0 (there are no cells then).
    u32 divisor_ = 1;
    // floor(2^32 / cellSize) + 1: (v * reciprocal_) >> 32 == v / cellSize for
    // every v below 2^16 (the error stays under 2^-16 <= 1 / cellSize).
    u64 reciprocal_ = (u64{1} << 32) + 1;
    // Column-major: the cell (x, y) is cells_[x * rows_ + y].
    std::vector<TileStatus> cells_;
    u32 rowWords_ = 0;
    u32 columnWords_ = 0;
    std::vector<u64> blockedRows_;
    std::vector<u64> blockedColumns_;
};

}  // namespace Zarn
