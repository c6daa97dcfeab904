#include "world/effects/Kill.h"

#include "world/effects/WaitThenResetModifier.h"
#include "world/elements/SpawnPoints.h"
#include "grid/CellGrid.h"

namespace Zarn {

using GeometryLib::FPoint;

std::unique_ptr<EffectResult> Kill::apply(SteerableUnit* target) {
    unit = WatchedUnit(target);
    if (!target) return makeUnappliedEffectResult(EffectKind::kill, 0);
    return kill(*target);
}

std::unique_ptr<EffectResult> Kill::kill(SteerableUnit& target) {
    if (target.state == UnitState::alive) target.state = deathState;
    stop();
    const GeometryLib::Point cell = spawnPoints->spawnPointFor(target.handle());
    const i64 cs = grid->getCellSize();
    const i64 half = cs / 2;
    respawnPoint = FPoint(static_cast<float>(cell.x * cs + half), static_cast<float>(cell.y * cs + half));
    target.motion.modifiers.add(std::make_unique<WaitThenResetModifier>(&target, waitTime, respawnPoint));
    spawnPoints->markUnreached(target.handle());
    return makeEffectResult(EffectKind::kill, target.handle());
}

void Kill::stop() {
    SteerableUnit* target = unit.get();
    if (!target) return;
    target->motion.modifiers.clear();
    target->motion.reset();
    SteerableKinematics& body = target->body();
    body.velocity = FPoint(0.0f, 0.0f);
    body.steeringVelocity = FPoint(0.0f, 0.0f);
    body.externalVelocity = FPoint(0.0f, 0.0f);
}

KillThenWait::KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                           const std::vector<GeometryLib::Point>& cells)
    : Kill(spawnPoints, grid, deathState, waitTime), cells_(&ownCells_) {
    for (const GeometryLib::Point& c : cells) ownCells_.insert(c);
}

KillThenWait::KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                           const GeometryLib::Point& cell)
    : Kill(spawnPoints, grid, deathState, waitTime), cells_(&ownCells_) {
    ownCells_.insert(cell);
}

KillThenWait::KillThenWait(SpawnPoints& spawnPoints, const CellGrid& grid, u32 deathState, float waitTime,
                           const PointSet& observedCells)
    : Kill(spawnPoints, grid, deathState, waitTime), cells_(&observedCells) {}

bool KillThenWait::standsOnDeadlyCell(const SteerableUnit& target) const {
    if (target.state != UnitState::alive) return false;
    return cells_->contains(grid->toCell(GeometryLib::Point(target.body().position)));
}

std::unique_ptr<EffectResult> KillThenWait::apply(SteerableUnit* target) {
    unit = WatchedUnit(target);
    if (!target) return makeUnappliedEffectResult(EffectKind::kill, 0);
    if (!standsOnDeadlyCell(*target)) return makeUnappliedEffectResult(EffectKind::kill, target->handle());
    return kill(*target);
}

}  // namespace Zarn
