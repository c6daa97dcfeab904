#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <sstream>
#include <thread>

#include "../support/RoomFixtures.h"
#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/server/AddPlayerHeaders.h"
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
    b.trap(zarn_test::trapAt(43, 1, Point(5, 1), 10.0f, 0.0f));
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

// A host that runs many games on one thread takes turns instead of run: a
// turn answers the waiting updates and steps; the empty game's turns close
// it and then answer that it has ended, and no turn ever waits.
TEST_F(ZarnServerTest, ATurnAnswersWhatWaitsStepsAndSaysWhenTheEmptyGameHasEnded) {
    build(spikeRoom());
    for (u32 n = 1; n <= 3; ++n) incoming.push(clientMessage(1, n, GameState()));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(server->runTurn(1));
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{3}))
        << "one batch takes the three, the newest answered";
    EXPECT_GE(server->stepper().stepCount(), 1u);

    server->gameInstance().players.clear();
    EXPECT_TRUE(server->runTurn(4));  // starts counting
    clock.advanceMs(3000);
    EXPECT_TRUE(server->runTurn(4));
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{25}));
    clock.advanceMs(3000);
    EXPECT_FALSE(server->runTurn(4));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 60ms) << "a turn waited (three waits take 90 ms)";
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

std::vector<u8> bytesOf(const Convinience::Serializable& record) {
    Convinience::Buffer buffer;
    record.serialize(buffer);
    return buffer.takeBytes();
}

// The client-8 announcements in the outgoing ring: receiver and data.
std::vector<std::pair<u32, ClientAddPlayerHeader>> drainJoins(Corvel::MessageQueue& queue) {
    std::vector<std::pair<u32, ClientAddPlayerHeader>> joins;
    Corvel::QueuedMessage message;
    while (queue.pop(message)) {
        Convinience::ByteReader reader(message.bytes);
        const Corvel::CommandHeader header(reader);
        if (header.commandId == 8) joins.emplace_back(header.toClientId, ClientAddPlayerHeader(reader));
    }
    return joins;
}

TEST_F(ZarnServerTest, AJoiningPlayerIsPlacedByItsSpawnModeAndAnnouncedToEveryPlayer) {
    const struct {
        u8 mode;
        FPoint expected;
    } cases[] = {
        {AddPlayerHeader::kAtPoint, FPoint(50.0f, -60.0f)},
        {0, FPoint(96.0f, 224.0f)},
        {7, FPoint(96.0f, 224.0f)},
        {AddPlayerHeader::kNearPlayer, FPoint(33.0f, 44.0f)},  // on client 0's unit
    };
    for (const auto& c : cases) {
        build(spikeRoom());
        server->gameInstance().fromID = 5;
        server->world().units.getUnit(0).body().position = FPoint(33.0f, 44.0f);
        const AddPlayerHeader join(c.mode, Point(50, -60), PlayerInfo(12, 3, "Nib"));
        incoming.push(bareMessage(0, 8, 0, bytesOf(join)));
        server->runCommandBatch();

        ASSERT_TRUE(server->world().units.hasClient(12)) << int(c.mode);
        const FPoint at = server->world().units.getUnit(12).body().position;
        EXPECT_EQ(at.x, c.expected.x) << int(c.mode);
        EXPECT_EQ(at.y, c.expected.y) << int(c.mode);
        const auto joins = drainJoins(outgoing);
        ASSERT_EQ(joins.size(), 1u) << int(c.mode);
        EXPECT_EQ(joins[0].first, 0u);
        EXPECT_EQ(joins[0].second.player.name, "Nib");
        EXPECT_EQ(joins[0].second.position.x, static_cast<i16>(c.expected.x));
        EXPECT_EQ(joins[0].second.position.y, static_cast<i16>(c.expected.y));
    }
}

// Two players join; their updates (11) come before or after the other's join.
// Each learns of the other (and of client 0's unit) exactly once, with the
// player record the join carried.
TEST_F(ZarnServerTest, PlayersWhoseJoinsCrossedLearnOfEachOtherOnce) {
    const auto join = [](u32 id, const char* name, u32 number) {
        return bareMessage(0, 8, 0,
                           bytesOf(AddPlayerHeader(AddPlayerHeader::kAtPoint, Point(40, 50),
                                                   PlayerInfo(id, static_cast<u8>(id - 10), name))),
                           number);
    };
    const auto update = [](u32 id) { return bareMessage(id, 11, id, {}, 1); };
    const std::vector<std::vector<Corvel::QueuedMessage>> orders[] = {
        {{join(10, "ann", 1), join(11, "bob", 2)}, {update(10)}, {update(11)}},
        {{join(10, "ann", 1)}, {update(10)}, {join(11, "bob", 2)}, {update(11)}},
        {{join(10, "ann", 1), join(11, "bob", 2)}, {update(11)}, {update(10)}},
    };
    for (std::size_t o = 0; o < std::size(orders); ++o) {
        build(spikeRoom(), false);
        server->gameInstance().fromID = 1;
        // (receiver, the player it is told of): the receiver is the
        // command's client ID, as the server addresses its replies.
        std::vector<std::pair<u32, u32>> pairs;
        for (const auto& batch : orders[o]) {
            for (const auto& message : batch) incoming.push(message);
            server->runCommandBatch();
            Corvel::QueuedMessage reply;
            while (outgoing.pop(reply)) {
                Convinience::ByteReader reader(reply.bytes);
                const Corvel::CommandHeader header(reader);
                if (header.commandId != 8) continue;
                const ClientAddPlayerHeader data(reader);
                pairs.emplace_back(header.clientId, data.player.clientID);
                if (data.player.clientID == 11) {
                    EXPECT_EQ(data.player.name, "bob") << "order " << o;
                }
            }
        }
        std::sort(pairs.begin(), pairs.end());
        EXPECT_EQ(pairs, (std::vector<std::pair<u32, u32>>{{10, 0}, {10, 11}, {11, 0}, {11, 10}}))
            << "order " << o;
        EXPECT_EQ(server->gameInstance().players, (std::unordered_set<u32>{10, 11})) << "order " << o;
    }
}

TEST_F(ZarnServerTest, NearAnotherPlayerTakesItsSpawnPointAndAnEmptyRoomFallsBackToTheDefault) {
    build(spikeRoom());
    SpawnPoints& spawns = server->world().spawnPoints;
    spawns.setSpawnPoint(server->world().units.getUnit(0).handle(), Point(4, 2));
    incoming.push(bareMessage(0, 8, 0, bytesOf(AddPlayerHeader(1, Point(), PlayerInfo(12, 1, "a")))));
    server->runCommandBatch();
    EXPECT_EQ(spawns.spawnCellFor(server->world().units.getUnit(12).handle()).key, Point(4, 2).key);

    server = std::make_unique<ZarnServer>(incoming, outgoing, clock);  // no unit at all
    std::istringstream in = spikeRoom().stream();
    server->loadMap(in);
    incoming.push(bareMessage(0, 8, 0, bytesOf(AddPlayerHeader(1, Point(), PlayerInfo(12, 1, "a")))));
    server->runCommandBatch();
    EXPECT_EQ(server->world().units.getUnit(12).body().position.x, 96.0f);
    EXPECT_EQ(server->world().units.getUnit(12).body().position.y, 224.0f);
}

TEST_F(ZarnServerTest, ADuplicateJoinOrAJoinWithoutAUnitChangesNothingAndTheServerGoesOn) {
    build(spikeRoom());
    server->world().units.getUnit(0).body().position = FPoint(1.0f, 2.0f);
    incoming.push(bareMessage(0, 8, 0, bytesOf(AddPlayerHeader(2, Point(9, 9), PlayerInfo(0, 1, "me"))), 1));
    incoming.push(bareMessage(0, 8, 0, bytesOf(AddPlayerHeader(3, Point(9, 9), PlayerInfo(12, 1, "x"))), 2));
    server->runCommandBatch();
    EXPECT_EQ(server->world().units.getUnit(0).body().position.x, 1.0f);
    EXPECT_FALSE(server->world().units.hasClient(12));
    EXPECT_TRUE(drainJoins(outgoing).empty());
    incoming.push(clientMessage(1, 3, GameState()));
    EXPECT_TRUE(server->runCommandBatch());
    EXPECT_EQ(drainCommandIds(outgoing), (std::vector<u32>{3}));
}

TEST_F(ZarnServerTest, JoinDataThatIsShortOrLiesIsRefusedAsInvalidCommandData) {
    build(spikeRoom());
    std::vector<u8> lying = bytesOf(AddPlayerHeader(2, Point(1, 1), PlayerInfo(12, 1, "abc")));
    lying[1 + 4 + 5] = 0xFF;  // the name's length
    std::vector<u8> cut = bytesOf(AddPlayerHeader(2, Point(1, 1), PlayerInfo(12, 1, "abc")));
    cut.resize(6);
    for (const std::vector<u8>& data : {lying, cut}) {
        EXPECT_THROW(server->commandFactory().create(bareMessage(0, 8, 0, data)),
                     Convinience::InvalidCommandDataException);
    }
}

}  // namespace

// A remote client's state update as it comes over UDP: unflagged, unreliable.
Corvel::QueuedMessage remoteUpdate(u32 client, u32 number) {
    Corvel::CommandHeader header(client, 1, 0, false);
    header.commandNumber = number;
    Convinience::Buffer buffer;
    header.serialize(buffer);
    GameState().serialize(buffer);
    Corvel::QueuedMessage message;
    message.fromClientId = client;
    message.bytes = buffer.takeBytes();
    return message;
}

// The TCP and UDP readers may hand a joining client's first state update
// (number 1) to the ring before its announce (command 11, number 0). The
// flagged announce still runs, whether it shares the update's batch or comes
// in a later one: the client counts as a player and the game stays open.
TEST_F(ZarnServerTest, AnAnnounceThatArrivesAfterTheClientsFirstUpdateStillMakesItAPlayer) {
    for (const bool sameBatch : {true, false}) {
        build(spikeRoom(), false);
        server->gameInstance().fromID = 5;
        const AddPlayerHeader join(AddPlayerHeader::kNearPlayer, Point(), PlayerInfo(12, 1, "Player 12"));
        incoming.push(bareMessage(0, 8, 0, bytesOf(join), 1));
        server->runCommandBatch();
        ASSERT_TRUE(server->world().units.hasClient(12));
        drainCommandIds(outgoing);

        incoming.push(remoteUpdate(12, 1));
        if (!sameBatch) server->runCommandBatch();
        incoming.push(bareMessage(12, 11, 12, {}, 0));
        server->runCommandBatch();

        EXPECT_EQ(server->gameInstance().players, (std::unordered_set<u32>{12})) << sameBatch;
        std::vector<u32> replies = drainCommandIds(outgoing);
        std::sort(replies.begin(), replies.end());
        // A synchronisation, client 0's unit met, and the instance.
        EXPECT_EQ(replies, (std::vector<u32>{3, 8, 12})) << sameBatch;
        server->waitOrStep();
        EXPECT_FALSE(server->countdown().isCounting()) << sameBatch;
    }
}
