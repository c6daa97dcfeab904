#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "TriggerTestSupport.h"
#include "world/triggers/BindableEventTrigger.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"
#include "world/triggers/TimerEventTrigger.h"

namespace Zarn {
namespace {

using namespace test;

constexpr float kTick = 0.03f;

struct TimerFixture : testing::Test {
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    BindableEventTrigger bindable{registry, factory, commands};
    MapEventRunner runner{registry, factory, bindable, commands};
    TimerEventTrigger timer{runner};

    TimerFixture() { registry.addEnableObserver(timer); }

    const MapEventData& add(std::unique_ptr<MapEventData> event) {
        events.push_back(std::move(event));
        return *events.back();
    }
    // Ticks `count` times; answers the tick numbers (1-based) at which a
    // command with the given tag was made.
    std::vector<int> tickAndWatch(int count, const std::string& made, int firstTick = 1) {
        std::vector<int> at;
        for (int t = firstTick; t < firstTick + count; ++t) {
            const std::size_t before = log.size();
            timer.update(kTick);
            runImmediate(commands);
            for (std::size_t i = before; i < log.size(); ++i) {
                if (log[i] == made) at.push_back(t);
            }
        }
        return at;
    }
};

TEST_F(TimerFixture, RepeatingTimerFiresOncePerCountAtItsPeriod) {
    const MapEventData& event = add(makeEvent(1, timerTrigger(3, 2.0f), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, 2.0f);

    const std::vector<int> at = tickAndWatch(400, "made 0:9");
    ASSERT_EQ(at.size(), 3u);
    // The first tick whose clock exceeds 2.0 is the 67th (2.01 s); each repeat
    // is scheduled from the firing tick, so it comes about 2.0 s later.
    EXPECT_EQ(at[0], 67);
    EXPECT_NEAR((at[1] - at[0]) * kTick, 2.0f, 2 * kTick);
    EXPECT_NEAR((at[2] - at[1]) * kTick, 2.0f, 2 * kTick);
    EXPECT_FALSE(registry.isPresent(1));
    EXPECT_EQ(timer.scheduledEventCount(), 0u);
}

TEST_F(TimerFixture, SingleFiringTimerIsNotRescheduled) {
    const MapEventData& event = add(makeEvent(1, timerTrigger(1, 0.5f), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, 0.5f);
    EXPECT_EQ(tickAndWatch(200, "made 0:9").size(), 1u);
    EXPECT_EQ(timer.scheduledEventCount(), 0u);
}

TEST_F(TimerFixture, StartEventFiresOnTheFirstTickAndNeverAgain) {
    const MapEventData& event = add(makeEvent(1, plainTrigger(1, 3), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, 0.0f);
    EXPECT_EQ(tickAndWatch(1, "made 0:9"), (std::vector<int>{1}));
    registry.disableEvent(1);
    registry.enableEvent(1);
    EXPECT_TRUE(tickAndWatch(100, "made 0:9", 2).empty());
    EXPECT_EQ(registry.remainingFirings(1), 2u);
}

TEST_F(TimerFixture, DisabledWhenDueIsDroppedAndEnablingSchedulesAgain) {
    const MapEventData& event = add(makeEvent(1, timerTrigger(5, 1.0f), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, 1.0f);
    registry.disableEvent(1);
    EXPECT_TRUE(tickAndWatch(50, "made 0:9").empty());  // due at tick 34, dropped
    EXPECT_EQ(timer.scheduledEventCount(), 0u);
    EXPECT_EQ(registry.remainingFirings(1), 5u);

    registry.enableEvent(1);  // clock 1.5: due again after 2.5
    const std::vector<int> at = tickAndWatch(34, "made 0:9", 51);
    EXPECT_EQ(at, (std::vector<int>{84}));
}

TEST_F(TimerFixture, ReenablingAPendingTimerDoesNotScheduleItTwice) {
    const MapEventData& event = add(makeEvent(1, timerTrigger(100, 1.0f), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, 1.0f);
    timer.update(0.5f);
    registry.disableEvent(1);
    registry.enableEvent(1);
    EXPECT_EQ(timer.scheduledEventCount(), 1u);
    // Over 10 s a 1 s timer fires about 10 times, not 20.
    const std::size_t fired = tickAndWatch(320, "made 0:9").size();
    EXPECT_GE(fired, 9u);
    EXPECT_LE(fired, 10u);
}

TEST_F(TimerFixture, DelayedActionRunsAfterItsTimeAndCountsAsAnAction) {
    // Opening door 3 is tied to event 2.
    add(makeEvent(2, numberTrigger(10, 1, 3), actions(numberAction(0, 22))));
    registry.registerImportedEvents();
    bindable.addTrigger(*events[0]);
    NumberActionData open(10, 3);
    NumberActionData later(10, 4);
    timer.scheduleAction(1.515f, open);
    timer.scheduleAction(1.515f, later);
    EXPECT_EQ(timer.scheduledActionCount(), 2u);

    EXPECT_EQ(tickAndWatch(60, "made 10:3"), (std::vector<int>{51}));  // 50 ticks: 1.50, 51: 1.53
    const CommandLog expected{"made 10:3", "made 0:22", "made 10:4", "ran 10:3", "ran 0:22", "ran 10:4"};
    EXPECT_EQ(log, expected);
    EXPECT_EQ(timer.scheduledActionCount(), 0u);
}

TEST_F(TimerFixture, NanTimesScheduleNothing) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const MapEventData& event = add(makeEvent(1, timerTrigger(3, nan), actions(numberAction(0, 9))));
    registry.registerImportedEvents();
    timer.schedule(event, nan);
    NumberActionData action(10, 3);
    timer.scheduleAction(nan, action);
    timer.scheduleAction(1.0f, action);
    EXPECT_EQ(timer.scheduledEventCount(), 0u);
    EXPECT_EQ(timer.scheduledActionCount(), 1u);
    EXPECT_EQ(tickAndWatch(40, "made 10:3").size(), 1u);
}

TEST_F(TimerFixture, AThrowingEventLeavesTheRestScheduled) {
    const MapEventData& good = add(makeEvent(1, timerTrigger(3, 1.0f), actions(numberAction(0, 1))));
    const MapEventData& bad = add(makeEvent(2, timerTrigger(3, 1.0f), actions(numberAction(3, 0))));
    const MapEventData& after = add(makeEvent(3, timerTrigger(3, 1.0f), actions(numberAction(0, 3))));
    registry.registerImportedEvents();
    timer.schedule(good, 1.0f);
    timer.schedule(bad, 1.0f);
    timer.schedule(after, 1.0f);
    for (int t = 0; t < 33; ++t) timer.update(kTick);
    EXPECT_THROW(timer.update(kTick), Convinience::Error);
    // The first fired and is scheduled again; the one that threw is dropped,
    // unbooked; the third waits and fires on the next tick.
    EXPECT_EQ(registry.remainingFirings(1), 2u);
    EXPECT_EQ(registry.remainingFirings(2), 3u);
    EXPECT_EQ(timer.scheduledEventCount(), 2u);
    log.clear();
    timer.update(kTick);
    EXPECT_EQ(log, (CommandLog{"made 0:3"}));
}

}  // namespace
}  // namespace Zarn
