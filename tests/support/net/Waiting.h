#pragma once

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "net/TCPReciever.h"

namespace zarn_test {

// Polls `done` every millisecond until it holds or the time is up; says
// whether it held. For waiting on what another thread does.
inline bool eventually(const std::function<bool()>& done,
                       std::chrono::milliseconds timeout = std::chrono::seconds(10)) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

// How long `work` took.
inline std::chrono::steady_clock::duration timed(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::steady_clock::now() - start;
}

// Remembers the endpoint of every disconnect, in order; read from any thread.
class RecordingDisconnects : public Ferro::DisconnectHandler {
public:
    void onDisconnect(const std::string& endpoint) override {
        std::lock_guard lock(mutex_);
        endpoints_.push_back(endpoint);
    }
    std::vector<std::string> taken() {
        std::lock_guard lock(mutex_);
        return endpoints_;
    }

private:
    std::mutex mutex_;
    std::vector<std::string> endpoints_;
};

}  // namespace zarn_test
