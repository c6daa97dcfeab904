#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "foundation/Error.h"
#include "map/records/MusicalNoteElement.h"
#include "world/effects/Kill.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using Ran = std::vector<std::string>;

constexpr float kTick = 1.0f / 64.0f;

// A melody of two steps over three notes (numbers 1, 2, 3 on cells (1, 0),
// (2, 0), (3, 0)) started from a controller on cell (0, 0); the notes kill.
// Construction timings: lit 0.1, flash 0.1, fail 0.5, done 0.5, pause 0.5,
// doneDelay 0.3; interval 0.4.
class MusicalNoteTest : public testing::Test {
protected:
    MusicalNoteTest() {
        zarn_test::openRoom(grid, 10, 10, 32);
        spawns.setDefaultSpawnCell(Point(5, 5));
        units.addClient(1);
        unit = &units.getUnit(1);
        for (u32 i = 0; i < 3; ++i) {
            noteRecords[i].cell = Point(static_cast<i16>(i + 1), 0);
            noteRecords[i].number = i + 1;
        }
        controllerRecord.cell = Point(0, 0);
        controllerRecord.number = 100;
        controllerRecord.controllerTime = 0.4f;
        controllerRecord.noteSequences = {{1, 2, 3}, {3, 1}};
        controllerRecord.firstActions.push_back(std::make_unique<NumberActionData>(10, 5));
        controllerRecord.firstActions.push_back(std::make_unique<NumberActionData>(24, 6));
    }
    void build() {
        for (u32 i = 0; i < 3; ++i) {
            notes[i] = std::make_unique<MusicalNote>(noteRecords[i], deadly(noteRecords[i].cell));
            table.add(i + 1, notes[i].get());
        }
        controller = std::make_unique<MusicalNoteController>(controllerRecord, deadly(controllerRecord.cell),
                                                             table, actions, allNotes);
        table.add(100, controller.get());
    }
    std::unique_ptr<Effect> deadly(Point cell) {
        return std::make_unique<KillThenWait>(spawns, grid, 22, 2.0f, std::vector<Point>{cell});
    }
    MusicalNote& note(u32 number) { return *notes[number - 1]; }
    // The contact flow's view: touches, then the effect when it answers true.
    // True when the effect was applied.
    bool step(MusicalNote& element) {
        unit->state = 0;
        unit->body().position = FPoint(element.noteRecord->cell.x * 32 + 16.0f, 16.0f);
        if (!element.touches(element.noteRecord->cell, unit)) return false;
        return element.effect->apply(unit)->applied == 1;
    }
    // Updates the controller, then the notes, for `seconds`.
    void run(float seconds) {
        for (float t = 0; t + kTick / 2 < seconds; t += kTick) tick();
    }
    void tick() {
        controller->update(kTick);
        for (auto& n : notes) n->update(kTick);
    }
    std::vector<u8> values() const {
        return {controller->value(), notes[0]->value(), notes[1]->value(), notes[2]->value()};
    }
    // Plays the melody back and waits until input is awaited.
    void untilInput() {
        for (int i = 0; i < 1000 && controller->value() != NoteValue::awaiting; ++i) tick();
        ASSERT_EQ(controller->value(), NoteValue::awaiting);
    }

    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* unit;
    MusicalNoteElement noteRecords[3];
    MusicalNoteControllerElement controllerRecord;
    NumberedElementGroup table;
    zarn_test::RecordingActionFactory actions;
    MusicalNoteSet allNotes;
    std::unique_ptr<MusicalNote> notes[3];
    std::unique_ptr<MusicalNoteController> controller;
};

TEST_F(MusicalNoteTest, StartingLightsTheMelodyAndPlaysTheFirstStepBackInOrder) {
    build();
    EXPECT_FALSE(step(*controller));
    EXPECT_EQ(values(), (std::vector<u8>{1, 1, 1, 1}));
    EXPECT_EQ(allNotes.size(), 3u);

    // Record when each note starts to flash, on the controller's clock.
    float flashedAt[3] = {-1, -1, -1};
    float t = 0;
    while (controller->value() != NoteValue::awaiting && t < 5) {
        tick();
        t += kTick;
        for (int i = 0; i < 3; ++i) {
            if (flashedAt[i] < 0 && notes[i]->value() == NoteValue::flashing) flashedAt[i] = t;
        }
    }
    EXPECT_NEAR(flashedAt[0], 0.1f, kTick);
    EXPECT_NEAR(flashedAt[1], 0.5f, kTick);
    EXPECT_NEAR(flashedAt[2], 0.9f, kTick);
    EXPECT_NEAR(t, 1.8f, kTick) << "3 x 0.4 + 0.1 + 0.5";
    EXPECT_EQ(values(), (std::vector<u8>{3, 3, 3, 3}));
    EXPECT_EQ(note(1).expected, 1);
    EXPECT_EQ(note(2).expected, 0);
    EXPECT_EQ(note(1).controller, controller.get());
}

TEST_F(MusicalNoteTest, TouchingANoteDuringPlaybackFlashesItWithoutEffect) {
    build();
    step(*controller);
    run(0.3f);
    ASSERT_EQ(note(3).value(), NoteValue::ready);
    EXPECT_FALSE(step(note(3)));
    EXPECT_EQ(note(3).value(), NoteValue::flashing);
    EXPECT_EQ(unit->state, 0u);
    run(0.15f);
    EXPECT_EQ(note(3).value(), NoteValue::ready);
}

TEST_F(MusicalNoteTest, RightPressesFinishTheStepAndTheNextStepIsPlayedBack) {
    build();
    step(*controller);
    untilInput();
    for (u32 n : {1u, 2u}) {
        EXPECT_FALSE(step(note(n)));
        EXPECT_EQ(note(n).value(), NoteValue::pressed);
        run(0.05f);
        EXPECT_EQ(note(n).value(), NoteValue::pressed);
        run(0.06f);
        EXPECT_EQ(note(n).value(), NoteValue::awaiting);
    }
    EXPECT_EQ(controller->stepDone, 0);
    EXPECT_FALSE(step(note(3)));
    EXPECT_EQ(controller->stepDone, 1);
    run(0.28f);
    EXPECT_EQ(controller->value(), NoteValue::awaiting);
    run(0.04f);
    EXPECT_EQ(values(), (std::vector<u8>{8, 8, 8, 8}));
    run(0.46f);
    EXPECT_EQ(controller->step, 0u);
    run(0.04f);
    EXPECT_EQ(controller->step, 1u);
    EXPECT_EQ(note(3).value(), NoteValue::flashing) << "the next step's first note at once";
    EXPECT_EQ(controller->played, 0);
}

TEST_F(MusicalNoteTest, AWrongNoteFailsEverythingAndNotesKillUntilTheFailStateEnds) {
    build();
    step(*controller);
    untilInput();
    EXPECT_TRUE(step(note(2))) << "the wrong note applies its effect";
    EXPECT_EQ(unit->state, 22u);
    EXPECT_EQ(values(), (std::vector<u8>{6, 6, 6, 6}));
    for (auto& n : notes) EXPECT_FALSE(n->reactsOnEnterOnly());
    EXPECT_FALSE(controller->reactsOnEnterOnly());

    run(0.25f);
    EXPECT_TRUE(step(note(1)));
    EXPECT_TRUE(step(note(3)));
    EXPECT_TRUE(step(*controller));

    run(0.3f);
    EXPECT_EQ(values(), (std::vector<u8>{0, 2, 2, 2}));
    for (auto& n : notes) {
        EXPECT_TRUE(n->reactsOnEnterOnly());
        EXPECT_EQ(n->controller, nullptr);
        EXPECT_TRUE(n->next.empty());
    }
    EXPECT_FALSE(step(note(2)));
    EXPECT_EQ(controller->step, 0u);

    // A new attempt starts from the first step.
    step(*controller);
    EXPECT_EQ(controller->value(), NoteValue::lit);
    untilInput();
    EXPECT_EQ(note(1).expected, 1);
}

TEST_F(MusicalNoteTest, TheCompletedMelodyRunsItsActionsOnceAndTheControllerTurnsPlain) {
    build();
    step(*controller);
    untilInput();
    for (u32 n : {1u, 2u, 3u}) step(note(n));
    for (int i = 0; i < 1000 && !(controller->step == 1 && controller->value() == NoteValue::awaiting); ++i)
        tick();
    ASSERT_EQ(controller->value(), NoteValue::awaiting);
    EXPECT_EQ(note(3).expected, 1);
    EXPECT_EQ(note(1).expected, 0);
    EXPECT_FALSE(step(note(3)));
    EXPECT_FALSE(step(note(1)));
    run(0.35f);
    EXPECT_EQ(controller->value(), NoteValue::stepDone);
    EXPECT_TRUE(actions.ran.empty());
    run(0.5f);
    EXPECT_EQ(values(), (std::vector<u8>{10, 10, 10, 10}));
    EXPECT_EQ(actions.ran, (Ran{"action 10", "action 24"}));
    EXPECT_EQ(controller->plainNote, 1);

    run(0.6f);
    EXPECT_EQ(values(), (std::vector<u8>{2, 2, 2, 2}));
    EXPECT_FALSE(step(*controller));
    EXPECT_EQ(controller->value(), NoteValue::flashing) << "a plain note now";
    run(2.0f);
    EXPECT_EQ(actions.ran.size(), 2u);
}

TEST_F(MusicalNoteTest, TheControllerTileItselfDuringInputIsAPressWithoutAStepToFinish) {
    build();
    step(*controller);
    untilInput();
    EXPECT_FALSE(step(*controller));
    EXPECT_EQ(controller->value(), NoteValue::pressed);
    EXPECT_EQ(controller->stepDone, 0) << "no step finished by the start tile";
    run(0.15f);
    EXPECT_EQ(controller->value(), NoteValue::awaiting);
    EXPECT_EQ(note(1).expected, 1) << "the melody still waits for its first note";
}

// A step without notes has nothing to wait for: it counts as done, so a
// melody without steps, or with an empty step, can still be completed.
TEST_F(MusicalNoteTest, AnEmptyStepCountsAsDoneAndTheMelodyCanBeCompleted) {
    controllerRecord.noteSequences.clear();
    build();
    step(*controller);
    for (int i = 0; i < 200 && controller->plainNote == 0; ++i) tick();
    EXPECT_EQ(controller->value(), NoteValue::songDone);
    EXPECT_EQ(actions.ran, (Ran{"action 10", "action 24"}));

    MusicalNoteControllerElement emptyStep;
    emptyStep.controllerTime = 0.4f;
    emptyStep.noteSequences = {{1}, {}};
    emptyStep.firstActions.push_back(std::make_unique<NumberActionData>(12, 7));
    MusicalNoteSet set;
    MusicalNoteController other(emptyStep, makeNullEffect(), table, actions, set);
    other.touches(Point(0, 0), unit);
    for (int i = 0; i < 200 && other.value() != NoteValue::awaiting; ++i) other.update(kTick);
    note(1).touches(note(1).noteRecord->cell, unit);
    for (int i = 0; i < 200 && other.step == 0; ++i) other.update(kTick);
    EXPECT_EQ(other.step, 1u);
    EXPECT_TRUE(other.stepNotes.empty());
    for (int i = 0; i < 200 && other.plainNote == 0; ++i) other.update(kTick);
    EXPECT_EQ(other.value(), NoteValue::songDone);
    EXPECT_EQ(actions.ran.back(), "action 12");
}

TEST_F(MusicalNoteTest, AControllerListedAsANoteOfItsOwnMelodyTakesPartWithoutRecursion) {
    controllerRecord.noteSequences = {{100, 1}};
    build();
    step(*controller);
    untilInput();
    EXPECT_EQ(controller->expected, 1);
    EXPECT_TRUE(step(note(1))) << "note 1 before the controller is wrong";
    EXPECT_EQ(values(), (std::vector<u8>{6, 6, 0, 0})) << "notes outside the melody stay idle";
    run(0.6f);
    EXPECT_EQ(controller->value(), NoteValue::idle);

    step(*controller);
    untilInput();
    EXPECT_FALSE(step(*controller));
    EXPECT_EQ(note(1).expected, 1);
    EXPECT_FALSE(step(note(1)));
    EXPECT_EQ(controller->stepDone, 1);
    run(1.0f);
    EXPECT_EQ(controller->value(), NoteValue::songDone);
    EXPECT_EQ(actions.ran.size(), 2u);
}

TEST_F(MusicalNoteTest, ResetReturnsNotesAndControllerToIdle) {
    build();
    step(*controller);
    untilInput();
    step(note(1));
    controller->reset();
    note(2).reset();
    EXPECT_EQ(controller->value(), NoteValue::idle);
    EXPECT_EQ(controller->played, -1);
    EXPECT_TRUE(controller->stepNotes.empty());
    EXPECT_EQ(note(2).value(), NoteValue::idle);
    EXPECT_EQ(note(2).expected, 1);
    EXPECT_EQ(note(2).controller, nullptr);
}

TEST_F(MusicalNoteTest, UnknownOrForeignNoteNumbersThrowWhenTheMelodyStarts) {
    controllerRecord.noteSequences = {{1, 42}};
    build();
    try {
        step(*controller);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "No such element number");
    }
    NumberedElementGroup foreign;
    MusicalNoteSet otherNotes;
    struct Plain : InteractiveMapElement {
        using InteractiveMapElement::InteractiveMapElement;
        void enable() override {}
        void disable() override {}
        bool isEnabled() const override { return true; }
        bool touches(const Point&, SteerableUnit*) override { return false; }
        void reset() override {}
        InteractiveMapElementState& getState() override { return s; }
        void setState(const InteractiveMapElementState&) override {}
        InteractiveMapElementState s;
    } plain(noteRecords[0], nullptr);
    foreign.add(1, &plain);
    foreign.add(42, &plain);
    MusicalNoteController other(controllerRecord, makeNullEffect(), foreign, actions, otherNotes);
    try {
        other.touches(Point(0, 0), unit);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "numbered element is of wrong type");
    }
}

TEST_F(MusicalNoteTest, EachWorldKeepsItsOwnNoteSet) {
    build();
    // A second world with its own notes, table and set.
    MusicalNote otherNote(noteRecords[0], makeNullEffect());
    NumberedElementGroup otherTable;
    otherTable.add(1, &otherNote);
    MusicalNoteSet otherSet;
    MusicalNoteControllerElement otherRecord;
    otherRecord.controllerTime = 0.4f;
    otherRecord.noteSequences = {{1}};
    MusicalNoteController otherController(otherRecord, makeNullEffect(), otherTable, actions, otherSet);

    step(*controller);
    otherController.touches(Point(0, 0), unit);
    EXPECT_EQ(allNotes.size(), 3u);
    EXPECT_TRUE(allNotes.contains(&note(1)));
    EXPECT_FALSE(allNotes.contains(&otherNote));
    EXPECT_EQ(otherSet.size(), 1u);
    EXPECT_FALSE(otherSet.contains(&note(1)));
}

TEST_F(MusicalNoteTest, DisabledNotesNeitherTouchNorAdvance) {
    build();
    note(1).disable();
    EXPECT_FALSE(step(note(1)));
    EXPECT_EQ(note(1).value(), NoteValue::idle);
    note(1).flash();
    run(0.5f);
    EXPECT_EQ(note(1).value(), NoteValue::flashing);
    controller->disable();
    EXPECT_FALSE(step(*controller));
    EXPECT_EQ(controller->value(), NoteValue::idle);
}

}  // namespace
}  // namespace Zarn
