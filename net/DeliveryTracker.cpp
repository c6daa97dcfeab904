#include "net/DeliveryTracker.h"

#include <algorithm>

namespace Ferro {

void DeliveryTracker::recordSend(u32 sequenceNumber) {
    sent.push_back({sequenceNumber, sequenceNumber != 0 ? nowMs() : 0});
}

std::vector<Acknowledgement> DeliveryTracker::takeAcknowledged() {
    std::vector<Acknowledgement> result;
    for (u32 handled = 0; handled < kAcknowledgementsPerPass && acknowledgements_->read_available() > 0;
         ++handled) {
        const AcknowledgementRecord record = acknowledgements_->front();
        acknowledgements_->pop();
        auto entry = std::find_if(sent.begin(), sent.end(), [&](const TimeStampedSequenceNumber& s) {
            return s.sequenceNumber == record.sequenceNumber;
        });
        if (entry == sent.end()) {
            if (record.sequenceNumber != 0) {
                logger_.log(Convinience::severity::warn, "Dropped acknowledgement of unknown packet #" +
                                                             std::to_string(record.sequenceNumber));
                continue;
            }
            entry = sent.insert(sent.begin(), TimeStampedSequenceNumber{0, 0});
        }
        if (record.receivedAtMs < entry->timeMs) {
            logger_.log(Convinience::severity::warn, "Dropped acknowledgement of packet #" +
                                                         std::to_string(record.sequenceNumber) +
                                                         " received before it was sent");
            continue;
        }
        acknowledged.push_back(record.sequenceNumber);
        result.push_back({record.sequenceNumber, record.receivedAtMs - entry->timeMs});
        sent.erase(entry);
    }
    return result;
}

std::vector<TimeStampedSequenceNumber> DeliveryTracker::takeLost() {
    const u64 now = nowMs();
    std::vector<TimeStampedSequenceNumber> lost;
    auto kept = sent.begin();
    for (auto it = sent.begin(); it != sent.end(); ++it) {
        if (now - it->timeMs >= lossThresholdMs) {
            lost.push_back(*it);
        } else {
            *kept++ = *it;
        }
    }
    sent.erase(kept, sent.end());
    return lost;
}

std::vector<TimeStampedSequenceNumber> DeliveryTracker::collectDue() const {
    const u64 now = nowMs();
    std::vector<TimeStampedSequenceNumber> due;
    for (const auto& entry : sent) {
        if (now - entry.timeMs >= resendThresholdMs) due.push_back(entry);
    }
    return due;
}

}  // namespace Ferro
