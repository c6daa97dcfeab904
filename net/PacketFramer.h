#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <vector>

#include "foundation/Types.h"

namespace Ferro {

// Cuts a TCP byte stream into packets: each packet is its 33-byte header and
// the payload length that the header states. Bytes accumulate until a packet
// is whole, however the stream was split into reads, and one read may hold
// several packets. A header that states more than kMaxPayloadSize payload
// bytes breaks the stream: the framer reports it and takes nothing more.
//
// One framer per connection; used by one thread at a time (the I/O thread).
// Holds at most one packet and one read's worth of bytes; once a large packet
// has gone, its room is given back at the next prepare.
class PacketFramer {
public:
    // Reads of at least this many bytes are offered by prepare.
    static constexpr std::size_t kReadSize = 4096;

    // Called with each whole packet; the bytes are valid only during the call.
    using PacketHandler = std::function<void(const u8* bytes, std::size_t size)>;

    // Room for the next read: at least kReadSize bytes, more when the packet
    // under way needs more to be whole. Valid until the next call.
    std::span<u8> prepare();
    // Takes `n` bytes that the last read wrote at the start of prepare()'s
    // room and hands every packet that is now whole to onPacket, in stream
    // order. False once the stream is broken (nothing is handed on then).
    bool commit(std::size_t n, const PacketHandler& onPacket);
    // Copies bytes in and commits them; for streams that come as a buffer.
    bool feed(const u8* bytes, std::size_t n, const PacketHandler& onPacket);

    bool broken() const { return broken_; }
    // The payload length that broke the stream (0 while it is not broken).
    u32 brokenPayloadLength() const { return brokenPayloadLength_; }
    // Bytes held that do not yet form a whole packet.
    std::size_t pendingBytes() const { return filled_ - start_; }
    // Bytes of storage held now.
    std::size_t storageBytes() const { return storage_.capacity(); }

private:
    // The whole size of the packet that starts at start_, 0 while its header
    // is incomplete.
    std::size_t nextPacketSize() const;

    std::vector<u8> storage_;
    std::size_t start_ = 0;   // first byte not yet handed on
    std::size_t filled_ = 0;  // end of the bytes received
    bool broken_ = false;
    u32 brokenPayloadLength_ = 0;
};

}  // namespace Ferro
