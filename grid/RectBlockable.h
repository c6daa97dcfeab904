#pragma once

#include <array>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/Blockable.h"

namespace Zarn {

class BlockableManager;
class CellGrid;

// An axis-aligned rectangle that blocks: a solid cell, or the body of a door.
// The rectangle's origin is its lower-left corner (map units, y up).
class RectBlockable : public Blockable {
public:
    // The grid and the manager belong to the loaded map and outlive the
    // blockable. The manager may be null (blockingNormal then finds no
    // neighbouring blocker).
    RectBlockable(const CellGrid& grid, BlockableManager* manager, const GeometryLib::FRect& rect);

    // Every cell from the origin's cell to the cell of origin + (width, height),
    // both included: a far edge on a cell border reaches into the next cell.
    // Ordered by x, then y.
    const std::vector<GeometryLib::Point>& coveredCells() const override { return cells_; }
    // Edges included; width and height count as truncated to whole units.
    bool contains(const GeometryLib::FPoint& point) const override;
    // The side nearest to where the movement heads, unless another blockable
    // sits right outside it, in which case the second nearest side is tried.
    GeometryLib::FPoint blockingNormal(const GeometryLib::FPoint& position,
                                       const GeometryLib::FPoint& movement) override;

    const GeometryLib::FRect& getRect() const { return rect_; }

    // Side indexes of the edges.
    static constexpr u32 kBottom = 0;
    static constexpr u32 kLeft = 1;
    static constexpr u32 kTop = 2;
    static constexpr u32 kRight = 3;

private:
    struct Segment {
        GeometryLib::FPoint a;
        GeometryLib::FPoint b;
    };
    struct Hit {
        float distance;
        u32 side;
        GeometryLib::FPoint at;
    };

    // Owned by the loaded map; outlives this blockable.
    const CellGrid* grid_;
    // Owned by the loaded map; outlives this blockable. May be null.
    BlockableManager* manager_;
    GeometryLib::FRect rect_;
    std::array<Segment, 4> edges_;
    // Scratch state of the last blockingNormal query.
    GeometryLib::FPoint from_;
    GeometryLib::FPoint to_;
    std::vector<Hit> hits_;
    std::vector<GeometryLib::Point> cells_;
};

}  // namespace Zarn
