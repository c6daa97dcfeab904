#include <gtest/gtest.h>

#include "foundation/Error.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/scores/ScoreKeeperSummary.h"
#include "simulation/scores/TimeAttackScoreKeeper.h"

namespace {

using namespace Zarn;

// A keeper that only owns a kind; the registry's parsing goes by kind.
class KindOnly : public ScoreKeeper {
public:
    explicit KindOnly(u8 kind) : ScoreKeeper(kind) {}
    void update() override { ++updates; }
    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU8(kind()); }
    int updates = 0;
};

class CountingCommand : public Convinience::Command {
public:
    explicit CountingCommand(int* runs) : runs_(runs) {}
    void execute() override { ++*runs_; }

private:
    int* runs_;
};

LevelList oneLevel() {
    LevelEntry e;
    e.deathGoldGoal = 0;
    e.deathSilverGoal = 2;
    e.deathBronzeGoal = 4;
    e.timeGoldGoal = 10000;
    e.timeSilverGoal = 15000;
    e.timeBronzeGoal = 30000;
    e.timeAttackLimit = 30000;
    return {e};
}

}  // namespace

TEST(ScoreKeeperRegistry, KeepsTheFirstKeeperOfAKindAndRunsThemInKindOrder) {
    ScoreKeeperRegistry registry;
    KindOnly money(4), deaths(0), timer(1), secondDeaths(0);
    EXPECT_TRUE(registry.keepers.insert(4, &money));
    EXPECT_TRUE(registry.keepers.insert(0, &deaths));
    EXPECT_FALSE(registry.keepers.insert(0, &secondDeaths));
    EXPECT_TRUE(registry.keepers.insert(1, &timer));
    EXPECT_EQ(registry.keepers.find(0), &deaths);
    registry.updateAll();
    EXPECT_EQ(secondDeaths.updates, 0);
    EXPECT_EQ(deaths.updates + timer.updates + money.updates, 3);
    Convinience::Buffer block;
    registry.serializeAll(block);
    EXPECT_EQ(block.bytes(), (std::vector<u8>{0, 1, 4}));
}

TEST(ScoreKeeperRegistry, ParsesEverySectionOfItsKinds) {
    ScoreKeeperRegistry registry;
    KindOnly k0(0), k1(1), k2(2), k3(3), k4(4);
    for (ScoreKeeper* k : std::initializer_list<ScoreKeeper*>{&k0, &k1, &k2, &k3, &k4})
        registry.keepers.insert(k->kind(), k);

    Convinience::Buffer block;
    block.appendU32(2);  // deaths
    block.appendU32(7);
    block.appendU32(3);
    block.appendU32(9);
    block.appendU32(1);
    block.appendU32(1);  // timer
    block.appendU32(7);
    block.appendU64(0x100000002ull);
    block.appendU64(1234);  // time attack
    block.appendU32(0);     // limited lives: no rows
    block.appendU32(1);     // money
    block.appendU32(9);
    block.appendU32(55);
    block.appendU32(0xDEADBEEF);  // whatever follows the block
    const std::vector<u8> bytes = block.takeBytes();

    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(registry.applyScores(reader), 20u + 16u + 8u + 4u + 12u);
    EXPECT_EQ(reader.remaining(), 4u);
    EXPECT_EQ(registry.scores[7], (LevelScore{.deaths = 3, .lives = 0, .time = 0x100000002ull, .money = 0}));
    EXPECT_EQ(registry.scores[9], (LevelScore{.deaths = 1, .lives = 0, .time = 0, .money = 55}));
    EXPECT_EQ(registry.timeAttackRemaining, 1234u);
}

TEST(ScoreKeeperRegistry, MoneyOnlyRegistryReadsOneSectionAndShortBlocksChangeNothing) {
    ScoreKeeperRegistry registry;
    KindOnly money(4);
    registry.keepers.insert(4, &money);
    Convinience::Buffer block;
    block.appendU32(1);
    block.appendU32(5);
    block.appendU32(20);
    block.appendU32(99);  // not read
    const std::vector<u8> bytes = block.takeBytes();
    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(registry.applyScores(reader), 12u);
    EXPECT_EQ(registry.scores[5].money, 20u);

    // A count that the block cannot hold, and a block cut inside a row.
    for (const std::vector<u8>& bad : {std::vector<u8>{0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0},
                                       std::vector<u8>{2, 0, 0, 0, 5, 0, 0, 0, 30, 0, 0, 0, 6, 0, 0, 0}}) {
        Convinience::ByteReader r(bad);
        EXPECT_THROW(registry.applyScores(r), Convinience::ReadPastEndError);
        EXPECT_EQ(registry.scores[5].money, 20u);
        EXPECT_EQ(registry.scores.all().count(6), 0u);
    }

    KindOnly odd(7);
    registry.keepers.insert(7, &odd);
    Convinience::ByteReader again(bytes);
    try {
        registry.applyScores(again);
        ADD_FAILURE() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no such scorekeeper");
    }
}

TEST(ScoreKeeperSummary, MedalsAreInclusiveAgainstTheLevelGoals) {
    const LevelList levels = oneLevel();
    ScoreKeeperSummary summary{0, {0, 1, 2, 3}};
    struct Case {
        u32 deaths;
        u64 time;
        Medal deathMedal;
        Medal timeMedal;
        const char* deathText;
        const char* timeText;
    };
    const Case cases[] = {
        {0, 10000, Medal::Gold, Medal::Gold, "0", "10.00s"},
        {2, 15000, Medal::Silver, Medal::Silver, "2", "15.00s"},
        {3, 15001, Medal::Bronze, Medal::Bronze, "3", "15.00s"},
        {4, 30000, Medal::Bronze, Medal::Bronze, "4", "30.00s"},
        {5, 30001, Medal::None, Medal::None, "5", "No medal"},
        {0xFFFFFFFF, ~u64{0}, Medal::None, Medal::None, ":(", "No medal"},
    };
    for (const Case& c : cases) {
        const auto rows =
            summary.describeAll({.deaths = c.deaths, .lives = 2, .time = c.time, .money = 9}, levels);
        ASSERT_EQ(rows.size(), 4u);
        EXPECT_EQ(rows[0], (ScoreResult{0, c.deathMedal, c.deathText})) << c.deaths;
        EXPECT_EQ(rows[1], (ScoreResult{1, c.timeMedal, c.timeText})) << c.time;
        EXPECT_EQ(rows[2], (ScoreResult{2, Medal::None, "Time attack completed!"}));
        EXPECT_EQ(rows[3], (ScoreResult{3, Medal::None, "2"}));
    }
    EXPECT_THROW(ScoreKeeperSummary({1, {0}}).describeAll({}, levels), Convinience::Error);
    try {
        ScoreKeeperSummary{0, {4}}.describeAll({}, levels);
        ADD_FAILURE() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no such handler for scorekeeper");
    }
}

TEST(ScoreText, DeathCountsAndTimes) {
    EXPECT_EQ(deathCountToString(0), "0");
    EXPECT_EQ(deathCountToString(1337), "1337");
    EXPECT_EQ(deathCountToString(0xFFFFFFFF), ":(");
    const std::pair<u64, const char*> times[] = {
        {0, ""},           {5, ""},        {10, "0.01s"},       {1050, "1.05s"},
        {59990, "59.99s"}, {60000, "1m "}, {61230, "1m 1.23s"}, {3600000, "60m "},
        {~u64{0}, "None"},
    };
    for (const auto& [ms, text] : times) EXPECT_EQ(timeToString(ms), text) << ms;
}

TEST(TimeAttackScoreKeeper, CountsDownRunsTheCommandPausesAndCarriesTheOvershoot) {
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch watch(clock);
    watch.start();
    int runs = 0;
    TimeAttackScoreKeeper keeper(watch, std::make_unique<CountingCommand>(&runs), 30000, 2000);
    const auto remainingAt = [&](u64 ms) {
        clock.ticks = ms * 10000;
        keeper.update();
        Convinience::Buffer b;
        keeper.serialize(b);
        Convinience::ByteReader r(b.bytes());
        EXPECT_EQ(b.size(), 8u);
        return r.readU64();
    };
    EXPECT_EQ(remainingAt(0), 30000u);
    EXPECT_EQ(remainingAt(29990), 10u);
    EXPECT_EQ(runs, 0);
    EXPECT_EQ(remainingAt(30020), 0u);  // the limit passed: the command runs
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(remainingAt(31000), 0u);
    EXPECT_EQ(remainingAt(32010), 0u);            // 1990 ms into the pause
    EXPECT_EQ(remainingAt(32030), 30000u - 10u);  // the 10 ms past the pause count
    EXPECT_FALSE(keeper.expired());
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(remainingAt(62019), 1u);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(remainingAt(62020), 0u);
    EXPECT_EQ(runs, 2);

    // Without a command the countdown still cycles.
    TimeAttackScoreKeeper silent(watch, nullptr, 100, 50);
    clock.ticks = 0;
    silent.update();
    clock.advanceMs(100);
    silent.update();
    EXPECT_TRUE(silent.expired());
}
