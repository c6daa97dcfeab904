#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "foundation/Buffer.h"
#include "foundation/Error.h"
#include "foundation/QueuedMessage.h"
#include "simulation/client/ZarnGameNotifier.h"
#include "simulation/core/ChatLineQueue.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/state/GameState.h"

namespace {

using Zarn::ChatLineQueue;
using Zarn::ClientGameCore;
using Zarn::PlayerInfo;

constexpr u32 kLocal = 1;

class RecordingNotifier : public Zarn::ZarnGameNotifier {
public:
    void gameNotification() override { events.push_back("exit"); }
    void playerJoined(u32 clientID) override { events.push_back("joined " + std::to_string(clientID)); }
    void playerLeft(u32 clientID) override { events.push_back("left " + std::to_string(clientID)); }
    void playerChanged(u32 clientID) override { events.push_back("changed " + std::to_string(clientID)); }
    std::vector<std::string> events;
};

Corvel::QueuedMessage message(u32 commandId, const std::vector<u8>& payload, u32 sender = kLocal) {
    Convinience::Buffer buffer(64);
    Corvel::CommandHeader(sender, commandId, 0, true).serialize(buffer);
    buffer.append(payload.data(), static_cast<u32>(payload.size()));
    Corvel::QueuedMessage m;
    m.bytes = buffer.takeBytes();
    return m;
}

std::vector<u8> bytesOf(const Convinience::Serializable& record) {
    Convinience::Buffer buffer(64);
    record.serialize(buffer);
    return buffer.takeBytes();
}

std::vector<u8> u32Bytes(u32 value) {
    return bytesOf(Convinience::Uint32Serializable(value));
}

std::vector<std::string> drainChat() {
    std::vector<std::string> lines;
    std::string line;
    while (Zarn::chatLineQueue().take(line)) lines.push_back(line);
    return lines;
}

class ClientIncomingCommandsTest : public ::testing::Test {
protected:
    ClientIncomingCommandsTest() {
        Zarn::chatLineQueue().clear();
        core.setInputManager(&inputs);
        core.setLocalClientID(kLocal);
        core.setGameNotifier(&notifier);
    }
    ~ClientIncomingCommandsTest() override { Zarn::chatLineQueue().clear(); }

    void run(const Corvel::QueuedMessage& m) {
        std::unique_ptr<Convinience::Command> command = core.incomingCommands().create(m);
        ASSERT_NE(command, nullptr);
        command->execute();
    }
    void join(u32 id, const std::string& name, GeometryLib::Point at = GeometryLib::Point(40, 72)) {
        run(message(8, bytesOf(Zarn::ClientAddPlayerHeader(PlayerInfo(id, static_cast<u8>(id), name), at))));
    }
    bool present(u32 id) {
        return core.world().units.hasClient(id) && core.playerInfos().hasInfo(id) && inputs.hasClient(id);
    }

    Corvel::MessageQueue incoming{8};
    Corvel::MessageQueue outgoing{8};
    Zarn::InputManager inputs;
    ClientGameCore core{incoming, outgoing};
    RecordingNotifier notifier;
};

TEST_F(ClientIncomingCommandsTest, AJoiningPlayerGetsUnitInfoAndInputOnceAndIsAnnounced) {
    join(7, "Nib", GeometryLib::Point(40, -72));

    ASSERT_TRUE(present(7));
    const PlayerInfo& info = core.playerInfos().getInfo(7);
    EXPECT_EQ(info.number, 7);
    EXPECT_EQ(info.name, "Nib");
    const GeometryLib::FPoint at = core.world().units.getUnit(7).body().position;
    EXPECT_FLOAT_EQ(at.x, 40.0f);
    EXPECT_FLOAT_EQ(at.y, -72.0f);
    EXPECT_EQ(core.gameInstance().players.count(7), 1u);

    join(7, "Nib");  // the same join again changes nothing and tells no one
    EXPECT_EQ(notifier.events, std::vector<std::string>({"joined 7"}));
    EXPECT_EQ(drainChat(), std::vector<std::string>({"Nib has joined the game"}));

    // The server's newer record of the player stands, and what shows the
    // player follows it; the player joined only once.
    join(7, "Other");
    EXPECT_EQ(core.playerInfos().getInfo(7).name, "Other");
    run(message(8, bytesOf(Zarn::ClientAddPlayerHeader(PlayerInfo(7, 3, "Other"), GeometryLib::Point()))));
    EXPECT_EQ(core.playerInfos().getInfo(7).number, 3);
    EXPECT_EQ(notifier.events, std::vector<std::string>({"joined 7", "changed 7", "changed 7"}));
    EXPECT_TRUE(drainChat().empty());
    EXPECT_FLOAT_EQ(core.world().units.getUnit(7).body().position.x, 40.0f) << "a record moves nobody";
}

TEST_F(ClientIncomingCommandsTest, ALeavingPlayerLosesEverythingAndUnknownOnesAreRefused) {
    join(7, "Nib");
    drainChat();
    run(message(9, u32Bytes(7)));
    EXPECT_FALSE(core.world().units.hasClient(7));
    EXPECT_FALSE(core.playerInfos().hasInfo(7));
    EXPECT_FALSE(inputs.hasClient(7));
    EXPECT_EQ(core.gameInstance().players.count(7), 0u);
    EXPECT_EQ(notifier.events, std::vector<std::string>({"joined 7", "left 7"}));
    EXPECT_EQ(drainChat(), std::vector<std::string>({"Nib has left the game"}));

    // No player info: thrown from the execution.
    std::unique_ptr<Convinience::Command> ghost = core.incomingCommands().create(message(9, u32Bytes(7)));
    EXPECT_THROW(
        {
            try {
                ghost->execute();
            } catch (const Convinience::Error& e) {
                EXPECT_STREQ(e.what(), "no such player info");
                throw;
            }
        },
        Convinience::Error);

    // A player info without a unit: logged, nothing changes.
    core.playerInfos().addClient(9);
    run(message(9, u32Bytes(9)));
    EXPECT_TRUE(core.playerInfos().hasInfo(9));
    EXPECT_EQ(notifier.events.size(), 2u);
    EXPECT_TRUE(drainChat().empty());
}

TEST_F(ClientIncomingCommandsTest, AKickListStopsAtTheFirstClientWithoutAUnit) {
    join(7, "Nib");
    join(8, "Tam");
    core.playerInfos().addClient(20);  // info, no unit
    drainChat();
    run(message(13, bytesOf(Zarn::KickPlayersHeader({7, 20, 8}))));
    EXPECT_FALSE(present(7));
    EXPECT_TRUE(present(8));
    EXPECT_EQ(drainChat(), std::vector<std::string>({"Nib was kicked for lagging"}));

    // A client without info throws after the ones before it are gone.
    std::unique_ptr<Convinience::Command> kick =
        core.incomingCommands().create(message(13, bytesOf(Zarn::KickPlayersHeader({8, 99}))));
    EXPECT_THROW(kick->execute(), Convinience::Error);
    EXPECT_FALSE(present(8));
}

TEST_F(ClientIncomingCommandsTest, AGameInstanceAddsOnlyNewOthersAndIsCopied) {
    join(7, "Nib");
    notifier.events.clear();
    drainChat();
    Zarn::GameInstance confirmed;
    confirmed.instanceID = 5;
    confirmed.fromID = 44;
    confirmed.mapHash = 0xABCD;
    confirmed.endpoint = "host:1";
    confirmed.players = {kLocal, 7, 12};
    confirmed.playerInfos = {PlayerInfo(12, 2, "Pip")};
    confirmed.spawnSeed = 4242;
    core.world().units.getUnit(7).body().position = GeometryLib::FPoint(3.0f, 4.0f);
    core.world().removePlayer(kLocal);

    run(message(12, bytesOf(confirmed), kLocal));

    EXPECT_FALSE(core.world().units.hasClient(kLocal));  // the local client gets no unit here
    EXPECT_FLOAT_EQ(core.world().units.getUnit(7).body().position.x, 3.0f);  // already listed: left alone
    EXPECT_TRUE(core.world().units.hasClient(12));
    EXPECT_TRUE(inputs.hasClient(12));
    // The notifier's listeners (the scene's player visuals and display) read
    // the newcomer's info: it exists before they are told, from the record.
    ASSERT_TRUE(core.playerInfos().hasInfo(12));
    EXPECT_EQ(core.playerInfos().getInfo(12).name, "Pip");
    EXPECT_EQ(notifier.events, std::vector<std::string>({"joined 12"}));
    EXPECT_EQ(core.gameInstance().fromID, 44u);
    EXPECT_EQ(core.gameInstance().endpoint, "host:1");
    EXPECT_EQ(core.gameInstance().players, confirmed.players);
    ASSERT_EQ(core.gameInstance().playerInfos.size(), 1u);
    EXPECT_EQ(core.world().spawnSeed(), 4242u);  // the server's seed reaches the world
    EXPECT_TRUE(drainChat().empty());
}

// A player the instance brought without a record has a unit and a nameless
// info; its join, run after the instance, gives it the record and tells what
// shows the player, without announcing it again, so that it shows and leaves
// by name.
TEST_F(ClientIncomingCommandsTest, AJoinAfterTheInstanceListedThePlayerOnlyFillsItsRecord) {
    Zarn::GameInstance confirmed;
    confirmed.players = {kLocal, 12};
    run(message(12, bytesOf(confirmed), kLocal));
    ASSERT_TRUE(core.playerInfos().hasInfo(12));
    EXPECT_EQ(core.playerInfos().getInfo(12).name, "");
    drainChat();

    join(12, "Pip", GeometryLib::Point(5, 6));
    ASSERT_TRUE(present(12));
    EXPECT_EQ(core.playerInfos().getInfo(12).name, "Pip");
    EXPECT_EQ(core.playerInfos().getInfo(12).number, 12);
    EXPECT_EQ(notifier.events, std::vector<std::string>({"joined 12", "changed 12"}));
    EXPECT_TRUE(drainChat().empty());

    run(message(9, u32Bytes(12)));
    EXPECT_FALSE(core.world().units.hasClient(12));
    EXPECT_EQ(drainChat(), std::vector<std::string>({"Pip has left the game"}));
}

TEST_F(ClientIncomingCommandsTest, SetGameInstanceFillsPlayerInfosFromTheRecords) {
    Zarn::GameInstance instance;
    instance.players = {kLocal, 12};
    instance.playerInfos = {PlayerInfo(kLocal, 1, "Me"), PlayerInfo(12, 2, "Pip")};
    core.setGameInstance(instance);
    EXPECT_EQ(core.playerInfos().getInfo(kLocal).name, "Me");
    EXPECT_EQ(core.playerInfos().getInfo(12).number, 2);
    EXPECT_EQ(core.playerInfos().getInfo(12).name, "Pip");
    EXPECT_EQ(core.gameInstance().players, instance.players);
}

TEST_F(ClientIncomingCommandsTest, ExitConfirmationReachesTheNotifierOnlyWhileOneIsSet) {
    run(message(14, {}));
    EXPECT_EQ(notifier.events, std::vector<std::string>({"exit"}));
    std::unique_ptr<Convinience::Command> late = core.incomingCommands().create(message(14, {}));
    core.setGameNotifier(nullptr);
    late->execute();
    EXPECT_EQ(notifier.events.size(), 1u);
}

TEST_F(ClientIncomingCommandsTest, PlayerCommandsNeedAnInputManager) {
    Corvel::MessageQueue in{2}, out{2};
    ClientGameCore bare(in, out);
    for (const Corvel::QueuedMessage& m :
         {message(8, bytesOf(Zarn::ClientAddPlayerHeader(PlayerInfo(3, 1, "x"), {}))),
          message(9, u32Bytes(3)), message(12, bytesOf(Zarn::GameInstance())),
          message(13, bytesOf(Zarn::KickPlayersHeader({3})))}) {
        try {
            bare.incomingCommands().create(m);
            ADD_FAILURE() << "created without an input manager";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "Command factory cannot create if InputManager is null");
        }
    }
    EXPECT_NE(bare.incomingCommands().create(message(14, {})), nullptr);
}

TEST_F(ClientIncomingCommandsTest, ShortLyingOrUnknownDataIsRefusedAsInvalidCommandData) {
    std::vector<u8> lyingName = bytesOf(PlayerInfo(3, 1, "abc"));
    lyingName[5] = 0xFF;  // name length far past the end
    Zarn::GameInstance withPlayers;
    withPlayers.players = {1, 2, 3};
    std::vector<u8> shortInstance = bytesOf(withPlayers);
    shortInstance.resize(shortInstance.size() - 2);
    const struct {
        const char* what;
        Corvel::QueuedMessage m;
    } cases[] = {
        {"header cut short",
         [] {
             Corvel::QueuedMessage m;
             m.bytes = {1, 2, 3};
             return m;
         }()},
        {"unknown command", message(5, {})},
        {"add player without position", message(8, bytesOf(PlayerInfo(3, 1, "abc")))},
        {"add player with lying name", message(8, lyingName)},
        {"exit without client", message(9, {1, 0})},
        {"instance cut short", message(12, shortInstance)},
        {"kick count past the end", message(13, {0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0})},
        {"state sync cut short", message(3, {1, 2})},
    };
    for (const auto& c : cases) {
        EXPECT_THROW(core.incomingCommands().create(c.m), Convinience::InvalidCommandDataException) << c.what;
    }
    EXPECT_TRUE(core.world().units.hasClient(kLocal));
    EXPECT_EQ(core.world().units.size(), 1u);
}

TEST(ChatLineQueueTest, LinesPostedOnAnotherThreadLeaveInOrder) {
    ChatLineQueue queue;
    std::thread poster([&] {
        for (int i = 0; i < 2000; ++i) queue.post(std::to_string(i));
    });
    std::string line;
    int next = 0;
    while (next < 2000) {
        if (queue.take(line)) {
            ASSERT_EQ(line, std::to_string(next));
            ++next;
        }
    }
    poster.join();
    EXPECT_TRUE(queue.empty());
}

}  // namespace
