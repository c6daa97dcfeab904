#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class SchedulerTest : public zarn_test::EngineFixture {};

class UpdatingNode : public Node {
public:
    static UpdatingNode* create(std::vector<std::string>* log, const std::string& name) {
        auto* n = createWithInit<UpdatingNode>();
        n->log_ = log;
        n->name_ = name;
        return n;
    }
    void update(float dt) override {
        log_->push_back(name_);
        total += dt;
    }
    float total = 0.0f;

private:
    std::vector<std::string>* log_ = nullptr;
    std::string name_;
};

TEST_F(SchedulerTest, UpdatesRunByPriorityThenArrivalAndOnlyWhileRunning) {
    std::vector<std::string> log;
    auto* a = UpdatingNode::create(&log, "a");
    auto* b = UpdatingNode::create(&log, "b");
    auto* c = UpdatingNode::create(&log, "c");
    scene->addChild(a);
    scene->addChild(b);
    scene->addChild(c);
    a->scheduleUpdate();
    b->scheduleUpdateWithPriority(-1);
    c->scheduleUpdate();
    frame(0.5f);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(a->total, 0.5f);
    log.clear();
    a->retain();
    a->removeFromParent();  // off stage: paused, and cleaned up
    frame(0.5f);
    EXPECT_EQ(log, (std::vector<std::string>{"b", "c"}));
    a->release();
    c->unscheduleUpdate();
    log.clear();
    frame(0.5f);
    EXPECT_EQ(log, (std::vector<std::string>{"b"}));
}

TEST_F(SchedulerTest, TimedCallbacksKeepIntervalRepeatAndDelay) {
    Node* n = Node::create();
    scene->addChild(n);
    int every = 0, limited = 0, once = 0;
    n->schedule([&](float) { ++every; }, 0.1f, "every");
    n->schedule([&](float) { ++limited; }, 0.1f, 2, 0.0f, "limited");  // three calls in all
    n->scheduleOnce([&](float) { ++once; }, 0.25f, "once");
    EXPECT_TRUE(n->isScheduled("every"));
    frame(0.0f);  // a timer's first frame only starts it
    for (int i = 0; i < 10; ++i) frame(0.1f);
    EXPECT_EQ(every, 10);
    EXPECT_EQ(limited, 3);
    EXPECT_EQ(once, 1);
    EXPECT_FALSE(n->isScheduled("once"));
    n->unschedule("every");
    frame(0.1f);
    EXPECT_EQ(every, 10);
}

TEST_F(SchedulerTest, UnschedulingFromInsideACallbackIsSafe) {
    Node* n = Node::create();
    scene->addChild(n);
    int calls = 0;
    n->schedule(
        [&](float) {
            ++calls;
            n->unscheduleAllCallbacks();
            n->schedule([&](float) { calls += 100; }, "later");
        },
        "first");
    frame(0.0f);
    frame(0.1f);
    frame(0.1f);
    frame(0.1f);
    EXPECT_EQ(calls, 101);
}

TEST_F(SchedulerTest, FunctionsFromOtherThreadsRunOnTheMainThreadAtTheNextFrame) {
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    const std::thread::id mainThread = std::this_thread::get_id();
    std::vector<int> ran;  // touched on the main thread only
    std::atomic<int> wrongThread{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 50; ++i) {
                scheduler->performFunctionInCocosThread([&, t, i] {
                    if (std::this_thread::get_id() != mainThread) ++wrongThread;
                    ran.push_back(t * 1000 + i);
                });
            }
        });
    }
    for (auto& th : threads) th.join();
    EXPECT_TRUE(ran.empty()) << "nothing runs before the next frame";
    frame(0.016f);
    EXPECT_EQ(ran.size(), 200u);
    EXPECT_EQ(wrongThread.load(), 0);
    // Each thread's functions keep their order.
    std::vector<int> last(4, -1);
    for (int v : ran) {
        EXPECT_GT(v % 1000, last[static_cast<std::size_t>(v / 1000)]);
        last[static_cast<std::size_t>(v / 1000)] = v % 1000;
    }
}

TEST_F(SchedulerTest, FunctionsHandedOverWhileFramesRun) {
    Scheduler* scheduler = Director::getInstance()->getScheduler();
    std::atomic<bool> stop{false};
    std::atomic<int> posted{0};
    int ran = 0;
    std::thread producer([&] {
        while (!stop.load()) {
            scheduler->performFunctionInCocosThread([&ran] { ++ran; });
            ++posted;
            std::this_thread::yield();
        }
    });
    for (int i = 0; i < 200 && posted.load() < 500; ++i) frame(0.001f);
    stop = true;
    producer.join();
    frame(0.0f);
    EXPECT_EQ(ran, posted.load());
}

// An interval timer keeps its period: it does not drift when the interval is
// not a whole number of frames, and after a long frame it catches up on the
// calls it owes (each told the interval).
TEST_F(SchedulerTest, IntervalTimersKeepTheirPeriodAndCatchUp) {
    Node* n = Node::create();
    scene->addChild(n);
    int calls = 0;
    float told = 0.0f;
    n->schedule(
        [&](float dt) {
            ++calls;
            told += dt;
        },
        0.1f, "tick");
    frame(0.0f);
    frames(600, 1.0f / 60.0f);
    EXPECT_EQ(calls, 100) << "ten seconds at 60 frames a second";
    calls = 0;
    told = 0.0f;
    frame(0.55f);  // a stall
    EXPECT_EQ(calls, 5);
    EXPECT_NEAR(told, 0.5f, 1e-4);
    frame(0.05f);
    EXPECT_EQ(calls, 6) << "the stall's remainder counts towards the next call";

    // A limited timer catching up stops at its count.
    int limited = 0;
    n->schedule([&](float) { ++limited; }, 0.1f, 2, 0.0f, "limited");
    frame(0.0f);
    frame(1.0f);
    EXPECT_EQ(limited, 3);
    EXPECT_FALSE(n->isScheduled("limited"));
}

TEST_F(SchedulerTest, TheTimeScaleSlowsActionsAndTimersAlike) {
    Node* n = Node::create();
    scene->addChild(n);
    int calls = 0;
    n->schedule([&](float) { ++calls; }, 0.1f, "tick");
    n->runAction(MoveBy::create(1.0f, Vec2(100, 0)));
    Director::getInstance()->getScheduler()->setTimeScale(0.5f);
    frame(0.0f);
    frames(10, 0.1f);  // one second of frames: half a second of game time
    EXPECT_EQ(calls, 5);
    EXPECT_NEAR(n->getPositionX(), 50.0f, 1e-3);
}

// Keys belong to their target: the same key on two nodes is two timers, and
// one node's unscheduling, destruction or rescheduling leaves the other's.
TEST_F(SchedulerTest, TimerKeysBelongToTheirTarget) {
    Node* a = Node::create();
    Node* b = Node::create();
    scene->addChild(a);
    scene->addChild(b);
    int aCalls = 0, bCalls = 0;
    a->schedule([&](float) { ++aCalls; }, "tick");
    b->schedule([&](float) { ++bCalls; }, "tick");
    b->schedule([&](float) {}, 1.0f, "slow");
    frame(0.0f);
    frame(0.1f);
    EXPECT_EQ(aCalls, 1);
    EXPECT_EQ(bCalls, 1);
    a->unschedule("tick");
    EXPECT_FALSE(a->isScheduled("tick"));
    EXPECT_TRUE(b->isScheduled("tick"));
    a->schedule([&](float) { aCalls += 10; }, "tick");  // anew, before the old one is swept
    frame(0.1f);
    frame(0.1f);
    EXPECT_EQ(aCalls, 11) << "the new timer starts a frame late and then runs";
    EXPECT_EQ(bCalls, 3);
    b->retain();
    b->removeFromParent();  // cleaned up: all of b's timers go
    EXPECT_FALSE(b->isScheduled("slow"));
    EXPECT_FALSE(b->isScheduled("tick"));
    frame(0.1f);
    EXPECT_EQ(bCalls, 3);
    EXPECT_TRUE(a->isScheduled("tick"));
    b->release();
}

}  // namespace
