#pragma once

#include <vector>

#include "foundation/Geometry.h"

namespace Zarn {

// An obstacle that steered units walk around: a solid cell or a closed door.
class Blockable {
public:
    virtual ~Blockable() = default;
    // The grid cells (cell coordinates) the blockable overlaps.
    virtual const std::vector<GeometryLib::Point>& coveredCells() const = 0;
    // Whether the point (map units) lies in the blocking area.
    virtual bool contains(const GeometryLib::FPoint& point) const = 0;
    // The outward unit normal of the side through which a unit at `position`,
    // moving by `movement`, runs into the blockable; (0, 0) when there is none.
    // May write scratch state: not to be called from two threads at once.
    virtual GeometryLib::FPoint blockingNormal(const GeometryLib::FPoint& position,
                                               const GeometryLib::FPoint& movement) = 0;
};

// Told by a blockable whose covered cells changed.
class BlockableUpdater {
public:
    virtual ~BlockableUpdater() = default;
    virtual void updateBlockable(Blockable& blockable) = 0;
};

}  // namespace Zarn
