#pragma once

#include <vector>

#include "foundation/Logger.h"
#include "foundation/Stopwatch.h"
#include "foundation/Types.h"
#include "net/Packet.h"

namespace Ferro {

// A sent sequence number and when it was sent (milliseconds of the session
// clock).
struct TimeStampedSequenceNumber {
    u32 sequenceNumber = 0;
    u64 timeMs = 0;
};

// An acknowledged sequence number and its round trip in milliseconds.
struct Acknowledgement {
    u32 sequenceNumber = 0;
    u64 roundTripMs = 0;
};

// Which sequence numbers were sent and when, which acknowledgements came back,
// and which sent numbers are old enough to resend or to count as lost.
//
// Owned by the client object. Used by the send thread only, apart from the
// acknowledgement ring, whose producer is the receiver processor.
class DeliveryTracker {
public:
    // Both outlive the tracker. clock may be null (every time is then 0); it
    // is started before the send thread runs and only read here.
    DeliveryTracker(AcknowledgementQueue& acknowledgements, const Convinience::Stopwatch* clock)
        : acknowledgements_(&acknowledgements), clock_(clock) {}

    // At most this many acknowledgement records are taken per call.
    static constexpr u32 kAcknowledgementsPerPass = 32;

    // Appends {number, now}; number 0 is recorded with time 0.
    void recordSend(u32 sequenceNumber);

    // Takes up to 32 records off the acknowledgement ring. Each names the
    // first `sent` entry with its number, which is removed; the number joins
    // `acknowledged` and comes back with its round trip. Number 0 without an
    // entry counts as sent at time 0. A record that names an unknown non-zero
    // number, or one received before it was sent, is logged (WARN) and
    // dropped: peers choose these numbers.
    std::vector<Acknowledgement> takeAcknowledged();
    // Removes and returns, in order, the entries at least the loss threshold
    // old.
    std::vector<TimeStampedSequenceNumber> takeLost();
    // Copies of the entries at least the resend threshold old (they stay).
    std::vector<TimeStampedSequenceNumber> collectDue() const;

    u64 nowMs() const { return clock_ != nullptr ? clock_->elapsedMilliseconds() : 0; }

    std::vector<TimeStampedSequenceNumber> sent;
    // Acknowledged numbers, newest at the back; the ack-field tracker takes
    // them from there.
    std::vector<u32> acknowledged;
    u64 resendThresholdMs = 200;
    u64 lossThresholdMs = 1000;

private:
    AcknowledgementQueue* acknowledgements_;
    const Convinience::Stopwatch* clock_;
    Convinience::Logger logger_;
};

}  // namespace Ferro
