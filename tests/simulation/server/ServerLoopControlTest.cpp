#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "simulation/server/ServerLoopControl.h"

using namespace Zarn;
using namespace std::chrono_literals;

namespace {

// A loop shaped like the server's: passes separated by 30 ms waits.
struct Loop {
    void run() {
        if (control.enter()) {
            while (control.isRunning()) {
                passes.fetch_add(1);
                control.waitFor(30ms);
            }
        }
        control.leave();
    }
    ServerLoopControl control;
    std::atomic<int> passes{0};
};

TEST(ServerLoopControlTest, StopBeforeTheLoopStartsKeepsItFromRunning) {
    Loop loop;
    loop.control.stop();
    std::thread thread([&] { loop.run(); });
    thread.join();
    EXPECT_EQ(loop.passes.load(), 0);
    EXPECT_TRUE(loop.control.hasExited());
}

TEST(ServerLoopControlTest, NeverStartedStopTwiceReturns) {
    Loop loop;
    loop.control.stop();
    loop.control.stop();
    loop.control.wake();
    EXPECT_FALSE(loop.control.isRunning());
}

TEST(ServerLoopControlTest, StopEndsABlockedLoopPromptlyAndASecondStopIsHarmless) {
    Loop loop;
    std::thread thread([&] { loop.run(); });
    while (loop.passes.load() == 0) std::this_thread::yield();
    const auto before = std::chrono::steady_clock::now();
    loop.control.stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 500ms);
    EXPECT_TRUE(loop.control.hasExited());
    loop.control.stop();
    loop.control.wake();
    thread.join();
    EXPECT_FALSE(loop.control.isRunning());
}

TEST(ServerLoopControlTest, StopRacingTheStartNeverHangs) {
    for (int i = 0; i < 200; ++i) {
        Loop loop;
        std::thread thread([&] { loop.run(); });
        if (i % 2) std::this_thread::yield();
        loop.control.stop();
        thread.join();
        EXPECT_FALSE(loop.control.isRunning());
    }
}

TEST(ServerLoopControlTest, AWakeWhileBusyEndsTheNextWaitAtOnce) {
    ServerLoopControl control;
    ASSERT_TRUE(control.enter());
    control.wake();
    const auto before = std::chrono::steady_clock::now();
    control.waitFor(10s);
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    control.leave();
}

TEST(ServerLoopControlTest, FinishFromInsideEndsTheLoopAndStopAfterwardsReturns) {
    Loop loop;
    std::thread thread([&] {
        ASSERT_TRUE(loop.control.enter());
        loop.control.finish();
        loop.control.leave();
    });
    thread.join();
    loop.control.stop();
    EXPECT_TRUE(loop.control.hasExited());
}

}  // namespace
