#include "world/elements/ElevatorPad.h"

#include "grid/CellGrid.h"
#include "map/records/ElevatorPadElement.h"
#include "world/steering/Arrival.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

std::unique_ptr<ElevatorPadState> ElevatorPadState::fromRaw(const u8* bytes, std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<ElevatorPadState>(reader);
}

void ElevatorPadState::serialize(Convinience::Buffer& buffer) const {
    InteractiveMapElementState::serialize(buffer);
    buffer.appendU8(value);
    buffer.appendU32(payload);
}

bool ElevatorPadState::operator==(const InteractiveMapElementState& other) const {
    const auto* o = dynamic_cast<const ElevatorPadState*>(&other);
    return o && hidden == o->hidden && value == o->value && payload == o->payload;
}

ElevatorPad::ElevatorPad(const ElevatorPadElement& record, std::unique_ptr<Effect> effect)
    : UpdatableInteractiveMapElement(record, std::move(effect)),
      padRecord(&record),
      enabled(record.startValue) {
    state.value = record.startHidden != 0 ? 1 : 0;
}

bool ElevatorPad::touches(const GeometryLib::Point& cell, SteerableUnit* unit) {
    if (!enabled || triggered) return false;
    if (unit && unit->state == UnitState::carried) return false;
    triggered = 1;
    return cell.x == padRecord->cell.x && cell.y == padRecord->cell.y;
}

void ElevatorPad::reset() {
    timer = 0.0f;
    enabled = padRecord->startValue;
    triggered = 0;
}

void ElevatorPad::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

void ElevatorPad::update(float dt) {
    if (!triggered || !enabled) return;
    if (state.value == 0 && timer < kRaiseTime) state.value = 1;
    timer += dt;
    if (timer > kCycleTime) reset();
    if (timer > kRaiseTime) state.value = 0;
}

GeometryLib::FPoint ElevatorPadEffect::target() const {
    const u32 cellSize = grid->getCellSize();
    const float c = static_cast<float>(cellSize) * 0.5f;
    const GeometryLib::Point& cell = record->cell;
    return GeometryLib::FPoint(static_cast<float>(static_cast<i32>(cell.x) * static_cast<i32>(cellSize)) + c,
                               static_cast<float>(static_cast<i32>(cell.y) * static_cast<i32>(cellSize)) + c);
}

std::unique_ptr<EffectResult> ElevatorPadEffect::apply(SteerableUnit* unit) {
    const u32 clientId = units->getClientID(unit);
    if (padState) padState->payload = clientId;
    if (unit->state == UnitState::carried)
        return makeUnappliedNumberEffectResult(EffectKind::elevatorPad, unit->handle(), record->number);
    SteerableKinematics& body = unit->body();
    body.velocity = GeometryLib::FPoint();
    body.steeringVelocity = GeometryLib::FPoint();
    body.externalVelocity = GeometryLib::FPoint();
    unit->motion.reset();
    if (unit->state == UnitState::alive) unit->state = UnitState::carried;
    unit->motion.addSteering(std::make_unique<Arrival>(unit, target(), kSlowRadius));
    return makeNumberEffectResult(EffectKind::elevatorPad, unit->handle(), record->number);
}

}  // namespace Zarn
