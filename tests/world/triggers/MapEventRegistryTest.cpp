#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "world/triggers/BindableEventTrigger.h"
#include "world/triggers/MapEventRegistry.h"
#include "world/triggers/MapEventRunner.h"

namespace Zarn {
namespace {

using namespace test;

class RecordingObserver : public MapEventObserver {
public:
    void onEventEnabled(const MapEventData& event) override { seen.push_back(event.eventId); }
    std::vector<u32> seen;
};

struct RegistryFixture : testing::Test {
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    BindableEventTrigger bindable{registry, factory, commands};
    MapEventRunner runner{registry, factory, bindable, commands};

    const MapEventData& add(std::unique_ptr<MapEventData> event) {
        events.push_back(std::move(event));
        return *events.back();
    }
};

TEST_F(RegistryFixture, CountOfZeroOrOneFiresOnceAndNFiresNTimes) {
    struct Case {
        u32 count;
        int firings;
    };
    const Case cases[] = {{0, 1}, {1, 1}, {2, 2}, {3, 3}};
    u32 id = 1;
    for (const Case& c : cases) add(makeEvent(id++, plainTrigger(0, c.count)));
    registry.registerImportedEvents();
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const MapEventData& event = *events[i];
        int fired = 0;
        while (runner.fire(event)) ++fired;
        EXPECT_EQ(fired, cases[i].firings) << "count " << cases[i].count;
        EXPECT_FALSE(registry.isPresent(event.eventId));
        EXPECT_EQ(registry.remainingFirings(event.eventId), 0u);
        EXPECT_EQ(registry.find(event.eventId), nullptr);
    }
}

TEST_F(RegistryFixture, DisabledEventDoesNotFireAndKeepsItsCount) {
    const MapEventData& event = add(makeEvent(7, plainTrigger(0, 3), actions(numberAction(10, 4))));
    registry.registerImportedEvents();
    registry.disableEvent(7);
    EXPECT_FALSE(runner.fire(event));
    EXPECT_TRUE(commands.immediate.empty());
    EXPECT_EQ(registry.remainingFirings(7), 3u);

    registry.enableEvent(7);
    EXPECT_TRUE(runner.fire(event));
    EXPECT_EQ(registry.remainingFirings(7), 2u);
    EXPECT_EQ(commands.immediate.size(), 1u);
}

TEST_F(RegistryFixture, ObserversHearOnlyChangesOfPresentEvents) {
    add(makeEvent(1, plainTrigger(0, 2), {}, 0));
    add(makeEvent(2, plainTrigger(0, 1), {}, 1));
    registry.registerImportedEvents();
    RecordingObserver on, off;
    registry.addEnableObserver(on);
    registry.addDisableObserver(off);

    registry.enableEvent(2);  // already enabled
    registry.enableEvent(1);
    registry.enableEvent(1);
    registry.enableEvent(99);  // absent
    registry.disableEvent(2);
    registry.disableEvent(2);
    EXPECT_EQ(on.seen, (std::vector<u32>{1}));
    EXPECT_EQ(off.seen, (std::vector<u32>{2}));

    // A fired-away event can no longer be enabled.
    registry.enableEvent(2);
    EXPECT_TRUE(runner.fire(*events[1]));
    registry.disableEvent(2);
    registry.enableEvent(2);
    EXPECT_EQ(on.seen, (std::vector<u32>{1, 2}));
    EXPECT_FALSE(registry.isPresent(2));

    registry.removeObserver(on);
    registry.disableEvent(1);
    registry.enableEvent(1);
    EXPECT_EQ(on.seen, (std::vector<u32>{1, 2}));
}

TEST_F(RegistryFixture, FirstOfTwoEventsWithOneIdWins) {
    add(makeEvent(5, plainTrigger(0, 4), {}, 0));
    add(makeEvent(5, plainTrigger(0, 9), {}, 1));
    add(makeEvent(6, nullptr));
    registry.registerImportedEvents();
    EXPECT_EQ(registry.find(5), events[0].get());
    EXPECT_EQ(registry.remainingFirings(5), 4u);
    EXPECT_FALSE(registry.isEnabled(5));
    EXPECT_FALSE(registry.isPresent(6));
}

TEST_F(RegistryFixture, FiringQueuesCommandsThenTiedEventsBehindThem) {
    // Event 1 opens door 4 and closes door 9; event 2 is tied to door 4 opening.
    const MapEventData& first =
        add(makeEvent(1, plainTrigger(0, 1), actions(numberAction(10, 4), numberAction(11, 9))));
    add(makeEvent(2, numberTrigger(10, 1, 4), actions(numberAction(0, 77))));
    registry.registerImportedEvents();
    bindable.addTrigger(*events[1]);

    EXPECT_TRUE(runner.fire(first));
    EXPECT_EQ(log, (CommandLog{"made 10:4", "made 11:9", "made 0:77"}));
    runImmediate(commands);
    EXPECT_EQ(log, (CommandLog{"made 10:4", "made 11:9", "made 0:77", "ran 10:4", "ran 11:9", "ran 0:77"}));
    EXPECT_FALSE(registry.isPresent(1));
    EXPECT_FALSE(registry.isPresent(2));
}

TEST_F(RegistryFixture, FactoryFailureIsNotBooked) {
    const MapEventData& event = add(makeEvent(1, plainTrigger(0, 2), actions(numberAction(3, 0))));
    registry.registerImportedEvents();
    EXPECT_THROW(
        {
            try {
                runner.fire(event);
            } catch (const Convinience::Error& e) {
                EXPECT_STREQ(e.what(), "invalid commandID");
                throw;
            }
        },
        Convinience::Error);
    EXPECT_EQ(registry.remainingFirings(1), 2u);
    EXPECT_TRUE(commands.immediate.empty());
}

}  // namespace
}  // namespace Zarn
