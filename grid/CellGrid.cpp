#include "grid/CellGrid.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace Zarn {
namespace {

// One past the largest coordinate a 16-bit point can hold.
constexpr u32 kAddressable = 32768;

u32 keptCells(u32 extent, u32 cellSize) {
    const u32 cells = extent / cellSize;
    const u32 reachable = (kAddressable + cellSize - 1) / cellSize;
    return std::min(cells, reachable);
}

}  // namespace

void CellGrid::resize() {
    const u32 s = properties_.cellSize;
    const u32 columns = s == 0 ? 0 : keptCells(properties_.width, s);
    const u32 rows = s == 0 ? 0 : keptCells(properties_.height, s);
    std::vector<TileStatus> cells(static_cast<std::size_t>(columns) * rows, 0);
    const u32 keepColumns = std::min(columns, columns_);
    const u32 keepRows = std::min(rows, rows_);
    for (u32 x = 0; x < keepColumns; ++x) {
        for (u32 y = 0; y < keepRows; ++y) {
            cells[static_cast<std::size_t>(x) * rows + y] = cells_[static_cast<std::size_t>(x) * rows_ + y];
        }
    }
    cells_ = std::move(cells);
    columns_ = columns;
    rows_ = rows;
    divisor_ = s == 0 ? 1 : s;
    reciprocal_ = ((u64{1} << 32) / divisor_) + 1;
    updateBlockedBits();
}

void CellGrid::updateBlockedBits() {
    rowWords_ = (columns_ + 63) / 64;
    columnWords_ = (rows_ + 63) / 64;
    // Start with every bit set (padding included) and clear the free cells.
    blockedRows_.assign(static_cast<std::size_t>(rows_) * rowWords_, ~u64{0});
    blockedColumns_.assign(static_cast<std::size_t>(columns_) * columnWords_, ~u64{0});
    for (u32 x = 0; x < columns_; ++x) {
        const TileStatus* column = cells_.data() + static_cast<std::size_t>(x) * rows_;
        u64* columnBits = blockedColumns_.data() + static_cast<std::size_t>(x) * columnWords_;
        const u64 rowBit = u64{1} << (x % 64);
        for (u32 y = 0; y < rows_; ++y) {
            if (column[y] != 0) continue;
            columnBits[y / 64] &= ~(u64{1} << (y % 64));
            blockedRows_[static_cast<std::size_t>(y) * rowWords_ + x / 64] &= ~rowBit;
        }
    }
}

void CellGrid::setCellStatus(u32 cx, u32 cy, TileStatus status) {
    if (cx >= columns_ || cy >= rows_) return;
    cells_[static_cast<std::size_t>(cx) * rows_ + cy] = status;
    u64& rowWord = blockedRows_[static_cast<std::size_t>(cy) * rowWords_ + cx / 64];
    u64& columnWord = blockedColumns_[static_cast<std::size_t>(cx) * columnWords_ + cy / 64];
    const u64 rowBit = u64{1} << (cx % 64);
    const u64 columnBit = u64{1} << (cy % 64);
    if (status != 0) {
        rowWord |= rowBit;
        columnWord |= columnBit;
    } else {
        rowWord &= ~rowBit;
        columnWord &= ~columnBit;
    }
}

void CellGrid::checkCoordinates(const GeometryLib::Point& point) const {
    if (!inside(point.x, point.y)) throw InvalidGridCordinates();
}

GeometryLib::Point CellGrid::toCell(const GeometryLib::Point& point) const {
    if (properties_.cellSize == 0) return GeometryLib::Point(0, 0);
    const u32 s = properties_.cellSize;
    const u32 x = static_cast<u32>(static_cast<i32>(point.x)) / s;
    const u32 y = static_cast<u32>(static_cast<i32>(point.y)) / s;
    return GeometryLib::Point(static_cast<i16>(x & 0xFFFF), static_cast<i16>(y & 0xFFFF));
}

TileStatus CellGrid::cellAt(const GeometryLib::Point& point) const {
    checkCoordinates(point);
    const u32 cx = static_cast<u32>(point.x) / divisor_;
    const u32 cy = static_cast<u32>(point.y) / divisor_;
    if (cx >= columns_ || cy >= rows_) throw std::out_of_range("invalid vector<T> subscript");
    return cells_[static_cast<std::size_t>(cx) * rows_ + cy];
}

bool CellGrid::isFree(const GeometryLib::FPoint& point) const {
    // Truncation toward zero, tested before the cut to 16 bits so that far-away
    // or non-finite positions never wrap into the room.
    const float tx = std::trunc(point.x);
    const float ty = std::trunc(point.y);
    if (!(tx >= 0.0f && ty >= 0.0f && tx < static_cast<float>(kAddressable) &&
          ty < static_cast<float>(kAddressable))) {
        return false;
    }
    return freeAt(static_cast<i32>(tx), static_cast<i32>(ty));
}

bool CellGrid::sameCell(const GeometryLib::Point& a, const GeometryLib::Point& b) const {
    return toCell(a) == toCell(b);
}

std::vector<GeometryLib::Point> CellGrid::neighbourOffsets() const {
    const i16 s = static_cast<i16>(properties_.cellSize);
    const i16 m = static_cast<i16>(-s);
    return {GeometryLib::Point(m, 0), GeometryLib::Point(0, s), GeometryLib::Point(s, 0),
            GeometryLib::Point(0, m), GeometryLib::Point(s, s), GeometryLib::Point(m, m),
            GeometryLib::Point(s, m), GeometryLib::Point(m, s)};
}

void CellGrid::forEachCell(const std::function<void(const GeometryLib::Point&, TileStatus&)>& fn) {
    const u32 s = properties_.cellSize;
    for (u32 y = 0; y < rows_; ++y) {
        for (u32 x = 0; x < columns_; ++x) {
            const GeometryLib::Point origin(static_cast<i16>(x * s), static_cast<i16>(y * s));
            fn(origin, cells_[static_cast<std::size_t>(x) * rows_ + y]);
        }
    }
    updateBlockedBits();
}

}  // namespace Zarn
