#pragma once

#include "foundation/Geometry.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
class ZOrderCalculator;
}

// A sampler of a unit's position, velocity, facing and drawing order, read
// each frame by the moving props of the rooms. The unit is watched: once it
// is gone, or when none was given, update changes nothing. The calculator
// belongs to the scene and outlives the sampler. Main thread only.
class SteerableUnitSync {
public:
    SteerableUnitSync(Zarn::SteerableUnit* unit, const Zarn::ZOrderCalculator* zOrder)
        : unit_(unit), zOrder_(zOrder) {}

    // Samples the unit: position, velocity as the second point, rotation
    // -(180 - heading in degrees), and the player drawing order of the
    // position.
    void update();

    const GeometryLib::FPoint& getPosition() const { return position_; }
    const GeometryLib::FPoint& getSecondPoint() const { return secondPoint_; }
    float getRotation() const { return rotation_; }
    int getZOrder() const { return drawingOrder_; }
    bool hasUnit() const { return unit_.get() != nullptr; }

private:
    Zarn::WatchedUnit unit_;
    GeometryLib::FPoint position_;
    GeometryLib::FPoint secondPoint_;
    float rotation_ = 0.0f;
    int drawingOrder_ = 0;
    const Zarn::ZOrderCalculator* zOrder_;
};
