#include <gtest/gtest.h>

#include <atomic>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "../support/RoomFixtures.h"
#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/QueuedMessage.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/AddPlayerHeaders.h"
#include "simulation/server/ZarnServer.h"

using namespace Zarn;

namespace {

struct CountingWake : Convinience::Wakeable {
    void wake() override { ++wakes; }
    std::atomic<int> wakes{0};
};

struct RecordingRegistrar : EndpointRegistrar {
    void registerEndpoint(u32 id, const std::string& address) override {
        events.push_back("add " + std::to_string(id) + (address.empty() ? "" : " " + address));
    }
    void removeEndpoint(u32 id) override { events.push_back("remove " + std::to_string(id)); }
    std::vector<std::string> events;
};

Corvel::QueuedMessage hostRecord(u32 commandId, u32 number, const std::vector<u8>& data = {},
                                 u32 sender = 0) {
    Corvel::CommandHeader header(sender, commandId, 0, true);
    header.commandNumber = number;
    Convinience::Buffer buffer;
    header.serialize(buffer);
    if (!data.empty()) buffer.append(data.data(), static_cast<u32>(data.size()));
    Corvel::QueuedMessage record;
    record.fromClientId = sender;
    record.toClientId = 1;
    record.reliable = 1;
    record.bytes = buffer.takeBytes();
    return record;
}

// A server with a wake target asks its host for the fromID before anything
// else, and the answer (command 10) sets it; joins and exits reach the
// registrar, the join before the new client's unit exists.
TEST(ServerHostingHooksTest, AskForTheFromIDAndTellTheRegistrarOfJoinsAndExits) {
    Corvel::MessageQueue incoming(64), outgoing(64);
    ZarnServer server(incoming, outgoing);
    server.setTickDelta(0.03f);
    std::istringstream map = zarn_test::fixtureRoom().stream();
    server.loadMap(map);
    CountingWake target;
    RecordingRegistrar registrar;
    server.setWakeTarget(&target);
    server.setEndpointRegistrar(&registrar);
    std::thread loop([&] { server.run(); });
    Corvel::QueuedMessage request;
    for (int i = 0; i < 2000 && !outgoing.pop(request); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    server.stop();
    loop.join();

    Convinience::ByteReader reader(request.bytes);
    EXPECT_EQ(Corvel::CommandHeader(reader).commandId, HostCommandId::requestFromId);
    EXPECT_EQ(request.toClientId, 0u);
    EXPECT_GE(target.wakes.load(), 1);

    Convinience::Buffer id;
    id.appendU32(7);
    incoming.push(hostRecord(ServerCommandId::setGameFromId, 1, id.bytes()));
    Convinience::Buffer join;
    AddPlayerHeader(AddPlayerHeader::kNearPlayer, GeometryLib::Point(), PlayerInfo(12, 1, "p"))
        .serialize(join);
    incoming.push(hostRecord(ServerCommandId::addPlayer, 2, join.bytes()));
    server.runCommandBatch();
    EXPECT_EQ(server.gameInstance().fromID, 7u);
    incoming.push(hostRecord(ServerCommandId::exitGame, 0, {}, 12));
    server.runCommandBatch();
    server.runCommandBatch();
    EXPECT_EQ(registrar.events, (std::vector<std::string>{"add 12", "remove 12"}));
}

}  // namespace
