#pragma once

#include <boost/lockfree/spsc_queue.hpp>
#include <cstddef>
#include <vector>

#include "foundation/ByteReader.h"
#include "foundation/Serializable.h"
#include "foundation/Types.h"

namespace Ferro {

// Every packet that this system sends carries this application ID.
inline constexpr u32 kApplicationId = 0x1337;
// The largest payload that a packet may state. A TCP stream whose next header
// states more is closed (the length would be garbage or hostile).
inline constexpr u32 kMaxPayloadSize = 64 * 1024;

// The 33-byte header in front of every packet, on TCP and UDP alike.
// Little-endian, no padding:
//
// | offset | width | field                                                      |
// |--------|-------|------------------------------------------------------------|
// | 0      | u32   | application ID, 0x1337                                      |
// | 4      | u32   | sequence number (advances with each unreliable packet)      |
// | 8      | u32   | acknowledged sequence number (unreliable packets, else 0)   |
// | 12     | u32   | acknowledgement mask: bit k = (acknowledged - k - 1) arrived |
// | 16     | u32   | unused, 0 when sent, ignored when read                      |
// | 20     | u32   | sender client ID                                            |
// | 24     | u32   | destination client ID                                       |
// | 28     | u32   | payload length in bytes                                     |
// | 32     | u8    | reliable flag (1 reliable, 0 unreliable)                    |
class Packet1337Header : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 33;

    Packet1337Header() = default;
    // Reads 33 bytes; throws Convinience::ReadPastEndError when fewer remain.
    explicit Packet1337Header(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    bool isReliable() const { return reliable != 0; }

    u32 applicationId = 0;
    u32 sequenceNumber = 0;
    u32 acknowledgedSequenceNumber = 0;
    u32 acknowledgementMask = 0;
    u32 unused = 0;
    u32 senderClientId = 0;
    u32 destinationClientId = 0;
    u32 payloadLength = 0;
    u8 reliable = 0;
};

// A header and its payload (one command's bytes). Copied by value.
class Packet1337 : public Convinience::Serializable {
public:
    Packet1337() = default;
    // Reads the header and then exactly the stated payload; throws
    // Convinience::ReadPastEndError when the bytes hold less. Bytes after the
    // payload are left unread.
    explicit Packet1337(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return Packet1337Header::kSize + static_cast<u32>(payload.size()); }

    // The packet's bytes as a channel sends them (built in a 64-byte buffer
    // that grows by doubling).
    std::vector<u8> bytes() const;

    Packet1337Header header;
    std::vector<u8> payload;
};

// What a received packet tells the sender side: the acknowledged sequence
// number it carried and when it arrived (milliseconds of the session clock).
struct AcknowledgementRecord {
    u32 sequenceNumber = 0;
    u64 receivedAtMs = 0;
};

// Ring of acknowledgement records from the receiver (the I/O thread, its one
// producer) to the sender processor (the send thread, its one consumer).
// 257 slots, 256 usable; a push onto a full ring stores nothing.
using AcknowledgementQueue =
    boost::lockfree::spsc_queue<AcknowledgementRecord, boost::lockfree::capacity<257>>;

}  // namespace Ferro
