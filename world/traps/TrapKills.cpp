#include "world/traps/TrapKills.h"

#include "grid/CellGrid.h"
#include "world/traps/FollowHitTrap.h"

namespace Zarn {

using GeometryLib::Point;

void SlowStopKillThenWait::stop() {
    SteerableUnit* target = lastUnit();
    if (!target) return;
    target->motion.reset();
    target->statuses.clear();
    target->motion.modifiers.clear();
}

std::unique_ptr<EffectResult> KillIfMoving::apply(SteerableUnit* unit) {
    if (!unit) return makeUnappliedEffectResult(EffectKind::kill, 0);
    if (SteerableKinematics::length(unit->body().steeringVelocity) < kMovingSpeed)
        return makeUnappliedEffectResult(EffectKind::kill, unit->handle());
    return kill.apply(unit);
}

BossArmEffect::BossArmEffect(SpawnPoints& spawnPoints, const DelayedTrapElement& armRecord,
                             const CellGrid& grid)
    : armCells(armColumn(armRecord.position)),
      grid(&grid),
      armRecord(&armRecord),
      onArm(spawnPoints, grid, kOnArmDeathState, kWaitTime, armCells),
      offArm(spawnPoints, grid, kOffArmDeathState, kWaitTime, armRecord.coveredCells) {}

std::unique_ptr<EffectResult> BossArmEffect::apply(SteerableUnit* unit) {
    if (!unit) return offArm.apply(unit);
    const Point cell = grid->toCell(Point(unit->body().position));
    int matches = 0;
    for (const Point& c : armCells) matches += c == cell ? 1 : 0;
    return matches == 1 ? onArm.apply(unit) : offArm.apply(unit);
}

}  // namespace Zarn
