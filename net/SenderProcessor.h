#pragma once

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <unordered_map>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "net/AckFieldTracker.h"
#include "net/ClientEndpointTable.h"
#include "net/DeliveryTracker.h"
#include "net/Packet.h"

namespace Ferro {

// How outgoing packets are numbered: the application ID, the next sequence
// number (it advances with each unreliable packet) and the tracker that fills
// the acknowledgement fields (null: they stay 0). Owned by the client object,
// used by the send thread only.
struct PacketStamp {
    u32 applicationId = kApplicationId;
    u32 nextSequenceNumber = 0;
    AckFieldTracker* ackFields = nullptr;
};

// A smoothed round-trip time in milliseconds (0 until the first sample); each
// sample moves it by a tenth of the difference. Written by the send thread,
// readable from any thread.
class RoundTripEstimate {
public:
    static constexpr double kGain = 0.1;
    void addSample(u64 sampleMs);
    u64 milliseconds() const { return estimateMs_.load(); }

private:
    std::atomic<u64> estimateMs_{0};
};

// The send side of the transport. The command layer pushes message records
// into the outgoing ring and calls wake(); the owner's send thread runs run(),
// which turns every queued record into a packet, looks the destination's
// endpoints up and hands the bytes to a channel, then runs the
// acknowledgement, loss and resend passes. This class sends every packet
// through its one sink and records a send time for each (the lobby's
// assembly, over TCP).
//
// Threads: run() and everything it calls belong to the send thread; wake()
// and stop() may come from any thread. The stamp, the delivery tracker and the
// resend bookkeeping are the send thread's. The channels never block it: they
// post the bytes to the I/O thread.
class SenderProcessor : public Convinience::Wakeable {
public:
    // Reliable packets are kept for resending at most this many at a time
    // (the oldest copy is forgotten first).
    static constexpr std::size_t kResendStoreLimit = 1024;
    // More losses than this in one pass are reported.
    static constexpr std::size_t kLossWarningCount = 2048;

    // All five are owned by the client object and outlive the processor.
    SenderProcessor(Convinience::Sender& sink, const ClientEndpointTable& endpoints, PacketStamp& stamp,
                    DeliveryTracker& deliveryTracker, Corvel::MessageQueue& outgoing);
    // Stops the loop (see stop). The owner stops the loop and joins the send
    // thread before it destroys the processor.
    ~SenderProcessor() override;
    SenderProcessor(const SenderProcessor&) = delete;
    SenderProcessor& operator=(const SenderProcessor&) = delete;

    // The send loop, on the caller's thread: drains the outgoing ring, then
    // sleeps until wake() or stop(). A wake that comes while it drains is
    // kept, so nothing queued before a wake waits for the next one. Returns
    // after stop(); returns at once when stop() came before it started. May
    // be entered again after it has returned. Never throws: a failure while
    // sending one record is logged and the record dropped.
    void run();
    // Ends the loop and waits until it has left; a stop that comes before
    // run() starts is remembered and ends that run at once. Any thread but
    // the send thread; waits at most for the record being sent.
    void stop();
    // Ends the current or next sleep of the loop. Any thread.
    void wake() override;

    bool running() const { return running_.load(); }
    bool exited() const { return exited_.load(); }
    u64 roundTripMs() const { return roundTrip_.milliseconds(); }

    // Steps of the loop, public for tests; send thread only.
    void processOutgoing();
    void sendNext();
    void sendToDestination(const Packet1337& packet);
    void processAcknowledgements();
    void dropLostPackets();
    void resendDuePackets();
    void resend(const Packet1337& packet);

    // Send thread only.
    const std::unordered_map<u32, Packet1337>& resendStore() const { return resendStore_; }
    const std::unordered_map<u32, u32>& resendCounts() const { return resendCounts_; }
    i32 maxResendCount = 3;

protected:
    // Writes the packet to a channel: here the sink, to the reliable
    // endpoint, after recording its send time.
    virtual void send(const Packet1337& packet, const EndpointPair& endpoints);

    Convinience::Sender* sink_;
    DeliveryTracker* deliveryTracker_;
    Convinience::Logger logger_;

private:
    Packet1337 buildPacket(Corvel::QueuedMessage& record);
    void storeForResend(const Packet1337& packet);

    const ClientEndpointTable* endpoints_;
    PacketStamp* stamp_;
    Corvel::MessageQueue* outgoing_;

    std::unordered_map<u32, Packet1337> resendStore_;
    std::deque<u32> resendOrder_;  // numbers in resendStore_, oldest first
    std::unordered_map<u32, u32> resendCounts_;
    RoundTripEstimate roundTrip_;

    std::mutex mutex_;
    std::condition_variable wakeUp_;
    std::condition_variable left_;
    bool woken_ = false;          // guarded by mutex_
    bool stopRequested_ = false;  // guarded by mutex_
    std::atomic<bool> stopping_{false};
    std::atomic<bool> running_{false};
    std::atomic<bool> exited_{false};
};

// The game client's sender: reliable packets go over the reliable channel
// (TCP) to the reliable endpoint, the others over the unreliable channel (UDP)
// to the unreliable endpoint; no send times are recorded. Resends go over the
// unreliable channel, as for the base class.
class ReliableSenderProcessor : public SenderProcessor {
public:
    // sink: both channels (a TCPUDPSender); outlives the processor.
    ReliableSenderProcessor(Convinience::ReliableSender& sink, const ClientEndpointTable& endpoints,
                            PacketStamp& stamp, DeliveryTracker& deliveryTracker,
                            Corvel::MessageQueue& outgoing)
        : SenderProcessor(sink, endpoints, stamp, deliveryTracker, outgoing), reliableSink_(&sink) {}

protected:
    void send(const Packet1337& packet, const EndpointPair& endpoints) override;

private:
    Convinience::ReliableSender* reliableSink_;
};

}  // namespace Ferro
