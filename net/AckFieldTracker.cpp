#include "net/AckFieldTracker.h"

namespace Ferro {

void AckFieldTracker::fillAckFields(Packet1337Header& header) {
    if (acknowledged_ == nullptr) return;
    newest = savedNewest;
    mask = savedMask;
    if (!acknowledged_->empty()) {
        newest = acknowledged_->back();
        acknowledged_->pop_back();
        markReceived(newest);
        markPending();
    }
    buildMask();
    savedNewest = newest;
    savedMask = mask;
    header.acknowledgedSequenceNumber = newest;
    header.acknowledgementMask = mask;
}

void AckFieldTracker::markReceived(u32 number) {
    if (ages_ != nullptr) ages_->try_emplace(number, 0);
}

void AckFieldTracker::markPending() {
    for (int taken = 0; taken < kMaxAge && !acknowledged_->empty(); ++taken) {
        markReceived(acknowledged_->back());
        acknowledged_->pop_back();
    }
}

void AckFieldTracker::ageEntry(u32 number) {
    if (ages_ == nullptr) return;
    const auto it = ages_->find(number);
    if (it == ages_->end()) return;
    if (++it->second > kMaxAge) ages_->erase(it);
}

void AckFieldTracker::buildMask() {
    // Numbers are compared as signed 32-bit values; the arithmetic is 64-bit
    // so that no difference overflows.
    const i64 top = static_cast<i32>(newest);
    for (i64 i = top; i >= 1 && top - i < kMaxAge; --i) {
        const u32 number = static_cast<u32>(i);
        ageEntry(number);
        if (i < top && i > top - kMaxAge && ages_ != nullptr && ages_->count(number) != 0) {
            mask |= 1u << (top - i - 1);
        }
    }
}

}  // namespace Ferro
