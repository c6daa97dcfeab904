#include "world/elements/MusicalNote.h"

#include <cmath>

#include "map/records/MusicalNoteElement.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/triggers/ActionFactory.h"

namespace Zarn {

MusicalNote::MusicalNote(const MusicalNoteElement& record, std::unique_ptr<Effect> effect)
    : UpdatableInteractiveMapElement(record, std::move(effect)), noteRecord(&record) {}

bool MusicalNote::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    if (!enabled || !(cell == noteRecord->cell)) return false;
    switch (value()) {
        case NoteValue::idle:
        case NoteValue::ready:
            flash();
            return false;
        case NoteValue::awaiting:
            return answerStep();
        case NoteValue::failed:
            return true;
        default:
            return false;
    }
}

bool MusicalNote::answerStep() {
    if (expected) {
        press();
        return false;
    }
    if (controller) controller->fail();
    return true;
}

void MusicalNote::reset() {
    setValue(NoteValue::idle);
    timer = 0.0f;
    enterOnly = 1;
    expected = 1;
    next.clear();
    controller = nullptr;
}

void MusicalNote::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

void MusicalNote::update(float dt) {
    const u8 v = value();
    if (!enabled || v == NoteValue::idle || v == NoteValue::ready || v == NoteValue::awaiting) return;
    timer += dt;
    auto change = [this](u8 to) {
        setValue(to);
        timer = 0.0f;
    };
    switch (v) {
        case NoteValue::lit:
            if (timer >= litTime) change(NoteValue::ready);
            break;
        case NoteValue::flashing:
            if (timer >= flashTime) change(NoteValue::ready);
            break;
        case NoteValue::pressed:
            if (timer >= flashTime) change(NoteValue::awaiting);
            break;
        case NoteValue::failed:
            if (timer >= failTime) {
                enterOnly = 1;
                reset();
                change(NoteValue::ready);
            }
            break;
        case NoteValue::stepDone:
        case NoteValue::songDone:
            if (timer >= doneTime) change(NoteValue::ready);
            break;
        default:
            break;
    }
}

void MusicalNote::flash() {
    setValue(NoteValue::flashing);
    timer = 0.0f;
}

void MusicalNote::start() {
    setValue(NoteValue::lit);
    timer = 0.0f;
}

void MusicalNote::finishStep() {
    setValue(NoteValue::stepDone);
    expected = 1;
    timer = 0.0f;
}

void MusicalNote::press() {
    setValue(NoteValue::pressed);
    expected = 0;
    timer = 0.0f;
    if (!next.empty()) {
        MusicalNote* following = next.front();
        next.pop_front();
        following->expected = 1;
    } else if (controller) {
        controller->finishStep();
    }
}

void MusicalNote::fail() {
    enterOnly = 0;
    setValue(NoteValue::failed);
    timer = 0.0f;
}

void MusicalNote::makeReady() {
    setValue(NoteValue::ready);
    timer = 0.0f;
}

void MusicalNote::finishSong() {
    setValue(NoteValue::songDone);
    timer = 0.0f;
}

bool MusicalNoteSet::insert(MusicalNote* note) {
    if (!index_.insert(note).second) return false;
    notes_.push_back(note);
    return true;
}

void MusicalNoteSet::clear() {
    notes_.clear();
    index_.clear();
}

MusicalNoteController::MusicalNoteController(const MusicalNoteControllerElement& record,
                                             std::unique_ptr<Effect> effect,
                                             const NumberedElementGroup& elements, ActionFactory& actions,
                                             MusicalNoteSet& allNotes)
    : MusicalNote(record, std::move(effect)),
      controllerRecord(&record),
      elements(&elements),
      actions(&actions),
      allNotes(&allNotes) {}

float MusicalNoteController::interval() const {
    return controllerRecord->controllerTime;
}

std::vector<MusicalNote*> MusicalNoteController::lookUpStep(u32 index) const {
    std::vector<MusicalNote*> notes;
    if (index >= controllerRecord->noteSequences.size()) return notes;
    for (u32 number : controllerRecord->noteSequences[index])
        notes.push_back(&elements->getTyped<MusicalNote>(number));
    return notes;
}

bool MusicalNoteController::touches(const GeometryLib::Point& cell, SteerableUnit* unit) {
    if (!enabled) return false;
    if (plainNote) return MusicalNote::touches(cell, unit);
    switch (value()) {
        case NoteValue::idle:
            start();
            return false;
        case NoteValue::awaiting:
            return answerStep();
        case NoteValue::failed:
            return true;
        default:
            return false;
    }
}

void MusicalNoteController::reset() {
    MusicalNote::reset();
    plainNote = 0;
    stepDone = 0;
    step = 0;
    played = -1;
    stepNotes.clear();
}

void MusicalNoteController::flash() {
    setValue(NoteValue::flashing);
    flashTimer = 0.0f;
}

// The notes of the set are driven through the plain note's operations, so
// that a controller among them (a map that lists one as a note) is not driven
// into its own melody logic again.
void MusicalNoteController::start() {
    allNotes->clear();
    for (u32 i = 0; i < controllerRecord->noteSequences.size(); ++i) {
        for (MusicalNote* note : lookUpStep(i)) {
            allNotes->insert(note);
            note->MusicalNote::start();
        }
    }
    setValue(NoteValue::lit);
    timer = 0.0f;
    stepNotes = lookUpStep(step);
    timer = 0.0f;
}

void MusicalNoteController::finishStep() {
    stepDone = 1;
    timer = 0.0f;
}

void MusicalNoteController::fail() {
    MusicalNote::fail();
    for (MusicalNote* note : *allNotes) {
        if (note != this) note->MusicalNote::fail();
    }
}

void MusicalNoteController::finishSong() {
    MusicalNote::finishSong();
    for (MusicalNote* note : *allNotes) {
        if (note != this) note->MusicalNote::finishSong();
    }
    plainNote = 1;
    for (const auto& record : controllerRecord->firstActions) actions->makeCommand(*record)->execute();
}

void MusicalNoteController::update(float dt) {
    if (!enabled || value() == NoteValue::idle) return;
    if (plainNote) {
        MusicalNote::update(dt);
        return;
    }
    timer += dt;
    switch (value()) {
        case NoteValue::lit:
            if (timer >= litTime) setValue(NoteValue::ready);
            playback();
            break;
        case NoteValue::ready:
            playback();
            break;
        case NoteValue::awaiting:
            if (stepDone && timer >= doneDelay) {
                setValue(NoteValue::stepDone);
                expected = 1;
                for (MusicalNote* note : *allNotes) {
                    if (note != this) note->MusicalNote::finishStep();
                }
                timer = 0.0f;
            }
            break;
        case NoteValue::flashing:
            flashTimer += dt;
            if (flashTimer >= flashTime) setValue(NoteValue::ready);
            break;
        case NoteValue::pressed:
            if (timer >= flashTime) setValue(NoteValue::awaiting);
            break;
        case NoteValue::failed:
            if (timer >= failTime) reset();
            break;
        case NoteValue::stepDone:
            if (timer >= doneTime) nextStep();
            break;
        default:
            break;
    }
}

void MusicalNoteController::playback() {
    const float n = static_cast<float>(stepNotes.size());
    const float i = interval();
    if (timer >= litTime && timer < n * i + litTime) {
        const auto k = static_cast<i32>(std::trunc((timer - litTime) / i));
        if (k != played && k >= 0 && static_cast<std::size_t>(k) < stepNotes.size()) {
            stepNotes[static_cast<std::size_t>(k)]->flash();
            played = k;
        }
    } else if (timer >= n * i + litTime + pauseTime) {
        beginInput();
    }
}

void MusicalNoteController::beginInput() {
    if (value() == NoteValue::awaiting) return;
    setValue(NoteValue::awaiting);
    for (MusicalNote* note : *allNotes) {
        note->controller = this;
        note->setValue(NoteValue::awaiting);
        note->expected = 0;
    }
    for (std::size_t k = 0; k < stepNotes.size(); ++k) {
        MusicalNote* note = stepNotes[k];
        note->controller = this;
        note->setValue(NoteValue::awaiting);
        note->expected = 0;
        if (k + 1 < stepNotes.size()) note->next.push_back(stepNotes[k + 1]);
    }
    // A step without notes waits for nothing: it is done at once.
    if (stepNotes.empty()) {
        finishStep();
        return;
    }
    stepNotes.front()->expected = 1;
}

void MusicalNoteController::nextStep() {
    ++step;
    if (step >= controllerRecord->noteSequences.size()) {
        finishSong();
        return;
    }
    setValue(NoteValue::ready);
    stepNotes = lookUpStep(step);
    for (MusicalNote* note : *allNotes) {
        note->setValue(NoteValue::ready);
        note->timer = 0.0f;
    }
    timer = litTime;
    stepDone = 0;
    played = -1;
    if (stepNotes.empty()) {
        beginInput();
        return;
    }
    stepNotes.front()->flash();
    played = 0;
}

}  // namespace Zarn
