#pragma once

#include <memory>

#include "foundation/Geometry.h"

namespace Zarn {

// The forces one step of steering asks for, in map units per second. Each
// behaviour and modifier fills one record; the unit's motion sums them term by
// term and hands the sum to the body (SteerableKinematics::applyForces).
//
// | term            | added to          | limit per force  | limit of result  |
// |-----------------|-------------------|------------------|------------------|
// | steering        | steeringVelocity  | maxSteeringForce | maxSteeringSpeed |
// | braking         | steeringVelocity  | maxBrakingForce  | maxSteeringSpeed |
// | avoidance       | avoidanceVelocity | replaces it      | none             |
// | external        | externalVelocity  | maxExternalForce | maxExternalSpeed |
// | externalBraking | externalVelocity  | maxBrakingForce  | maxExternalSpeed |
struct SteeringForces {
    GeometryLib::FPoint steering;
    GeometryLib::FPoint braking;
    GeometryLib::FPoint avoidance;
    GeometryLib::FPoint external;
    GeometryLib::FPoint externalBraking;

    SteeringForces& operator+=(const SteeringForces& o) {
        steering += o.steering;
        braking += o.braking;
        avoidance += o.avoidance;
        external += o.external;
        externalBraking += o.externalBraking;
        return *this;
    }
};

// The kinematic body of one steerable unit, owned by the unit. Positions are
// map units (y up), velocities map units per second, heading radians
// (0 along +y, pi/2 along +x). After every operation
// velocity == truncate(steeringVelocity + avoidanceVelocity + externalVelocity, maxSpeed).
// The limits are set once and read afresh by every operation.
class SteerableKinematics {
public:
    static std::unique_ptr<SteerableKinematics> create() { return std::make_unique<SteerableKinematics>(); }

    // v shortened to length max: unchanged when it is no longer than max; (0, 0)
    // when both components lie strictly inside (-0.2, 0.2); else v * max / |v|.
    static GeometryLib::FPoint truncate(const GeometryLib::FPoint& v, float max);
    static float length(const GeometryLib::FPoint& v);
    // v / |v|, or v itself when both components are exactly 0.
    static GeometryLib::FPoint normalize(const GeometryLib::FPoint& v);

    // Stores v as the own steered motion, without a limit. A vector longer than
    // 1.0 also turns the heading to atan2(v.x, v.y); this is the only operation
    // that changes the heading.
    void setSteeringVelocity(const GeometryLib::FPoint& v);
    void addSteeringForce(const GeometryLib::FPoint& f);
    void addBrakingForce(const GeometryLib::FPoint& f);
    void addExternalForce(const GeometryLib::FPoint& f);
    void addExternalBrakingForce(const GeometryLib::FPoint& f);
    // steering, braking, external, externalBraking in this order; then the
    // avoidance velocity is replaced by forces.avoidance.
    void applyForces(const SteeringForces& forces);
    // Recomputes velocity from the three terms (after a term was written directly).
    void recomputeVelocity();

    GeometryLib::FPoint position;
    GeometryLib::FPoint velocity;
    GeometryLib::FPoint steeringVelocity;
    GeometryLib::FPoint avoidanceVelocity;
    GeometryLib::FPoint externalVelocity;
    float heading = 3.14159f;
    float maxSpeed = 400.0f;
    float maxSteeringForce = 80.0f;
    float maxExternalForce = 40.0f;
    float maxSteeringSpeed = 200.0f;
    float maxBrakingForce = 100.0f;
    // Kept with the body; no body operation reads it.
    float spareSpeedLimit = 400.0f;
    float maxExternalSpeed = 400.0f;
};

}  // namespace Zarn
