#pragma once

#include <deque>
#include <unordered_set>
#include <vector>

#include "world/elements/InteractiveMapElement.h"

namespace Zarn {

class ActionFactory;
class MusicalNoteController;
class MusicalNoteControllerElement;
class MusicalNoteElement;
class NumberedElementGroup;

// Values of a musical note's state.
namespace NoteValue {
inline constexpr u8 idle = 0;       // no melody running
inline constexpr u8 lit = 1;        // lit at the start of a melody
inline constexpr u8 ready = 2;      // melody running, no input awaited
inline constexpr u8 awaiting = 3;   // awaiting input
inline constexpr u8 flashing = 4;   // played back, or touched outside input
inline constexpr u8 pressed = 5;    // pressed right
inline constexpr u8 failed = 6;     // a wrong note was pressed
inline constexpr u8 stepDone = 8;   // step complete
inline constexpr u8 songDone = 10;  // melody complete
}  // namespace NoteValue

// A floor tile of a melody puzzle. While input is awaited, the note that is
// expected next is pressed right when stepped on and passes the expectation to
// the note after it; any other note fails the attempt. During the fail state
// every touch applies the note's effect (normally deadly). Timings in seconds;
// the builder overwrites them after construction. The record belongs to the
// game map and outlives the note; the notes it points to (next, controller)
// are elements of the same world.
class MusicalNote : public UpdatableInteractiveMapElement {
public:
    MusicalNote(const MusicalNoteElement& record, std::unique_ptr<Effect> effect);

    void enable() override { enabled = 1; }
    void disable() override { enabled = 0; }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    // enterOnly, which is 0 only in the fail state.
    bool reactsOnEnterOnly() override { return enterOnly != 0; }
    // Idle, not part of a melody.
    void reset() override;
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override;
    void update(float dt) override;

    virtual void flash();
    virtual void start();
    virtual void finishStep();
    // Pressed right: hands the expectation to the first note of next, or tells
    // the controller that the step is done when next is empty.
    virtual void press();
    // A step on a note that awaits the player: the expected note is pressed
    // and the contact does not count; any other fails the tune and counts.
    bool answerStep();
    virtual void fail();
    virtual void makeReady();
    virtual void finishSong();

    u8 value() const { return static_cast<u8>(state.value); }
    void setValue(u8 v) { state.value = static_cast<EMusicalNoteState>(v); }

    u8 enabled = 1;
    MusicalNoteIMEState state;
    // The same record as `record`, typed.
    const MusicalNoteElement* noteRecord;
    float timer = 0.0f;
    float flashTimer = 0.0f;
    float litTime = 0.1f;
    float doneTime = 0.5f;
    u8 expected = 1;
    // The notes that become expected when this one is pressed, first first.
    std::deque<MusicalNote*> next;
    // The controller of the running melody, or null.
    MusicalNoteController* controller = nullptr;
    float failTime = 0.5f;
    float flashTime = 0.1f;
    u8 enterOnly = 1;
};

// The notes of a world's running melody. One per world (the server's and the
// client's worlds run on different threads); the world owns it and hands it
// to every controller it builds. Iterated in insertion order. The notes are
// elements of the same world and outlive the set's use.
class MusicalNoteSet {
public:
    // False when the note is held already.
    bool insert(MusicalNote* note);
    bool contains(const MusicalNote* note) const { return index_.count(note) != 0; }
    void clear();
    std::size_t size() const { return notes_.size(); }
    std::vector<MusicalNote*>::const_iterator begin() const { return notes_.begin(); }
    std::vector<MusicalNote*>::const_iterator end() const { return notes_.end(); }

private:
    std::vector<MusicalNote*> notes_;
    std::unordered_set<const MusicalNote*> index_;
};

// The tile that starts a melody: it plays the notes of the current step back
// one per interval, then awaits the players' input. A completed step leads to
// the next; after the last one the completion actions run and the controller
// behaves as a plain note from then on. A wrong note fails the attempt and the
// controller resets. A step without notes counts as done as soon as its input
// begins (so does the one step of a melody without any).
//
// Note numbers are looked up in the numbered element table; a number that
// names no musical note throws Convinience::Error ("No such element number",
// "numbered element is of wrong type"). The table, the action factory and the
// note set belong to the world and outlive the controller.
class MusicalNoteController : public MusicalNote {
public:
    MusicalNoteController(const MusicalNoteControllerElement& record, std::unique_ptr<Effect> effect,
                          const NumberedElementGroup& elements, ActionFactory& actions,
                          MusicalNoteSet& allNotes);

    bool touches(const GeometryLib::Point& cell, SteerableUnit* unit) override;
    void reset() override;
    void update(float dt) override;

    // Flashes without restarting its timer.
    void flash() override;
    // Starts the melody at the current step.
    void start() override;
    // Marks the step done; it counts as complete doneDelay seconds later.
    void finishStep() override;
    // Fails itself and every note of the melody.
    void fail() override;
    // Completes the melody and runs the completion actions.
    void finishSong() override;

    float interval() const;

    // The same record as `record`, typed.
    const MusicalNoteControllerElement* controllerRecord;
    const NumberedElementGroup* elements;
    ActionFactory* actions;
    u32 step = 0;
    // Index of the last note played back in the current step.
    i32 played = -1;
    std::vector<MusicalNote*> stepNotes;
    float pauseTime = 0.5f;
    u8 plainNote = 0;
    u8 stepDone = 0;
    float doneDelay = 0.3f;
    MusicalNoteSet* allNotes;

private:
    void playback();
    void beginInput();
    void nextStep();
    std::vector<MusicalNote*> lookUpStep(u32 index) const;
};

}  // namespace Zarn
