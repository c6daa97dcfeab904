#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "foundation/ByteReader.h"
#include "foundation/Stopwatch.h"
#include "net/SenderProcessor.h"
#include "support/net/LogWatch.h"

using Ferro::Packet1337;

namespace {

constexpr u32 kServer = 9;
const std::string kServerEndpoint = "127.0.0.1:4000";

// Both channels, recording what they were given.
class RecordingSink : public Convinience::ReliableSender {
public:
    struct Sent {
        Packet1337 packet;
        std::string endpoint;
        bool reliableChannel;
    };

    void send(const std::vector<u8>& bytes, const std::string& endpoint) override {
        record(bytes, endpoint, false);
    }
    void sendReliable(const std::vector<u8>& bytes, const std::string& endpoint) override {
        record(bytes, endpoint, true);
    }

    std::vector<Sent> taken() {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    std::size_t count() {
        std::lock_guard lock(mutex_);
        return sent_.size();
    }

private:
    void record(const std::vector<u8>& bytes, const std::string& endpoint, bool reliable) {
        Convinience::ByteReader reader(bytes);
        Packet1337 packet(reader);
        EXPECT_TRUE(reader.atEnd());
        std::lock_guard lock(mutex_);
        sent_.push_back({std::move(packet), endpoint, reliable});
    }

    std::mutex mutex_;
    std::vector<Sent> sent_;
};

Corvel::QueuedMessage record(bool reliable, std::vector<u8> payload, u32 to = kServer) {
    Corvel::QueuedMessage m;
    m.fromClientId = 2;
    m.toClientId = to;
    m.reliable = reliable ? 1 : 0;
    m.bytes = std::move(payload);
    return m;
}

// The assembly of one client, with a manual clock.
template <class Processor>
struct Assembly {
    Assembly() {
        endpoints.assign(kServer, kServerEndpoint);
        clock.start();
    }

    Convinience::ManualTickClock ticks;
    Convinience::Stopwatch clock{ticks};
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue outgoing{256};
    Ferro::ClientEndpointTable endpoints;
    std::unordered_map<u32, i32> ages;
    Ferro::DeliveryTracker delivery{acknowledgements, &clock};
    Ferro::AckFieldTracker ackFields{&ages, &delivery.acknowledged};
    Ferro::PacketStamp stamp{Ferro::kApplicationId, 0, &ackFields};
    RecordingSink sink;
    Processor processor{sink, endpoints, stamp, delivery, outgoing};
};

using GameAssembly = Assembly<Ferro::ReliableSenderProcessor>;
using LobbyAssembly = Assembly<Ferro::SenderProcessor>;

}  // namespace

TEST(SenderProcessor, NumbersPacketsReliableOnesShareTheNextUnreliableNumber) {
    GameAssembly a;
    a.delivery.acknowledged = {6};
    for (const bool reliable : {true, false, true, true, false}) a.outgoing.push(record(reliable, {1}));
    a.processor.processOutgoing();
    const auto sent = a.sink.taken();
    ASSERT_EQ(sent.size(), 5u);
    const u32 numbers[] = {0, 0, 1, 1, 1};
    for (std::size_t i = 0; i < sent.size(); ++i) {
        const auto& header = sent[i].packet.header;
        EXPECT_EQ(header.sequenceNumber, numbers[i]) << i;
        EXPECT_EQ(header.applicationId, 0x1337u);
        EXPECT_EQ(header.unused, 0u);
        EXPECT_EQ(header.senderClientId, 2u);
        EXPECT_EQ(header.destinationClientId, kServer);
        EXPECT_EQ(header.payloadLength, 1u);
        if (header.isReliable()) {
            EXPECT_EQ(header.acknowledgedSequenceNumber, 0u);
            EXPECT_EQ(header.acknowledgementMask, 0u);
        }
    }
    EXPECT_EQ(sent[1].packet.header.acknowledgedSequenceNumber, 6u);
    EXPECT_EQ(a.stamp.nextSequenceNumber, 2u);
    // The second reliable packet under number 1 replaced the first copy.
    ASSERT_EQ(a.processor.resendStore().size(), 2u);
    EXPECT_EQ(a.processor.resendStore().count(0), 1u);
    EXPECT_EQ(a.processor.resendStore().count(1), 1u);
}

TEST(SenderProcessor, GameClientSplitsChannelsAndRecordsNoSendTimes) {
    GameAssembly a;
    a.outgoing.push(record(true, {1}));
    a.outgoing.push(record(false, {2}));
    a.processor.processOutgoing();
    const auto sent = a.sink.taken();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_TRUE(sent[0].reliableChannel);
    EXPECT_FALSE(sent[1].reliableChannel);
    EXPECT_EQ(sent[0].endpoint, kServerEndpoint);
    EXPECT_EQ(sent[1].endpoint, kServerEndpoint);
    EXPECT_TRUE(a.delivery.sent.empty());
}

TEST(SenderProcessor, LobbySendsEverythingThroughItsSinkAndRecordsEverySend) {
    LobbyAssembly a;
    a.ticks.advanceMs(70);
    a.outgoing.push(record(true, {1}));
    a.outgoing.push(record(false, {2}));
    a.outgoing.push(record(false, {3}));
    a.processor.processOutgoing();
    const auto sent = a.sink.taken();
    ASSERT_EQ(sent.size(), 3u);
    for (const auto& s : sent) EXPECT_FALSE(s.reliableChannel);  // its one sink
    ASSERT_EQ(a.delivery.sent.size(), 3u);
    EXPECT_EQ(a.delivery.sent[0].timeMs, 0u);  // number 0
    EXPECT_EQ(a.delivery.sent[2].sequenceNumber, 1u);
    EXPECT_EQ(a.delivery.sent[2].timeMs, 70u);
}

TEST(SenderProcessor, DropsRecordsForUnknownClientsAndOversizedPayloads) {
    GameAssembly a;
    zarn_test::LogWatch log;
    a.outgoing.push(record(false, {1}, 44));
    a.outgoing.push(record(false, std::vector<u8>(Ferro::kMaxPayloadSize + 1)));
    a.outgoing.push(record(false, std::vector<u8>(Ferro::kMaxPayloadSize)));
    a.processor.processOutgoing();
    ASSERT_EQ(a.sink.count(), 1u);
    EXPECT_EQ(a.sink.taken()[0].packet.payload.size(), Ferro::kMaxPayloadSize);
    EXPECT_EQ(log.count("[WARN]: Invalid client ID 44while sending packet\n"), 1u);
    EXPECT_EQ(log.count("[WARN]: Dropped outgoing packet of 65537 payload bytes: above the limit\n"), 1u);
}

TEST(SenderProcessor, AcknowledgementsClearTheResendStoreAndSmoothTheRoundTrip) {
    LobbyAssembly a;
    a.ticks.advanceMs(1);
    a.outgoing.push(record(false, {1}));  // number 0
    a.outgoing.push(record(true, {2}));   // number 1, kept for resending
    a.processor.processOutgoing();
    ASSERT_EQ(a.processor.resendStore().count(1), 1u);

    // Samples: 100 (first), then 105 (+0.5 rounds away from zero to +1), 95 from 101 (-0.6 -> -1).
    a.acknowledgements.push({1, 101});
    a.outgoing.push(record(false, {3}));
    a.processor.processOutgoing();
    EXPECT_EQ(a.processor.resendStore().count(1), 0u);
    EXPECT_EQ(a.processor.roundTripMs(), 100u);

    const struct {
        u64 sample;
        u64 expected;
    } steps[] = {{105, 101}, {95, 100}, {100, 100}, {300, 120}, {0, 108}};
    for (const auto& step : steps) {
        a.ticks.advanceMs(1);
        a.outgoing.push(record(false, {4}));
        a.processor.processOutgoing();
        const u32 number = a.stamp.nextSequenceNumber - 1;
        const u64 sentAt = a.delivery.sent.back().timeMs;
        a.acknowledgements.push({number, sentAt + step.sample});
        a.outgoing.push(record(true, {5}));
        a.processor.processOutgoing();
        EXPECT_EQ(a.processor.roundTripMs(), step.expected) << step.sample;
    }
}

TEST(SenderProcessor, ResendsAStoredPacketAtMostFourTimesOverTheUnreliableEndpoint) {
    LobbyAssembly a;
    a.delivery.resendThresholdMs = 100;
    a.delivery.lossThresholdMs = 1000000;
    zarn_test::LogWatch log;
    a.ticks.advanceMs(5);
    a.outgoing.push(record(false, {1}));  // number 0 (never resent: nothing stored)
    a.outgoing.push(record(true, {2}));   // number 1, stored
    a.outgoing.push(record(false, {3}));  // number 1 as well
    a.processor.processOutgoing();
    ASSERT_EQ(a.sink.count(), 3u);
    for (int pass = 0; pass < 8; ++pass) {
        a.ticks.advanceMs(150);
        a.outgoing.push(record(false, {9}, 44));  // a drain that sends nothing reaches no one
        a.processor.processOutgoing();
    }
    const auto sent = a.sink.taken();
    ASSERT_EQ(sent.size(), 3u + 4u);
    for (std::size_t i = 3; i < sent.size(); ++i) {
        EXPECT_EQ(sent[i].packet.header.sequenceNumber, 1u);
        EXPECT_EQ(sent[i].packet.payload, (std::vector<u8>{2}));
    }
    EXPECT_EQ(a.processor.resendCounts().at(1), 4u);
    EXPECT_EQ(log.count("[INFO]: Resending packet #1\n"), 4u);
}

TEST(SenderProcessor, WithTheOwnersThresholdsNothingIsEverResent) {
    LobbyAssembly a;
    a.delivery.resendThresholdMs = 10000000;
    a.delivery.lossThresholdMs = 1000;
    a.ticks.advanceMs(5);
    a.outgoing.push(record(true, {2}));
    a.outgoing.push(record(false, {3}));
    a.processor.processOutgoing();
    a.ticks.advanceMs(1500);
    a.outgoing.push(record(false, {4}));
    a.processor.processOutgoing();
    EXPECT_EQ(a.sink.count(), 3u);
    EXPECT_TRUE(a.processor.resendStore().empty());  // lost, so dropped
}

TEST(SenderProcessor, WarnsOnceWhenMoreThan2048PacketsAreLostInOnePass) {
    for (const std::size_t lost : {std::size_t{2048}, std::size_t{2049}}) {
        LobbyAssembly a;
        a.ticks.advanceMs(1);
        for (std::size_t i = 0; i < lost; ++i) a.delivery.recordSend(static_cast<u32>(i + 1));
        a.ticks.advanceMs(2000);
        zarn_test::LogWatch log;
        a.processor.dropLostPackets();
        EXPECT_EQ(log.count("packets has been lost, something is wrong"), lost > 2048 ? 1u : 0u) << lost;
        EXPECT_EQ(log.count("[WARN]: Over " + std::to_string(lost) + " packets has been lost"),
                  lost > 2048 ? 1u : 0u);
    }
}

TEST(SenderProcessor, ForgetsTheOldestResendCopiesBeyondItsLimit) {
    GameAssembly a;
    const std::size_t extra = 5;
    for (std::size_t i = 0; i < Ferro::SenderProcessor::kResendStoreLimit + extra; ++i) {
        a.outgoing.push(record(true, {1}));
        a.outgoing.push(record(false, {2}));
        a.processor.processOutgoing();
    }
    EXPECT_EQ(a.processor.resendStore().size(), Ferro::SenderProcessor::kResendStoreLimit);
    for (u32 n = 0; n < extra; ++n) EXPECT_EQ(a.processor.resendStore().count(n), 0u) << n;
    EXPECT_EQ(a.processor.resendStore().count(static_cast<u32>(extra)), 1u);
}

TEST(SenderProcessor, StopBeforeRunReturnsAndEndsThatRunAtOnce) {
    GameAssembly a;
    a.processor.stop();  // never ran: returns at once
    std::thread sendThread([&] { a.processor.run(); });
    sendThread.join();  // would hang if the early stop were lost
    EXPECT_TRUE(a.processor.exited());
    EXPECT_FALSE(a.processor.running());
}

TEST(SenderProcessor, AWakeDuringADrainIsNotLostAndRunCanBeEnteredAgain) {
    GameAssembly a;
    for (int round = 0; round < 2; ++round) {
        std::thread sendThread([&] { a.processor.run(); });
        for (int i = 0; i < 200; ++i) {
            while (!a.outgoing.push(record(false, {static_cast<u8>(i)}))) std::this_thread::yield();
            a.processor.wake();
        }
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (a.sink.count() < 200u * (round + 1) && std::chrono::steady_clock::now() < deadline) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        EXPECT_EQ(a.sink.count(), 200u * (round + 1));
        a.processor.stop();
        sendThread.join();
        EXPECT_TRUE(a.processor.exited());
    }
}

TEST(SenderProcessor, AChannelThatThrowsCostsOneRecordNotTheSendThread) {
    class ThrowingOnce : public Convinience::ReliableSender {
    public:
        void send(const std::vector<u8>&, const std::string&) override {
            if (calls++ == 0) throw std::runtime_error("channel down");
        }
        void sendReliable(const std::vector<u8>& bytes, const std::string& endpoint) override {
            send(bytes, endpoint);
        }
        std::atomic<int> calls{0};
    } sink;
    Ferro::AcknowledgementQueue acknowledgements;
    Corvel::MessageQueue outgoing(8);
    Ferro::ClientEndpointTable endpoints;
    endpoints.assign(kServer, kServerEndpoint);
    Ferro::DeliveryTracker delivery(acknowledgements, nullptr);
    Ferro::PacketStamp stamp;
    Ferro::ReliableSenderProcessor processor(sink, endpoints, stamp, delivery, outgoing);
    zarn_test::LogWatch log;
    std::thread sendThread([&] { processor.run(); });
    outgoing.push(record(false, {1}));
    outgoing.push(record(true, {2}));
    processor.wake();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (sink.calls < 2 && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
    processor.stop();
    sendThread.join();
    EXPECT_EQ(sink.calls, 2);
    EXPECT_EQ(log.count("[ERROR]: Error sending packet: channel down\n"), 1u);
}
