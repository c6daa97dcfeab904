#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

bool SecondarySteerableUnit::contains(const FPoint& point) const {
    return SteerableKinematics::length(point - position()) < radius;
}

bool SecondarySteerableUnit::isNear(const FPoint& point, float margin) const {
    return SteerableKinematics::length(point - position()) < radius + margin;
}

FPoint SecondarySteerableUnit::pushDirection(const FPoint& point) const {
    return SteerableKinematics::normalize(point - position());
}

GeometryLib::CellSet SecondarySteerableUnit::cells() const {
    return GeometryLib::cellsCoveredByBox(GeometryLib::Point(position()), cellSize, radius);
}

}  // namespace Zarn
