#include <gtest/gtest.h>

#include "foundation/Stopwatch.h"
#include "net/RecieverProcessor.h"
#include "support/net/LogWatch.h"

using Ferro::Packet1337;

namespace {

constexpr u32 kServer = 9;
const std::string kServerEndpoint = "127.0.0.1:4000";

Packet1337 packetFrom(u32 sender, bool reliable, u32 acknowledged, std::vector<u8> payload) {
    Packet1337 packet;
    packet.header.applicationId = Ferro::kApplicationId;
    packet.header.sequenceNumber = 12;
    packet.header.acknowledgedSequenceNumber = acknowledged;
    packet.header.senderClientId = sender;
    packet.header.destinationClientId = 2;
    packet.header.reliable = reliable ? 1 : 0;
    packet.header.payloadLength = static_cast<u32>(payload.size());
    packet.payload = std::move(payload);
    return packet;
}

struct ReceiverFixture : ::testing::Test {
    ReceiverFixture() {
        endpoints.assign(kServer, kServerEndpoint);
        clock.start();
        ticks.advanceMs(250);
    }

    void receive(const std::vector<u8>& bytes, const std::string& from = kServerEndpoint) {
        processor.receive(bytes.data(), bytes.size(), from);
    }
    std::vector<Corvel::QueuedMessage> messages() {
        std::vector<Corvel::QueuedMessage> all;
        Corvel::QueuedMessage m;
        while (incoming.pop(m)) all.push_back(std::move(m));
        return all;
    }
    std::vector<Ferro::AcknowledgementRecord> acks() {
        std::vector<Ferro::AcknowledgementRecord> all;
        acknowledgements.consume_all([&](const Ferro::AcknowledgementRecord& r) { all.push_back(r); });
        return all;
    }

    Convinience::ManualTickClock ticks;
    Convinience::Stopwatch clock{ticks};
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue incoming{4};
    Ferro::ClientEndpointTable endpoints;
    Ferro::ClientIDResolver resolver{endpoints};
    Ferro::RecieverProcessor processor{acknowledgements, resolver, &clock, incoming};
};

}  // namespace

TEST_F(ReceiverFixture, QueuesAValidPacketAndItsAcknowledgement) {
    receive(packetFrom(kServer, false, 5, {1, 2, 3}).bytes());
    const auto queued = messages();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].fromClientId, kServer);
    EXPECT_EQ(queued[0].toClientId, 2u);
    EXPECT_EQ(queued[0].reliable, 0);
    EXPECT_EQ(queued[0].bytes, (std::vector<u8>{1, 2, 3}));
    const auto taken = acks();
    ASSERT_EQ(taken.size(), 1u);
    EXPECT_EQ(taken[0].sequenceNumber, 5u);
    EXPECT_EQ(taken[0].receivedAtMs, 250u);
}

TEST_F(ReceiverFixture, PushesAnAcknowledgementForUnreliablePacketsAndNumberedReliableOnes) {
    const struct {
        bool reliable;
        u32 acknowledged;
        bool pushes;
    } cases[] = {{false, 0, true}, {false, 7, true}, {true, 0, false}, {true, 7, true}};
    for (const auto& c : cases) {
        receive(packetFrom(kServer, c.reliable, c.acknowledged, {}).bytes());
        const auto taken = acks();
        EXPECT_EQ(taken.size(), c.pushes ? 1u : 0u) << c.reliable << " " << c.acknowledged;
        if (!taken.empty()) {
            EXPECT_EQ(taken[0].sequenceNumber, c.acknowledged);
        }
        EXPECT_EQ(messages().size(), 1u);
    }
}

TEST_F(ReceiverFixture, DropsMalformedPacketsWithTheInvalidPacketWarning) {
    const std::vector<u8> good = packetFrom(kServer, true, 0, {1, 2, 3, 4}).bytes();
    std::vector<u8> wrongId = good;
    wrongId[0] = 0x38;
    std::vector<u8> lyingLength = good;
    lyingLength[28] = 5;
    std::vector<u8> hugeLength = good;
    hugeLength[31] = 0xFF;
    const struct {
        const char* name;
        std::vector<u8> bytes;
    } cases[] = {
        {"empty", {}},
        {"short header", std::vector<u8>(good.begin(), good.begin() + 32)},
        {"payload cut", std::vector<u8>(good.begin(), good.end() - 1)},
        {"wrong application ID", wrongId},
        {"length past the bytes", lyingLength},
        {"huge length", hugeLength},
    };
    for (const auto& c : cases) {
        zarn_test::LogWatch log;
        receive(c.bytes);
        EXPECT_TRUE(messages().empty()) << c.name;
        EXPECT_TRUE(acks().empty()) << c.name;
        EXPECT_EQ(log.count("[WARN]: Recieved invalid packet from 127.0.0.1:4000\n"), 1u) << c.name;
    }
}

TEST_F(ReceiverFixture, DropsPacketsWhoseSenderDoesNotMatchTheEndpoint) {
    const struct {
        const char* name;
        u32 sender;
        std::string from;
    } cases[] = {{"another port", kServer, "127.0.0.1:4001"},
                 {"unknown sender ID", kServer + 1, kServerEndpoint},
                 {"host name instead of address", kServer, "localhost:4000"}};
    for (const auto& c : cases) {
        zarn_test::LogWatch log;
        receive(packetFrom(c.sender, false, 1, {1}).bytes(), c.from);
        EXPECT_TRUE(messages().empty()) << c.name;
        EXPECT_TRUE(acks().empty()) << c.name;
        EXPECT_EQ(log.count("[WARN]: Recieved packet from invalid endpoint " + c.from + "\n"), 1u) << c.name;
    }
}

TEST_F(ReceiverFixture, IgnoresBytesAfterThePacketAndDropsWhatAFullRingCannotTake) {
    std::vector<u8> bytes = packetFrom(kServer, false, 0, {4, 5}).bytes();
    bytes.insert(bytes.end(), {0x37, 0x13, 0, 0});
    for (int i = 0; i < 6; ++i) receive(bytes);
    const auto queued = messages();
    ASSERT_EQ(queued.size(), 4u);
    EXPECT_EQ(queued[3].bytes, (std::vector<u8>{4, 5}));
}

TEST(RecieverProcessor, WithoutAClockStampsAcknowledgementsWithZero) {
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue incoming(4);
    Ferro::ClientEndpointTable endpoints;
    endpoints.assign(kServer, kServerEndpoint);
    Ferro::ClientIDResolver resolver(endpoints);
    Ferro::RecieverProcessor processor(acknowledgements, resolver, nullptr, incoming);
    const auto bytes = packetFrom(kServer, false, 3, {}).bytes();
    processor.receive(bytes.data(), bytes.size(), kServerEndpoint);
    ASSERT_EQ(acknowledgements.read_available(), 1u);
    EXPECT_EQ(acknowledgements.front().receivedAtMs, 0u);
}
