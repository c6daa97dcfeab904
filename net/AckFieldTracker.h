#pragma once

#include <unordered_map>
#include <vector>

#include "foundation/Types.h"
#include "net/Packet.h"

namespace Ferro {

// Fills the acknowledgement fields of outgoing unreliable packets from the
// numbers that the delivery tracker saw acknowledged: the newest number, and a
// mask whose bit k reports number (newest - k - 1). Numbers are remembered in
// an age map for up to 32 packets. The mask is never cleared or shifted: its
// bits accumulate from packet to packet (peers rely on these numbers).
//
// Owned by the client object; used by the send thread only (while it builds a
// packet).
class AckFieldTracker {
public:
    static constexpr i32 kMaxAge = 32;

    // ages: owned by the client object, may be null (no number is then
    // remembered and no mask bit set). acknowledged: the delivery tracker's
    // `acknowledged` list, may be null (the fields then stay 0).
    AckFieldTracker(std::unordered_map<u32, i32>* ages, std::vector<u32>* acknowledged)
        : ages_(ages), acknowledged_(acknowledged) {}

    // Takes the newest acknowledged number (and up to 32 more) off the list,
    // ages the remembered numbers and writes the acknowledged sequence number
    // and the mask into the header.
    void fillAckFields(Packet1337Header& header);

    void markReceived(u32 number);
    void markPending();
    void ageEntry(u32 number);
    void buildMask();

    u32 newest = 0;
    u32 savedNewest = 0;
    u32 mask = 0;
    u32 savedMask = 0;

private:
    std::unordered_map<u32, i32>* ages_;
    std::vector<u32>* acknowledged_;
};

}  // namespace Ferro
