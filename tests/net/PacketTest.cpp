#include <gtest/gtest.h>

#include "foundation/ByteReader.h"
#include "net/Packet.h"

using Ferro::Packet1337;
using Ferro::Packet1337Header;

namespace {

Packet1337 samplePacket() {
    Packet1337 packet;
    packet.header.applicationId = 0x1337;
    packet.header.sequenceNumber = 0x01020304;
    packet.header.acknowledgedSequenceNumber = 5;
    packet.header.acknowledgementMask = 0x80000001;
    packet.header.senderClientId = 7;
    packet.header.destinationClientId = 0xAABBCCDD;
    packet.header.payloadLength = 3;
    packet.header.reliable = 1;
    packet.payload = {0xDE, 0xAD, 0x01};
    return packet;
}

// The sample packet as it goes on the wire.
const std::vector<u8> kSampleBytes = {
    0x37, 0x13, 0x00, 0x00,  // application ID
    0x04, 0x03, 0x02, 0x01,  // sequence number
    0x05, 0x00, 0x00, 0x00,  // acknowledged sequence number
    0x01, 0x00, 0x00, 0x80,  // acknowledgement mask
    0x00, 0x00, 0x00, 0x00,  // unused
    0x07, 0x00, 0x00, 0x00,  // sender client ID
    0xDD, 0xCC, 0xBB, 0xAA,  // destination client ID
    0x03, 0x00, 0x00, 0x00,  // payload length
    0x01,                    // reliable flag
    0xDE, 0xAD, 0x01,        // payload
};

}  // namespace

TEST(Packet1337, WritesTheGoldenBytes) {
    const Packet1337 packet = samplePacket();
    EXPECT_EQ(packet.bytes(), kSampleBytes);
    EXPECT_EQ(packet.serializedSize(), 36u);
    EXPECT_EQ(packet.header.serializedSize(), 33u);
    EXPECT_EQ(packet.header.toBytes(), std::vector<u8>(kSampleBytes.begin(), kSampleBytes.begin() + 33));
}

TEST(Packet1337, ReadsTheGoldenBytesBackAndLeavesTrailingBytes) {
    std::vector<u8> bytes = kSampleBytes;
    bytes.push_back(0x99);
    Convinience::ByteReader reader(bytes);
    const Packet1337 packet(reader);
    EXPECT_EQ(packet.bytes(), kSampleBytes);
    EXPECT_EQ(reader.remaining(), 1u);
}

TEST(Packet1337, EmptyPacketIsThirtyThreeZeroBytes) {
    const Packet1337 packet;
    EXPECT_EQ(packet.bytes(), std::vector<u8>(33, 0));
    Packet1337 stamped;
    stamped.header.applicationId = Ferro::kApplicationId;
    const auto bytes = stamped.bytes();
    ASSERT_EQ(bytes.size(), 33u);
    EXPECT_EQ(std::vector<u8>(bytes.begin(), bytes.begin() + 4), (std::vector<u8>{0x37, 0x13, 0x00, 0x00}));
}

TEST(Packet1337, ShortOrLyingBytesThrowInsteadOfReadingPastTheEnd) {
    const struct {
        const char* name;
        std::size_t keep;
    } cases[] = {{"nothing", 0},
                 {"half a header", 20},
                 {"header without its flag", 32},
                 {"header only, payload stated", 33},
                 {"payload cut short", 35}};
    for (const auto& c : cases) {
        const std::vector<u8> bytes(kSampleBytes.begin(), kSampleBytes.begin() + c.keep);
        Convinience::ByteReader reader(bytes);
        EXPECT_THROW(Packet1337{reader}, Convinience::ReadPastEndError) << c.name;
    }
}
