#include <gtest/gtest.h>

#include <functional>
#include <typeinfo>

#include "BuildTestSupport.h"
#include "foundation/Error.h"
#include "map/records/BossElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "support/map/SampleRecords.h"
#include "world/traps/Boss.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/RatTrap.h"
#include "world/traps/ScheduledTrap.h"
#include "world/traps/SpawningTrap.h"
#include "world/traps/TrapEffects.h"
#include "world/traps/TrapKills.h"

namespace Zarn {
namespace {

using GeometryLib::Point;
using zarn_test::TestWorld;

// A 20 x 20 room of 32-unit cells.
struct TrapFactoryTest : testing::Test {
    TrapFactoryTest() {
        w.map.grid.setProperties(MapProperties{640, 640, 32});
        w.map.grid.resize();
    }
    TestWorld w;
};

template <class R>
std::unique_ptr<R> recordOf(u32 id) {
    auto r = std::make_unique<R>();
    r->elementId = id;
    r->position = Point(4, 10);
    r->coveredCells = PointSet{Point(4, 10)};
    return r;
}

u32 deathStateOf(const Trap& trap) {
    const auto* kill = dynamic_cast<const Kill*>(trap.effect.get());
    return kill ? kill->deathState : 0;
}

TEST_F(TrapFactoryTest, EachIdBuildsItsTrapWithItsEffect) {
    struct Case {
        u32 id;
        std::function<std::unique_ptr<TrapElement>()> record;
        const std::type_info& trap;
        const std::type_info& effect;
        u32 deathState;
    };
    auto interval = [](u32 id) {
        return [id] { return std::unique_ptr<TrapElement>(recordOf<IntervalTrapElement>(id)); };
    };
    auto delayed = [](u32 id) {
        return [id] { return std::unique_ptr<TrapElement>(recordOf<DelayedTrapElement>(id)); };
    };
    const std::vector<Case> cases = {
        {43, interval(43), typeid(IntervalTrap), typeid(SlowStopKillThenWait), 5},
        {356, interval(356), typeid(IntervalTrap), typeid(SlowStopKillThenWait), 5},
        {127, interval(127), typeid(IntervalTrap), typeid(SlowStopKillThenWait), 3},
        {44, interval(44), typeid(IntervalTrap), typeid(TimedSlow), 0},
        {45, interval(45), typeid(IntervalTrap), typeid(Slow), 0},
        {46, delayed(46), typeid(DelayedTrap), typeid(SlowStopKillThenWait), 3},
        {49, [] { return std::unique_ptr<TrapElement>(recordOf<RatTrapElement>(49)); }, typeid(RatTrap),
         typeid(RatTrapEffect), 0},
        {50, delayed(50), typeid(FollowHitTrap), typeid(BossArmEffect), 0},
        {136, delayed(136), typeid(FollowHitTrap), typeid(BossArmEffect), 0},
        {55, [] { return std::unique_ptr<TrapElement>(recordOf<RadialTrapElement>(55)); },
         typeid(IntervalTrap), typeid(VortexEffect), 0},
        {56, interval(56), typeid(IntervalTrap), typeid(KillIfMoving), 0},
        {122, [] { return std::unique_ptr<TrapElement>(recordOf<ScheduledTrapElement>(122)); },
         typeid(ScheduledTrap), typeid(SlowStopKillThenWait), 3},
        {125, [] { return std::unique_ptr<TrapElement>(recordOf<ScheduledTrapElement>(125)); },
         typeid(ScheduledTrap), typeid(SlowStopKillThenWait), 5},
        {128, delayed(128), typeid(Bomb), typeid(SlowStopKillThenWait), 22},
        {129, interval(129), typeid(FollowSpawningTrap), typeid(NullEffect), 0},
        {130, [] { return std::unique_ptr<TrapElement>(recordOf<TrapSpawningTrapElement>(130)); },
         typeid(TrapSpawningTrap), typeid(NullEffect), 0},
        {131, [] { return std::unique_ptr<TrapElement>(recordOf<LineIntervalTrapElement>(131)); },
         typeid(IntervalTrap), typeid(SlowStopKillThenWait), 22},
        {133, [] { return std::unique_ptr<TrapElement>(recordOf<BossElement>(133)); }, typeid(Boss),
         typeid(SlowStopKillThenWait), 22},
        {134, interval(134), typeid(BombableIntervalTrap), typeid(SlowStopKillThenWait), 5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        auto record = c.record();
        std::unique_ptr<Trap> trap = w.trapFactory.makeTrap(*record);
        ASSERT_TRUE(trap);
        EXPECT_EQ(typeid(*trap), c.trap);
        EXPECT_EQ(typeid(*trap->effect), c.effect);
        EXPECT_FALSE(trap->isEnabled()) << "the factory never enables";
        EXPECT_EQ(trap->trapRecord, record.get());
        if (c.deathState != 0) {
            EXPECT_EQ(deathStateOf(*trap), c.deathState);
        }
    }
    auto slowRecord = recordOf<IntervalTrapElement>(44);
    auto slow = w.trapFactory.makeTrap(*slowRecord);
    const auto& timed = dynamic_cast<const TimedSlow&>(*slow->effect);
    EXPECT_EQ(timed.duration, 1.0f);
    EXPECT_EQ(timed.factor, 0.2f);
    auto movingRecord = recordOf<IntervalTrapElement>(56);
    auto moving = w.trapFactory.makeTrap(*movingRecord);
    EXPECT_EQ(dynamic_cast<const KillIfMoving&>(*moving->effect).kill.deathState, 8u);
}

TEST_F(TrapFactoryTest, RatTrapEffectSeesItsTrapsStateAndTheBossGetsTheActionFactory) {
    auto ratRecord = recordOf<RatTrapElement>(47);
    auto rat = w.trapFactory.makeTrap(*ratRecord);
    const auto& effect = dynamic_cast<const RatTrapEffect&>(*rat->effect);
    EXPECT_EQ(effect.trapState, &dynamic_cast<RatTrap&>(*rat).state);

    auto bossRecord = recordOf<BossElement>(133);
    auto boss = w.trapFactory.makeTrap(*bossRecord);
    EXPECT_EQ(dynamic_cast<Boss&>(*boss).actionSink, &w.triggers.bindableTrigger());
    EXPECT_EQ(dynamic_cast<Boss&>(*boss).directory, &w.store);
}

TEST_F(TrapFactoryTest, UnknownIdsAndWrongRecordClassesThrowTheirTexts) {
    struct Case {
        std::function<std::unique_ptr<TrapElement>()> record;
        const char* message;
    };
    auto plain = [](u32 id) { return [id] { return recordOf<TrapElement>(id); }; };
    auto interval = [](u32 id) {
        return [id] { return std::unique_ptr<TrapElement>(recordOf<IntervalTrapElement>(id)); };
    };
    const std::vector<Case> cases = {
        {interval(52), "Not yet Implemented"},
        {interval(135), "Not yet Implemented"},
        {interval(42), "Not yet Implemented"},
        {interval(357), "Not yet Implemented"},
        {interval(53), "Not yet Implemented"},
        {plain(43), "Wrong trap item!"},
        {interval(46), "Wrong trap item!"},
        {interval(48), "Wrong trap item!"},
        {interval(50), "not delayed interval trap element"},
        {interval(55), "Not vortex trap element"},
        {interval(121), "not scheduled trap element"},
        {plain(129), "not following (interval) spawn element"},
        {interval(130), "not following (interval) spawn element"},
        {interval(131), "not line element"},
        {interval(133), "not boss element"},
    };
    for (const Case& c : cases) {
        auto record = c.record();
        SCOPED_TRACE(record->elementId);
        try {
            w.trapFactory.makeTrap(*record);
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
    EXPECT_TRUE(w.trapFactory.delayedTrapCells().empty());
}

TEST_F(TrapFactoryTest, VortexAndLineCoverageIsReplacedInPlaceWithinTheRoom) {
    auto line = recordOf<LineIntervalTrapElement>(131);
    line->length = 3;
    w.trapFactory.makeTrap(*line);
    EXPECT_EQ(line->coveredCells,
              (PointSet{Point(4, 10), Point(4, 9), Point(4, 8), Point(4, 7), Point(4, 6)}));

    auto vortex = recordOf<RadialTrapElement>(55);
    vortex->position = Point(5, 5);
    vortex->radius = 48.0f;  // one cell each way with 32-unit cells
    w.trapFactory.makeTrap(*vortex);
    EXPECT_EQ(vortex->coveredCells.size(), 9u);
    EXPECT_TRUE(vortex->coveredCells.contains(Point(4, 4)));
    EXPECT_TRUE(vortex->coveredCells.contains(Point(6, 6)));

    // A radius or length far past the room only covers the room's cells.
    vortex->radius = 1e30f;
    w.trapFactory.makeTrap(*vortex);
    EXPECT_EQ(vortex->coveredCells.size(), 400u);
    line->length = 0xFFFFFFFFu;
    w.trapFactory.makeTrap(*line);
    EXPECT_EQ(line->coveredCells.size(), 11u) << "rows 0 to 10 of column 4";
}

TEST_F(TrapFactoryTest, ALoadedTrapIsListedHiddenWhenFlaggedAndFiledOnItsCells) {
    auto record = recordOf<IntervalTrapElement>(43);
    record->flag = 1;
    record->coveredCells = PointSet{Point(1, 1), Point(2, 1)};
    Trap& trap = w.trapFactory.loadTrap(*record);
    ASSERT_EQ(w.traps.size(), 1u);
    EXPECT_EQ(w.traps[0].get(), &trap);
    EXPECT_EQ(trap.getState().hidden, 1);
    EXPECT_EQ(zarn_test::filingsOf(w.triggers, &trap, {Point(1, 1), Point(2, 1)}), 2u);

    auto shown = recordOf<IntervalTrapElement>(43);
    EXPECT_EQ(w.trapFactory.loadTrap(*shown).getState().hidden, 0);
}

TEST_F(TrapFactoryTest, SpawnedTrapsGetConsecutiveStoreNumbersAndReuseFreedOnes) {
    auto first = recordOf<IntervalTrapElement>(134);
    auto second = recordOf<IntervalTrapElement>(134);
    auto third = recordOf<IntervalTrapElement>(134);
    first->trapNumber = 77;
    second->trapNumber = 77;
    Trap* a = w.trapFactory.spawnTrap(*first);
    Trap* b = w.trapFactory.spawnTrap(*second);
    EXPECT_EQ(first->trapNumber, 0u) << "the store holds nothing yet";
    EXPECT_EQ(second->trapNumber, 1u);
    EXPECT_EQ(w.store.findSpawnedTrap(0), a);
    EXPECT_EQ(w.store.findSpawnedTrap(1), b);
    EXPECT_EQ(zarn_test::filingsOf(w.triggers, a, {Point(4, 10)}), 1u);

    w.trapFactory.despawnTrap(0);
    EXPECT_EQ(zarn_test::filingsOf(w.triggers, b, {Point(4, 10)}), 1u);
    EXPECT_EQ(w.triggers.positionElementTrigger().cells().size(), 1u)
        << "the despawned trap left the trigger";
    w.trapFactory.spawnTrap(*third);
    EXPECT_EQ(third->trapNumber, 0u) << "the freed number is handed out again";
}

// Without store numbering, a spawned record whose number a spawned trap holds
// already used to replace (destroy) that trap while the trigger still pointed
// at it; it is renumbered instead.
TEST_F(TrapFactoryTest, WithoutStoreNumberingATakenNumberIsRenumberedNotOverwritten) {
    w.store.numbersSpawnedTraps = 0;
    auto first = recordOf<IntervalTrapElement>(134);
    auto second = recordOf<IntervalTrapElement>(134);
    auto third = recordOf<IntervalTrapElement>(134);
    first->trapNumber = 5;
    second->trapNumber = 5;
    third->trapNumber = 9;
    Trap* a = w.trapFactory.spawnTrap(*first);
    Trap* b = w.trapFactory.spawnTrap(*second);
    w.trapFactory.spawnTrap(*third);
    EXPECT_EQ(first->trapNumber, 5u);
    EXPECT_NE(second->trapNumber, 5u);
    EXPECT_EQ(third->trapNumber, 9u) << "a free number is kept";
    EXPECT_EQ(w.store.findSpawnedTrap(5), a);
    EXPECT_EQ(w.store.findSpawnedTrap(second->trapNumber), b);
    EXPECT_EQ(w.store.spawnedTrapCount(), 3u);
    // Every trap on the trigger is alive: touching the cell reaches only owned traps.
    for (const InteractiveMapElement* e : *w.triggers.positionElementTrigger().cells().find(Point(4, 10))) {
        const auto* t = dynamic_cast<const Trap*>(e);
        ASSERT_NE(t, nullptr);
        EXPECT_EQ(w.store.findSpawnedTrap(t->trapRecord->trapNumber), t);
    }
}

TEST_F(TrapFactoryTest, DespawnDropsADelayedTrapFromItsCellsAndIgnoresUnknownNumbers) {
    auto delayed = recordOf<DelayedTrapElement>(46);
    Trap* trap = w.trapFactory.spawnTrap(*delayed);
    ASSERT_EQ(w.trapFactory.delayedTrapCells().count(Point(4, 10)), 1u);
    EXPECT_EQ(w.trapFactory.delayedTrapCells().find(Point(4, 10))->second, trap);

    w.trapFactory.despawnTrap(123);  // logged, nothing changes
    EXPECT_EQ(w.store.spawnedTrapCount(), 1u);
    EXPECT_EQ(w.trapFactory.delayedTrapCells().size(), 1u);

    w.trapFactory.despawnTrap(delayed->trapNumber);
    EXPECT_EQ(w.store.spawnedTrapCount(), 0u);
    EXPECT_TRUE(w.trapFactory.delayedTrapCells().empty());
    EXPECT_TRUE(w.triggers.positionElementTrigger().isEmpty());
}

// The spawning traps of a map drive the factory through the spawner interface:
// a bomb dropper's bomb is made, filed, ticked by the store and removed again.
TEST_F(TrapFactoryTest, AFollowSpawnerMakesAndRemovesItsBombThroughTheStore) {
    auto record = recordOf<IntervalTrapElement>(129);
    record->startDelay = 0.3f;
    record->activeTime = 0.3f;
    record->restTime = 0.3f;
    Trap& dropper = w.trapFactory.loadTrap(*record);
    w.store.addTrap(dropper);
    dropper.enable();
    w.addPlayer(1, {4 * 32 + 16, 10 * 32 + 16});
    w.triggers.arm();
    w.step();
    EXPECT_EQ(w.store.spawnedTrapCount(), 0u);
    w.run(0.36f);
    ASSERT_EQ(w.store.spawnedTrapCount(), 1u) << "a bomb after the start delay";
    w.units.getUnit(1).body().position = {1 * 32 + 16, 1 * 32 + 16};
    w.run(1.2f);
    EXPECT_EQ(w.store.spawnedTrapCount(), 0u) << "removed once its times passed";
    EXPECT_EQ(zarn_test::filingsOf(w.triggers, &dropper, {Point(4, 10)}), 1u);
    EXPECT_EQ(w.triggers.positionElementTrigger().cells().size(), 1u);
}

}  // namespace
}  // namespace Zarn
