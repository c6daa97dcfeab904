#include "foundation/GridCells.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace GeometryLib {
namespace {

// Clamps a computed coordinate into the 16-bit range that cells live in.
i32 clamp16(i64 v) {
    return static_cast<i32>(std::clamp<i64>(v, INT16_MIN, INT16_MAX));
}

CellSet fill(i32 xmin, i32 xmax, i32 ymin, i32 ymax) {
    CellSet cells;
    for (i32 x = xmin; x <= xmax; ++x) {
        for (i32 y = ymin; y <= ymax; ++y) cells.insert(Point(static_cast<i16>(x), static_cast<i16>(y)));
    }
    return cells;
}

}  // namespace

CellSet cellsCoveredByBox(const Point& position, u32 tileSize, float halfSize) {
    if (tileSize == 0) return {};
    const float t = static_cast<float>(tileSize);
    auto cell = [&](float v) {
        return clamp16(static_cast<i64>(std::trunc(std::clamp(v / t, -1e9f, 1e9f))));
    };
    return fill(cell(position.x - halfSize), cell(position.x + halfSize), cell(position.y - halfSize),
                cell(position.y + halfSize));
}

CellSet cellsCoveredByRect(const Point& origin, u32 width, u32 height, u32 tileSize) {
    if (tileSize == 0) return {};
    // Unsigned division, as the grid is laid out from (0, 0); a negative
    // origin is taken as its 16-bit pattern.
    const u32 ox = static_cast<u16>(origin.x);
    const u32 oy = static_cast<u16>(origin.y);
    const u64 xmax = (static_cast<u64>(ox) + width) / tileSize;
    const u64 ymax = (static_cast<u64>(oy) + height) / tileSize;
    return fill(clamp16(ox / tileSize), clamp16(static_cast<i64>(xmax)), clamp16(oy / tileSize),
                clamp16(static_cast<i64>(ymax)));
}

}  // namespace GeometryLib
