#include "world/steering/KeySteering.h"

#include <algorithm>

#include "grid/BlockableManager.h"
#include "grid/CellGrid.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

using GeometryLib::FPoint;

namespace {

float sign(float v) {
    return v > 0.0f ? 1.0f : -1.0f;
}

}  // namespace

bool KeySteering::keysPoint(const SteerableUnit& unit) {
    return SteerableKinematics::length(unit.keySteeringDirection) > 1.0f;
}

bool KeySteering::maySteer(const SteerableUnit& unit) {
    return unit.state == UnitState::alive && unit.inputEnabled != 0 && unit.motion.steerable != 0;
}

bool KeySteering::isBlocked(const FPoint& point) const {
    return !grid->isFree(point) || blockables->blockerAt(point) != nullptr;
}

FPoint KeySteering::keyVelocity(float dt) const {
    if (!keysPoint(*unit)) return FPoint(0.0f, 0.0f);
    FPoint direction = unit->keySteeringDirection;
    const FPoint position = unit->body().position;
    const float speed = unit->keySteeringSpeed;
    // Only a unit inside a solid cell or outside the room walks freely: one on
    // the edge of a wall or door (edges block) is held like any other.
    if (grid->isFree(position)) {
        // Both the point one step ahead and the look-ahead point must be free.
        const float step = std::max(speed * dt, 0.0f);
        const float ahead = std::max(step, kLookAhead);
        auto clear = [&](const FPoint& unitDirection) {
            return !isBlocked(position + unitDirection * step) &&
                   !isBlocked(position + unitDirection * ahead);
        };
        if (direction.x != 0.0f && !clear(FPoint(sign(direction.x), 0.0f))) direction.x = 0.0f;
        if (direction.y != 0.0f && !clear(FPoint(0.0f, sign(direction.y)))) direction.y = 0.0f;
        // A corner ahead on the diagonal: keep the horizontal part.
        if (direction.x != 0.0f && direction.y != 0.0f && !clear(SteerableKinematics::normalize(direction)))
            direction.y = 0.0f;
    }
    return SteerableKinematics::normalize(direction) * speed;
}

void KeySteering::steer(SteeringForces& out, float dt) {
    out = SteeringForces();
    SteerableKinematics& body = unit->body();
    if (!keysPoint(*unit) || !maySteer(*unit)) {
        body.setSteeringVelocity(FPoint(0.0f, 0.0f));
        finished = true;
        return;
    }
    body.setSteeringVelocity(keyVelocity(dt));
}

std::unique_ptr<Steering> KeySteering::cloneFor(SteerableUnit* other) const {
    return std::make_unique<KeySteering>(other, *grid, *blockables);
}

void KeySteering::takeOver(SteerableUnit& unit, const CellGrid& grid, const BlockableManager& blockables) {
    if (!keysPoint(unit) || !maySteer(unit)) return;
    bool running = false;
    unit.motion.steering.forEach([&](Steering& s) {
        if (auto* keys = dynamic_cast<KeySteering*>(&s); keys != nullptr && !keys->isFinished())
            running = true;
    });
    if (running) return;
    unit.motion.steering.clear();
    unit.motion.addSteering(std::make_unique<KeySteering>(&unit, grid, blockables));
}

}  // namespace Zarn
