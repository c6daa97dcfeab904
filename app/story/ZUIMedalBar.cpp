#include "app/story/ZUIMedalBar.h"

#include "app/story/MedalRules.h"
#include "app/widgets/CreateConfigured.h"
#include "engine/Sprite.h"
#include "simulation/progress/LevelStatus.h"

using namespace cocos2d;

namespace {

constexpr float kIconScale = 0.333f;
constexpr float kLoneDeathScale = 0.45f;
const Color3B kBoxColour(110, 177, 161);
const Color3B kShadowColour(155, 162, 160);

const Zarn::LevelEntry& levelOf(u32 index) {
    return medalLevel(Zarn::LevelList::instance(), index);
}

}  // namespace

ZUIMedalBar* ZUIMedalBar::create(u32 levelIndex, const Zarn::LevelStatus* status) {
    return createConfigured<ZUIMedalBar>([&](ZUIMedalBar& bar) {
        bar.levelIndex = levelIndex;
        bar.status = status;
    });
}

bool ZUIMedalBar::init() {
    return Node::init();
}

void ZUIMedalBar::initBoxedMedals() {
    box = Sprite::createWithSpriteFrameName("ele_medal_box.png");
    shadow = Sprite::createWithSpriteFrameName("ele_medal_box.png");
    outline = Sprite::createWithSpriteFrameName("ele_medal_box_outline.png");
    setContentSize(box->getContentSize());
    setAnchorPoint(Vec2(0.5f, 0.5f));
    const Vec2 c(getContentSize().width / 2, getContentSize().height / 2);
    addChild(shadow);
    addChild(box);
    addChild(outline);
    box->setColor(kBoxColour);
    outline->setColor(kBoxColour);
    shadow->setColor(kShadowColour);
    shadow->setPosition(c + Vec2(10, -10));
    box->setPosition(c);
    outline->setPosition(c);
    addMedals();
}

void ZUIMedalBar::initDeathMedalOnly() {
    addDeathMedal();
    deathMedal->setScale(kLoneDeathScale);
    const Size size = deathMedal->getBoundingBox().size;
    setContentSize(size);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    deathMedal->setPosition(Vec2(size.width / 2, size.height / 2));
}

void ZUIMedalBar::addMedals() {
    addDeathMedal();
    addTimerMedal();
    addTimeAttackMedal();
}

void ZUIMedalBar::addDeathMedal() {
    const u32 deaths = status != nullptr ? status->fewestDeaths : Zarn::LevelStatus::kNoDeaths;
    const auto medal = static_cast<u8>(deathMedalOf(levelOf(levelIndex), deaths));
    deathMedal = Sprite::createWithSpriteFrameName(deathMedalIconTable[medal]);
    deathMedal->setScale(kIconScale);
    deathMedal->setPosition(Vec2(getContentSize().width / 2, getContentSize().height / 2) + Vec2(0, -10));
    addChild(deathMedal);
}

void ZUIMedalBar::addTimerMedal() {
    const u64 ms = status != nullptr ? status->bestTime : Zarn::LevelStatus::kNoTime;
    const auto medal = static_cast<u8>(timerMedalOf(levelOf(levelIndex), ms));
    timerMedal = Sprite::createWithSpriteFrameName(timerMedalIconTable[medal]);
    timerMedal->setScale(kIconScale);
    const float step =
        deathMedal->getBoundingBox().size.width / 2 + timerMedal->getBoundingBox().size.width / 2 + 20;
    timerMedal->setPosition(deathMedal->getPosition() + Vec2(step, 20));
    addChild(timerMedal);
}

void ZUIMedalBar::addTimeAttackMedal() {
    timeAttackMedal = Sprite::createWithSpriteFrameName(
        timeAttackMedalIcon(status != nullptr && status->timeAttackDone != 0));
    timeAttackMedal->setScale(kIconScale);
    const float step =
        deathMedal->getBoundingBox().size.width / 2 + timeAttackMedal->getBoundingBox().size.width / 2 + 20;
    timeAttackMedal->setPosition(deathMedal->getPosition() + Vec2(-step, 20));
    addChild(timeAttackMedal);
}
