#pragma once

#include "foundation/Types.h"

#include <atomic>

namespace Convinience {

// Source of monotonic time in 100-nanosecond ticks. The default follows the
// steady clock; tests install a manual one.
class TickClock {
public:
    virtual ~TickClock() = default;
    virtual u64 nowTicks() const = 0;
    // The steady-clock instance shared by everything that is not given another.
    static const TickClock& steady();
};

// A clock that only moves when told to; for tests. A test's thread may move
// it while a server thread reads it.
class ManualTickClock : public TickClock {
public:
    u64 nowTicks() const override { return ticks.load(std::memory_order_relaxed); }
    void advanceMs(u64 ms) { ticks.fetch_add(ms * 10000, std::memory_order_relaxed); }
    std::atomic<u64> ticks{0};
};

// Measures elapsed milliseconds. Not synchronised: one thread per instance.
class Stopwatch {
public:
    explicit Stopwatch(const TickClock& clock = TickClock::steady()) : clock_(&clock) {}

    void start() {
        startTicks = clock_->nowTicks();
        running = true;
    }
    // Freezes the elapsed time; elapsedMilliseconds then reports it.
    void stop() {
        elapsedMs = elapsedMilliseconds();
        running = false;
    }
    // While running, whole milliseconds since start (rounded down); otherwise
    // the frozen value.
    u64 elapsedMilliseconds() const {
        if (!running) return elapsedMs;
        const u64 now = clock_->nowTicks();
        return now >= startTicks ? (now - startTicks) / 10000 : 0;
    }

    u64 startTicks = 0;
    bool running = false;
    u64 elapsedMs = 0;

private:
    const TickClock* clock_;  // outlives the stopwatch (the steady clock is static)
};

}  // namespace Convinience
