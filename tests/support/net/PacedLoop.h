#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <thread>

namespace zarn_test {

// Runs `frame` on a thread of its own every `period`, in real time (a frame
// that ran late is not made up), from construction until destruction, which
// stops and joins the thread. A test that reads or changes what the frames
// touch holds the loop still with hold() meanwhile. This gives each player of
// a test its own pace: a stall of one thread holds no other player back.
class PacedLoop {
public:
    PacedLoop(std::function<void()> frame, std::chrono::microseconds period)
        : frame_(std::move(frame)), period_(period), thread_([this] { run(); }) {}
    ~PacedLoop() {
        stop_ = true;
        thread_.join();
    }
    PacedLoop(const PacedLoop&) = delete;
    PacedLoop& operator=(const PacedLoop&) = delete;

    // No frame runs while the lock is held.
    std::unique_lock<std::mutex> hold() { return std::unique_lock<std::mutex>(mutex_); }

private:
    void run() {
        auto next = std::chrono::steady_clock::now();
        while (!stop_.load()) {
            {
                std::lock_guard lock(mutex_);
                frame_();
            }
            next += period_;
            const auto now = std::chrono::steady_clock::now();
            if (next > now) {
                std::this_thread::sleep_until(next);
            } else {
                next = now;
            }
        }
    }

    std::function<void()> frame_;
    std::chrono::microseconds period_;
    std::mutex mutex_;
    std::atomic<bool> stop_{false};
    // Last: starts once everything it uses exists.
    std::thread thread_;
};

}  // namespace zarn_test
