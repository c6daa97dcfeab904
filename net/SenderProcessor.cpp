#include "net/SenderProcessor.h"

#include <exception>

namespace Ferro {

void RoundTripEstimate::addSample(u64 sampleMs) {
    const u64 estimate = estimateMs_.load();
    if (estimate == 0) {
        estimateMs_.store(sampleMs);
        return;
    }
    const double step = static_cast<double>(static_cast<i64>(sampleMs - estimate)) * kGain;
    const i64 rounded = static_cast<i64>(step + (step >= 0 ? 0.5 : -0.5));
    estimateMs_.fetch_add(static_cast<u64>(rounded));
}

SenderProcessor::SenderProcessor(Convinience::Sender& sink, const ClientEndpointTable& endpoints,
                                 PacketStamp& stamp, DeliveryTracker& deliveryTracker,
                                 Corvel::MessageQueue& outgoing)
    : sink_(&sink),
      deliveryTracker_(&deliveryTracker),
      endpoints_(&endpoints),
      stamp_(&stamp),
      outgoing_(&outgoing) {}

SenderProcessor::~SenderProcessor() {
    stop();
}

void SenderProcessor::run() {
    std::unique_lock lock(mutex_);
    if (!stopRequested_) {
        running_ = true;
        exited_ = false;
        for (;;) {
            lock.unlock();
            processOutgoing();
            lock.lock();
            wakeUp_.wait(lock, [this] { return woken_ || stopRequested_; });
            woken_ = false;
            if (stopRequested_) break;
        }
    }
    stopRequested_ = false;
    stopping_ = false;
    running_ = false;
    exited_ = true;
    left_.notify_all();
}

void SenderProcessor::stop() {
    std::unique_lock lock(mutex_);
    stopRequested_ = true;
    stopping_ = true;
    wakeUp_.notify_all();
    left_.wait(lock, [this] { return !running_.load(); });
}

void SenderProcessor::wake() {
    std::lock_guard lock(mutex_);
    woken_ = true;
    wakeUp_.notify_all();
}

void SenderProcessor::processOutgoing() {
    // A failure drops what it was doing (the record is already off the ring)
    // and the loop goes on.
    const auto guarded = [this](const char* what, auto&& step) {
        try {
            step();
        } catch (const std::exception& e) {
            logger_.log(Convinience::severity::error, std::string(what) + e.what());
        } catch (...) {
            logger_.log(Convinience::severity::error, std::string(what) + "unknown exception");
        }
    };
    while (!stopping_ && !outgoing_->empty()) {
        while (!outgoing_->empty()) guarded("Error sending packet: ", [this] { sendNext(); });
        guarded("Error in acknowledgement bookkeeping: ", [this] {
            processAcknowledgements();
            dropLostPackets();
            resendDuePackets();
        });
    }
}

Packet1337 SenderProcessor::buildPacket(Corvel::QueuedMessage& record) {
    Packet1337 packet;
    Packet1337Header& header = packet.header;
    header.applicationId = stamp_->applicationId;
    header.sequenceNumber = stamp_->nextSequenceNumber;
    header.reliable = record.reliable != 0 ? 1 : 0;
    if (!header.isReliable()) {
        if (stamp_->ackFields != nullptr) stamp_->ackFields->fillAckFields(header);
        ++stamp_->nextSequenceNumber;
    }
    header.senderClientId = record.fromClientId;
    header.destinationClientId = record.toClientId;
    header.payloadLength = static_cast<u32>(record.bytes.size());
    packet.payload = std::move(record.bytes);
    return packet;
}

void SenderProcessor::sendNext() {
    Corvel::QueuedMessage record;
    if (!outgoing_->pop(record)) return;
    if (record.bytes.size() > kMaxPayloadSize) {
        logger_.log(Convinience::severity::warn, "Dropped outgoing packet of " +
                                                     std::to_string(record.bytes.size()) +
                                                     " payload bytes: above the limit");
        return;
    }
    const Packet1337 packet = buildPacket(record);
    if (packet.header.isReliable()) storeForResend(packet);
    sendToDestination(packet);
}

void SenderProcessor::storeForResend(const Packet1337& packet) {
    const u32 number = packet.header.sequenceNumber;
    resendStore_.insert_or_assign(number, packet);
    if (resendStore_.size() <= kResendStoreLimit) return;
    // Forget the copy sent longest ago: the number furthest behind the
    // counter, counting round the wrap.
    auto oldest = resendStore_.begin();
    for (auto it = resendStore_.begin(); it != resendStore_.end(); ++it) {
        if (stamp_->nextSequenceNumber - it->first > stamp_->nextSequenceNumber - oldest->first) oldest = it;
    }
    resendCounts_.erase(oldest->first);
    resendStore_.erase(oldest);
}

void SenderProcessor::sendToDestination(const Packet1337& packet) {
    EndpointPair endpoints;
    if (!endpoints_->getEndpoints(packet.header.destinationClientId, endpoints)) {
        logger_.log(Convinience::severity::warn, "Invalid client ID " +
                                                     std::to_string(packet.header.destinationClientId) +
                                                     "while sending packet");
        return;
    }
    send(packet, endpoints);
}

void SenderProcessor::send(const Packet1337& packet, const EndpointPair& endpoints) {
    const std::vector<u8> bytes = packet.bytes();
    deliveryTracker_->recordSend(packet.header.sequenceNumber);
    sink_->send(bytes, endpoints.reliable);
}

void ReliableSenderProcessor::send(const Packet1337& packet, const EndpointPair& endpoints) {
    const std::vector<u8> bytes = packet.bytes();
    if (packet.header.isReliable()) {
        reliableSink_->sendReliable(bytes, endpoints.reliable);
    } else {
        reliableSink_->send(bytes, endpoints.unreliable);
    }
}

void SenderProcessor::processAcknowledgements() {
    for (const Acknowledgement& ack : deliveryTracker_->takeAcknowledged()) {
        resendStore_.erase(ack.sequenceNumber);
        resendCounts_.erase(ack.sequenceNumber);
        roundTrip_.addSample(ack.roundTripMs);
    }
}

void SenderProcessor::dropLostPackets() {
    const auto lost = deliveryTracker_->takeLost();
    if (lost.size() > kLossWarningCount) {
        logger_.log(Convinience::severity::warn,
                    "Over " + std::to_string(lost.size()) + " packets has been lost, something is wrong");
    }
    for (const auto& entry : lost) resendStore_.erase(entry.sequenceNumber);
}

void SenderProcessor::resendDuePackets() {
    for (const auto& entry : deliveryTracker_->collectDue()) {
        const auto stored = resendStore_.find(entry.sequenceNumber);
        if (stored == resendStore_.end()) continue;
        u32& count = resendCounts_[entry.sequenceNumber];
        if (static_cast<i64>(count) > maxResendCount) continue;
        ++count;
        resend(stored->second);
    }
}

void SenderProcessor::resend(const Packet1337& packet) {
    EndpointPair endpoints;
    if (!endpoints_->getEndpoints(packet.header.destinationClientId, endpoints)) return;
    sink_->send(packet.bytes(), endpoints.unreliable);
    logger_.log(Convinience::severity::info,
                "Resending packet #" + std::to_string(packet.header.sequenceNumber));
}

}  // namespace Ferro
