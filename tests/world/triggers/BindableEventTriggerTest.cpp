#include <gtest/gtest.h>

#include "TriggerTestSupport.h"
#include "world/triggers/BindableEventTrigger.h"
#include "world/triggers/InputResult.h"
#include "world/triggers/MapEventRegistry.h"

namespace Zarn {
namespace {

using namespace test;

struct BindableFixture : testing::Test {
    MapEventList events;
    MapEventRegistry registry{events};
    CommandLog log;
    FakeActionFactory factory{log};
    Corvel::ClientCommandState commands;
    BindableEventTrigger bindable{registry, factory, commands};
    MapElement plainRecord;

    // Adds an event tied to (kind, number) whose one action is (0, tagNumber).
    const MapEventData& tie(u32 id, u32 kind, u32 number, u32 count = 1, u8 enabled = 1) {
        events.push_back(
            makeEvent(id, numberTrigger(kind, count, number), actions(numberAction(0, 1000 + id)), enabled));
        return *events.back();
    }
    void arm() {
        registry.registerImportedEvents();
        for (auto& e : events) bindable.addTrigger(*e);
    }
    // Which events fired, by the tag of their one action.
    std::vector<u32> fired() const {
        std::vector<u32> ids;
        for (const std::string& line : log) {
            if (line.rfind("made 0:", 0) == 0)
                ids.push_back(static_cast<u32>(std::stoul(line.substr(7))) - 1000);
        }
        return ids;
    }
};

TEST_F(BindableFixture, FilingByTriggerKind) {
    for (u32 kind : {6u, 7u, 8u, 10u, 11u, 13u, 14u, 15u, 16u, 17u, 18u}) tie(kind, kind, 3);
    tie(9, 9, 3);
    tie(12, 12, 3);
    tie(3, 3, 0);
    arm();
    for (u32 kind : {6u, 7u, 8u, 10u, 11u, 13u, 14u, 15u, 16u, 17u, 18u}) {
        ASSERT_NE(bindable.numberedEvents(kind, 3), nullptr) << kind;
        EXPECT_EQ(bindable.numberedEvents(kind, 3)->front()->eventId, kind);
    }
    EXPECT_EQ(bindable.inputEvents(InputResultKind::dialogClosed)->front()->eventId, 9u);
    EXPECT_EQ(bindable.effectEvents(EffectKind::checkpoint)->front()->eventId, 12u);
    EXPECT_EQ(bindable.effectEvents(EffectKind::kill)->front()->eventId, 3u);
    EXPECT_EQ(bindable.numberedEvents(9, 3), nullptr);
    EXPECT_EQ(bindable.numberedEvents(12, 3), nullptr);

    for (u32 kind : {0u, 1u, 2u, 4u, 5u, 19u, 20u, 21u, 200u}) {
        MapEventData bad;
        bad.trigger = plainTrigger(kind, 1);
        try {
            bindable.addTrigger(bad);
            ADD_FAILURE() << "kind " << kind << " was filed";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "no such event trigger");
        }
    }
    // A numbered kind without a number record is not filed.
    MapEventData plain;
    plain.trigger = plainTrigger(10, 1);
    bindable.addTrigger(plain);
    EXPECT_EQ(bindable.numberedEvents(10, 0), nullptr);
}

TEST_F(BindableFixture, ActionKindsMapToTriggerKinds) {
    struct Case {
        u32 actionKind;
        u32 triggerKind;  // 0: none
    };
    const Case cases[] = {{0, 6},   {1, 7},   {4, 8}, {6, 8}, {8, 15}, {9, 16}, {10, 10}, {11, 11},
                          {12, 13}, {13, 14}, {2, 0}, {5, 0}, {7, 0},  {14, 0}, {19, 0},  {38, 0}};
    for (u32 kind : {6u, 7u, 8u, 10u, 11u, 13u, 14u, 15u, 16u}) tie(kind, kind, 5, 100);
    arm();
    for (const Case& c : cases) {
        log.clear();
        bindable.onAction(NumberActionData(c.actionKind, 5));
        if (c.triggerKind == 0) {
            EXPECT_TRUE(fired().empty()) << "action " << c.actionKind;
            continue;
        }
        ASSERT_EQ(fired().size(), 1u) << "action " << c.actionKind;
        EXPECT_EQ(fired()[0], c.triggerKind) << "action " << c.actionKind;
        log.clear();
        bindable.onAction(NumberActionData(c.actionKind, 6));  // another number
        EXPECT_TRUE(fired().empty());
    }
    // Actions without a number fire nothing.
    log.clear();
    bindable.onAction(ActionData(10));
    EXPECT_TRUE(fired().empty());
}

TEST_F(BindableFixture, TiedEventFiresWhileDisabledAndStartsNoFurtherTiedEvents) {
    // Event 1 (disabled) is tied to door 4 opening and itself opens door 5;
    // event 2 is tied to door 5 opening.
    events.push_back(makeEvent(1, numberTrigger(10, 2, 4), actions(numberAction(10, 5)), 0));
    tie(2, 10, 5);
    arm();
    bindable.onAction(NumberActionData(10, 4));
    EXPECT_EQ(log, (CommandLog{"made 10:5"}));
    EXPECT_EQ(registry.remainingFirings(1), 1u);
    bindable.onAction(NumberActionData(10, 4));
    EXPECT_FALSE(registry.isPresent(1));
    EXPECT_EQ(bindable.numberedEvents(10, 4), nullptr);
    EXPECT_NE(bindable.numberedEvents(10, 5), nullptr);
    log.clear();
    bindable.onAction(NumberActionData(10, 4));
    EXPECT_TRUE(log.empty());
}

TEST_F(BindableFixture, ExhaustedEntriesLeaveTheirListInOrder) {
    tie(1, 10, 4, 1);
    tie(2, 10, 4, 2);
    tie(3, 10, 4, 1);
    arm();
    bindable.onAction(NumberActionData(10, 4));
    EXPECT_EQ(fired(), (std::vector<u32>{1, 2, 3}));
    ASSERT_EQ(bindable.numberedEvents(10, 4)->size(), 1u);
    EXPECT_EQ(bindable.numberedEvents(10, 4)->front()->eventId, 2u);
    bindable.onAction(NumberActionData(10, 4));
    EXPECT_EQ(fired(), (std::vector<u32>{1, 2, 3, 2}));
    EXPECT_EQ(bindable.numberedEvents(10, 4), nullptr);
}

TEST_F(BindableFixture, KillsFireTheTrapsNumbers) {
    tie(1, 17, 5, 100);
    tie(2, 17, 7, 100);
    tie(3, 17, 0, 100);
    arm();
    TrapElement alone;
    alone.trapNumber = 5;
    alone.linkNumber = 0;
    TestTrap trapAlone(alone);
    bindable.onEffect(*makeEffectResult(EffectKind::kill, 1), trapAlone);
    EXPECT_EQ(fired(), (std::vector<u32>{1}));

    log.clear();
    TrapElement linked;
    linked.trapNumber = 5;
    linked.linkNumber = 7;
    TestTrap trapLinked(linked);
    bindable.onEffect(*makeEffectResult(EffectKind::kill, 1), trapLinked);
    EXPECT_EQ(fired(), (std::vector<u32>{1, 2}));

    // A kill by an element that is no trap fires no numbered event.
    log.clear();
    TestElement other(plainRecord);
    bindable.onEffect(*makeEffectResult(EffectKind::kill, 1), other);
    EXPECT_TRUE(fired().empty());
}

TEST_F(BindableFixture, UnappliedResultsFireNothing) {
    tie(1, 17, 5, 100);
    tie(2, 18, 3, 100);
    tie(3, 12, 3, 100);
    tie(4, 10, 3, 100);
    tie(5, 3, 0, 100);
    arm();
    TrapElement trapRecord;
    trapRecord.trapNumber = 5;
    TestTrap trap(trapRecord);
    SwitchElement leverRecord;
    leverRecord.secondActions.push_back(numberAction(10, 3));
    TestLever lever(leverRecord);
    TestElement plain(plainRecord);

    bindable.onEffect(*makeUnappliedEffectResult(EffectKind::kill, 1), trap);
    bindable.onEffect(*makeUnappliedCheckpointEffectResult(1, 3, 1), plain);
    bindable.onEffect(*makeUnappliedLeverEffectResult(1, &lever), lever);
    bindable.onInput(NumberInputResult(InputResultKind::dialogClosed, 0, {0}, 3));
    EXPECT_TRUE(log.empty());
}

TEST_F(BindableFixture, CheckpointsFireByNumberAndOnlyWhenNewlyReached) {
    tie(1, 18, 3, 100);
    tie(2, 12, 1, 100);
    tie(3, 12, 2, 1);
    arm();
    TestElement checkpoint(plainRecord);
    bindable.onEffect(*makeCheckpointEffectResult(1, 3, 0), checkpoint);
    EXPECT_TRUE(fired().empty());
    bindable.onEffect(*makeCheckpointEffectResult(1, 3, 1), checkpoint);
    EXPECT_EQ(fired(), (std::vector<u32>{1}));

    log.clear();
    bindable.onEffect(*makeCheckpointEffectResult(1, 2, 0), checkpoint);
    EXPECT_EQ(fired(), (std::vector<u32>{3}));
    ASSERT_NE(bindable.effectEvents(EffectKind::checkpoint), nullptr);
    ASSERT_EQ(bindable.effectEvents(EffectKind::checkpoint)->size(), 1u);
    EXPECT_EQ(bindable.effectEvents(EffectKind::checkpoint)->front()->eventId, 2u);
}

TEST_F(BindableFixture, LeverReportsTheListItJustRan) {
    // Switched on: the second list (opens door 3); switched off: the first (closes door 8).
    tie(1, 10, 3, 100);
    tie(2, 11, 8, 100);
    arm();
    SwitchElement record;
    record.startOff = 1;
    record.firstActions.push_back(numberAction(11, 8));
    record.secondActions.push_back(numberAction(10, 3));
    TestLever lever(record);
    SteerableUnit unit(1);

    bindable.onEffect(*lever.effect->apply(&unit), lever);  // off -> on
    EXPECT_EQ(fired(), (std::vector<u32>{1}));
    log.clear();
    bindable.onEffect(*lever.effect->apply(&unit), lever);  // on -> off
    EXPECT_EQ(fired(), (std::vector<u32>{2}));
}

TEST_F(BindableFixture, ClosedDialogFiresTheEventsOfItsNumber) {
    tie(1, 9, 4, 1);
    tie(2, 9, 5, 1);
    arm();
    bindable.onInput(*makeInputResult(InputResultKind::dialogClosed, 1));  // no number
    bindable.onInput(*makeNumberInputResult(6));
    EXPECT_TRUE(fired().empty());
    bindable.onInput(*makeNumberInputResult(5));
    EXPECT_EQ(fired(), (std::vector<u32>{2}));
    bindable.onInput(*makeNumberInputResult(5));
    EXPECT_EQ(fired(), (std::vector<u32>{2}));
    EXPECT_EQ(bindable.inputEvents(InputResultKind::dialogClosed)->size(), 1u);
}

TEST_F(BindableFixture, AFactoryThrowLeavesTheListConsistent) {
    tie(1, 10, 4, 1);
    events.push_back(makeEvent(2, numberTrigger(10, 1, 4), actions(numberAction(3, 0))));
    tie(3, 10, 4, 1);
    arm();
    EXPECT_THROW(bindable.onAction(NumberActionData(10, 4)), Convinience::Error);
    // Event 1 fired and left; event 2 (which threw) and 3 stay filed.
    const auto* list = bindable.numberedEvents(10, 4);
    ASSERT_NE(list, nullptr);
    ASSERT_EQ(list->size(), 2u);
    EXPECT_EQ((*list)[0]->eventId, 2u);
    EXPECT_EQ((*list)[1]->eventId, 3u);
    EXPECT_EQ(registry.remainingFirings(2), 1u);
}

TEST(InputResultTest, Makers) {
    auto move = makeInputResult(InputResultKind::move, 7);
    EXPECT_EQ(move->kind, 1);
    EXPECT_EQ(move->applied, 1);
    EXPECT_EQ(move->ids, (std::vector<u32>{7}));
    auto refused = makeUnappliedInputResult(7);
    EXPECT_EQ(refused->kind, 1);
    EXPECT_EQ(refused->applied, 0);
    auto closed = makeNumberInputResult(12);
    EXPECT_EQ(closed->kind, 2);
    EXPECT_EQ(closed->applied, 1);
    EXPECT_EQ(closed->ids, (std::vector<u32>{0}));
    EXPECT_EQ(closed->number, 12u);
}

}  // namespace
}  // namespace Zarn
