#include "support/map/RoomRecords.h"

#include "map/records/BossElement.h"
#include "map/records/GroupedTrapElement.h"

namespace zarn_test {

using GeometryLib::Point;

void addBossFight(MapBuilder& b, Point bossCell, Point cannonCell) {
    auto dropper = trapAt(129, 20, Point(1, 5));
    auto small = trapAt<Zarn::TrapSpawningTrapElement>(130, 21, Point(2, 5));
    small.coveredCells = Zarn::PointSet{Point(2, 5), Point(3, 5), Point(4, 5)};
    small.spawnInterval = 1;
    small.minCount = 1;
    small.maxCount = 2;
    auto large = small;
    large.trapNumber = 22;
    auto arm0 = trapAt<Zarn::DelayedTrapElement>(50, 23, Point(6, 2));
    auto arm1 = trapAt<Zarn::DelayedTrapElement>(51, 24, Point(7, 2));
    auto cannon = trapAt(43, 25, cannonCell);
    cannon.linkNumber = 26;
    Zarn::GroupedTrapElement cannons;
    cannons.elementId = 52;
    cannons.trapNumber = 26;
    cannons.memberNumbers = {25};
    Zarn::BossElement boss;
    boss.elementId = 133;
    boss.trapNumber = 27;
    boss.position = bossCell;
    boss.coveredCells = Zarn::PointSet{bossCell};
    boss.phaseCount = 4;
    boss.startHealth = 3;
    boss.idleTime = 1.0f;
    boss.bombTrapNumber = 20;
    boss.smallSpawnerNumber = 21;
    boss.largeSpawnerNumber = 22;
    boss.cannonGroupNumber = 26;
    boss.arm0Number = 23;
    boss.arm1Number = 24;
    boss.bossCellA = bossCell;
    boss.bossCellB = Point(bossCell.x, static_cast<i16>(bossCell.y + 1));
    b.trap(dropper).trap(small).trap(large).trap(arm0).trap(arm1).trap(cannon).trap(boss).trapGroup(cannons);
}

}  // namespace zarn_test
