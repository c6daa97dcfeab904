#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/Error.h"
#include "online/lobby/ClientLobbyState.h"

using namespace ZarnLobby;
using Bytes = std::vector<u8>;
namespace cmd = lobby_command;

namespace {

Bytes le32(u32 v) {
    return {u8(v), u8(v >> 8), u8(v >> 16), u8(v >> 24)};
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

Bytes header(u32 sender, u32 commandID, u32 number, u32 replyTo, u8 flag) {
    return cat({le32(sender), le32(commandID), le32(number), le32(replyTo), Bytes{flag}});
}

struct RecordingLoader : ClientGameLoader {
    void load(const Zarn::GameInstance& instance, u32 clientID) override {
        loads.push_back({instance.instanceID, clientID});
    }
    std::vector<std::pair<u32, u32>> loads;
};

Bytes roomBytes(u32 roomID, std::vector<ClientStatus> members) {
    GameRoom room(roomID);
    for (const ClientStatus& m : members) room.add(m);
    return room.toBytes();
}

Bytes instanceBytes(u32 instanceID, u32 mapHash) {
    Zarn::GameInstance instance;
    instance.instanceID = instanceID;
    instance.fromID = 1;
    instance.mapHash = mapHash;
    instance.endpoint = "127.0.0.1:5";
    return instance.toBytes();
}

Bytes quickJoinBytes(u32 clientID, u32 mapHash) {
    QuickJoinHeader q;
    q.player = Zarn::PlayerInfo(clientID, 3, "pat");
    q.text = "x";
    q.instance.instanceID = 4;
    q.instance.mapHash = mapHash;
    return q.toBytes();
}

class LobbyCommandsTest : public ::testing::Test {
protected:
    // The server (client ID 1, routed from 1 to 10) sends a command.
    void receive(u32 commandID, u32 number, const Bytes& payload = {}, u8 flag = 1) {
        Corvel::QueuedMessage m;
        m.fromClientId = 1;
        m.toClientId = 10;
        m.bytes = cat({header(1, commandID, number, 0, flag), payload});
        ASSERT_TRUE(incoming.push(std::move(m)));
    }
    std::vector<Corvel::QueuedMessage> sent() {
        std::vector<Corvel::QueuedMessage> out;
        Corvel::QueuedMessage m;
        while (outgoing.pop(m)) out.push_back(m);
        return out;
    }
    void enterState(u8 state, u32 clientID = 10) {
        lobby.status = ClientStatus(clientID, state, 9);
        lobby.room = std::make_unique<GameRoom>(9);
        lobby.room->add(lobby.status);
        lobby.room->add(ClientStatus(11, IN_ROOM, 9));
    }

    Corvel::MessageQueue outgoing{257};
    Corvel::MessageQueue incoming{257};
    Corvel::ClientCommandState commands;
    RecordingLoader loader;
    ClientLobbyState lobby{outgoing, incoming, commands, &loader};
};

}  // namespace

TEST_F(LobbyCommandsTest, IssuedCommandsGoldenBytesAndStates) {
    struct Case {
        u32 localID;
        Bytes data;
        u8 from;
        u8 to;
        Bytes wire;  // empty: nothing sent
        u32 route1;
    };
    const Bytes quick = ClientQuickJoinHeader(1, "pat").toBytes();
    const Bytes join = JoinInstanceHeader(77, 1, "pat").toBytes();
    const std::vector<Case> cases = {
        {cmd::createRoom, {}, IN_ROOM, ENTERING_ROOM, header(10, 0, 1, 0, 1), 0},
        {cmd::joinRoom, {}, LOITERING, ENTERING_ROOM, cat({header(10, 5, 1, 0, 1), le32(9)}), 0},
        {cmd::joinRoom, {}, IN_ROOM, IN_ROOM, {}, 0},
        {cmd::ready, {}, MAP_VERIFIED, MAP_VERIFIED, header(10, 12, 1, 0, 1), 0},
        {cmd::ready, {}, IN_ROOM, IN_ROOM, {}, 0},
        {cmd::localStartGame, {}, READY, READY, header(10, 11, 1, 0, 1), 0},
        {cmd::localStartGame, {}, MAP_VERIFIED, MAP_VERIFIED, {}, 0},
        {cmd::quickJoin, quick, LOITERING, WAITING_QUICK_JOIN, cat({header(10, 20, 1, 0, 1), quick}), 0},
        {cmd::quickJoin, quick, IN_ROOM, IN_ROOM, {}, 0},
        {cmd::joinInstance, join, LOITERING, WAITING_QUICK_JOIN, cat({header(10, 28, 1, 0, 1), join}), 10},
    };
    EXPECT_EQ(quick, cat({Bytes{1}, le32(3), Bytes{'p', 'a', 't'}}));
    EXPECT_EQ(join, cat({le32(77), Bytes{1}, le32(3), Bytes{'p', 'a', 't'}}));
    for (const Case& c : cases) {
        SCOPED_TRACE("local command " + std::to_string(c.localID) + " from state " + std::to_string(c.from));
        lobby.pusher.nextCommandNumber = 1;
        lobby.status = ClientStatus(10, c.from, 9);
        ASSERT_TRUE(lobby.issue(c.localID, c.data));
        lobby.update();
        EXPECT_EQ(lobby.status.state, c.to);
        const auto out = sent();
        if (c.wire.empty()) {
            EXPECT_TRUE(out.empty());
            continue;
        }
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].bytes, c.wire);
        EXPECT_EQ(out[0].fromClientId, c.route1);
        EXPECT_EQ(out[0].toClientId, 0u);
    }
}

TEST_F(LobbyCommandsTest, ReceivedCommandsFollowTheStateTableAndReplyInGoldenBytes) {
    struct Case {
        const char* name;
        u8 from;
        u32 commandID;
        Bytes payload;
        u8 to;
        Bytes reply;  // empty: no reply
        u32 route1 = 0;
        u32 route2 = 0;
    };
    const std::vector<Case> cases = {
        {"room entered from loitering", LOITERING, cmd::roomEntered, roomBytes(9, {}), IN_ROOM,
         cat({header(1, 2, 1, 5, 1), le32(9)})},
        {"room entered from entering", ENTERING_ROOM, cmd::roomEntered, roomBytes(9, {}), IN_ROOM,
         cat({header(1, 2, 1, 5, 1), le32(9)})},
        {"verify map equal", IN_ROOM, cmd::verifyMap, Zarn::MapMetadata(0, 117, 128).toBytes(), MAP_VERIFIED,
         header(1, 9, 1, 5, 0)},
        {"verify map third value differs", IN_ROOM, cmd::verifyMap, Zarn::MapMetadata(0, 117, 129).toBytes(),
         IN_ROOM, header(1, 10, 1, 5, 1)},
        {"verify map unknown hash", IN_ROOM, cmd::verifyMap, Zarn::MapMetadata(5, 0, 0).toBytes(), IN_ROOM,
         header(1, 10, 1, 5, 1)},
        {"verify map outside a room",
         MAP_VERIFIED,
         cmd::verifyMap,
         Zarn::MapMetadata(0, 117, 128).toBytes(),
         MAP_VERIFIED,
         {}},
        {"ready confirmed for this client", MAP_VERIFIED, cmd::readyConfirmed, le32(10), READY, {}},
        {"ready confirmed for a stranger", MAP_VERIFIED, cmd::readyConfirmed, le32(99), MAP_VERIFIED, {}},
        {"ready confirmed before verify", IN_ROOM, cmd::readyConfirmed, le32(10), IN_ROOM, {}},
        {"load game when ready", READY, cmd::loadGame, instanceBytes(4, 0), GAME_LOADED,
         header(1, 15, 1, 5, 1)},
        {"load game when not ready", MAP_VERIFIED, cmd::loadGame, instanceBytes(4, 0), MAP_VERIFIED, {}},
        {"start simulation",
         GAME_LOADED,
         cmd::startSimulation,
         {},
         SIMULATING,
         header(10, 18, 1, 5, 0),
         10,
         1},
        {"start simulation too early", READY, cmd::startSimulation, {}, READY, {}},
        {"quick load", WAITING_QUICK_JOIN, cmd::quickLoad, quickJoinBytes(12, 1), GAME_LOADED,
         header(12, 22, 1, 5, 1), 12, 1},
        {"quick load not waiting", LOITERING, cmd::quickLoad, quickJoinBytes(12, 1), LOITERING, {}},
        {"instance not found", WAITING_QUICK_JOIN, cmd::instanceNotFound, {}, LOITERING, {}},
        {"room sync outside a room", LOITERING, cmd::roomSync, roomBytes(9, {}), LOITERING, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        lobby.pusher.nextCommandNumber = 1;
        commands.executed.clear();
        enterState(c.from);
        receive(c.commandID, 5, c.payload);
        lobby.update();
        EXPECT_EQ(lobby.status.state, c.to);
        const auto out = sent();
        if (c.reply.empty()) {
            EXPECT_TRUE(out.empty());
            continue;
        }
        ASSERT_EQ(out.size(), 1u);
        EXPECT_EQ(out[0].bytes, c.reply);
        EXPECT_EQ(out[0].fromClientId, c.route1);
        EXPECT_EQ(out[0].toClientId, c.route2);
    }
}

TEST_F(LobbyCommandsTest, ReadyConfirmationsAndRoomSyncChangeTheRoom) {
    enterState(MAP_VERIFIED);
    receive(cmd::readyConfirmed, 1, le32(11));
    lobby.update();
    EXPECT_EQ(lobby.room->find(11)->state, READY);
    EXPECT_EQ(lobby.status.state, MAP_VERIFIED);

    receive(cmd::readyConfirmed, 2, le32(10));
    lobby.update();
    EXPECT_EQ(lobby.room->find(10)->state, READY);
    EXPECT_EQ(lobby.status.state, READY);

    receive(cmd::roomSync, 3, roomBytes(9, {ClientStatus(10, READY, 9), ClientStatus(12, IN_ROOM, 9)}));
    lobby.update();
    EXPECT_EQ(lobby.room->memberCount(), 2u);
    EXPECT_NE(lobby.room->find(12), nullptr);
    EXPECT_EQ(lobby.room->find(11), nullptr);
}

TEST_F(LobbyCommandsTest, CommandsOfOneFrameRunInArrivalOrder) {
    lobby.status = ClientStatus(10, ENTERING_ROOM, 0);
    receive(cmd::roomEntered, 1, roomBytes(9, {}));
    receive(cmd::verifyMap, 2, Zarn::MapMetadata(0, 117, 128).toBytes());
    lobby.update();
    EXPECT_EQ(lobby.status.state, MAP_VERIFIED);
    EXPECT_EQ(lobby.status.roomID, 9u);
    const auto out = sent();
    ASSERT_EQ(out.size(), 2u);
    EXPECT_EQ(out[0].bytes[4], cmd::roomEnteredReply);
    EXPECT_EQ(out[1].bytes[4], cmd::mapVerified);
    // The client joins its own room's member list when the room was empty.
    ASSERT_NE(lobby.room->find(10), nullptr);
}

TEST_F(LobbyCommandsTest, LoadsCallTheLoaderAndAnUnknownMapReturnsToTheLobbyWithANotice) {
    enterState(READY);
    receive(cmd::loadGame, 1, instanceBytes(4, 0));
    lobby.update();
    ASSERT_EQ(loader.loads.size(), 1u);
    EXPECT_EQ(loader.loads[0], (std::pair<u32, u32>{4, 10}));

    lobby.status = ClientStatus(0, WAITING_QUICK_JOIN, 0);
    receive(cmd::quickLoad, 2, quickJoinBytes(12, 0));
    lobby.update();
    ASSERT_EQ(loader.loads.size(), 2u);
    EXPECT_EQ(loader.loads[1], (std::pair<u32, u32>{4, 12}));
    EXPECT_EQ(lobby.status.clientID, 12u);
    EXPECT_EQ(lobby.playerInfo.name, "pat");
    EXPECT_EQ(lobby.playerInfo.number, 3);

    EXPECT_EQ(sent().size(), 2u);

    // A map this copy does not have: back to the lobby with a notice, no load, no reply.
    lobby.status = ClientStatus(0, WAITING_QUICK_JOIN, 0);
    receive(cmd::quickLoad, 3, quickJoinBytes(13, 4242));
    lobby.update();
    EXPECT_EQ(lobby.status.state, LOITERING);
    EXPECT_EQ(lobby.status.clientID, 0u);
    enterState(READY);
    receive(cmd::loadGame, 4, instanceBytes(5, 4242));
    lobby.update();
    EXPECT_EQ(lobby.status.state, LOITERING);
    EXPECT_EQ(loader.loads.size(), 2u);
    EXPECT_TRUE(sent().empty());
    EXPECT_EQ(lobby.takeNotices(), (std::vector<std::string>{kUnknownMapNotice, kUnknownMapNotice}));
}

TEST_F(LobbyCommandsTest, InstanceNotFoundShowsANotice) {
    lobby.status.state = WAITING_QUICK_JOIN;
    receive(cmd::instanceNotFound, 1);
    lobby.update();
    EXPECT_EQ(lobby.status.state, LOITERING);
    EXPECT_EQ(lobby.takeNotices(), std::vector<std::string>{kNoSuchInstanceNotice});
}

TEST_F(LobbyCommandsTest, UnknownIdsAndBadBytesYieldNoCommand) {
    ClientLocalCommandFactory local(
        LobbyContext{&lobby.status, &lobby.room, &lobby.pusher, &loader, nullptr, nullptr});
    for (u32 id : {1u, 11u, 20u, 28u, 99u}) EXPECT_EQ(local.create(id), nullptr) << id;
    EXPECT_EQ(local.createWithData(5, {1}), nullptr);

    ClientCommandFactory factory(
        LobbyContext{&lobby.status, &lobby.room, &lobby.pusher, &loader, nullptr, nullptr});
    Corvel::QueuedMessage m;
    m.bytes = header(1, 2, 1, 0, 1);
    EXPECT_EQ(factory.create(m), nullptr);
    m.bytes = {1, 2, 3};
    EXPECT_THROW(factory.create(m), Convinience::InvalidCommandDataException);
    lobby.status.state = ENTERING_ROOM;
    m.bytes = cat({header(1, cmd::roomEntered, 1, 0, 1), le32(9), le32(4), le32(1000)});
    EXPECT_THROW(factory.create(m), Convinience::InvalidCommandDataException);
    m.bytes = cat({header(1, cmd::quickLoad, 1, 0, 1), quickJoinBytes(12, 0)});
    m.bytes.pop_back();
    EXPECT_THROW(factory.create(m), Convinience::InvalidCommandDataException);

    // A bad message is dropped and the next one still runs.
    lobby.status = ClientStatus(10, WAITING_QUICK_JOIN, 0);
    Corvel::QueuedMessage bad;
    bad.bytes = {9, 9};
    ASSERT_TRUE(incoming.push(std::move(bad)));
    receive(cmd::instanceNotFound, 1);
    lobby.update();
    EXPECT_EQ(lobby.status.state, LOITERING);
}
