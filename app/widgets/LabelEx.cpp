#include "app/widgets/LabelEx.h"

#include <random>

#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Sprite.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

namespace {

// The tag of a label's typing run.
constexpr int kTypingTag = 0x7e7e;

struct TickSequence {
    std::mt19937 engine{5489u};
    std::uniform_int_distribution<int> pick{0, 1};
};

// One for the process, made on first use; main thread only.
TickSequence& ticks() {
    static TickSequence sequence;
    return sequence;
}

}  // namespace

bool typewriterTicks(int lettersTyped, bool hasGlyph) {
    return hasGlyph && lettersTyped % 4 == 0;
}

LabelEx* LabelEx::create(const std::string& text, const std::string& fontFile, float fontSize,
                         const Size& dimensions) {
    auto* label = new LabelEx();
    if (label->initWithTTF(text, fontFile, fontSize, dimensions, TextHAlignment::LEFT, TextVAlignment::TOP)) {
        label->autorelease();
        return label;
    }
    delete label;
    return nullptr;
}

void LabelEx::resetTickSequenceForTests() {
    ticks() = TickSequence{};
}

void LabelEx::startTyping() {
    stopActionByTag(kTypingTag);
    letterIndex = 0;
    const int n = getStringLength();
    if (n == 0) return;
    auto* step =
        Sequence::create(CallFunc::create([this] { typeNextLetter(); }), DelayTime::create(kLetterSeconds));
    Action* run = Sequence::create(Repeat::create(step, static_cast<unsigned int>(n)),
                                   CallFunc::create([this] { finishTyping(); }));
    run->setTag(kTypingTag);
    runAction(run);
}

void LabelEx::typeNextLetter() {
    const int i = letterIndex++;
    Sprite* letter = getLetter(i);
    if (letter == nullptr) return;
    if (typewriterTicks(letterIndex, true)) {
        TickSequence& t = ticks();
        SoundPlayer::getInstance()->playEffect(kTickSounds[t.pick(t.engine)], 1.0f, 1.0f);
    }
    letter->setVisible(true);
}

void LabelEx::finishTyping() {
    if (next != nullptr) next->startTyping();
}
