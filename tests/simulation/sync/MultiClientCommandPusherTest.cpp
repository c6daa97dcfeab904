#include <gtest/gtest.h>

#include "../support/StateWorld.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/sync/GSCommandPusher.h"
#include "simulation/sync/GameStatePacker.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;

class MarkerKeeper : public ScoreKeeper {
public:
    MarkerKeeper() : ScoreKeeper(scoreKeeperKind::timeAttack) {}
    void update() override {}
    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU64(0x1122334455667788ull); }
};

struct Server {
    Server()
        : mapCapture(world.trapList, world.numbered, nullptr),
          capture(units, simulator),
          pushers(out, capture) {
        world.addTrap(1, 43);
        units.addClient(3);
        capture.mapState = &mapCapture;
        scores.keepers.insert(scoreKeeperKind::timeAttack, &keeper);
        pushers.packer = &packer;
        pushers.scores = &scores;
    }

    zarn_test::StateWorld world;
    SteerableUnitManager units;
    SteerableSimulator simulator;
    MapStateCapture mapCapture;
    GameStateCapture capture;
    Corvel::MessageQueue out{16};
    GameStatePacker packer;
    MarkerKeeper keeper;
    ScoreKeeperRegistry scores;
    MultiClientCommandPusher pushers;
};

TEST(MultiClientCommandPusher, RepliesCarryStateThenScoreBlockAndFileTheFullState) {
    Server s;
    s.pushers.addClient(3);
    s.simulator.tickCount = 5;
    Corvel::CommandHeader reply(3, 3, 9, false);
    ASSERT_TRUE(s.pushers.pusherFor(3).push(reply));
    Corvel::QueuedMessage m;
    ASSERT_TRUE(s.out.pop(m));
    Convinience::ByteReader reader(m.bytes);
    const CommandData data(reader, s.world.factories);
    EXPECT_EQ(data.header.replyTo, 9u);
    EXPECT_EQ(data.state.tick, 5u);
    EXPECT_EQ(data.state.mapState.trapStates.size(), 1u);
    ASSERT_EQ(reader.remaining(), 8u);
    EXPECT_EQ(reader.readU64(), 0x1122334455667788ull);
    EXPECT_EQ(s.packer.history().count(5), 1u);
}

TEST(MultiClientCommandPusher, PushersFollowTheirClients) {
    Server s;
    s.pushers.addClient(3);
    Corvel::CommandHeader h(3, 3, 0, false);
    s.pushers.pusherFor(3).push(h);
    s.pushers.addClient(3);  // keeps the pusher and its numbering
    EXPECT_EQ(s.pushers.pusherFor(3).nextCommandNumber, 1u);
    EXPECT_EQ(s.pushers.pusherFor(3).packer, &s.packer);
    s.pushers.removeClient(3);
    EXPECT_THROW(s.pushers.pusherFor(3), Convinience::ClientIDNotFoundException);
}

}  // namespace
