#pragma once

#include "foundation/GridCells.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

// A moving prop (drone, cart) that belongs to no player: a round body of
// `radius` map units around its unit's position. The simulator moves the
// embedded unit like a player's. Owned by the world's element builder output;
// lives as long as the world.
class SecondarySteerableUnit {
public:
    // handle: at least kFirstSecondaryUnitHandle, unique in the world.
    explicit SecondarySteerableUnit(u32 handle) : unit(handle) {}
    virtual ~SecondarySteerableUnit() = default;
    SecondarySteerableUnit(const SecondarySteerableUnit&) = delete;
    SecondarySteerableUnit& operator=(const SecondarySteerableUnit&) = delete;

    // |point - position| < radius.
    virtual bool contains(const GeometryLib::FPoint& point) const;
    // |point - position| < radius + margin.
    virtual bool isNear(const GeometryLib::FPoint& point, float margin) const;
    // normalize(point - position); (0, 0) at the centre.
    virtual GeometryLib::FPoint pushDirection(const GeometryLib::FPoint& point) const;
    virtual GeometryLib::FPoint velocity() const { return unit.body().velocity; }
    // The grid cells under the box of half-size radius around the position.
    virtual GeometryLib::CellSet cells() const;

    const GeometryLib::FPoint& position() const { return unit.body().position; }
    u32 handle() const { return unit.handle(); }

    SteerableUnit unit;
    // Map units per cell side; the builder sets the grid's.
    u32 cellSize = 1;
    float radius = 0.0f;
};

}  // namespace Zarn
