#include "foundation/RateLimitedLog.h"

namespace Convinience {

RateLimitedLog::RateLimitedLog(const TickClock& clock, std::size_t maxKinds, Sink sink)
    : clock_(&clock), maxKinds_(maxKinds < 1 ? 1 : maxKinds), sink_(std::move(sink)) {
    if (!sink_) sink_ = [this](u32 severity, const std::string& line) { logger_.log(severity, line); };
}

std::string RateLimitedLog::groupDigits(u64 count) {
    std::string digits = std::to_string(count);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<std::size_t>(at), ",");
    return digits;
}

void RateLimitedLog::report(const std::string& kind, Kind& entry) {
    if (entry.held == 0) return;
    sink_(entry.severity, kind + ": … " + groupDigits(entry.held) + " more in the last second");
    entry.held = 0;
}

void RateLimitedLog::log(u32 severity, const std::string& kind, const std::string& line) {
    std::lock_guard lock(mutex_);
    const u64 now = nowMs();
    const bool known = kinds_.count(kind) != 0;
    const std::string& name = known || kinds_.size() < maxKinds_ ? kind : otherKind_;
    Kind& entry = kinds_[name];
    if (entry.windowStartMs != 0 && now - entry.windowStartMs < kIntervalMs) {
        ++entry.held;
        ++heldBack_;
        entry.severity = severity;
        return;
    }
    report(name, entry);
    entry.windowStartMs = now == 0 ? 1 : now;
    entry.severity = severity;
    sink_(severity, line);
}

void RateLimitedLog::flush() {
    std::lock_guard lock(mutex_);
    const u64 now = nowMs();
    for (auto it = kinds_.begin(); it != kinds_.end();) {
        Kind& entry = it->second;
        if (now - entry.windowStartMs < kIntervalMs) {
            ++it;
            continue;
        }
        if (entry.held == 0) {
            it = kinds_.erase(it);
            continue;
        }
        // The held lines are reported; the new second starts with none.
        report(it->first, entry);
        entry.windowStartMs = now == 0 ? 1 : now;
        ++it;
    }
}

u64 RateLimitedLog::heldBack() const {
    std::lock_guard lock(mutex_);
    return heldBack_;
}

std::size_t RateLimitedLog::kinds() const {
    std::lock_guard lock(mutex_);
    return kinds_.size();
}

}  // namespace Convinience
