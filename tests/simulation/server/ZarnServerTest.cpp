#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "../support/RoomFixtures.h"
#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/server/ZarnServer.h"
#include "simulation/state/GameState.h"

using namespace Zarn;
using namespace std::chrono_literals;
using GeometryLib::FPoint;
using GeometryLib::Point;

namespace {

// A message as the local client sends it: header (sender 0, unflagged) and a game state.
Corvel::QueuedMessage clientMessage(u32 commandId, u32 number, const GameState& state) {
    Corvel::CommandHeader header(0, commandId, 0, false);
    header.commandNumber = number;
    Convinience::Buffer buffer;
    header.serialize(buffer);
    state.serialize(buffer);
    Corvel::QueuedMessage message;
    message.bytes = buffer.takeBytes();
    return message;
}

std::vector<u32> drainCommandIds(Corvel::MessageQueue& queue) {
    std::vector<u32> ids;
    Corvel::QueuedMessage message;
    while (queue.pop(message)) {
        Convinience::ByteReader reader(message.bytes);
        ids.push_back(Corvel::CommandHeader(reader).commandId);
    }
    return ids;
}

zarn_test::MapBuilder spikeRoom() {
    auto b = zarn_test::fixtureRoom();
    b.trap(zarn_test::trapRecordAt(43, 1, Point(5, 1), 10.0f, 0.0f));
    b.event(zarn_test::eventWith(1, 1, 0, zarn_test::oneAction(0, 1)));
    return b;
}

class ZarnServerTest : public ::testing::Test {
protected:
    void build(const zarn_test::MapBuilder& room, bool withPlayer = true) {
        server = std::make_unique<ZarnServer>(incoming, outgoing, clock);
        server->setTickDelta(0.03f);
        std::istringstream in = room.stream();
        server->loadMap(in);
        server->addClient(0);
        if (withPlayer) server->gameInstance().players.insert(0);
    }

    Corvel::MessageQueue incoming{513};
    Corvel::MessageQueue outgoing{513};
    Convinience::ManualTickClock clock;
    std::unique_ptr<ZarnServer> server;
};

TEST_F(ZarnServerTest, AStateUpdateIsAnsweredWithAStateSynchronisation) {
    build(spikeRoom());
    GameState update;
    incoming.push(clientMessage(1, 1, update));
    EXPECT_TRUE(server->runCommandBatch());
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{3}));
    EXPECT_EQ(server->stepper().stepCount(), 1u) << "the only client confirmed: the tick runs at once";
}

TEST_F(ZarnServerTest, BadMessagesAreDroppedAndTheServerGoesOn) {
    build(spikeRoom());
    Corvel::QueuedMessage unknown = clientMessage(7, 1, GameState());
    Corvel::QueuedMessage cut = clientMessage(1, 2, GameState());
    cut.bytes.resize(cut.bytes.size() - 3);
    incoming.push(std::move(unknown));
    incoming.push(std::move(cut));
    incoming.push(clientMessage(1, 3, GameState()));
    server->runCommandBatch();
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{3}));
}

// The player walks by move input into a spike, dies and respawns at the
// start; the same ticks every run.
TEST_F(ZarnServerTest, APlayerWalksIntoASpikeDiesAndRespawnsTheSameWayEveryRun) {
    std::vector<int> deathTicks;
    for (int run = 0; run < 2; ++run) {
        build(spikeRoom());
        SteerableUnit& rat = server->world().units.getUnit(0);
        u32 number = 0, inputTick = 0;
        GameState input;
        input.inputStates.push_back(InputState(0, ++inputTick, {InputData(1, FPoint(9 * 32 + 16, 48))}));
        incoming.push(clientMessage(2, ++number, input));
        int deathTick = -1;
        for (int tick = 0; tick < 200; ++tick) {
            if (incoming.empty()) incoming.push(clientMessage(1, ++number, GameState()));
            server->runCommandBatch();
            drainCommandIds(outgoing);
            if (deathTick < 0 && rat.state == 5) deathTick = tick;
        }
        ASSERT_GE(deathTick, 0);
        EXPECT_EQ(rat.state, 0u) << "respawned within 2 s";
        EXPECT_NEAR(rat.body().position.x, 48.0f, 1.0f);
        deathTicks.push_back(deathTick);
    }
    EXPECT_EQ(deathTicks[0], deathTicks[1]);
}

TEST_F(ZarnServerTest, AnEmptyGameClosesThenEndsTheLoop) {
    build(spikeRoom(), false);
    server->waitOrStep();  // starts counting at 0
    clock.advanceMs(3000);
    server->waitOrStep();
    EXPECT_FALSE(server->countdown().isOpen());
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{25}));
    EXPECT_EQ(server->stepper().stepCount(), 0u) << "an empty game is not stepped";
    clock.advanceMs(3000);
    server->waitOrStep();
    EXPECT_TRUE(server->countdown().isFinished());
}

// The orders a scene can cause: never started, stopped before the thread
// runs, stopped twice, destroyed after a stop mid-level.
TEST(ZarnServerThreadTest, StartStopAndDestroyInEveryOrder) {
    Corvel::MessageQueue incoming{513}, outgoing{513};
    {
        ZarnServer neverStarted(incoming, outgoing);
        neverStarted.stop();
        neverStarted.stop();
    }
    {
        ZarnServer stoppedFirst(incoming, outgoing);
        stoppedFirst.addClient(0);
        stoppedFirst.stop();
        std::thread thread([&] { stoppedFirst.run(); });
        thread.join();
        EXPECT_TRUE(stoppedFirst.hasExited());
    }
    for (int i = 0; i < 20; ++i) {
        auto server = std::make_unique<ZarnServer>(incoming, outgoing);
        std::istringstream in = spikeRoom().stream();
        server->loadMap(in);
        server->addClient(0);
        server->gameInstance().players.insert(0);
        std::thread thread([&] { server->run(); });
        if (i % 2) std::this_thread::sleep_for(5ms);
        server->wake();
        const auto before = std::chrono::steady_clock::now();
        server->stop();
        EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
        server->stop();
        thread.join();
        server.reset();
        Corvel::QueuedMessage drop;
        while (outgoing.pop(drop)) {
        }
    }
}

}  // namespace

namespace {

Corvel::QueuedMessage bareMessage(u32 sender, u32 commandId, u32 routeFrom, std::vector<u8> data = {},
                                  u32 number = 1) {
    Corvel::CommandHeader header(sender, commandId, 0, true);
    header.commandNumber = number;
    Convinience::Buffer buffer;
    header.serialize(buffer);
    for (u8 b : data) buffer.appendU8(b);
    Corvel::QueuedMessage message;
    message.fromClientId = routeFrom;
    message.bytes = buffer.takeBytes();
    return message;
}

TEST_F(ZarnServerTest, TheLastPlayerLeavingIsConfirmedAndTheEmptyGameStartsItsCountdown) {
    build(spikeRoom());
    incoming.push(bareMessage(0, 9, 0));
    server->runCommandBatch();
    EXPECT_FALSE(server->world().units.hasClient(0));
    EXPECT_TRUE(server->gameInstance().players.empty());
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{14, 26}));
    server->waitOrStep();
    EXPECT_TRUE(server->countdown().isCounting());
}

TEST_F(ZarnServerTest, FromIdAndGameInstanceCommandsAnswerTheSender) {
    build(spikeRoom(), false);
    incoming.push(bareMessage(0, 10, 0, {7, 0, 0, 0}, 1));
    incoming.push(bareMessage(0, 11, 0, {}, 2));
    server->runCommandBatch();
    EXPECT_EQ(server->gameInstance().fromID, 7u);
    EXPECT_EQ(server->gameInstance().players, (std::unordered_set<u32>{0}));
    std::vector<u32> replies = drainCommandIds(outgoing);
    std::sort(replies.begin(), replies.end());  // the scheduler runs the newest number first
    EXPECT_EQ(replies, (std::vector<u32>{12, 24}));
}

}  // namespace
