#include "world/elements/SteerableIME.h"

#include <cmath>

#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {

namespace {

bool nearlyEqual(const GeometryLib::FPoint& a, const GeometryLib::FPoint& b) {
    return std::fabs(a.x - b.x) < SecondarySteerableUnitState::kPointTolerance &&
           std::fabs(a.y - b.y) < SecondarySteerableUnitState::kPointTolerance;
}

}  // namespace

SecondarySteerableUnitState::SecondarySteerableUnitState(Convinience::ByteReader& reader)
    : InteractiveMapElementState(reader),
      value(reader.readU8()),
      number(reader.readU32()),
      position(reader),
      velocity(reader),
      steeringVelocity(reader) {}

std::unique_ptr<SecondarySteerableUnitState> SecondarySteerableUnitState::fromRaw(const u8* bytes,
                                                                                  std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<SecondarySteerableUnitState>(reader);
}

void SecondarySteerableUnitState::serialize(Convinience::Buffer& buffer) const {
    InteractiveMapElementState::serialize(buffer);
    buffer.appendU8(value);
    buffer.appendU32(number);
    position.serialize(buffer);
    velocity.serialize(buffer);
    steeringVelocity.serialize(buffer);
}

bool SecondarySteerableUnitState::operator==(const InteractiveMapElementState& other) const {
    const auto* o = dynamic_cast<const SecondarySteerableUnitState*>(&other);
    return o && hidden == o->hidden && value == o->value && number == o->number &&
           nearlyEqual(position, o->position) && nearlyEqual(velocity, o->velocity) &&
           nearlyEqual(steeringVelocity, o->steeringVelocity);
}

SteerableIME::SteerableIME(const MapElement& record, SecondarySteerableUnit& steerable)
    : SteerableIME(record, steerable, makeNullEffect()) {}

SteerableIME::SteerableIME(const MapElement& record, SecondarySteerableUnit& steerable,
                           std::unique_ptr<Effect> effect)
    : UpdatableInteractiveMapElement(record, std::move(effect)),
      steerableRecord(&record),
      steerable(&steerable) {}

bool SteerableIME::touches(const GeometryLib::Point&, SteerableUnit* unit) {
    if (!enabled) return false;
    if (reactsOnEnterOnly() && touchCount >= 1) return false;
    if (!unit) return false;
    if (!steerable->isNear(unit->body().position, kContactMargin)) return false;
    if (isDeathState(unit->state)) return false;
    if (!contacts.isReady(unit)) return false;
    contacts.touch(unit);
    ++touchCount;
    return true;
}

void SteerableIME::reset() {
    contacts.clear();
    touchCount = 0;
}

void SteerableIME::setState(const InteractiveMapElementState& s) {
    if (!copyState(state, s)) return;
    SteerableKinematics& body = steerable->unit.body();
    body.position = state.position;
    body.velocity = SteerableKinematics::truncate(state.velocity, body.maxSpeed);
    body.setSteeringVelocity(state.steeringVelocity);
}

void SteerableIME::update(float dt) {
    const SteerableKinematics& body = steerable->unit.body();
    state.position = body.position;
    state.velocity = body.velocity;
    state.steeringVelocity = body.steeringVelocity;
    contacts.advance(dt);
}

}  // namespace Zarn
