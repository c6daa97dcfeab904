#include <gtest/gtest.h>

#include "foundation/Error.h"
#include "simulation/commands/ClientLocalCommandFactory.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/commands/FixedRateProducer.h"
#include "simulation/managers/InputManager.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/sync/GSCommandPusher.h"
#include "world/steering/SteerableSimulator.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;

// The client's side of the local commands: a capture with its input manager
// and unconfirmed-input table, a pusher into an outgoing ring, a producer.
struct ClientSide {
    ClientSide() : capture(units, simulator), pusher(out, capture), producer(local, &factory) {
        units.addClient(4);
        inputs.addClient(4);
        capture.inputs = &inputs;
        capture.unconfirmed = &unconfirmed;
        factory.localClientID = 4;
        producer.period = 0.03f;
    }

    GameState sent() {
        Corvel::QueuedMessage m;
        EXPECT_TRUE(out.pop(m));
        Convinience::ByteReader reader(m.bytes);
        lastHeader = Corvel::CommandHeader(reader);
        lastRoute = {m.fromClientId, m.toClientId};
        return GameState(reader, StateFactories{});
    }

    SteerableUnitManager units;
    SteerableSimulator simulator;
    InputManager inputs;
    UnconfirmedInputTable unconfirmed;
    GameStateCapture capture;
    Corvel::MessageQueue out{64};
    GSCommandPusher pusher;
    FixedRateProducer::CommandQueue local;
    u32 fromId = 77;
    FixedRateProducer producer;
    ClientLocalCommandFactory factory{pusher, producer, fromId};
    Corvel::CommandHeader lastHeader;
    std::pair<u32, u32> lastRoute;
};

TEST(LocalCommandFactory, StateUpdateAndInputCarryTheCapture) {
    ClientSide c;
    c.factory.create(LocalCommandId::stateUpdate)->execute();
    GameState s = c.sent();
    EXPECT_EQ(c.lastHeader.commandId, 1u);
    EXPECT_EQ(c.lastHeader.clientId, 4u);
    EXPECT_EQ(c.lastHeader.replyTo, 0u);
    EXPECT_FALSE(c.lastHeader.expectsConfirmation);
    EXPECT_EQ(c.lastRoute, std::make_pair(4u, 77u));
    EXPECT_EQ(s.clientStates.size(), 1u);
    EXPECT_TRUE(s.inputStates.empty());

    c.inputs.pushInput(4, InputData(8, {1.0f, 2.0f}));
    c.factory.create(LocalCommandId::input)->execute();
    s = c.sent();
    EXPECT_EQ(c.lastHeader.commandId, 2u);
    ASSERT_EQ(s.inputStates.size(), 1u);
    EXPECT_EQ(s.inputStates[0].inputTick, 2u);
    EXPECT_FALSE(c.inputs.hasInput(4));

    // Unacknowledged input repeats, with its input tick, until acknowledged.
    c.factory.create(LocalCommandId::stateUpdate)->execute();
    s = c.sent();
    ASSERT_EQ(s.inputStates.size(), 1u);
    EXPECT_EQ(s.inputStates[0].inputTick, 2u);
    c.unconfirmed.eraseAcknowledged(4, {AckedInputTicks(5, {2}), AckedInputTicks(4, {1, 2})});
    c.factory.create(LocalCommandId::stateUpdate)->execute();
    EXPECT_TRUE(c.sent().inputStates.empty());
}

TEST(LocalCommandFactory, ExitStopsTheProducerAndAsksForConfirmation) {
    ClientSide c;
    c.producer.nextCommandID = LocalCommandId::exitGame;
    c.producer.advance(0.03f);
    ASSERT_EQ(c.local.size(), 1u);
    c.local[0]->execute();
    Corvel::QueuedMessage m;
    ASSERT_TRUE(c.out.pop(m));
    EXPECT_EQ(m.bytes.size(), Corvel::CommandHeader::kSize);
    Convinience::ByteReader reader(m.bytes);
    const Corvel::CommandHeader h(reader);
    EXPECT_EQ(h.commandId, 9u);
    EXPECT_TRUE(h.expectsConfirmation);
    EXPECT_FALSE(c.producer.enabled);
    c.producer.advance(1.0f);
    EXPECT_EQ(c.local.size(), 1u);
}

TEST(LocalCommandFactory, ProducerEmitsOnePerTickAndResetsToStateUpdate) {
    ClientSide c;
    c.producer.nextCommandID = LocalCommandId::input;
    c.inputs.pushInput(4, InputData(4, {}));
    c.producer.advance(0.07f);
    ASSERT_EQ(c.local.size(), 2u);
    for (auto& command : c.local) command->execute();
    c.sent();
    EXPECT_EQ(c.lastHeader.commandId, 2u);
    c.sent();
    EXPECT_EQ(c.lastHeader.commandId, 1u);
}

TEST(LocalCommandFactory, UnknownIdThrows) {
    ClientSide c;
    for (u32 id : {0u, 3u, 8u, 10u}) {
        try {
            c.factory.create(id);
            ADD_FAILURE() << id;
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "Invalid Command ID");
        }
    }
}

TEST(CommandIds, MapActionTable) {
    for (u32 id = 0; id < 40; ++id) {
        const bool expected = id <= 32 ? id != 3 : id == 37;
        EXPECT_EQ(MapActionId::isMapAction(id), expected) << id;
    }
}

}  // namespace
