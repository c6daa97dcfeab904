#include "world/traps/TrapEffects.h"

#include "foundation/Error.h"
#include "grid/CellGrid.h"
#include "world/effects/SteeringSpeedModifier.h"

namespace Zarn {

using GeometryLib::FPoint;
using GeometryLib::Point;

std::unique_ptr<EffectResult> TimedSlow::apply(SteerableUnit* unit) {
    if (!unit) return makeUnappliedEffectResult(EffectKind::slow, 0);
    auto modifier = std::make_unique<TimedSteeringSpeedModifier>(unit, duration, factor, effectId);
    modifier->kind = ModifierKind::timedSteeringSpeed;
    unit->motion.modifiers.add(std::move(modifier));
    return makeEffectResult(EffectKind::slow, unit->handle());
}

std::unique_ptr<EffectResult> Slow::apply(SteerableUnit* unit) {
    if (!unit) return makeUnappliedEffectResult(EffectKind::slow, 0);
    auto modifier = std::make_unique<SteeringSpeedModifier>(unit, factor);
    modifier->kind = ModifierKind::steeringSpeed;
    unit->motion.modifiers.add(std::move(modifier));
    return makeEffectResult(EffectKind::slow, unit->handle());
}

void ExternalSteering::steer(SteeringForces& out, float) {
    out = SteeringForces{};
    out.external = force - unit->body().externalVelocity;
}

std::unique_ptr<Steering> ExternalSteering::cloneFor(SteerableUnit* other) const {
    return std::make_unique<ExternalSteering>(other, force);
}

namespace {

FPoint cellCentre(const Point& cell, const CellGrid& grid) {
    const float cs = static_cast<float>(static_cast<i32>(grid.getCellSize()));
    return FPoint(cell.x * cs + cs * 0.5f, cell.y * cs + cs * 0.5f);
}

}  // namespace

VortexEffect::VortexEffect(const RadialTrapElement& record, const CellGrid& grid, SpawnPoints& spawnPoints)
    : record(&record),
      grid(&grid),
      centre(cellCentre(record.position, grid)),
      kill(spawnPoints, grid, kDeathState, kWaitTime, record.coveredCells) {}

std::unique_ptr<EffectResult> VortexEffect::apply(SteerableUnit* target) {
    unit = WatchedUnit(target);
    if (!target) return makeUnappliedEffectResult(EffectKind::vortex, 0);
    if (target->state == UnitState::carried)
        return makeUnappliedEffectResult(EffectKind::vortex, target->handle());
    const float radius = record->radius;
    // A vortex without extent pulls nothing (and would divide by zero below).
    if (!(radius > 0.0f)) return makeUnappliedEffectResult(EffectKind::vortex, target->handle());

    offset = target->body().position - centre;
    distance = SteerableKinematics::length(offset);
    if (distance > radius) return makeUnappliedEffectResult(EffectKind::vortex, target->handle());

    const float speed =
        (1.0f - distance / radius) * (record->innerPull - record->outerPull) + record->outerPull;
    const FPoint direction = SteerableKinematics::normalize(offset);
    target->motion.addImpulse(std::make_unique<ExternalSteering>(target, direction * -speed));

    const float halfCell = static_cast<float>(grid->getCellSize()) * 0.5f;
    if (distance < halfCell) return kill.apply(target);
    return makeEffectResult(EffectKind::vortex, target->handle());
}

std::unique_ptr<EffectResult> RatTrapEffect::apply(SteerableUnit* target) {
    if (!trapState) throw Convinience::Error("rat trap effect has no trap state!");
    const u32 handle = target ? target->handle() : 0;
    const u8 value = static_cast<u8>(trapState->value);
    if (value == 0) return makeUnappliedEffectResult(EffectKind::ratTrap, handle);
    unit = WatchedUnit(target);
    if (!target) return makeUnappliedEffectResult(EffectKind::ratTrap, 0);

    const Point cell = grid->toCell(Point(target->body().position));
    if ((cell == leftCell && value == 4) || (cell == rightCell && value == 3)) {
        TimedSlow(slowDuration, slowFactor, kCaughtEffectId).apply(target);
        target->statuses.insert(kCaughtEffectId);
    }
    return makeEffectResult(EffectKind::ratTrap, handle);
}

}  // namespace Zarn
