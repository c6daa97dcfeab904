#include <gtest/gtest.h>

#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/RoomFixtures.h"
#include "foundation/Stopwatch.h"
#include "simulation/core/GameWorld.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/server/ClientManager.h"
#include "simulation/server/ServerStepper.h"
#include "simulation/sync/MultiClientTickTracker.h"

using namespace Zarn;

namespace {

class RecordingCreator : public Convinience::MultiClientCreator {
public:
    RecordingCreator(std::vector<std::string>& log, std::string name) : log_(&log), name_(std::move(name)) {}
    void addClient(u32 id) override { log_->push_back("add " + name_ + " " + std::to_string(id)); }
    void removeClient(u32 id) override { log_->push_back("remove " + name_ + " " + std::to_string(id)); }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

class ServerStepperTest : public ::testing::Test {
protected:
    ServerStepperTest() {
        std::istringstream in = zarn_test::fixtureRoom().stream();
        world.loadMap(in);
        stopwatch.start();
        clients.creators = {&world.units, &ticks};
    }

    void at(u64 ms) { clock.ticks = ms * 10000; }

    GameWorld world;
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch stopwatch{clock};
    MultiClientTickTracker ticks{&stopwatch};
    ScoreKeeperRegistry scores;
    ServerStepper stepper{world, ticks, scores};
    ClientManager clients{world};
};

TEST_F(ServerStepperTest, StepsWhenTheClientConfirmsOrWhenTheTickIsOverdue) {
    clients.addClient(0);
    at(10);
    ticks.confirm(0);
    EXPECT_TRUE(stepper.step());
    EXPECT_EQ(ticks.currentTick(), world.simulator.tickCount);
    EXPECT_FALSE(stepper.step()) << "the confirmation is used up";
    at(309);
    EXPECT_FALSE(stepper.step());
    at(310);
    EXPECT_TRUE(stepper.step()) << "a lone silent client's tick is overdue after 300 ms";
    EXPECT_EQ(stepper.stepCount(), 2u);
}

TEST_F(ServerStepperTest, ClientManagerAddsInCreatorOrderAndRemovesTheUnitFromTheSimulator) {
    std::vector<std::string> log;
    RecordingCreator a(log, "a"), b(log, "b");
    clients.creators = {&world.units, &a, &b};
    clients.addClient(7);
    EXPECT_EQ(log, (std::vector<std::string>{"add a 7", "add b 7"}));
    ASSERT_NE(world.simulator.unitOf(7), nullptr);
    EXPECT_EQ(world.simulator.unitOf(7), &world.units.getUnit(7));
    EXPECT_FLOAT_EQ(world.units.getUnit(7).body().position.x, 48.0f);

    clients.removeClient(7);
    EXPECT_EQ(log.back(), "remove b 7");
    EXPECT_EQ(world.simulator.unitOf(7), nullptr);
    EXPECT_FALSE(world.units.hasClient(7));
    world.stepOnce();  // the simulator holds no stale unit
    EXPECT_THROW(clients.clientAdded(99), Convinience::ClientIDNotFoundException);
}

}  // namespace

namespace {

class ThrowingKeeper : public Zarn::ScoreKeeper {
public:
    ThrowingKeeper() : ScoreKeeper(200) {}
    void update() override { throw std::runtime_error("keeper broke"); }
    void serialize(Convinience::Buffer&) const override {}
};

TEST_F(ServerStepperTest, AWorldThatThrowsBreaksTheStepperInsteadOfTheThread) {
    ThrowingKeeper keeper;
    scores.keepers.insert(keeper.kind(), &keeper);
    clients.addClient(0);
    EXPECT_FALSE(stepper.step());
    EXPECT_TRUE(stepper.isBroken());
    at(1000);
    EXPECT_FALSE(stepper.step()) << "a broken world is not stepped again";
    EXPECT_EQ(stepper.stepCount(), 0u);
}

}  // namespace
