#include "world/steering/SteerableKinematics.h"

#include <cmath>

namespace Zarn {

using GeometryLib::FPoint;

float SteerableKinematics::length(const FPoint& v) {
    return std::sqrt(v.x * v.x + v.y * v.y);
}

FPoint SteerableKinematics::truncate(const FPoint& v, float max) {
    const float len = length(v);
    if (max >= len) return v;
    if (v.x > -0.2f && v.x < 0.2f && v.y > -0.2f && v.y < 0.2f) return FPoint(0.0f, 0.0f);
    return (v * max) / len;
}

FPoint SteerableKinematics::normalize(const FPoint& v) {
    if (v.x == 0.0f && v.y == 0.0f) return v;
    return v / length(v);
}

void SteerableKinematics::recomputeVelocity() {
    velocity = truncate((steeringVelocity + avoidanceVelocity) + externalVelocity, maxSpeed);
}

void SteerableKinematics::setSteeringVelocity(const FPoint& v) {
    steeringVelocity = v;
    if (length(v) > 1.0f) heading = std::atan2(v.x, v.y);
    recomputeVelocity();
}

void SteerableKinematics::addSteeringForce(const FPoint& f) {
    steeringVelocity = truncate(steeringVelocity + truncate(f, maxSteeringForce), maxSteeringSpeed);
    recomputeVelocity();
}

void SteerableKinematics::addBrakingForce(const FPoint& f) {
    steeringVelocity = truncate(steeringVelocity + truncate(f, maxBrakingForce), maxSteeringSpeed);
    recomputeVelocity();
}

void SteerableKinematics::addExternalForce(const FPoint& f) {
    externalVelocity = truncate(externalVelocity + truncate(f, maxExternalForce), maxExternalSpeed);
    recomputeVelocity();
}

void SteerableKinematics::addExternalBrakingForce(const FPoint& f) {
    externalVelocity = truncate(externalVelocity + truncate(f, maxBrakingForce), maxExternalSpeed);
    recomputeVelocity();
}

void SteerableKinematics::applyForces(const SteeringForces& forces) {
    addSteeringForce(forces.steering);
    addBrakingForce(forces.braking);
    addExternalForce(forces.external);
    addExternalBrakingForce(forces.externalBraking);
    avoidanceVelocity = forces.avoidance;
    recomputeVelocity();
}

}  // namespace Zarn
