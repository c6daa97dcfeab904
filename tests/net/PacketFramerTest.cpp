#include <gtest/gtest.h>

#include <cstring>

#include "net/Packet.h"
#include "net/PacketFramer.h"

using Ferro::PacketFramer;

namespace {

std::vector<u8> packetBytes(std::size_t payloadSize, u8 fill) {
    Ferro::Packet1337 packet;
    packet.header.applicationId = Ferro::kApplicationId;
    packet.header.payloadLength = static_cast<u32>(payloadSize);
    packet.payload.assign(payloadSize, fill);
    return packet.bytes();
}

struct Collected {
    std::vector<std::vector<u8>> packets;
    PacketFramer::PacketHandler handler() {
        return [this](const u8* bytes, std::size_t size) { packets.emplace_back(bytes, bytes + size); };
    }
};

}  // namespace

TEST(PacketFramer, CutsAStreamIntoPacketsHoweverItIsSplit) {
    std::vector<u8> stream;
    std::vector<std::vector<u8>> expected;
    for (const std::size_t size : {0, 1, 255, 256, 257, 4000, 60000, 65536}) {
        expected.push_back(packetBytes(size, static_cast<u8>(size)));
        stream.insert(stream.end(), expected.back().begin(), expected.back().end());
    }
    for (const std::size_t piece :
         {std::size_t{1}, std::size_t{7}, std::size_t{33}, std::size_t{4096}, stream.size()}) {
        PacketFramer framer;
        Collected got;
        for (std::size_t at = 0; at < stream.size(); at += piece) {
            const std::size_t n = std::min(piece, stream.size() - at);
            ASSERT_TRUE(framer.feed(stream.data() + at, n, got.handler()));
        }
        EXPECT_EQ(got.packets, expected) << "pieces of " << piece;
        EXPECT_EQ(framer.pendingBytes(), 0u);
    }
}

TEST(PacketFramer, ReadsStraightIntoItsRoomAndOffersWhatALargePacketNeeds) {
    PacketFramer framer;
    Collected got;
    const std::vector<u8> big = packetBytes(60000, 3);
    auto room = framer.prepare();
    ASSERT_GE(room.size(), PacketFramer::kReadSize);
    std::memcpy(room.data(), big.data(), 100);
    ASSERT_TRUE(framer.commit(100, got.handler()));
    room = framer.prepare();
    ASSERT_GE(room.size(), big.size() - 100);  // the rest of the packet fits in one read
    std::memcpy(room.data(), big.data() + 100, big.size() - 100);
    ASSERT_TRUE(framer.commit(big.size() - 100, got.handler()));
    ASSERT_EQ(got.packets.size(), 1u);
    EXPECT_EQ(got.packets[0], big);
}

// A connection that once carried a large packet does not keep its room.
TEST(PacketFramer, GivesALargePacketsRoomBackOnceItHasGone) {
    PacketFramer framer;
    Collected got;
    const std::vector<u8> big = packetBytes(60000, 3);
    ASSERT_TRUE(framer.feed(big.data(), big.size(), got.handler()));
    const std::vector<u8> small = packetBytes(10, 4);
    ASSERT_TRUE(framer.feed(small.data(), small.size(), got.handler()));
    framer.prepare();
    EXPECT_EQ(got.packets.size(), 2u);
    EXPECT_LE(framer.storageBytes(), 2 * PacketFramer::kReadSize);
}

TEST(PacketFramer, AStatedPayloadAboveTheLimitBreaksTheStream) {
    std::vector<u8> stream = packetBytes(2, 1);
    std::vector<u8> bad = packetBytes(0, 0);
    const u32 huge = Ferro::kMaxPayloadSize + 1;
    std::memcpy(bad.data() + 28, &huge, 4);
    stream.insert(stream.end(), bad.begin(), bad.end());
    const std::vector<u8> after = packetBytes(1, 9);
    stream.insert(stream.end(), after.begin(), after.end());

    PacketFramer framer;
    Collected got;
    EXPECT_FALSE(framer.feed(stream.data(), stream.size(), got.handler()));
    EXPECT_EQ(got.packets.size(), 1u);  // the packet before it
    EXPECT_TRUE(framer.broken());
    EXPECT_EQ(framer.brokenPayloadLength(), huge);
    EXPECT_FALSE(framer.feed(after.data(), after.size(), got.handler()));
    EXPECT_EQ(got.packets.size(), 1u);
}
