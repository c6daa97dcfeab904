#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <unordered_map>

#include "foundation/Logger.h"
#include "foundation/Stopwatch.h"
#include "foundation/Types.h"

namespace Convinience {

// A log that writes at most one line of a kind per second. A line of a kind
// that was written less than a second ago is held back and counted; the
// count is written as "<kind>: … N more in the last second" by the next
// flush after that second, or just before the next line of the kind that is
// written. The kind is the caller's name for a repeating event ("accept
// failed", "bad datagrams from 10.0.0.2:4000"); the line is its text.
//
// At most maxKinds kinds are kept at once; lines of further kinds share one
// kind, "other lines", until flush forgets kinds that were quiet for a whole
// second. So memory stays bounded whatever the peers make the server log.
//
// Any thread; one mutex guards the counts. The sink is called under it.
class RateLimitedLog {
public:
    static constexpr u64 kIntervalMs = 1000;
    static constexpr std::size_t kDefaultMaxKinds = 1024;
    static constexpr const char* kOtherKind = "other lines";

    // Writes one line at a severity; the default is a Logger of this log's.
    using Sink = std::function<void(u32 severity, const std::string& line)>;

    // clock: outlives the log.
    explicit RateLimitedLog(const TickClock& clock = TickClock::steady(),
                            std::size_t maxKinds = kDefaultMaxKinds, Sink sink = {});

    void log(u32 severity, const std::string& kind, const std::string& line);
    // Writes the counts of the kinds whose second has ended, and forgets the
    // kinds that were quiet for a whole second. Call about once a second.
    void flush();

    // Lines held back since construction.
    u64 heldBack() const;
    // Kinds kept now.
    std::size_t kinds() const;

    // "3,412": a count with a comma between each group of three digits.
    static std::string groupDigits(u64 count);

private:
    struct Kind {
        u64 windowStartMs = 0;
        u64 held = 0;
        u32 severity = 0;
    };

    u64 nowMs() const { return clock_->nowTicks() / 10000; }
    // Writes the kind's count and clears it; mutex held.
    void report(const std::string& kind, Kind& entry);

    const TickClock* clock_;
    std::size_t maxKinds_;
    Sink sink_;
    Logger logger_;
    mutable std::mutex mutex_;
    std::unordered_map<std::string, Kind> kinds_;
    u64 heldBack_ = 0;
    const std::string otherKind_ = kOtherKind;
};

}  // namespace Convinience
