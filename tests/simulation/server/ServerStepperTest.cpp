#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "../support/RoomFixtures.h"
#include "foundation/Stopwatch.h"
#include "map/records/ScriptedSteerableElement.h"
#include "simulation/core/GameWorld.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/server/ClientManager.h"
#include "simulation/server/ServerStepper.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/sync/MultiClientTickTracker.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SteerableIME.h"
#include "world/steering/WorldRandom.h"
#include "world/units/SecondarySteerableUnit.h"

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

namespace {

// What a step leaves behind: each unit's state word and position, each
// trap's and numbered element's state, tick by tick.
struct Trace {
    std::vector<std::string> ticks;
    void record(GameWorld& world) {
        std::string line = std::to_string(world.simulator.tickCount);
        world.units.forEachUnit([&](u32 id, SteerableUnit& unit) {
            line += " " + std::to_string(id) + ":" + std::to_string(unit.state) + "@" +
                    std::to_string(unit.body().position.x) + "," + std::to_string(unit.body().position.y);
        });
        const MapState map = MapStateCapture(world.traps, world.numbered, &world.dialogs).capture();
        for (const auto* states : {&map.trapStates, &map.elementStates}) {
            for (const auto& [number, state] : *states) {
                line += " " + std::to_string(number) + ":";
                for (u8 byte : state->toBytes()) line += std::to_string(byte) + ".";
            }
        }
        ticks.push_back(line);
    }
};

// A wandering prop that kills, players standing around it, spikes: a room
// in which the order of the parts of a step shows.
zarn_test::MapBuilder propRoom() {
    using GeometryLib::Point;
    auto b = zarn_test::fixtureRoom();
    for (i16 x = 0; x < 10; ++x)
        b.trap(zarn_test::trapAt(43, 100 + x, Point(x, 7), x % 2 ? 0.3f : 0.6f, 0.4f));
    std::vector<std::unique_ptr<ActionData>> start;
    for (u32 n = 100; n < 110; ++n) start.push_back(std::make_unique<NumberActionData>(0, n));
    b.event(zarn_test::eventWith(1, 1, 0, std::move(start)));
    ScriptedSteerableElement wanderer;
    wanderer.elementId = 300;
    wanderer.number = 50;
    wanderer.position = Point(5 * 32, 4 * 32);
    wanderer.radius = 20;
    b.element(wanderer);
    return b;
}

// Eight players stand around the prop; at tick 100 the prop leaps onto
// player 3 in one step (as a fast one would), which a step sees only when
// its parts run in one order.
Trace runProp(GameWorld& world, const std::function<void()>& step) {
    std::istringstream in = propRoom().stream();
    world.loadMap(in);
    for (u32 id = 0; id < 8; ++id) {
        const GeometryLib::Point cell(static_cast<i16>(2 + id), static_cast<i16>(3 + id % 3));
        world.addPlayer(id).body().position = zarn_test::cellCentre(cell);
    }
    seedWorldRandomEngine(7);
    Trace trace;
    for (int tick = 0; tick < 900; ++tick) {
        if (tick == 100) {
            world.numbered.getTyped<SteerableIME>(50).steerable->unit.body().position =
                world.units.getUnit(3).body().position;
        }
        step();
        trace.record(world);
    }
    return trace;
}

// The server's step and the world's step are one: tests, the benchmark and
// the client world step as the server does.
TEST(OneStepTest, TheServersStepAndTheWorldsStepAdvanceARoomAlike) {
    GameWorld alone;
    const Trace byWorld = runProp(alone, [&] { alone.stepOnce(); });

    GameWorld served;
    Convinience::ManualTickClock clock;
    Convinience::Stopwatch stopwatch{clock};
    stopwatch.start();
    MultiClientTickTracker ticks{&stopwatch};
    ScoreKeeperRegistry scores;
    ServerStepper stepper{served, ticks, scores};
    const Trace byServer = runProp(served, [&] { ASSERT_TRUE(stepper.step()); });

    ASSERT_EQ(byWorld.ticks.size(), byServer.ticks.size());
    for (std::size_t i = 0; i < byWorld.ticks.size(); ++i)
        ASSERT_EQ(byWorld.ticks[i], byServer.ticks[i]) << i;
}

}  // namespace
