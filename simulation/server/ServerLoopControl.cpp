#include "simulation/server/ServerLoopControl.h"

namespace Zarn {

bool ServerLoopControl::enter() {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopRequested_) return false;
    phase_ = Phase::running;
    running_.store(true, std::memory_order_release);
    return true;
}

void ServerLoopControl::waitFor(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    wakeup_.wait_for(lock, timeout, [this] { return wakePending_ || stopRequested_; });
    wakePending_ = false;
}

void ServerLoopControl::leave() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        phase_ = Phase::exited;
        running_.store(false, std::memory_order_release);
    }
    exited_.notify_all();
}

void ServerLoopControl::wake() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        wakePending_ = true;
    }
    wakeup_.notify_all();
}

void ServerLoopControl::stop() {
    std::unique_lock<std::mutex> lock(mutex_);
    stopRequested_ = true;
    running_.store(false, std::memory_order_release);
    wakeup_.notify_all();
    exited_.wait(lock, [this] { return phase_ != Phase::running; });
}

bool ServerLoopControl::hasExited() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return phase_ == Phase::exited;
}

}  // namespace Zarn
