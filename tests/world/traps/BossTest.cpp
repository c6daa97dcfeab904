#include <gtest/gtest.h>

#include <set>

#include "TrapTestSupport.h"
#include "foundation/Error.h"
#include "world/traps/Boss.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/SpawningTrap.h"
#include "world/traps/TrapGroup.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

void coverBlock(GridCoverageElement& r, i16 x0, i16 y0, i16 x1, i16 y1) {
    for (i16 x = x0; x <= x1; ++x) {
        for (i16 y = y0; y <= y1; ++y) r.coveredCells.insert(Point(x, y));
    }
}

// The world's action sink as the boss sees it: records every action it is
// handed, as (action ID, number).
class RecordingActionSink : public ActionEventTrigger {
public:
    void onAction(const ActionData& action) override {
        const auto& number = dynamic_cast<const NumberActionData&>(action);
        actions.emplace_back(number.actionId, number.number);
    }
    std::vector<std::pair<u32, u32>> actions;
};

// The boss's arena, cells (0, 0) to (9, 9), with the traps it commands:
//   bomb trap 10 (drops bombs on x 2..4, y 2..3),
//   small trap spawner 11 (bombable and delayed traps on x 2..4, y 2..3),
//   large trap spawner 12 (vortices on x 5..7, y 5..7),
//   cannon group 13 (two interval traps),
//   arms 14 on (8, 2) and 15 on (9, 2), reaching over x 2..4, y 2..3.
// One unit stands on `at`; each tick updates every trap as the world does and
// then runs the contacts of the unit's cell.
class BossTest : public testing::Test {
protected:
    BossTest() {
        bossRecord.elementId = 133;
        bossRecord.trapNumber = 20;
        coverBlock(bossRecord, 0, 0, 9, 9);
        bossRecord.bossCellA = Point(0, 9);
        bossRecord.bossCellB = Point(1, 9);
        bossRecord.phaseCount = 4;
        bossRecord.startHealth = 3;
        bossRecord.idleTime = 1.0f;
        bossRecord.bombTime = 2.0f;
        bossRecord.spawnerTime = 2.5f;
        bossRecord.cannonTime = 1.0f;
        bossRecord.largeSpawnerTime = 1.0f;
        bossRecord.armTime = 6.0f;
        bossRecord.bombTrapNumber = 10;
        bossRecord.smallSpawnerNumber = 11;
        bossRecord.largeSpawnerNumber = 12;
        bossRecord.cannonGroupNumber = 13;
        bossRecord.arm0Number = 14;
        bossRecord.arm1Number = 15;

        bombRecord = test::intervalRecord<IntervalTrapElement>(129, 0.5f, 0.25f, 0.25f, Point(2, 2));
        coverBlock(bombRecord, 2, 2, 4, 3);
        smallRecord.elementId = 130;
        smallRecord.position = Point(2, 2);
        coverBlock(smallRecord, 2, 2, 4, 3);
        smallRecord.startDelay = 0.5f;
        smallRecord.activeTime = 6.0f;
        smallRecord.restTime = 0.5f;
        smallRecord.spawnInterval = 1;
        smallRecord.spawnDelayed = 1;
        smallRecord.minCount = 6;
        smallRecord.maxCount = 6;
        largeRecord.elementId = 130;
        largeRecord.position = Point(5, 5);
        coverBlock(largeRecord, 5, 5, 7, 7);
        largeRecord.startDelay = 0.25f;
        largeRecord.activeTime = 0.5f;
        largeRecord.restTime = 0.25f;
        largeRecord.spawnRadial = 1;
        largeRecord.minCount = 4;
        largeRecord.maxCount = 4;
        for (i16 i = 0; i < 2; ++i)
            cannonRecords.push_back(
                test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 0.5f, Point(i, 8)));
        cannonGroupRecord.elementId = 52;
        cannonGroupRecord.trapNumber = 13;
        for (i16 i = 0; i < 2; ++i) {
            armRecords.push_back(
                test::intervalRecord<DelayedTrapElement>(132, 0.25f, 0.5f, 1.0f, armColumns[i]));
            coverBlock(armRecords.back(), 2, 2, 4, 3);
            coverBlock(armRecords.back(), armColumns[i].x, 2, armColumns[i].x, 4);
            armRecords.back().warnTime = 0.5f;
        }

        boss = std::make_unique<Boss>(bossRecord, nullptr, directory);
        boss->actionSink = &actions;
        bomb = std::make_unique<FollowSpawningTrap>(bombRecord, nullptr, factory);
        small = std::make_unique<TrapSpawningTrap>(smallRecord, nullptr, factory);
        large = std::make_unique<TrapSpawningTrap>(largeRecord, nullptr, factory);
        small->seedSource = test::countingSeeds();
        large->seedSource = test::countingSeeds();
        for (auto& r : cannonRecords) cannons.push_back(std::make_unique<IntervalTrap>(r, nullptr));
        cannonGroup = std::make_unique<TrapGroup>(cannonGroupRecord,
                                                  std::vector<Trap*>{cannons[0].get(), cannons[1].get()});
        arm0 = std::make_unique<FollowHitTrap>(armRecords[0], nullptr);
        arm1 = std::make_unique<FollowHitTrap>(armRecords[1], nullptr);
        directory.traps = {{10, bomb.get()}, {11, small.get()}, {12, large.get()},
                           {14, arm0.get()}, {15, arm1.get()},  {20, boss.get()}};
        directory.groups = {{13, cannonGroup.get()}};
        unit.body().position = FPoint(200, 200);
    }

    // Where the unit goes: it sets off an armed spawner, then stands on a
    // spawned bombable trap (phase 1) or delayed trap (phase 4); else it waits
    // in the arena on (6, 9).
    Point policy() {
        if (small->isEnabled() && small->armed) return Point(3, 3);
        if (boss->phase == 1 && !small->bombableByCell.empty()) return small->bombableByCell.begin()->first;
        if (boss->phase == 4 && !small->delayedByCell.empty()) return small->delayedByCell.begin()->first;
        if (large->isEnabled() && large->armed) return Point(6, 6);
        return Point(6, 9);
    }

    std::vector<Trap*> mapTraps() {
        return {boss.get(), bomb.get(), small.get(), large.get(), arm0.get(), arm1.get()};
    }

    void tick(float dt) {
        for (Trap* t : mapTraps()) t->update(dt);
        cannonGroup->update(dt);
        factory.updateAll(dt);
        unit.body().position = FPoint(at.x * 64.0f + 32.0f, at.y * 64.0f + 32.0f);
        std::vector<Trap*> here;
        for (Trap* t : mapTraps()) here.push_back(t);
        for (auto& c : cannons) here.push_back(c.get());
        for (auto& [number, t] : factory.traps) here.push_back(t.get());
        for (Trap* t : here) {
            if (t->trapRecord->coveredCells.contains(at) && t->touches(at, &unit)) t->effect->apply(&unit);
        }
    }

    // Ticks until the boss's phase or visible state changes, at most `limit`
    // seconds; returns the seconds it took.
    float runUntilChange(float dt, float limit) {
        const u32 phase = boss->phase;
        const u8 state = boss->state.state;
        float t = 0.0f;
        while (t < limit && boss->phase == phase && boss->state.state == state && boss->isEnabled()) {
            tick(dt);
            t += dt;
        }
        return t;
    }

    BossElement bossRecord;
    IntervalTrapElement bombRecord;
    TrapSpawningTrapElement smallRecord;
    TrapSpawningTrapElement largeRecord;
    std::vector<IntervalTrapElement> cannonRecords;
    GroupedTrapElement cannonGroupRecord;
    std::vector<DelayedTrapElement> armRecords;
    test::FakeTrapSpawner factory;
    test::FakeTrapDirectory directory;
    RecordingActionSink actions;
    std::unique_ptr<Boss> boss;
    std::unique_ptr<FollowSpawningTrap> bomb;
    std::unique_ptr<TrapSpawningTrap> small;
    std::unique_ptr<TrapSpawningTrap> large;
    std::vector<std::unique_ptr<IntervalTrap>> cannons;
    std::unique_ptr<TrapGroup> cannonGroup;
    std::unique_ptr<FollowHitTrap> arm0;
    std::unique_ptr<FollowHitTrap> arm1;
    SteerableUnit unit{1};
    Point at{3, 3};
    // Arm 0 stands inside the small spawner's cells, arm 1 outside.
    const Point armColumns[2] = {Point(4, 2), Point(9, 2)};
};

struct Transition {
    int tick;
    u32 phase;
    int state;
    int health;
    bool operator==(const Transition& o) const {
        return tick == o.tick && phase == o.phase && state == o.state && health == o.health;
    }
};

std::ostream& operator<<(std::ostream& os, const Transition& t) {
    return os << "{" << t.tick << ", " << t.phase << ", " << t.state << ", " << t.health << "}";
}

TEST_F(BossTest, RunsItsFourPhasesAndIsBeatenByBombAndArmHits) {
    boss->enable();
    EXPECT_EQ(boss->phase, 1u);
    EXPECT_EQ(bomb->bombTargets, &small->bombableByCell);
    EXPECT_EQ(arm0->trapTargets, &small->delayedByCell);
    EXPECT_EQ(arm1->trapTargets, &small->delayedByCell);
    EXPECT_EQ(boss->armCells, (std::vector<Point>{Point(4, 2), Point(4, 3), Point(4, 4), Point(9, 2),
                                                  Point(9, 3), Point(9, 4)}));

    const float dt = 0.03125f;
    std::vector<Transition> seen;
    Transition last{0, boss->phase, boss->state.state, boss->state.health};
    int tickCount = 0;
    while (boss->isEnabled() && tickCount < 2000) {
        at = policy();
        tick(dt);
        ++tickCount;
        const Transition now{tickCount, boss->phase, boss->state.state, boss->state.health};
        if (now.phase != last.phase || now.state != last.state || now.health != last.health)
            seen.push_back(now);
        last = now;

        if (boss->phase == 2 && boss->state.state == 7) {
            EXPECT_TRUE(cannonGroup->isEnabled()) << tickCount;
        }
        if (boss->phase == 3 && boss->state.state == 8) {
            EXPECT_TRUE(large->isEnabled()) << tickCount;
        }
        if (boss->phase == 4) {
            EXPECT_EQ(small->excludedCells, &boss->armCells) << tickCount;
            for (const auto& [number, entry] : small->spawned) {
                EXPECT_NE(entry.record->position, Point(4, 2)) << tickCount;
                EXPECT_NE(entry.record->position, Point(4, 3)) << tickCount;
            }
        }
    }
    // dt is 1/32 s. The unit is in the arena throughout; the boss starts on its
    // first tick with a unit in range.
    // {tick, phase, visible state, health}
    const std::vector<Transition> expected = {
        // Phase 1: T = 1 s waiting (the first update comes before the first
        // contact), the bomb attack, 1 s after it; then the small spawner runs.
        {2, 1, 1, 3},
        {33, 1, 4, 3},
        {129, 1, 5, 3},
        {161, 1, 1, 3},
        {193, 1, 4, 3},
        // A bomb lands on an active bombable trap; 2 s pause, then the cannons.
        {255, 1, 6, 2},
        {319, 2, 6, 2},
        {320, 2, 1, 2},
        {351, 2, 7, 2},
        // The large spawner.
        {383, 3, 7, 2},
        {384, 3, 1, 2},
        {415, 3, 8, 2},
        // The arms.
        {447, 4, 8, 2},
        {448, 4, 1, 2},
        {479, 4, 9, 2},
        {703, 4, 5, 2},
        {735, 4, 1, 2},
        {767, 4, 9, 2},
        // An arm strikes an active delayed trap; 3 s pause, then bombs again.
        {854, 4, 10, 1},
        {950, 1, 10, 1},
        {951, 1, 1, 1},
        {982, 1, 4, 1},
        {1078, 1, 5, 1},
        {1110, 1, 1, 1},
        {1142, 1, 4, 1},
        // The last bomb hit; 2 s later the boss disables itself.
        {1204, 1, 6, 0},
        {1268, 1, 0, 0},
    };
    EXPECT_EQ(seen, expected);
    EXPECT_FALSE(boss->isEnabled());
    EXPECT_EQ(actions.actions, (std::vector<std::pair<u32, u32>>{{1, 20}}));
    for (InteractiveMapElement* t : std::vector<InteractiveMapElement*>{
             bomb.get(), small.get(), large.get(), arm0.get(), arm1.get(), cannonGroup.get()})
        EXPECT_FALSE(t->isEnabled());
    EXPECT_TRUE(small->bombableByCell.empty());
    EXPECT_TRUE(small->delayedByCell.empty());
    EXPECT_TRUE(bomb->spawned.empty());
}

TEST_F(BossTest, EnableRefusesMissingOrWrongTraps) {
    auto interval = test::intervalRecord<IntervalTrapElement>(43, 0.0f, 0.5f, 0.5f);
    IntervalTrap stranger(interval, nullptr);
    struct Case {
        u8 phaseCount;
        std::function<void(test::FakeTrapDirectory&)> spoil;
        const char* message;
    };
    const std::vector<Case> cases = {
        {0, [](auto&) {}, "boss not valid phase count"},
        {5, [](auto&) {}, "boss not valid phase count"},
        {4, [](auto& d) { d.traps.erase(14); }, "boss not valid arm 0 trap"},
        {4, [&](auto& d) { d.traps[15] = &stranger; }, "boss not valid arm 1 trap"},
        {3, [&](auto& d) { d.traps[12] = &stranger; }, "boss not valid large trap spawner trap"},
        {2, [](auto& d) { d.groups.clear(); }, "boss not valid canon trap group"},
        {2, [&](auto& d) { d.groups[13] = &stranger; }, "boss not valid canon trap group"},
        {1, [](auto& d) { d.traps.erase(11); }, "boss not valid small trap spawner trap"},
        {1, [&](auto& d) { d.traps[11] = bomb.get(); }, "boss not valid small trap spawner trap"},
        {1, [&](auto& d) { d.traps[10] = small.get(); }, "boss not valid bomb trap"},
    };
    for (const Case& c : cases) {
        test::FakeTrapDirectory spoiled = directory;
        c.spoil(spoiled);
        bossRecord.phaseCount = c.phaseCount;
        Boss fresh(bossRecord, nullptr, spoiled);
        try {
            fresh.enable();
            ADD_FAILURE() << "no throw for " << c.message;
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
        EXPECT_FALSE(fresh.isEnabled()) << c.message;
        EXPECT_EQ(fresh.phase, 0u) << c.message;
        EXPECT_EQ(fresh.bomb, nullptr) << c.message;
    }
    // Fewer phases need fewer traps.
    test::FakeTrapDirectory minimal;
    minimal.traps = {{10, bomb.get()}, {11, small.get()}};
    bossRecord.phaseCount = 1;
    Boss one(bossRecord, nullptr, minimal);
    one.enable();
    EXPECT_TRUE(one.isEnabled());
    EXPECT_EQ(one.arm0, nullptr);
    EXPECT_EQ(one.cannonGroup, nullptr);
}

TEST_F(BossTest, BossCellsTouchOutsidePhaseTwoOnly) {
    EXPECT_FALSE(boss->touches(Point(0, 9), &unit)) << "disabled";
    EXPECT_EQ(boss->unitInRange, 1);
    boss->enable();
    EXPECT_TRUE(boss->touches(Point(0, 9), &unit));
    EXPECT_TRUE(boss->touches(Point(1, 9), &unit));
    EXPECT_FALSE(boss->touches(Point(2, 9), &unit));
    boss->phase = 2;
    EXPECT_FALSE(boss->touches(Point(0, 9), &unit));
    for (u32 phase : {1u, 3u, 4u}) {
        boss->phase = phase;
        EXPECT_TRUE(boss->touches(Point(1, 9), &unit)) << phase;
    }
    EXPECT_FALSE(boss->touches(Point(20, 20), &unit));
    EXPECT_EQ(boss->unitInRange, 0);
}

TEST_F(BossTest, WithoutAUnitInRangeTheBossWaits) {
    boss->enable();
    boss->touches(Point(3, 3), &unit);
    boss->update(0.5f);
    ASSERT_EQ(boss->phaseTimer, 0.5f);
    for (int i = 0; i < 4; ++i) boss->update(0.5f);
    EXPECT_EQ(boss->phaseTimer, 0.5f);
    boss->held = 1;
    boss->update(0.25f);
    EXPECT_EQ(boss->phaseTimer, 0.75f);
    boss->held = 0;
    boss->phase = 2;
    boss->phaseTimer = 0.0f;
    boss->update(0.25f);
    EXPECT_EQ(boss->phaseTimer, 0.25f) << "phase 2 runs without a unit in range";
}

TEST_F(BossTest, ABombHitWithTheLastHealthDisablesTheBossAfterTwoSeconds) {
    bossRecord.startHealth = 1;
    Boss fresh(bossRecord, nullptr, directory);
    fresh.actionSink = &actions;
    fresh.enable();
    bomb->enable();
    fresh.onBombHit();
    EXPECT_EQ(fresh.state.state, 6);
    EXPECT_EQ(fresh.state.health, 0);
    EXPECT_FALSE(bomb->isEnabled());
    for (int i = 0; i < 7; ++i) {
        fresh.touches(Point(3, 3), &unit);
        fresh.update(0.25f);
    }
    EXPECT_TRUE(fresh.isEnabled());
    EXPECT_TRUE(actions.actions.empty());
    fresh.touches(Point(3, 3), &unit);
    fresh.update(0.25f);
    EXPECT_FALSE(fresh.isEnabled());
    EXPECT_EQ(actions.actions, (std::vector<std::pair<u32, u32>>{{1, 20}}));
    EXPECT_EQ(fresh.state.health, 0) << "reset does not restore health";
}

TEST_F(BossTest, AnArmHitPausesForThreeSeconds) {
    boss->enable();
    boss->phase = 4;
    boss->onArmHit();
    EXPECT_EQ(boss->state.state, 10);
    EXPECT_EQ(boss->state.health, 2);
    for (int i = 0; i < 11; ++i) {
        boss->touches(Point(3, 3), &unit);
        boss->update(0.25f);
    }
    EXPECT_EQ(boss->phase, 4u) << "still paused after 2.75 s";
    boss->touches(Point(3, 3), &unit);
    boss->update(0.25f);
    EXPECT_EQ(boss->phase, 1u);
    EXPECT_EQ(small->excludedCells, nullptr);
}

TEST_F(BossTest, WithOnePhaseTheBossKeepsBombing) {
    bossRecord.phaseCount = 1;
    Boss fresh(bossRecord, nullptr, directory);
    fresh.enable();
    fresh.onBombHit();
    // The pause ends in the eighth update, whose time then counts for the
    // bomb cycle.
    for (int i = 0; i < 10; ++i) {
        fresh.touches(Point(3, 3), &unit);
        fresh.update(0.25f);
    }
    EXPECT_EQ(fresh.phase, 1u);
    EXPECT_EQ(fresh.hitPause, 0);
    EXPECT_EQ(fresh.state.state, 1) << "the bomb cycle goes on";
    EXPECT_EQ(fresh.phaseTimer, 0.75f);
}

TEST_F(BossTest, EveryDisableHandsTheSinkTheTrapDisabledAction) {
    boss->enable();
    boss->disable();
    EXPECT_EQ(actions.actions, (std::vector<std::pair<u32, u32>>{{1, 20}}));
    // A disable of a boss that is not fighting reports too.
    boss->disable();
    EXPECT_EQ(actions.actions.size(), 2u);
}

TEST_F(BossTest, ResetStopsEveryCommandedTrapButKeepsPhaseAndHealth) {
    boss->enable();
    boss->phase = 3;
    boss->state.health = 1;
    boss->state.state = 8;
    for (InteractiveMapElement* t : std::vector<InteractiveMapElement*>{
             bomb.get(), small.get(), large.get(), arm0.get(), arm1.get(), cannonGroup.get()})
        t->enable();
    boss->reset();
    EXPECT_EQ(boss->state.state, 0);
    EXPECT_EQ(boss->phase, 3u);
    EXPECT_EQ(boss->state.health, 1);
    EXPECT_TRUE(boss->isEnabled());
    for (InteractiveMapElement* t : std::vector<InteractiveMapElement*>{
             bomb.get(), small.get(), large.get(), arm0.get(), arm1.get(), cannonGroup.get()})
        EXPECT_FALSE(t->isEnabled());
}

}  // namespace
}  // namespace Zarn
