#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "foundation/Types.h"

namespace Zarn {

// The running/exited hand-shake between a server loop and its host. The loop
// (server thread) calls enter once, then waitFor between passes while
// isRunning holds, and leave last; the host (any other thread) calls wake and
// stop. Safe in every order: a stop before the loop enters makes enter refuse
// (the loop then never runs), a stop after the loop left returns at once, a
// second stop is harmless, and a wake never restarts a stopped loop. A wake
// that comes while the loop is busy is kept and ends its next wait at once.
class ServerLoopControl {
public:
    // Server thread. False when a stop came first: the loop must not run (it
    // still calls leave).
    bool enter();
    // Server thread: whether the loop goes on.
    bool isRunning() const { return running_.load(std::memory_order_acquire); }
    // Server thread: ends the loop from inside (after the current pass).
    void finish() { running_.store(false, std::memory_order_release); }
    // Server thread: waits at most `timeout`, less when woken or stopped.
    void waitFor(std::chrono::milliseconds timeout);
    // Server thread, last call of the loop: marks it exited.
    void leave();

    // Any thread: ends the loop's current or next wait early.
    void wake();
    // Host thread: clears the running flag and waits until the loop has left;
    // returns at once when the loop never entered or has already left.
    void stop();

    // Whether the loop has left (or was refused).
    bool hasExited() const;

private:
    enum class Phase : u8 { idle, running, exited };

    mutable std::mutex mutex_;
    std::condition_variable wakeup_;
    std::condition_variable exited_;
    Phase phase_ = Phase::idle;
    bool stopRequested_ = false;
    bool wakePending_ = false;
    std::atomic<bool> running_{false};
};

}  // namespace Zarn
