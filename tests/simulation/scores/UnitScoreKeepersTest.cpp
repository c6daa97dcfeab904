#include <gtest/gtest.h>

#include <thread>

#include "foundation/Error.h"
#include "simulation/scores/DeathScoreKeeper.h"
#include "simulation/scores/LimitedLivesSK.h"
#include "simulation/scores/MoneyScoreKeeper.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/scores/TimerScoreKeeper.h"
#include "world/units/MoneyTally.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;

class CountingCommand : public Convinience::Command {
public:
    explicit CountingCommand(std::function<void()> onRun) : onRun_(std::move(onRun)) {}
    void execute() override { onRun_(); }

private:
    std::function<void()> onRun_;
};

std::vector<u8> sectionOf(const ScoreKeeper& keeper) {
    Convinience::Buffer b;
    keeper.serialize(b);
    return b.takeBytes();
}

class UnitKeepers : public ::testing::Test {
protected:
    UnitKeepers() {
        units.addClient(1);
        units.addClient(2);
    }
    SteerableUnit& unit(u32 id) { return units.getUnit(id); }

    SteerableUnitManager units;
};

}  // namespace

TEST_F(UnitKeepers, DeathsCountEntriesIntoADeathState) {
    struct Case {
        const char* name;
        std::vector<u32> states;  // the unit's state at each tick
        u32 deaths;
    };
    const Case cases[] = {
        {"dead for several ticks is one death", {0, 5, 5, 5, 5}, 1},
        {"from one death state straight to another", {0, 3, 22, 22}, 1},
        {"state 22 counts", {0, 22}, 1},
        {"die, revive, die", {0, 4, 0, 8, 0}, 2},
        {"every death state", {3, 0, 4, 0, 5, 0, 6, 0, 7, 0, 8, 0, 22}, 7},
        {"end states and others are no deaths", {0, 12, 17, 18, 2, 9, 21}, 0},
    };
    for (const Case& c : cases) {
        DeathScoreKeeper keeper(units);
        keeper.addClient(1);
        for (const u32 s : c.states) {
            unit(1).state = s;
            keeper.update();
        }
        EXPECT_EQ(keeper.deathsOf(1), c.deaths) << c.name;
        unit(1).state = 0;
    }
}

TEST_F(UnitKeepers, DeathRowsFollowClientsAndOutliveRemovedUnits) {
    DeathScoreKeeper keeper(units);
    EXPECT_THROW(keeper.addClient(9), Convinience::ClientIDNotFoundException);
    keeper.addClient(2);
    keeper.addClient(1);
    unit(2).state = 6;
    keeper.update();
    keeper.addClient(2);  // a second add keeps the row
    EXPECT_EQ(keeper.deathsOf(2), 1u);
    EXPECT_EQ(sectionOf(keeper),
              (std::vector<u8>{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0}));

    units.removeClient(2);  // the unit goes first; the row stays and stops changing
    keeper.update();
    EXPECT_EQ(keeper.deathsOf(2), 1u);
    keeper.removeClient(2);
    EXPECT_EQ(sectionOf(keeper), (std::vector<u8>{1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(UnitKeepers, TimerRunsFromTheFirstUpdateUntilTheEndState) {
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch watch(clock);
    watch.start();
    clock.advanceMs(500);
    TimerScoreKeeper keeper(watch);
    keeper.addRow(1, unit(1));
    keeper.addRow(2, unit(2));
    keeper.update();  // both rows start at 500
    clock.advanceMs(1000);
    unit(1).state = 17;
    keeper.update();
    clock.advanceMs(30);
    unit(1).state = 12;  // a later end state changes nothing
    keeper.update();
    clock.advanceMs(2000);
    keeper.update();
    EXPECT_TRUE(keeper.isFinished(1));
    EXPECT_EQ(keeper.timeOf(1), 1000u);
    EXPECT_FALSE(keeper.isFinished(2));
    EXPECT_EQ(keeper.timeOf(2), 3030u);
    clock.advanceMs(70);  // the running time is read at every serialisation
    Convinience::Buffer expected;
    expected.appendU32(2);
    expected.appendU32(1);
    expected.appendU64(1000);
    expected.appendU32(2);
    expected.appendU64(3100);
    EXPECT_EQ(sectionOf(keeper), expected.bytes());

    // A unit that is in an end state at the first update finishes there.
    TimerScoreKeeper late(watch);
    unit(2).state = 18;
    late.addRow(2, unit(2));
    late.update();
    EXPECT_TRUE(late.isFinished(2));
}

TEST_F(UnitKeepers, LivesAreLostOnlyToLifeCostingDeaths) {
    struct Case {
        const char* name;
        u32 lives;
        bool gameOverSet;
        std::vector<u32> states;
        u32 livesLeft;
        int gameOvers;
        int livesLost;
    };
    const Case cases[] = {
        {"a death costs one life", 3, true, {0, 4, 4, 0}, 2, 0, 1},
        {"state 22 costs none", 3, true, {0, 22, 0, 22}, 3, 0, 0},
        {"22 then 5 costs one", 3, true, {0, 22, 5}, 2, 0, 1},
        {"the last life runs game over only", 1, true, {0, 3}, 0, 1, 0},
        {"without game over the last life runs life lost", 1, false, {0, 3}, 0, 0, 1},
        {"with no lives deaths change nothing", 0, true, {0, 3, 0, 3}, 0, 0, 0},
        {"two lives, three deaths", 2, true, {0, 3, 0, 3, 0, 3}, 0, 1, 1},
    };
    for (const Case& c : cases) {
        LimitedLivesSK keeper;
        int gameOvers = 0;
        int livesLost = 0;
        std::vector<u32> seenLives;
        keeper.addRow(1, unit(1), c.lives);
        if (c.gameOverSet) keeper.setGameOverCommand(std::make_unique<CountingCommand>([&] { ++gameOvers; }));
        keeper.setLifeLostCommand(std::make_unique<CountingCommand>([&] {
            ++livesLost;
            seenLives.push_back(keeper.reportedLives(1));
        }));
        for (const u32 s : c.states) {
            unit(1).state = s;
            keeper.update();
        }
        EXPECT_EQ(gameOvers + livesLost, 0) << c.name << ": commands wait for the main thread";
        keeper.runReportedCommands();
        EXPECT_EQ(keeper.livesOf(1), c.livesLeft) << c.name;
        EXPECT_EQ(keeper.reportedLives(1), c.livesLeft) << c.name;
        EXPECT_EQ(gameOvers, c.gameOvers) << c.name;
        EXPECT_EQ(livesLost, c.livesLost) << c.name;
        if (!seenLives.empty()) {
            EXPECT_EQ(seenLives.front(), c.lives - 1) << c.name;
        }
        unit(1).state = 0;
    }
}

TEST_F(UnitKeepers, LostLivesCrossFromTheSimulationThreadToTheMainThread) {
    LimitedLivesSK keeper;
    keeper.addRow(1, unit(1), 50);
    int livesLost = 0;
    keeper.setLifeLostCommand(std::make_unique<CountingCommand>([&] { ++livesLost; }));
    std::thread simulation([&] {
        for (int i = 0; i < 100; ++i) {
            unit(1).state = (i % 2) ? 4 : 0;
            keeper.update();
        }
    });
    for (int i = 0; i < 50; ++i) keeper.runReportedCommands();
    simulation.join();
    keeper.runReportedCommands();
    EXPECT_EQ(livesLost, 50);
    EXPECT_EQ(keeper.reportedLives(1), 0u);
}

TEST_F(UnitKeepers, MoneyRowsFollowClientsAndTakeCoinsFromTheTally) {
    MoneyTally tally;
    MoneyScoreKeeper keeper(units, tally);
    EXPECT_THROW(keeper.addClient(9), Convinience::ClientIDNotFoundException);
    keeper.addClient(2);
    keeper.addClient(1);
    EXPECT_TRUE(keeper.tally().add(2, 5));
    EXPECT_FALSE(keeper.tally().add(9, 5));  // no row: ignored
    keeper.addClient(2);                     // a second add keeps the money
    keeper.update();
    EXPECT_EQ(sectionOf(keeper),
              (std::vector<u8>{2, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 5, 0, 0, 0}));
    keeper.removeClient(2);
    EXPECT_FALSE(tally.hasRow(2));
}

TEST_F(UnitKeepers, ServerBlockParsesIntoTheClientsLevelScores) {
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch watch(clock);
    watch.start();
    MoneyTally tally;
    DeathScoreKeeper deaths(units);
    TimerScoreKeeper timer(watch);
    LimitedLivesSK lives;
    MoneyScoreKeeper money(units, tally);
    deaths.addClient(1);
    deaths.addClient(2);
    timer.addRow(1, unit(1));
    lives.addRow(1, unit(1), 3);
    money.addClient(1);
    money.addClient(2);

    ScoreKeeperRegistry server;
    for (ScoreKeeper* k : std::initializer_list<ScoreKeeper*>{&money, &lives, &timer, &deaths}) {
        server.keepers.insert(k->kind(), k);
    }
    ScoreKeeperRegistry client;  // the same kinds, keepers that only mark them
    for (u8 kind : {0, 1, 3, 4}) client.keepers.insert(kind, server.keepers.find(kind));

    server.updateAll();
    clock.advanceMs(900);
    unit(1).state = 5;
    tally.add(2, 40);
    server.updateAll();
    Convinience::Buffer block;
    server.serializeAll(block);
    const std::vector<u8> bytes = block.takeBytes();
    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(client.applyScores(reader), bytes.size());
    EXPECT_EQ(client.scores[1], (LevelScore{.deaths = 1, .lives = 2, .time = 900, .money = 0}));
    EXPECT_EQ(client.scores[2], (LevelScore{.deaths = 0, .lives = 0, .time = 0, .money = 40}));
}
