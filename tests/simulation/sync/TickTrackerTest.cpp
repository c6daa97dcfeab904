#include <gtest/gtest.h>

#include <set>

#include "simulation/sync/MultiClientTickTracker.h"

namespace {

using namespace Zarn;

TEST(MultiClientTickTracker, LaggardAllowanceFollowsTheClientCount) {
    const std::vector<std::pair<u32, u32>> table = {{0, 1}, {1, 1},  {5, 1},  {6, 2},
                                                    {9, 2}, {10, 3}, {13, 3}, {14, 4}};
    for (const auto& [clients, allowance] : table) {
        MultiClientTickTracker tracker;
        for (u32 id = 0; id < clients; ++id) tracker.addClient(id);
        EXPECT_EQ(tracker.laggardAllowance(), allowance) << clients;
    }
    MultiClientTickTracker tracker;
    for (u32 id = 0; id < 6; ++id) tracker.addClient(id);
    tracker.removeClient(0);
    EXPECT_EQ(tracker.laggardAllowance(), 1u);
}

TEST(MultiClientTickTracker, WithoutStopwatchEveryStepIsAdmitted) {
    MultiClientTickTracker tracker;
    tracker.addClient(1);
    tracker.addClient(2);
    EXPECT_TRUE(tracker.mayStep());
}

class CountingKicker : public LagKicker {
public:
    void kick(const std::vector<u32>& ids) override { kicked.insert(ids.begin(), ids.end()); }
    std::set<u32> kicked;
};

// A server whose idle pass looks every 30 ms; the talking clients confirm
// each tick 10 ms after it starts, the silent ones never after their first.
struct LockStep {
    LockStep(u32 clients, std::set<u32> silent) : silent(std::move(silent)) {
        stopwatch.start();
        for (u32 id = 0; id < clients; ++id) tracker.addClient(id);
        clock.advanceMs(10);
        for (u32 id = 0; id < clients; ++id) tracker.confirm(id);  // everyone confirms once
        talking = clients;
    }

    // One idle pass; answers whether a step ran.
    bool look() {
        clock.advanceMs(30);
        if (!checkLaggards(tracker, kicker, logger)) return false;
        ++steps;
        tracker.onStep(steps);
        clock.advanceMs(10);
        for (u32 id = 0; id < talking; ++id) {
            if (!silent.count(id)) tracker.confirm(id);
        }
        return true;
    }

    Convinience::ManualTickClock clock;
    Convinience::Stopwatch stopwatch{clock};
    MultiClientTickTracker tracker{&stopwatch};
    std::set<u32> silent;
    u32 talking = 0;
    u32 steps = 0;
    LagKicker* kicker = nullptr;
    Convinience::Logger logger;
};

TEST(MultiClientTickTracker, LockStepScenarios) {
    struct Case {
        const char* name;
        u32 clients;
        std::set<u32> silent;
        bool withKicker;
        u32 looks;
        u32 minSteps, maxSteps;
        bool laggardsCollected;
    };
    const std::vector<Case> cases = {
        // Everyone talks: a step on every look.
        {"all talking", 3, {}, false, 100, 100, 100, false},
        // One silent client is within the allowance of 1: a step every 300 ms.
        {"one silent", 1, {0}, false, 100, 8, 11, false},
        // Two silent of five exceed the allowance: no overdue step is admitted;
        // past 30 strikes they are reported and still nothing steps.
        {"two silent of five", 5, {1, 3}, false, 100, 1, 1, true},
        // Two silent of six are within the allowance of 2.
        {"two silent of six", 6, {1, 3}, false, 100, 8, 11, false},
        // With a kicker the laggards are handed over and the game goes on.
        {"two silent of five, kicker", 5, {1, 3}, true, 100, 40, 100, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LockStep server(c.clients, c.silent);
        CountingKicker kicker;
        if (c.withKicker) server.kicker = &kicker;
        bool collected = false;
        for (u32 i = 0; i < c.looks; ++i) {
            server.look();
            collected = collected || !server.tracker.collectLaggards().empty();
        }
        EXPECT_GE(server.steps, c.minSteps);
        EXPECT_LE(server.steps, c.maxSteps);
        EXPECT_EQ(collected, c.laggardsCollected);
        if (c.withKicker) {
            EXPECT_EQ(kicker.kicked, c.silent);
        }
    }
}

TEST(MultiClientTickTracker, StrikesRiseOnOverdueLooksAndFallOnFullSteps) {
    LockStep server(2, {1});
    // The first look after the join tick: client 1 has confirmed since it
    // joined, so the tick waits for it.
    EXPECT_TRUE(server.look());  // both confirmed at the join
    for (int i = 0; i < 9; ++i) EXPECT_FALSE(server.look());
    EXPECT_EQ(server.tracker.clients().at(1).strikes, 0u);
    EXPECT_TRUE(server.look());  // 300 ms overdue: admitted (1 unconfirmed)
    EXPECT_EQ(server.tracker.clients().at(1).strikes, 1u);
    EXPECT_EQ(server.tracker.clients().at(0).strikes, 0u);

    // Client 1 talks again: full steps take its strikes away one by one.
    server.silent.clear();
    server.tracker.confirm(1);
    EXPECT_TRUE(server.look());
    EXPECT_EQ(server.tracker.clients().at(1).strikes, 0u);
}

TEST(MultiClientTickTracker, ANewClientDoesNotHoldUpStepsUntilItConfirms) {
    LockStep server(1, {});
    EXPECT_TRUE(server.look());
    server.tracker.addClient(5);  // joins, has not confirmed yet
    EXPECT_TRUE(server.look());
    EXPECT_TRUE(server.look());
    server.tracker.confirm(5);  // its first confirmation, then silence
    EXPECT_TRUE(server.look());
    EXPECT_FALSE(server.look());
}

// Whether a client is waited for depends on whether it has confirmed since it
// joined, not on the clock: a confirmation in the very millisecond of the
// join counts, and a client added again is a newcomer again.
TEST(MultiClientTickTracker, ConfirmedSinceJoinDoesNotDependOnTheClock) {
    struct Case {
        const char* name;
        bool confirmAtJoinMs;
        bool readdAfterConfirm;
        bool waitedFor;
    };
    const Case cases[] = {
        {"never confirmed", false, false, false},
        {"confirmed in the join millisecond", true, false, true},
        {"confirmed, then added again", true, true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Convinience::ManualTickClock clock;
        Convinience::Stopwatch stopwatch{clock};
        stopwatch.start();
        MultiClientTickTracker tracker{&stopwatch};
        clock.advanceMs(5);
        tracker.addClient(1);
        if (c.confirmAtJoinMs) tracker.confirm(1);
        if (c.readdAfterConfirm) tracker.addClient(1);
        tracker.onStep(1);  // the flag is cleared; client 1 stays silent
        clock.advanceMs(30);
        EXPECT_EQ(tracker.mayStep(), !c.waitedFor);
        clock.advanceMs(300);
        EXPECT_TRUE(tracker.mayStep()) << "one silent client is within the allowance once overdue";
    }
}

}  // namespace
