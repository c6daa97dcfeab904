#pragma once

#include <string>

#include "engine/Label.h"

// Whether typing the letter that brings the count to `lettersTyped` plays a
// tick: every fourth letter position, when it has a glyph.
bool typewriterTicks(int lettersTyped, bool hasGlyph);

// A label that types its text: its letters appear one by one 0.01 s apart,
// with a tick sound on every fourth letter, and when it has finished it
// starts the next label of its chain. The creator hides the letters before
// typing (typing only shows them). Main thread only.
class LabelEx : public cocos2d::Label {
public:
    static constexpr float kLetterSeconds = 0.01f;
    static constexpr const char* kTickSounds[2] = {"sound/voice/tick1.mp3", "sound/voice/tick2.mp3"};

    static LabelEx* create(const std::string& text, const std::string& fontFile, float fontSize,
                           const cocos2d::Size& dimensions);

    // Starts a typing run from the first letter (a run in progress is
    // dropped). An empty label types nothing and starts no next label.
    void startTyping();
    int getLetterIndex() const { return letterIndex; }

    // The label started when this one has finished; not owned (the creator
    // keeps the chain alive, and unlinks it after stopping its actions).
    LabelEx* next = nullptr;

    // The tick sounds are chosen by one mt19937 seeded with 5489, shared by
    // every label of the process; this starts its sequence again (tests).
    static void resetTickSequenceForTests();

protected:
    void typeNextLetter();
    void finishTyping();

    int letterIndex = 0;
};
