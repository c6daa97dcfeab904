#include <gtest/gtest.h>

#include <random>
#include <set>

#include "TrapTestSupport.h"
#include "foundation/ByteReader.h"
#include "world/traps/SpawningTrap.h"

namespace Zarn {
namespace {

using GeometryLib::Point;

// A 4 x 2 block of cells, (1, 1) to (4, 2).
TrapSpawningTrapElement spawnerRecord(float startDelay, float activeTime, float restTime, u8 interval,
                                      u8 delayed, u8 radial, u32 minCount, u32 maxCount) {
    TrapSpawningTrapElement r;
    r.elementId = 130;
    r.trapNumber = 7;
    r.position = Point(1, 1);
    for (i16 x = 1; x <= 4; ++x) {
        for (i16 y = 1; y <= 2; ++y) r.coveredCells.insert(Point(x, y));
    }
    r.startDelay = startDelay;
    r.activeTime = activeTime;
    r.restTime = restTime;
    r.spawnInterval = interval;
    r.spawnDelayed = delayed;
    r.spawnRadial = radial;
    r.minCount = minCount;
    r.maxCount = maxCount;
    return r;
}

class TrapSpawningTrapTest : public testing::Test {
protected:
    std::unique_ptr<TrapSpawningTrap> makeSpawner(const TrapSpawningTrapElement& record) {
        auto trap = std::make_unique<TrapSpawningTrap>(record, nullptr, factory);
        trap->seedSource = test::countingSeeds();
        trap->enable();
        return trap;
    }
    int shownCount() const {
        int n = 0;
        for (const auto& [number, trap] : factory.traps) n += trap->getState().hidden == 0 ? 1 : 0;
        return n;
    }
    int enabledCount() const {
        int n = 0;
        for (const auto& [number, trap] : factory.traps) n += trap->isEnabled() ? 1 : 0;
        return n;
    }
    test::FakeTrapSpawner factory;
};

TEST_F(TrapSpawningTrapTest, KindWeightsAreNormalisedWhenTheyDoNotFillOne) {
    struct Case {
        u8 interval, delayed, radial;
        std::map<u8, float> weights;
    };
    const std::vector<Case> cases = {
        {1, 1, 1, {{0, 0.5f}, {1, 0.3f}, {2, 0.2f}}},
        {1, 0, 1, {{0, 0.5f / 0.7f}, {2, 0.2f / 0.7f}}},
        {0, 1, 0, {{1, 1.0f}}},
        {0, 0, 0, {}},
    };
    for (const Case& c : cases) {
        auto record = spawnerRecord(1.0f, 1.0f, 1.0f, c.interval, c.delayed, c.radial, 1, 1);
        TrapSpawningTrap trap(record, nullptr, factory);
        trap.computeKindWeights();
        ASSERT_EQ(trap.kindWeights.size(), c.weights.size());
        for (const auto& [kind, weight] : c.weights) EXPECT_FLOAT_EQ(trap.kindWeights.at(kind), weight);
    }
}

TEST_F(TrapSpawningTrapTest, RevealsArmsHidesAndRemovesItsTraps) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 4, 4);
    auto spawner = makeSpawner(record);

    spawner->update(0.25f);
    EXPECT_EQ(factory.spawnCount, 0u) << "nothing happens until a unit sets it off";
    EXPECT_FALSE(spawner->touches(Point(9, 9), nullptr));
    EXPECT_TRUE(spawner->touches(Point(2, 2), nullptr));
    EXPECT_EQ(spawner->armed, 0);

    struct Row {
        float dt;
        int shown, enabled, present;
    };
    // Step interval min(1.0, 0.5) / 4 = 0.125 s.
    const std::vector<Row> rows = {
        {0.25f, 2, 0, 4},  // spawned hidden, two revealed
        {0.25f, 4, 0, 4},  //
        {0.25f, 4, 0, 4},  // all revealed
        {0.25f, 4, 4, 4},  // timer 1.0: armed
        {0.5f, 4, 4, 4},   //
        {0.5f, 4, 4, 4},   // timer 2.0: the hide step counts from the end of the armed phase
        {0.25f, 2, 2, 4},  //
        {0.25f, 0, 0, 4},  //
        {0.75f, 0, 0, 0},  // timer 3.25: removed
    };
    for (std::size_t i = 0; i < rows.size(); ++i) {
        spawner->update(rows[i].dt);
        EXPECT_EQ(shownCount(), rows[i].shown) << "row " << i;
        EXPECT_EQ(enabledCount(), rows[i].enabled) << "row " << i;
        EXPECT_EQ(static_cast<int>(factory.traps.size()), rows[i].present) << "row " << i;
    }
    EXPECT_EQ(spawner->finished, 1);
    EXPECT_EQ(factory.despawned.size(), 4u);
    EXPECT_TRUE(spawner->spawned.empty());
    EXPECT_TRUE(spawner->bombableByCell.empty());

    spawner->touches(Point(2, 2), nullptr);
    spawner->update(0.25f);
    EXPECT_EQ(factory.spawnCount, 4u) << "finished until reset";
    spawner->reset();
    EXPECT_EQ(spawner->armed, 1);
    EXPECT_EQ(spawner->finished, 0);
}

TEST_F(TrapSpawningTrapTest, SpawnedTrapsAreBombableOnDistinctCoveredCellsAndReportedInTheState) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 4, 4);
    auto spawner = makeSpawner(record);
    spawner->touches(Point(1, 1), nullptr);
    spawner->update(0.25f);
    ASSERT_EQ(spawner->spawned.size(), 4u);
    std::set<u32> cells;
    for (const auto& [number, entry] : spawner->spawned) {
        EXPECT_EQ(entry.record->elementId, 134u);
        EXPECT_EQ(entry.record->extra, 20u);
        EXPECT_EQ(entry.record->flag, 1);
        EXPECT_TRUE(record.coveredCells.contains(entry.record->position));
        EXPECT_TRUE(entry.record->coveredCells.contains(entry.record->position));
        EXPECT_EQ(spawner->bombableByCell.at(entry.record->position), entry.trap);
        cells.insert(entry.record->position.key);
    }
    EXPECT_EQ(cells.size(), 4u);

    const auto& state = dynamic_cast<const SpawningIntervalTrapState&>(spawner->getState());
    ASSERT_EQ(state.spawned.size(), 4u);
    int hidden = 0;
    for (const SpawnedIntervalTrapState& s : state.spawned) {
        EXPECT_EQ(s.trapType, 134u);
        EXPECT_EQ(factory.traps.count(s.trapNumber), 1u);
        EXPECT_EQ(s.trapState.value, EIntervalTrapState::idle);
        hidden += s.trapState.hidden;
    }
    EXPECT_EQ(hidden, 2) << "two of four revealed after 0.25 s";
}

TEST_F(TrapSpawningTrapTest, ZeroStepIntervalStepsEveryRemainingTrapAtOnce) {
    // No start delay: the step interval is 0.
    auto record = spawnerRecord(0.0f, 0.5f, 0.5f, 1, 0, 0, 4, 4);
    auto spawner = makeSpawner(record);
    spawner->touches(Point(1, 1), nullptr);
    spawner->update(0.25f);
    EXPECT_EQ(spawner->stepInterval, 0.0f);
    EXPECT_EQ(shownCount(), 4);
    EXPECT_EQ(enabledCount(), 4);
    spawner->update(0.25f);
    spawner->update(0.25f);
    EXPECT_EQ(shownCount(), 0);
    EXPECT_EQ(enabledCount(), 0);
    EXPECT_EQ(spawner->stepped, 4u);
}

TEST_F(TrapSpawningTrapTest, TruncatedKindCountsLeaveFewerTrapsAndTheSweepStopsAtItsEnd) {
    // spawnCount 4: 2 interval traps, trunc(1.2) = 1 delayed trap, trunc(0.8) = 0 vortices.
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 1, 1, 4, 4);
    auto spawner = makeSpawner(record);
    spawner->touches(Point(1, 1), nullptr);
    spawner->update(0.5f);
    EXPECT_EQ(spawner->spawnCount, 4u);
    EXPECT_EQ(spawner->spawned.size(), 3u);
    EXPECT_EQ(spawner->stepped, 4u);
    EXPECT_EQ(shownCount(), 3);
    EXPECT_EQ(spawner->bombableByCell.size(), 2u);
    EXPECT_EQ(spawner->delayedByCell.size(), 1u);
    for (const auto& [cell, delayed] : spawner->delayedByCell) {
        const auto& r = dynamic_cast<const DelayedTrapElement&>(delayed->intervalRecord());
        EXPECT_EQ(r.elementId, 46u);
        EXPECT_EQ(r.activeTime, 1.5f);
        EXPECT_EQ(r.restTime, 0.5f);
        EXPECT_EQ(r.warnTime, 0.5f);
        EXPECT_EQ(r.startDelay, 1.0f);
    }
    spawner->update(2.0f);
    spawner->update(1.0f);
    EXPECT_EQ(spawner->finished, 1);
    EXPECT_TRUE(factory.traps.empty());
}

TEST_F(TrapSpawningTrapTest, ExcludedCellsStayFree) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 8, 8);
    const std::vector<Point> excluded = {Point(1, 1), Point(1, 2), Point(2, 1),
                                         Point(2, 2), Point(3, 1), Point(4, 2)};
    for (int round = 0; round < 5; ++round) {
        auto spawner = makeSpawner(record);
        spawner->excludedCells = &excluded;
        spawner->touches(Point(3, 2), nullptr);
        spawner->update(0.25f);
        EXPECT_EQ(spawner->spawnCount, 2u);
        std::set<u32> cells;
        for (const auto& [number, entry] : spawner->spawned) cells.insert(entry.record->position.key);
        EXPECT_EQ(cells, (std::set<u32>{Point(3, 2).key, Point(4, 1).key}));
        spawner->reset();
    }
}

TEST_F(TrapSpawningTrapTest, MinAboveMaxDrawsFromTheOrderedBounds) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 5, 3);
    std::set<u32> counts;
    for (int round = 0; round < 40; ++round) {
        auto spawner = makeSpawner(record);
        spawner->seedSource = [round] { return static_cast<u32>(round * 7919 + 1); };
        spawner->touches(Point(3, 2), nullptr);
        spawner->update(0.25f);
        EXPECT_GE(spawner->spawnCount, 3u);
        EXPECT_LE(spawner->spawnCount, 5u);
        counts.insert(spawner->spawnCount);
        spawner->reset();
    }
    EXPECT_EQ(counts, (std::set<u32>{3, 4, 5}));
}

TEST_F(TrapSpawningTrapTest, InjectedSeedsMakeTheDrawsRepeatable) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 1, 1, 2, 8);
    auto layout = [&] {
        auto spawner = makeSpawner(record);
        spawner->touches(Point(3, 2), nullptr);
        spawner->update(0.25f);
        std::vector<std::pair<u32, u32>> cells;
        for (const auto& [number, entry] : spawner->spawned)
            cells.emplace_back(entry.record->position.key, entry.record->elementId);
        spawner->reset();
        return cells;
    };
    EXPECT_EQ(layout(), layout());

    TrapSpawningTrap trap(record, nullptr, factory);
    trap.seedSource = [] { return 42u; };
    std::mt19937 engine(42);
    EXPECT_EQ(trap.randomBetween(0, 1000), std::uniform_int_distribution<u32>(0, 1000)(engine));
}

TEST_F(TrapSpawningTrapTest, RemovingTheTrapsEmptiesTheTablesTheBossHandsOn) {
    auto record = spawnerRecord(0.5f, 0.5f, 0.5f, 1, 1, 0, 8, 8);
    auto spawner = makeSpawner(record);
    spawner->touches(Point(3, 2), nullptr);
    spawner->update(0.25f);
    ASSERT_FALSE(spawner->bombableByCell.empty());
    ASSERT_FALSE(spawner->delayedByCell.empty());
    const Point bombed = spawner->bombableByCell.begin()->first;

    spawner->reset();
    EXPECT_TRUE(spawner->bombableByCell.empty());
    EXPECT_TRUE(spawner->delayedByCell.empty());
    EXPECT_TRUE(spawner->sweep.empty());
    EXPECT_TRUE(factory.traps.empty());

    // A bomb that reads the table after the traps went explodes normally.
    auto bombRecord = test::intervalRecord<IntervalTrapElement>(128, 0.5f, 0.5f, 0.5f, bombed);
    Bomb bomb(bombRecord, nullptr);
    bomb.targets = &spawner->bombableByCell;
    bomb.enable();
    bomb.update(0.46875f);
    bomb.update(0.03125f);
    EXPECT_EQ(bomb.state.value, EIntervalTrapState::active);

    spawner->touches(Point(3, 2), nullptr);
    spawner->update(0.25f);
    ASSERT_FALSE(spawner->bombableByCell.empty());
    spawner->update(2.0f);
    EXPECT_EQ(spawner->finished, 1);
    EXPECT_TRUE(spawner->bombableByCell.empty());
    EXPECT_TRUE(spawner->delayedByCell.empty());
}

TEST_F(TrapSpawningTrapTest, DisableHoldsWithoutReset) {
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 4, 4);
    auto spawner = makeSpawner(record);
    spawner->touches(Point(3, 2), nullptr);
    spawner->update(0.25f);
    spawner->disable();
    spawner->update(5.0f);
    EXPECT_EQ(spawner->timer, 0.25f);
    EXPECT_EQ(factory.traps.size(), 4u);
    EXPECT_FALSE(spawner->touches(Point(3, 2), nullptr));
}

class FollowSpawningTrapTest : public testing::Test {
protected:
    FollowSpawningTrapTest() : record(makeRecord()), trap(record, nullptr, factory) {}
    static IntervalTrapElement makeRecord() {
        auto r = test::intervalRecord<IntervalTrapElement>(129, 0.5f, 0.25f, 0.25f, Point(1, 1));
        r.coveredCells.insert(Point(2, 1));
        return r;
    }
    IntervalTrapElement record;
    test::FakeTrapSpawner factory;
    FollowSpawningTrap trap;
};

TEST_F(FollowSpawningTrapTest, DropsABombWhereAUnitSetItOff) {
    EXPECT_FALSE(trap.touches(Point(2, 1), nullptr)) << "disabled";
    trap.enable();
    EXPECT_FALSE(trap.touches(Point(5, 5), nullptr));
    EXPECT_TRUE(trap.touches(Point(2, 1), nullptr));
    EXPECT_EQ(trap.armed, 0);
    EXPECT_TRUE(trap.touches(Point(1, 1), nullptr));
    EXPECT_EQ(trap.target, Point(2, 1)) << "a second contact does not move the target";

    trap.update(0.25f);
    EXPECT_TRUE(factory.traps.empty());
    trap.update(0.25f);
    ASSERT_EQ(factory.traps.size(), 1u);
    auto* bomb = dynamic_cast<Bomb*>(factory.traps.begin()->second.get());
    ASSERT_NE(bomb, nullptr);
    EXPECT_TRUE(bomb->isEnabled());
    const IntervalTrapElement& r = bomb->intervalRecord();
    EXPECT_EQ(r.elementId, 128u);
    EXPECT_EQ(r.position, Point(2, 1));
    EXPECT_TRUE(r.coveredCells.contains(Point(2, 1)));
    EXPECT_EQ(r.startDelay, 0.5f);
    EXPECT_EQ(r.activeTime, 0.25f);
    EXPECT_EQ(r.restTime, 0.25f);
    EXPECT_EQ(trap.armed, 1);
    EXPECT_EQ(trap.timer, 0.0f);

    const auto& state = dynamic_cast<const SpawningIntervalTrapState&>(trap.getState());
    ASSERT_EQ(state.spawned.size(), 1u);
    EXPECT_EQ(state.spawned[0].trapType, 128u);
    EXPECT_EQ(state.spawned[0].position, Point(2, 1));
}

TEST_F(FollowSpawningTrapTest, BombsAreRemovedAfterTheirOwnTimesEvenWhileDisabled) {
    trap.enable();
    trap.touches(Point(1, 1), nullptr);
    trap.update(0.5f);
    ASSERT_EQ(factory.traps.size(), 1u);
    trap.disable();
    trap.update(0.5f);
    EXPECT_EQ(factory.traps.size(), 1u);
    trap.update(0.5f);
    EXPECT_TRUE(factory.traps.empty());
    EXPECT_TRUE(trap.spawned.empty());
}

TEST_F(FollowSpawningTrapTest, BombsGetTheTargetsAndTheInterceptHandler) {
    auto targetRecord = test::intervalRecord<IntervalTrapElement>(134, 0.0f, 2.0f, 0.0f, Point(2, 1));
    BombableIntervalTrap target(targetRecord, nullptr);
    target.enable();
    target.update(0.25f);
    BombableTrapTable table{{Point(2, 1), &target}};
    int hits = 0;
    trap.bombTargets = &table;
    trap.onBombIntercept = [&hits] { ++hits; };
    trap.enable();
    trap.touches(Point(2, 1), nullptr);
    trap.update(0.5f);
    factory.updateAll(0.46875f);
    EXPECT_EQ(hits, 1);
    EXPECT_EQ(target.bombed, 1);
    trap.reset();
    EXPECT_TRUE(factory.traps.empty());
    EXPECT_EQ(trap.armed, 1);
}

TEST(SpawningIntervalTrapStateTest, BytesAreHiddenThenTheList) {
    SpawningIntervalTrapState state;
    state.hidden = 1;
    IntervalTrapIMEState active(EIntervalTrapState::active);
    IntervalTrapIMEState hiddenIdle(EIntervalTrapState::idle);
    hiddenIdle.hidden = 1;
    state.spawned.emplace_back(Point(2, 3), 134, 0x01020304, active);
    state.spawned.emplace_back(Point(-1, 5), 46, 9, hiddenIdle);
    const std::vector<u8> expected = {
        1,                                     // hidden
        2,   0, 0,    0,                       // count
        3,   0, 2,    0,                       // Point (2, 3): key 0x00020003
        134, 0, 0,    0,    4, 3, 2, 1, 0, 1,  // type, number, hidden 0, value 1
        5,   0, 0xFF, 0xFF,                    // Point (-1, 5): key 0xFFFF0005
        46,  0, 0,    0,    9, 0, 0, 0, 1, 3,  //
    };
    EXPECT_EQ(state.toBytes(), expected);
    EXPECT_EQ(state.serializedSize(), expected.size());

    auto back = SpawningIntervalTrapState::fromRaw(expected.data(), expected.size());
    EXPECT_TRUE(*back == state);
    EXPECT_EQ(back->toBytes(), expected);
    EXPECT_EQ(back->spawned[1].position, Point(-1, 5));
    EXPECT_TRUE(*state.clone() == state);

    SpawningIntervalTrapState shown = state;
    shown.hidden = 0;
    EXPECT_TRUE(shown != state);
    SpawningIntervalTrapState otherNumber = state;
    otherNumber.spawned[1].trapNumber = 10;
    EXPECT_TRUE(otherNumber != state);
    EXPECT_TRUE(InteractiveMapElementState(*static_cast<InteractiveMapElementState*>(&state)) != state);

    const std::vector<u8> empty = {0, 0, 0, 0, 0};
    EXPECT_EQ(SpawningIntervalTrapState().toBytes(), empty);
}

TEST(SpawningIntervalTrapStateTest, ShortOrLyingInputIsRefused) {
    SpawningIntervalTrapState state;
    state.spawned.emplace_back(Point(2, 3), 134, 5, IntervalTrapIMEState());
    const std::vector<u8> bytes = state.toBytes();
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        EXPECT_THROW(SpawningIntervalTrapState::fromRaw(bytes.data(), n), Convinience::ReadPastEndError) << n;
    }
    const std::vector<u8> lying = {0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2, 3};
    EXPECT_THROW(SpawningIntervalTrapState::fromRaw(lying.data(), lying.size()),
                 Convinience::ReadPastEndError);
}

TEST(SpawningIntervalTrapStateTest, SpawnerTakesOnlyItsOwnStateClass) {
    test::FakeTrapSpawner factory;
    auto record = spawnerRecord(1.0f, 1.0f, 1.0f, 1, 0, 0, 1, 1);
    TrapSpawningTrap trap(record, nullptr, factory);
    SpawningIntervalTrapState received;
    received.hidden = 1;
    received.spawned.emplace_back(Point(1, 1), 134, 3, IntervalTrapIMEState());
    trap.setState(received);
    EXPECT_EQ(trap.state.hidden, 1);
    EXPECT_EQ(trap.state.spawned.size(), 1u);
    trap.setState(IntervalTrapIMEState());
    EXPECT_EQ(trap.state.hidden, 1);
}

// A copy of the world that only plays received states: the server's spawner
// runs, the client's takes its state after every tick (as bytes) and must
// hold the same traps: same numbers, kinds, cells, hidden flags and values,
// made and removed through its own spawner.
TEST(SpawnedTrapsOnAClientTest, AClientSpawnerMakesAndRemovesWhatTheServersStateLists) {
    auto record = spawnerRecord(0.5f, 0.5f, 0.5f, 1, 1, 1, 8, 8);
    test::FakeTrapSpawner serverFactory;
    test::FakeTrapSpawner clientFactory;
    clientFactory.nextNumber = 500;  // the client's spawner numbers its traps its own way
    TrapSpawningTrap server(record, nullptr, serverFactory);
    TrapSpawningTrap client(record, nullptr, clientFactory);
    server.seedSource = test::countingSeeds();
    server.enable();
    server.touches(Point(3, 2), nullptr);
    std::size_t most = 0;
    for (int tick = 0; tick < 80; ++tick) {
        server.update(0.03f);
        serverFactory.updateAll(0.03f);
        const std::vector<u8> bytes = server.getState().toBytes();
        client.setState(*SpawningIntervalTrapState::fromRaw(bytes.data(), bytes.size()));
        const auto& sent = dynamic_cast<const SpawningIntervalTrapState&>(server.getState()).spawned;
        ASSERT_EQ(dynamic_cast<const SpawningIntervalTrapState&>(client.getState()).spawned, sent) << tick;
        ASSERT_EQ(clientFactory.traps.size(), sent.size()) << tick;
        for (const SpawnedIntervalTrapState& entry : sent) {
            const BaseSpawningTrap::SpawnedTrap& made = client.spawned.at(entry.trapNumber);
            EXPECT_EQ(made.record->elementId, entry.trapType);
            EXPECT_EQ(made.record->position, entry.position);
            EXPECT_TRUE(made.record->coveredCells.contains(entry.position));
            EXPECT_EQ(clientFactory.traps.count(made.record->trapNumber), 1u);
        }
        most = std::max(most, sent.size());
    }
    EXPECT_GE(most, 6u) << "the server's spawner went off";
    EXPECT_TRUE(server.finished);
    EXPECT_TRUE(client.spawned.empty());
    EXPECT_TRUE(clientFactory.traps.empty());
    EXPECT_EQ(clientFactory.despawned.size(), most);
}

TEST(SpawnedTrapsOnAClientTest, ANumberListedWithAnotherKindOrCellIsRemadeAndUnknownKindsAreSkipped) {
    auto record = spawnerRecord(0.5f, 0.5f, 0.5f, 1, 1, 1, 8, 8);
    test::FakeTrapSpawner factory;
    TrapSpawningTrap client(record, nullptr, factory);
    SpawningIntervalTrapState received;
    received.spawned.emplace_back(Point(1, 1), 134, 3, IntervalTrapIMEState());
    received.spawned.emplace_back(Point(2, 1), 77, 4, IntervalTrapIMEState());
    client.setState(received);
    ASSERT_EQ(factory.traps.size(), 1u);
    EXPECT_EQ(client.spawned.count(4), 0u);
    EXPECT_NE(dynamic_cast<BombableIntervalTrap*>(client.spawned.at(3).trap), nullptr);
    const u32 firstNumber = client.spawned.at(3).record->trapNumber;

    received.spawned = {SpawnedIntervalTrapState(Point(1, 1), 46, 3, IntervalTrapIMEState())};
    received.spawned[0].trapState.hidden = 0;
    received.spawned[0].trapState.value = EIntervalTrapState::active;
    client.setState(received);
    ASSERT_EQ(factory.traps.size(), 1u);
    EXPECT_EQ(factory.despawned, std::vector<u32>{firstNumber});
    EXPECT_NE(dynamic_cast<DelayedTrap*>(client.spawned.at(3).trap), nullptr);
    const auto& live = dynamic_cast<const IntervalTrapIMEState&>(client.spawned.at(3).trap->getState());
    EXPECT_EQ(live.hidden, 0);
    EXPECT_EQ(live.value, EIntervalTrapState::active);

    received.spawned[0].position = Point(4, 2);
    client.setState(received);
    EXPECT_EQ(client.spawned.at(3).record->position, Point(4, 2));
    EXPECT_EQ(factory.despawned.size(), 2u);
}

TEST(SpawnedTrapsOnAClientTest, AClientFollowSpawnerHoldsTheServersBombs) {
    auto record = test::intervalRecord<IntervalTrapElement>(129, 0.5f, 0.25f, 0.25f, Point(1, 1));
    test::FakeTrapSpawner serverFactory;
    test::FakeTrapSpawner clientFactory;
    FollowSpawningTrap server(record, nullptr, serverFactory);
    FollowSpawningTrap client(record, nullptr, clientFactory);
    server.enable();
    server.touches(Point(1, 1), nullptr);
    bool sawBomb = false;
    for (int tick = 0; tick < 60; ++tick) {
        server.update(0.05f);
        client.setState(server.getState());
        ASSERT_EQ(clientFactory.traps.size(), server.spawned.size()) << tick;
        for (const auto& [number, made] : client.spawned) {
            sawBomb = true;
            EXPECT_NE(dynamic_cast<Bomb*>(made.trap), nullptr);
            EXPECT_EQ(made.record->position, Point(1, 1));
            EXPECT_EQ(static_cast<const IntervalTrapElement&>(*made.record).startDelay, 0.5f);
        }
    }
    EXPECT_TRUE(sawBomb);
}

}  // namespace
}  // namespace Zarn
