#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

#include "engine/Director.h"
#include "online/game/NetworkedZarnClient.h"
#include "support/net/PacedLoop.h"

namespace zarn_test {

// Frames of the director at 60 a second in real time until done() holds
// (true) or the time is up (false); after each frame, eachFrame (when set)
// runs on the test's thread. Another player's networked client, from the
// frame in which besideClient first answers one, keeps its own pace on a
// thread of its own meanwhile, so that a stall of either thread holds the
// other player back in no way; done() is asked between two of its frames.
// The client is the test thread's again when this returns.
inline bool playInRealTime(const std::function<bool()>& done, std::chrono::milliseconds timeout,
                           const std::function<Zarn::NetworkedZarnClient*()>& besideClient = {},
                           const std::function<void()>& eachFrame = {}) {
    constexpr float kFrame = 1.0f / 60.0f;
    const auto period = std::chrono::microseconds(16667);
    std::unique_ptr<PacedLoop> beside;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto next = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
        cocos2d::Director::getInstance()->mainLoop(kFrame);
        if (eachFrame) eachFrame();
        if (!beside && besideClient) {
            if (Zarn::NetworkedZarnClient* client = besideClient())
                beside = std::make_unique<PacedLoop>([client] { client->update(kFrame); }, period);
        }
        {
            std::unique_lock<std::mutex> still;
            if (beside) still = beside->hold();
            if (done()) return true;
        }
        next += period;
        if (next > std::chrono::steady_clock::now()) {
            std::this_thread::sleep_until(next);
        } else {
            next = std::chrono::steady_clock::now();
        }
    }
    return false;
}

}  // namespace zarn_test
