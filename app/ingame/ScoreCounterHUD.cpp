#include "app/ingame/ScoreCounterHUD.h"

#include <cstdio>
#include <functional>

#include "engine/ActionInterval.h"
#include "engine/Label.h"

using namespace cocos2d;

namespace {

template <class T>
T* createCounter(const std::function<bool(T&)>& init) {
    auto* counter = new T();
    if (init(*counter)) {
        counter->autorelease();
        return counter;
    }
    delete counter;
    return nullptr;
}

std::string countText(u32 value) {
    return "x " + std::to_string(value);
}

}  // namespace

void ScoreCounterHUD::setScale(float scale) {
    baseScale_ = scale;
    Sprite::setScale(scale);
}

bool ScoreCounterHUD::initCounter(const std::string& iconFrame, const std::string& firstText) {
    if (!initWithSpriteFrameName(iconFrame)) return false;
    label_ = Label::createWithTTF(firstText, kFont, kFontSize);
    label_->enableOutline(Color4B(33, 33, 33, 255), kOutlineWidth);
    addChild(label_);
    placeLabel();
    return true;
}

void ScoreCounterHUD::placeLabel() {
    const Size icon = getContentSize();
    label_->setPosition(Vec2(icon.width + label_->getContentSize().width * 0.5f + 20.0f, icon.height * 0.5f));
}

void ScoreCounterHUD::pulse() {
    runAction(Sequence::create(ScaleTo::create(kPulseStepSeconds, baseScale_ * 0.8f),
                               ScaleTo::create(kPulseStepSeconds, baseScale_ * 1.2f),
                               ScaleTo::create(kPulseStepSeconds, baseScale_)));
}

DeathCountHUD* DeathCountHUD::create(const std::string& iconFrame) {
    return createCounter<DeathCountHUD>([&](DeathCountHUD& c) { return c.initCounter(iconFrame, "x 0"); });
}

void DeathCountHUD::setValue(u32 value) {
    label_->setString(countText(value));
    placeLabel();
    pulse();
}

MoneyHUD* MoneyHUD::create(const std::string& iconFrame) {
    return createCounter<MoneyHUD>([&](MoneyHUD& c) { return c.initCounter(iconFrame, "x 0"); });
}

LivesCountHUD* LivesCountHUD::create() {
    return createCounter<LivesCountHUD>([](LivesCountHUD& c) { return c.initCounter(kIconFrame, "x 0"); });
}

void LivesCountHUD::setValue(u32 value) {
    label_->setString(countText(value));
    pulse();
}

TimerHUD* TimerHUD::create() {
    return createCounter<TimerHUD>([](TimerHUD& c) { return c.initCounter(kIconFrame, "00:00:00"); });
}

std::string TimerHUD::formatTime(u64 ms) {
    char text[48];
    std::snprintf(text, sizeof text, "%02llu:%02llu:%02llu", static_cast<unsigned long long>(ms / 60000),
                  static_cast<unsigned long long>((ms / 1000) % 60),
                  static_cast<unsigned long long>((ms % 1000) / 10));
    return text;
}

void TimerHUD::setTime(u64 ms) {
    label_->setString(formatTime(ms));
    if (ms % 60000 == 0) pulse();
}
