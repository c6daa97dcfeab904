#pragma once

#include <string>

#include "engine/Sprite.h"
#include "foundation/Types.h"

namespace cocos2d {
class Label;
}

// The counters of the single-play heads-up display: an icon sprite with its
// value in a label to the right of it, in "fonts/riffic.ttf" 50 with a dark
// outline. A counter pulses (scale to 0.8, 1.2 and back to its base scale,
// 0.06 s each) when its value changes. Main thread only.
class ScoreCounterHUD : public cocos2d::Sprite {
public:
    static constexpr const char* kFont = "fonts/riffic.ttf";
    static constexpr float kFontSize = 50.0f;
    static constexpr int kOutlineWidth = 6;
    static constexpr float kPulseStepSeconds = 0.06f;

    // Remembers the scale as the base the pulse returns to.
    void setScale(float scale) override;
    using cocos2d::Sprite::setScale;
    float getBaseScale() const { return baseScale_; }
    cocos2d::Label* getLabel() const { return label_; }

protected:
    // Sprite from the icon frame, then the label with the first text.
    bool initCounter(const std::string& iconFrame, const std::string& firstText);
    // Puts the label right of the icon: x = icon width + label width / 2 + 20,
    // y = icon height / 2 (icon space).
    void placeLabel();
    void pulse();

    // A child of the counter; the node tree keeps it alive.
    cocos2d::Label* label_ = nullptr;
    float baseScale_ = 1.0f;
};

// The death counter ("x 3"); also the money counter's code.
class DeathCountHUD : public ScoreCounterHUD {
public:
    static DeathCountHUD* create(const std::string& iconFrame);
    // "x " and the value, the label placed again, one pulse.
    void setValue(u32 value);
};

// The money counter: a death counter with the coin icon.
class MoneyHUD : public DeathCountHUD {
public:
    static MoneyHUD* create(const std::string& iconFrame);
};

// The lives counter with the angel icon.
class LivesCountHUD : public ScoreCounterHUD {
public:
    static constexpr const char* kIconFrame = "mode_limited_lives_angel.png";
    static LivesCountHUD* create();
    // "x " and the value and one pulse; the label keeps its place.
    void setValue(u32 value);
};

// The play-time counter with the timer icon.
class TimerHUD : public ScoreCounterHUD {
public:
    static constexpr const char* kIconFrame = "mode_timer.png";
    static TimerHUD* create();
    // minutes ":" seconds ":" hundredths from milliseconds, each at least
    // two digits, zero-filled; minutes do not wrap (6000000 ms is
    // "100:00:00").
    static std::string formatTime(u64 ms);
    // Shows the time; pulses only on whole minutes (0 ms included).
    void setTime(u64 ms);
};
