#pragma once

#include <functional>
#include <vector>

#include "world/steering/Steering.h"

namespace Zarn {

// Walks a list of waypoints: seeks each in turn, moving on within
// waypointRadius, and arrives on the last one (finished within
// kArrivalDistance, after calling the arrival callback). Gives up when pushed
// (the stuck rule). An empty list finishes at the first step, calling the
// callback. The unit's motion owns the behaviour; the unit outlives it.
class PathedSteering : public ExternalTimedSteering {
public:
    PathedSteering(SteerableUnit* unit, std::vector<GeometryLib::FPoint> waypoints, float waypointRadius)
        : unit(unit), waypoints(std::move(waypoints)), waypointRadius(waypointRadius) {}

    void steer(SteeringForces& out, float dt) override;
    // A fresh walk over the same waypoints: index 0, no callback.
    std::unique_ptr<Steering> cloneFor(SteerableUnit* other) const override;

    SteerableUnit* unit;
    std::vector<GeometryLib::FPoint> waypoints;
    u32 index = 0;
    float waypointRadius;
    // Called once when the unit reaches the last waypoint, before it is stopped.
    std::function<void()> onArrival;

private:
    void arrive(SteerableKinematics& body);
};

}  // namespace Zarn
