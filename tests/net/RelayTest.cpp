#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

#include "support/net/LogWatch.h"
#include "support/net/LoopbackRelay.h"
#include "support/net/TransportNode.h"
#include "support/net/Waiting.h"

using namespace std::chrono_literals;
using zarn_test::LoopbackRelay;
using zarn_test::RelayDirection;
using zarn_test::RelayFaults;
using zarn_test::TransportNode;

namespace {

constexpr u32 kClient = 2;
constexpr u32 kServer = 9;

// Payload of record `index`: its kind, its index, then filler of a length
// that varies with the index.
std::vector<u8> payloadOf(bool reliable, u32 index) {
    std::vector<u8> bytes{static_cast<u8>(reliable ? 'R' : 'U'), static_cast<u8>(index),
                          static_cast<u8>(index >> 8)};
    bytes.resize(3 + (index * 13) % 200, static_cast<u8>(index));
    return bytes;
}

// A server node, the relay in front of it and a client node that talks to the
// relay as if it were the server.
struct RelayedPair {
    explicit RelayedPair(const RelayFaults& faults) : relay(server.port(), faults) {
        server.endpoints.assign(kClient, relay.backEndpoint());
        client.endpoints.assign(kServer, relay.endpoint());
        server.start();
        EXPECT_TRUE(client.connectTo(relay.port()));
        client.start();
    }

    void sendAll(TransportNode& from, u32 fromId, u32 toId, const std::vector<std::vector<u8>>& payloads) {
        for (const auto& payload : payloads) {
            const bool reliable = payload[0] == 'R';
            while (!from.send(zarn_test::makeMessage(fromId, toId, reliable, payload))) {
                std::this_thread::sleep_for(100us);
            }
            std::this_thread::sleep_for(50us);
        }
    }

    TransportNode server{TransportNode::Role::Server};
    LoopbackRelay relay;
    TransportNode client{TransportNode::Role::Client};
};

// The index of a record's payload, or -1 when the payload is not exactly what
// payloadOf made (a corrupted record).
int indexOf(const std::vector<u8>& payload) {
    if (payload.size() < 3) return -1;
    const u32 index = payload[1] | (payload[2] << 8);
    return payload == payloadOf(payload[0] == 'R', index) ? static_cast<int>(index) : -1;
}

// The indices of the records of one kind, in arrival order.
std::vector<int> indicesOf(const std::vector<std::vector<u8>>& payloads, char kind) {
    std::vector<int> out;
    for (const auto& p : payloads) {
        if (!p.empty() && p[0] == kind) out.push_back(indexOf(p));
    }
    return out;
}

std::vector<std::vector<u8>> payloadsOf(const std::vector<Corvel::QueuedMessage>& messages) {
    std::vector<std::vector<u8>> out;
    for (const auto& m : messages) out.push_back(m.bytes);
    return out;
}

// Takes a node's incoming records on a thread of its own (as a client's
// frame update would), so the ring never fills while the test sends.
class Collector {
public:
    explicit Collector(TransportNode& node)
        : thread_([this, &node] {
              while (!stop_) {
                  Corvel::QueuedMessage m;
                  if (node.incoming.pop(m)) {
                      std::lock_guard lock(mutex_);
                      messages_.push_back(std::move(m));
                  } else {
                      std::this_thread::sleep_for(100us);
                  }
              }
          }) {}
    ~Collector() { finish(); }

    // Waits until `count` records have come or the time is up, then stops.
    std::vector<Corvel::QueuedMessage> waitFor(std::size_t count, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        while (size() < count && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        std::this_thread::sleep_for(50ms);  // anything beyond the count would show now
        finish();
        return messages_;
    }

private:
    std::size_t size() {
        std::lock_guard lock(mutex_);
        return messages_.size();
    }
    void finish() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
    }

    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<Corvel::QueuedMessage> messages_;
    std::thread thread_;
};

std::vector<int> sorted(std::vector<int> v) {
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

TEST(LossyRelay, ExactlyTheWellFormedRecordsArriveReliableOnesInOrder) {
    for (const u32 seed : {1u, 2u, 3u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        RelayFaults faults;
        faults.seed = seed;
        faults.drop = 0.1;
        faults.duplicate = 0.1;
        faults.reorder = 0.1;
        faults.truncate = 0.1;
        faults.maxDelay = 3ms;
        faults.maxTcpPiece = 9;
        faults.maxTcpDelay = 1ms;
        RelayedPair pair(faults);
        zarn_test::LogWatch log;
        Collector serverInbox(pair.server);
        Collector clientInbox(pair.client);

        std::vector<std::vector<u8>> up, down;
        for (u32 i = 0; i < 300; ++i) up.push_back(payloadOf(i % 5 == 0, i));
        for (u32 i = 0; i < 100; ++i) down.push_back(payloadOf(false, i));
        std::thread serverSide([&] { pair.sendAll(pair.server, kServer, kClient, down); });
        pair.sendAll(pair.client, kClient, kServer, up);
        serverSide.join();
        ASSERT_TRUE(pair.relay.waitIdle(10s));

        // Reliable records: every one, in order. Unreliable ones: exactly
        // those whose datagrams the relay passed on whole, duplicates included.
        std::vector<std::vector<u8>> expectedReliable;
        for (const auto& p : up) {
            if (p[0] == 'R') expectedReliable.push_back(p);
        }
        std::vector<std::vector<u8>> expectedUp, expectedDown;
        for (const auto& d : pair.relay.wholeDatagrams(RelayDirection::ToTarget)) {
            expectedUp.emplace_back(d.begin() + 33, d.end());
        }
        for (const auto& d : pair.relay.wholeDatagrams(RelayDirection::ToClient)) {
            expectedDown.emplace_back(d.begin() + 33, d.end());
        }
        const auto atServer = serverInbox.waitFor(expectedReliable.size() + expectedUp.size(), 10s);
        const auto atClient = clientInbox.waitFor(expectedDown.size(), 10s);

        EXPECT_EQ(indicesOf(payloadsOf(atServer), 'R'), indicesOf(expectedReliable, 'R'));
        EXPECT_EQ(sorted(indicesOf(payloadsOf(atServer), 'U')), sorted(indicesOf(expectedUp, 'U')));
        EXPECT_EQ(sorted(indicesOf(payloadsOf(atClient), 'U')), sorted(indicesOf(expectedDown, 'U')));
        for (const auto& m : atServer) EXPECT_EQ(m.fromClientId, kClient);
        for (const auto& m : atClient) EXPECT_EQ(m.fromClientId, kServer);

        const auto upStats = pair.relay.stats(RelayDirection::ToTarget);
        const auto downStats = pair.relay.stats(RelayDirection::ToClient);
        EXPECT_GT(upStats.dropped + upStats.truncated + upStats.duplicated, 0u);
        EXPECT_EQ(log.count("[WARN]: Recieved invalid packet from "),
                  upStats.truncated + downStats.truncated);
    }
}

TEST(LossyRelay, AStreamCutInsideAPacketDeliversThePacketsBeforeItAndOneDisconnectEachSide) {
    RelayFaults faults;
    faults.maxTcpPiece = 5;
    const std::size_t packetSize = 33 + 10;
    faults.cutTcpAfter = packetSize * 5 + 20;
    RelayedPair pair(faults);
    zarn_test::RecordingDisconnects atServer, atClient;
    pair.server.tcpReader->setDisconnectHandler(&atServer);
    pair.client.tcpReader->setDisconnectHandler(&atClient);

    for (u32 i = 0; i < 8; ++i) {
        std::vector<u8> payload(10, static_cast<u8>(i));
        payload[0] = 'R';
        pair.client.send(zarn_test::makeMessage(kClient, kServer, true, payload));
    }
    zarn_test::LogWatch log;
    const auto got = pair.server.waitForIncoming(5, 5s);
    ASSERT_EQ(got.size(), 5u) << pair.relay.tcpBytesToTarget() << log.text();
    for (u32 i = 0; i < 5; ++i) EXPECT_EQ(got[i].bytes[1], i);
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while ((atServer.taken().empty() || atClient.taken().empty()) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(atServer.taken(), std::vector<std::string>{pair.relay.backEndpoint()});
    EXPECT_EQ(atClient.taken(), std::vector<std::string>{pair.relay.endpoint()});
    EXPECT_TRUE(pair.server.drainIncoming().empty());
}
