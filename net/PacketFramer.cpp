#include "net/PacketFramer.h"

#include <algorithm>
#include <cstring>

#include "net/Packet.h"

namespace Ferro {

namespace {

constexpr std::size_t kLengthOffset = 28;

u32 readU32At(const u8* p) {
    return static_cast<u32>(p[0]) | (static_cast<u32>(p[1]) << 8) | (static_cast<u32>(p[2]) << 16) |
           (static_cast<u32>(p[3]) << 24);
}

}  // namespace

std::size_t PacketFramer::nextPacketSize() const {
    if (filled_ - start_ < Packet1337Header::kSize) return 0;
    return Packet1337Header::kSize + readU32At(storage_.data() + start_ + kLengthOffset);
}

std::span<u8> PacketFramer::prepare() {
    // Move what is pending to the front, so the storage never holds more than
    // one packet and one read.
    if (start_ > 0) {
        std::memmove(storage_.data(), storage_.data() + start_, filled_ - start_);
        filled_ -= start_;
        start_ = 0;
    }
    const std::size_t packetSize = nextPacketSize();
    const std::size_t missing = packetSize > filled_ ? packetSize - filled_ : 0;
    const std::size_t room = std::max(kReadSize, missing);
    const std::size_t needed = filled_ + room;
    if (storage_.size() < needed) {
        storage_.resize(needed);
    } else if (storage_.size() > 2 * kReadSize && storage_.size() > needed) {
        // A large packet has gone: give its room back.
        storage_.resize(needed);
        storage_.shrink_to_fit();
    }
    return {storage_.data() + filled_, room};
}

bool PacketFramer::commit(std::size_t n, const PacketHandler& onPacket) {
    if (broken_) return false;
    filled_ += std::min(n, storage_.size() - filled_);
    for (;;) {
        if (filled_ - start_ < Packet1337Header::kSize) return true;
        const u32 payloadLength = readU32At(storage_.data() + start_ + kLengthOffset);
        if (payloadLength > kMaxPayloadSize) {
            broken_ = true;
            brokenPayloadLength_ = payloadLength;
            start_ = filled_ = 0;
            return false;
        }
        const std::size_t size = Packet1337Header::kSize + payloadLength;
        if (filled_ - start_ < size) return true;
        const std::size_t at = start_;
        start_ += size;
        onPacket(storage_.data() + at, size);
    }
}

bool PacketFramer::feed(const u8* bytes, std::size_t n, const PacketHandler& onPacket) {
    while (n > 0 && !broken_) {
        const std::span<u8> room = prepare();
        const std::size_t chunk = std::min(n, room.size());
        std::memcpy(room.data(), bytes, chunk);
        bytes += chunk;
        n -= chunk;
        if (!commit(chunk, onPacket)) return false;
    }
    return !broken_;
}

}  // namespace Ferro
