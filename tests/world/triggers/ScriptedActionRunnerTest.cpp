#include <gtest/gtest.h>

#include "world/steering/SteerableSimulator.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/ScriptedActionRunner.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

constexpr float kTick = 0.03f;

// Records what the runner does to it and finishes when told.
class ProbeAction : public ScriptedAction {
public:
    explicit ProbeAction(std::vector<std::string>& log, std::string name)
        : log_(log), name_(std::move(name)) {}
    void execute() override {
        log_.push_back("start " + name_);
        status_ = ScriptedActionStatus::running;
    }
    void update(float) override {
        log_.push_back("update " + name_);
        if (finishNow) status_ = ScriptedActionStatus::finished;
    }
    void reset() override {
        log_.push_back("reset " + name_);
        ScriptedAction::reset();
    }
    bool finishNow = true;

private:
    std::vector<std::string>& log_;
    std::string name_;
};

struct RunnerFixture : testing::Test {
    std::vector<std::string> log;
    ScriptedActionRunner runner;
    std::vector<ProbeAction*> probes;

    void script(int count, bool loop) {
        std::vector<std::unique_ptr<ScriptedAction>> list;
        for (int i = 0; i < count; ++i) {
            auto probe = std::make_unique<ProbeAction>(log, std::string(1, static_cast<char>('a' + i)));
            probes.push_back(probe.get());
            list.push_back(std::move(probe));
        }
        runner.setActions(std::move(list));
        runner.setLoop(loop);
    }
    void steps(int n) {
        for (int i = 0; i < n; ++i) runner.update(kTick);
    }
};

TEST_F(RunnerFixture, EachUpdateDoesOneThing) {
    script(2, false);
    EXPECT_TRUE(runner.isRunning());
    steps(6);
    // start, update (finishes), move on; the next starts on the following update.
    EXPECT_EQ(log, (std::vector<std::string>{"start a", "update a", "start b", "update b"}));
    EXPECT_FALSE(runner.isRunning());
    steps(5);
    EXPECT_EQ(log.size(), 4u);
}

TEST_F(RunnerFixture, LoopResetsEveryActionAndStartsAgain) {
    script(2, true);
    steps(6);
    EXPECT_EQ(log,
              (std::vector<std::string>{"start a", "update a", "start b", "update b", "reset a", "reset b"}));
    EXPECT_TRUE(runner.isRunning());
    EXPECT_EQ(runner.currentIndex(), 0u);
    steps(1);
    EXPECT_EQ(log.back(), "start a");
}

TEST_F(RunnerFixture, EmptyScriptNeverRuns) {
    script(0, true);
    EXPECT_FALSE(runner.isRunning());
    steps(3);
    runner.reset();
    steps(3);
    EXPECT_TRUE(log.empty());
}

TEST_F(RunnerFixture, WaitThenDialogOnTheTickAfter) {
    DialogTable table;
    table[4] = DialogEntry();
    DialogPlayer player(table, 1);
    std::vector<std::unique_ptr<ScriptedAction>> list;
    list.push_back(std::make_unique<ScriptedWaitAction>(1.0f));
    list.push_back(std::make_unique<ScriptedDialogAction>(player, 4));
    runner.setActions(std::move(list));

    int tick = 0;
    while (!player.isPlaying() && tick < 100) {
        runner.update(kTick);
        ++tick;
    }
    // Tick 1 starts the wait; ticks 2.. add 0.03 each, reaching 1.0 at the 34th
    // of them (tick 35); tick 36 moves on; tick 37 starts the dialog.
    EXPECT_EQ(tick, 37);
    EXPECT_EQ(player.getCurrent(), 4u);
    steps(5);
    EXPECT_EQ(runner.currentIndex(), 1u);  // waits while the dialog plays
    player.stop();
    steps(2);
    EXPECT_FALSE(runner.isRunning());
}

TEST(ScriptedDialogActionTest, FinishesWhenStoppedReplacedOrMissing) {
    DialogTable table;
    table[4] = DialogEntry();
    table[5] = DialogEntry();
    DialogPlayer player(table, 1);

    ScriptedDialogAction replaced(player, 4);
    replaced.execute();
    replaced.update(kTick);
    EXPECT_EQ(replaced.status(), ScriptedActionStatus::running);
    player.play(5);
    replaced.update(kTick);
    EXPECT_EQ(replaced.status(), ScriptedActionStatus::finished);

    ScriptedDialogAction missing(player, 9);
    missing.execute();
    EXPECT_EQ(player.getCurrent(), 5u);
    missing.update(kTick);
    EXPECT_EQ(missing.status(), ScriptedActionStatus::finished);

    // Not started: update does nothing.
    ScriptedDialogAction idle(player, 4);
    idle.update(kTick);
    EXPECT_EQ(idle.status(), ScriptedActionStatus::idle);
}

TEST(ScriptedPathedMoveActionTest, WalksToTheEndAndFinishes) {
    SteerableUnit unit(kFirstSecondaryUnitHandle);
    unit.body().position = {0, 0};
    ScriptedPathedMoveAction move(unit, {{60, 0}, {120, 0}});
    move.execute();
    EXPECT_EQ(move.status(), ScriptedActionStatus::running);
    EXPECT_EQ(unit.motion.steering.size(), 1u);
    SteerableSimulator simulator;
    simulator.timeStep = kTick;
    simulator.addSecondaryUnit(&unit);
    int steps = 0;
    while (move.status() != ScriptedActionStatus::finished && steps < 500) {
        simulator.step();
        move.update(kTick);
        ++steps;
    }
    EXPECT_EQ(move.status(), ScriptedActionStatus::finished);
    EXPECT_NEAR(unit.body().position.x, 120.0f, 2.0f);
    // A second start while finished does nothing.
    move.execute();
    EXPECT_TRUE(unit.motion.steering.empty());
}

TEST(ScriptedPathedMoveActionTest, FrozenUnitKeepsTheActionRunning) {
    SteerableUnit unit(kFirstSecondaryUnitHandle);
    unit.inputEnabled = 0;  // a waited dialog plays
    ScriptedPathedMoveAction move(unit, {{60, 0}});
    move.execute();
    EXPECT_TRUE(unit.motion.steering.empty());
    for (int i = 0; i < 100; ++i) move.update(kTick);
    EXPECT_EQ(move.status(), ScriptedActionStatus::running);
}

TEST(ScriptedPathedMoveActionTest, AWalkOfAnEarlierRunDoesNotFinishTheNextOne) {
    SteerableUnit unit(kFirstSecondaryUnitHandle);
    unit.body().position = {0, 0};
    ScriptedPathedMoveAction move(unit, {{0, 0}});
    move.execute();
    move.reset();  // the figure was reset while the walk was filed
    move.execute();
    EXPECT_EQ(unit.motion.steering.size(), 2u);
    // Both walks arrive at once (the unit stands on the point); only the
    // second run's arrival counts, and it finishes the action once.
    unit.motion.update(kTick);
    move.update(kTick);
    EXPECT_EQ(move.status(), ScriptedActionStatus::finished);
}

TEST(ScriptedWaitActionTest, ReachingTheDurationFinishes) {
    ScriptedWaitAction wait(0.09f);
    wait.update(1.0f);  // idle: nothing
    EXPECT_EQ(wait.status(), ScriptedActionStatus::idle);
    wait.execute();
    wait.update(0.05f);
    EXPECT_EQ(wait.status(), ScriptedActionStatus::running);
    wait.update(0.05f);
    EXPECT_EQ(wait.status(), ScriptedActionStatus::finished);
    wait.reset();
    EXPECT_EQ(wait.elapsed(), 0.0f);
    EXPECT_EQ(wait.status(), ScriptedActionStatus::idle);
}

}  // namespace
}  // namespace Zarn
