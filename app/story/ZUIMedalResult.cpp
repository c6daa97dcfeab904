#include "app/story/ZUIMedalResult.h"

#include <algorithm>

#include "app/story/MedalRules.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/DrawNode.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Label.h"
#include "engine/Sprite.h"

using namespace cocos2d;

namespace {

const Color4F kCardColour(Color3B(185, 120, 74), 1.0f);
const Color4B kValueShadow(140, 76, 30, 255);
const Color4B kHintColour(40, 40, 40, 255);

constexpr float kCardMargin = 20.0f;  // between a card's texts and its edges

// The x of the edge from a to b at height y.
float edgeX(const Vec2& a, const Vec2& b, float y) {
    if (b.y == a.y) return a.x;
    return a.x + (y - a.y) / (b.y - a.y) * (b.x - a.x);
}

// The x of a card's left edge (corners 0 to 1) and right edge (3 to 2) at
// height y.
float leftEdgeAt(const Vec2* quad, float y) {
    return edgeX(quad[0], quad[1], y);
}
float rightEdgeAt(const Vec2* quad, float y) {
    return edgeX(quad[3], quad[2], y);
}

// The width a text centred on x at height y has on the card.
float roomAround(const Vec2* quad, const Vec2& at) {
    return 2.0f * (std::min(at.x - leftEdgeAt(quad, at.y), rightEdgeAt(quad, at.y) - at.x) - kCardMargin);
}

// Shrinks a label whose text is wider than `room` (never grows one).
void fitWidth(Label* label, float room) {
    const float width = label->getContentSize().width;
    if (width > room && room > 0.0f) label->setScale(room / width);
}

Size extentOf(const Node* node) {
    return Size(node->getContentSize().width * node->getScaleX(),
                node->getContentSize().height * node->getScaleY());
}

// Puts a node so that its lower-left corner (scaled box) lands on `corner`.
void placeLowerLeft(Node* node, const Vec2& corner) {
    const Size e = extentOf(node);
    node->setPosition(corner + Vec2(e.width / 2.0f, e.height / 2.0f));
}

Label* valueLabel(const std::string& text, float size, bool kerning) {
    Label* label = Label::createWithTTF(text, ZUIMedalResult::kFont, size);
    if (kerning) label->setAdditionalKerning(5.0f);
    label->enableShadow(kValueShadow, Size(5.0f, -5.0f), 0);
    return label;
}

Sprite* scaledSprite(const std::string& frame, float scale) {
    Sprite* sprite = Sprite::createWithSpriteFrameName(frame);
    sprite->setScale(scale);
    return sprite;
}

FiniteTimeAction* partBounce(const Vec2& down, float rate) {
    return Sequence::create(EaseOut::create(MoveBy::create(0.2f, down), rate),
                            EaseIn::create(MoveBy::create(0.2f, -down), rate));
}

// Shows a node from scale 0 up past its scale and back, after a delay.
void popIn(Node* node, float delay, float up, float settle) {
    node->setVisible(true);
    const float s = node->getScale();
    node->setScale(0.0f);
    node->runAction(Sequence::create(DelayTime::create(delay), ScaleTo::create(up, 1.2f * s),
                                     ScaleTo::create(settle, s)));
}

}  // namespace

const Size ZUIMedalResult::kScreenSize(1494.4f, 825.543f);
const Vec2 ZUIMedalResult::kDeathsMain[4] = {
    {477.32f, 216.33f}, {439.61f, 640.07f}, {931.82f, 651.98f}, {919.91f, 226.26f}};
const Vec2 ZUIMedalResult::kDeathsPrevious[4] = {
    {501.14f, 9.92f}, {476.32f, 190.53f}, {920.90f, 197.48f}, {915.94f, 12.90f}};
const Vec2 ZUIMedalResult::kTimeMain[4] = {
    {67.48f, 212.36f}, {0.0f, 602.36f}, {408.85f, 652.97f}, {438.62f, 211.37f}};
const Vec2 ZUIMedalResult::kTimePrevious[4] = {
    {95.43f, 25.26f}, {67.36f, 193.67f}, {440.67f, 193.67f}, {454.70f, 8.42f}};
const Vec2 ZUIMedalResult::kLivesMain[4] = {
    {982.43f, 349.31f}, {982.43f, 657.93f}, {1390.29f, 628.16f}, {1356.55f, 351.29f}};
const Vec2 ZUIMedalResult::kTimeAttackMain[4] = {
    {983.42f, 0.0f}, {981.44f, 323.51f}, {1353.57f, 332.44f}, {1315.86f, 21.83f}};

ZUIMedalResult* ZUIMedalResult::create() {
    return createWithInit<ZUIMedalResult>();
}

Sprite* ZUIMedalResult::placeSprite(const std::string& frame, float x, float y) {
    Sprite* sprite = Sprite::createWithSpriteFrameName(frame);
    sprite->setPosition(Vec2(x, y) +
                        Vec2(sprite->getContentSize().width / 2.0f, sprite->getContentSize().height / 2.0f));
    addChild(sprite);
    return sprite;
}

ZUICoreButton* ZUIMedalResult::placeButton(const std::string& icon, float x, float y, float rotation) {
    ZUICoreButton* button = ZUICoreButton::create(coreButtonStyles[1], icon);
    button->setPosition(Vec2(x, y) +
                        Vec2(button->getContentSize().width / 2.0f, button->getContentSize().height / 2.0f));
    button->setRotation(rotation);
    addButtonShadow(button);
    addChild(button);
    return button;
}

void ZUIMedalResult::addButtonShadow(ZUICoreButton* button) {
    Sprite* shadow = Sprite::createWithSpriteFrameName("core_button_outline.png");
    shadow->setColor(Color3B(48, 48, 48));
    shadow->setPosition(Vec2(button->getContentSize().width / 2.0f, button->getContentSize().height / 2.0f) +
                        Vec2(5.0f, -5.0f));
    button->addChild(shadow, -1);
}

bool ZUIMedalResult::init() {
    if (!Node::init()) return false;
    face_ = placeSprite("medal_screen_part_face.png", 293.113f, 853.93f);
    monitor_ = placeSprite("medal_screen_monitor.png", 120.112f, 168.135f);
    screenPolygon_ = {Vec2(0.0f, 0.0f), Vec2(0.0f, kScreenSize.height),
                      Vec2(kScreenSize.width, kScreenSize.height), Vec2(kScreenSize.width, 0.0f)};
    monitorFill_ = DrawNode::create(2.0f);
    const Color4F screen(Color4B(240, 197, 153, 255));
    monitorFill_->drawPolygon(screenPolygon_, 4, screen, 5.0f, screen);
    monitorFill_->setPosition(Vec2(103.656f, 82.833f));
    monitor_->addChild(monitorFill_, -1);
    handLeft_ = placeSprite("medal_screen_part_hand_left.png", 0.0f, 346.578f);
    handRight_ = placeSprite("medal_screen_part_hand_right.png", 1284.33f, 0.0f);
    smallPanel_ = placeSprite("medal_screen_small_panel.png", 217.778f, 133.978f);
    retryButton_ = placeButton("icon_retry.png", 1682.7f, 857.759f, 7.0f);
    nextButton_ = placeButton("icon_next.png", 1652.89f, 619.423f, 11.0f);
    levelsButton_ = placeButton("icon_levels.png", 1630.96f, 369.316f, 7.0f);

    bestLabel_ =
        Label::createWithTTF(kCaption, kFont, 45.0f, Size::ZERO, TextHAlignment::LEFT, TextVAlignment::TOP);
    bestLabel_->setAdditionalKerning(2.5f);
    bestLabel_->setTextColor(Color4B(120, 69, 23, 255));
    bestLabel_->setPosition(
        Vec2(smallPanel_->getContentSize().width / 2.0f, smallPanel_->getContentSize().height / 2.0f) +
        Vec2(-12.5f, 5.0f));
    bestLabel_->setRotation(3.5f);
    bestLabel_->setVisible(false);
    smallPanel_->addChild(bestLabel_);

    const float width = retryButton_->getPositionX() + retryButton_->getContentSize().width / 2.0f -
                        handLeft_->getPositionX() + handLeft_->getContentSize().width / 2.0f;
    const float height = face_->getPositionY() + face_->getContentSize().height / 2.0f -
                         handRight_->getPositionY() + handRight_->getContentSize().height / 2.0f;
    setContentSize(Size(width, height));
    setAnchorPoint(Vec2(0.5f, 0.5f));

    auto* touches = EventListenerTouchOneByOne::create();
    touches->setSwallowTouches(true);
    touches->onTouchBegan = [](Touch*, Event*) { return true; };
    touches->onTouchEnded = [](Touch*, Event*) {};
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touches, this);
    keyboardListener_ = EventListenerKeyboard::create();
    keyboardListener_->onKeyReleased = [this](EventKeyboard::KeyCode, Event*) { pressDefaultButton(); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyboardListener_, this);
    return true;
}

void ZUIMedalResult::pressDefaultButton() {
    if (getNumberOfRunningActions() > 0) return;
    ZUICoreButton* button = nextButton_ != nullptr ? nextButton_ : levelsButton_;
    if (button != nullptr && button->callback && button->takeClick()) button->callback();
}

Sprite* ZUIMedalResult::makeRibbon(const std::string& title, float fontSize) {
    Sprite* ribbon = Sprite::createWithSpriteFrameName("medal_screen_ribbon.png");
    Label* label = Label::createWithTTF(title, kFont, fontSize);
    label->setTextColor(Color4B(33, 33, 38, 255));
    label->setAdditionalKerning(5.0f);
    label->setPosition(Vec2(ribbon->getContentSize().width / 2.0f, ribbon->getContentSize().height / 2.0f) +
                       Vec2(0.0f, 25.0f));
    ribbon->addChild(label);
    return ribbon;
}

Sprite* ZUIMedalResult::startCard(const Vec2* main, const Vec2* previous, const std::string& title,
                                  float fontSize, float drop, float rotation) {
    rowsNode_->drawPolygon(main, 4, kCardColour, 5.0f, kCardColour);
    if (previous != nullptr) rowsNode_->drawPolygon(previous, 4, kCardColour, 5.0f, kCardColour);
    Sprite* ribbon = makeRibbon(title, fontSize);
    ribbon->setPosition(Vec2(main[1].x + (main[2].x - main[1].x) / 2.0f, main[1].y - drop));
    ribbon->setRotation(rotation);
    rowsNode_->addChild(ribbon);
    return ribbon;
}

void ZUIMedalResult::buildMedalRows(const Zarn::LevelList& levels, u32 levelIndex,
                                    const Zarn::LevelStatus& previousBest,
                                    const std::vector<Zarn::ScoreResult>& entries) {
    medalLevel(levels, levelIndex);  // a level past the list throws before anything is built
    rowsNode_ = DrawNode::create(2.0f);
    rowsNode_->setPosition(Vec2(40.0f, 75.0f));
    rowsNode_->setVisible(false);
    monitorFill_->addChild(rowsNode_);
    for (const Zarn::ScoreResult& entry : entries) {
        switch (entry.kind) {
            case 0:
                addDeathsCard(levels, levelIndex, previousBest, entry);
                break;
            case 1:
                addTimeCard(levels, levelIndex, previousBest, entry);
                break;
            case 2:
                addTimeAttackCard();
                break;
            case 3:
                addLivesCard(entry);
                break;
            default:
                break;
        }
    }
}

std::vector<Node*> ZUIMedalResult::addMedalCard(const MedalCard& card, const Zarn::ScoreResult& entry,
                                                Label* hint, u8 previousMedal,
                                                const std::string& previousText) {
    Sprite* ribbon = startCard(card.main, card.previous, card.title, 60.0f, card.drop, card.rotation);
    Sprite* medal = scaledSprite((*card.icons)[static_cast<u8>(entry.medal)], 0.8f);
    const float hMedal = extentOf(medal).height;
    medal->setPosition(ribbon->getPosition() +
                       Vec2(card.medalShiftX, -(hMedal / 2.0f + extentOf(ribbon).height / 2.0f - 50.0f)));
    Label* value = valueLabel(entry.text, card.fontSize, true);
    const float hValue = value->getContentSize().height;
    value->setPosition(medal->getPosition() - Vec2(0.0f, hMedal / 2.0f + hValue / 2.0f + 25.0f));
    fitWidth(value, roomAround(card.main, value->getPosition()));
    // A hint too long for the card breaks into lines.
    hint->setTextColor(kHintColour);
    hint->setMaxLineWidth(roomAround(card.main, value->getPosition()));
    fitWidth(hint, roomAround(card.main, value->getPosition()));
    hint->setPosition(value->getPosition() -
                      Vec2(0.0f, hint->getContentSize().height / 2.0f + hValue / 2.0f + card.hintGap));
    Sprite* best = scaledSprite((*card.icons)[previousMedal], 0.5f);
    placeLowerLeft(best, card.previous[0] + card.bestCorner);
    Label* bestValue = valueLabel(previousText, card.fontSize, true);
    const float bestLeft = best->getPositionX() + extentOf(best).width / 2.0f + card.bestGap;
    fitWidth(bestValue, rightEdgeAt(card.previous, best->getPositionY()) - kCardMargin - bestLeft);
    bestValue->setPosition(Vec2(bestLeft + extentOf(bestValue).width / 2.0f, best->getPositionY()));
    for (Node* node : {static_cast<Node*>(best), static_cast<Node*>(medal), static_cast<Node*>(value),
                       static_cast<Node*>(hint), static_cast<Node*>(bestValue)})
        rowsNode_->addChild(node);
    return {ribbon, medal, value, hint, best, bestValue};
}

void ZUIMedalResult::addDeathsCard(const Zarn::LevelList& levels, u32 levelIndex,
                                   const Zarn::LevelStatus& previousBest, const Zarn::ScoreResult& entry) {
    static const MedalCard card{kDeathsMain, kDeathsPrevious,      "DEATHS", 25.0f,
                                0.0f,        &deathMedalIconTable, 0.0f,     90.0f,
                                -10.0f,      Vec2(80.0f, 30.0f),   100.0f};
    const Zarn::Medal previous = deathMedalOf(medalLevel(levels, levelIndex), previousBest.fewestDeaths);
    const std::string previousText = previousBest.fewestDeaths == Zarn::LevelStatus::kNoDeaths
                                         ? kNoPreviousDeaths
                                         : Zarn::deathCountToString(previousBest.fewestDeaths);
    deathNodes_ =
        addMedalCard(card, entry, makeDeathGoalHint(levels, levelIndex, static_cast<u8>(entry.medal)),
                     static_cast<u8>(previous), previousText);
}

void ZUIMedalResult::addTimeCard(const Zarn::LevelList& levels, u32 levelIndex,
                                 const Zarn::LevelStatus& previousBest, const Zarn::ScoreResult& entry) {
    static const MedalCard card{kTimeMain, kTimePrevious,        "TIME", 15.0f,
                                -10.0f,    &timerMedalIconTable, 30.0f,  50.0f,
                                20.0f,     Vec2(20.0f, 30.0f),   30.0f};
    const Zarn::Medal previous = timerMedalOf(medalLevel(levels, levelIndex), previousBest.bestTime);
    timeNodes_ = addMedalCard(card, entry, makeTimeGoalHint(levels, levelIndex, static_cast<u8>(entry.medal)),
                              static_cast<u8>(previous), Zarn::timeToString(previousBest.bestTime));
}

void ZUIMedalResult::addLivesCard(const Zarn::ScoreResult& entry) {
    Sprite* ribbon = startCard(kLivesMain, nullptr, "LIVES", 60.0f, 40.0f, 5.0f);
    Sprite* icon = scaledSprite("mode_limited_lives_angel.png", 1.0f);
    placeLowerLeft(icon, kLivesMain[0] + Vec2(20.0f, 40.0f));
    Label* value = valueLabel(entry.text, 90.0f, false);
    const float left = icon->getPositionX() + extentOf(icon).width / 2.0f + 20.0f;
    fitWidth(value, rightEdgeAt(kLivesMain, icon->getPositionY()) - kCardMargin - left);
    value->setPosition(Vec2(left + extentOf(value).width / 2.0f, icon->getPositionY()));
    rowsNode_->addChild(icon);
    rowsNode_->addChild(value);
    livesNodes_ = {ribbon, icon, value};
}

void ZUIMedalResult::addTimeAttackCard() {
    Sprite* ribbon = startCard(kTimeAttackMain, nullptr, "TIME ATTACK", 40.0f, 55.0f, 0.0f);
    Sprite* left = scaledSprite(kTimeAttackMedalGold, 0.48f);
    placeLowerLeft(left, kTimeAttackMain[0] + Vec2(40.0f, 30.0f));
    Sprite* middle = scaledSprite(kTimeAttackMedalGold, 0.8f);
    middle->setPosition(left->getPosition() +
                        Vec2(extentOf(left).width / 2.0f + extentOf(middle).width / 2.0f, 50.0f));
    Sprite* right = scaledSprite(kTimeAttackMedalGold, 0.4f);
    right->setPosition(middle->getPosition() +
                       Vec2(extentOf(middle).width / 2.0f + extentOf(right).width / 2.0f, -50.0f));
    for (Sprite* sprite : {left, middle, right}) rowsNode_->addChild(sprite);
    timeAttackNodes_ = {ribbon, left, middle, right};
}

void ZUIMedalResult::showGameOver() {
    rowsNode_ = nullptr;
    monitorFill_->clear();
    const Color4F green(Color4B(92, 209, 168, 255));
    monitorFill_->drawPolygon(screenPolygon_, 4, green, 5.0f, green);
    Label* gameOver = Label::createWithTTF("GAME OVER", kFont, 200.0f);
    gameOver->setTextColor(Color4B(30, 92, 69, 255));
    gameOver->setPosition(Vec2(screenPolygon_[2].x / 2.0f, screenPolygon_[1].y / 2.0f) + Vec2(0.0f, 120.0f));
    monitorFill_->addChild(gameOver);
    Label* tryAgain = Label::createWithTTF("TRY AGAIN?", kFont, 200.0f);
    tryAgain->enableShadow(Color4B(40, 92, 0, 255), Size(10.0f, -10.0f), 0);
    tryAgain->setPosition(gameOver->getPosition() -
                          Vec2(0.0f, gameOver->getContentSize().height / 2.0f +
                                         tryAgain->getContentSize().height / 2.0f + 40.0f));
    monitorFill_->addChild(tryAgain);
    bestLabel_->setString(kGameOverCaption);
    if (nextButton_ != nullptr) removeChild(nextButton_, true);
    nextButton_ = nullptr;
}

void ZUIMedalResult::popInNodes(const std::vector<Node*>& nodes) {
    for (std::size_t i = 0; i < nodes.size(); ++i)
        popIn(nodes[i], 0.08f * static_cast<float>(i), 0.09f, 0.06f);
}

void ZUIMedalResult::runRevealSequence() {
    auto bounceAndHide = [this] {
        handLeft_->runAction(partBounce(Vec2(-75.0f, -150.0f), 3.0f));
        handRight_->runAction(partBounce(Vec2(75.0f, -150.0f), 3.0f));
        face_->runAction(partBounce(Vec2(75.0f, -150.0f), 3.0f));
        for (Node* part :
             {static_cast<Node*>(monitor_), static_cast<Node*>(smallPanel_), static_cast<Node*>(retryButton_),
              static_cast<Node*>(nextButton_), static_cast<Node*>(levelsButton_)}) {
            if (part == nullptr) continue;
            part->runAction(
                Sequence::create(partBounce(Vec2(0.0f, -120.0f), 2.0f), RotateBy::create(0.0667f, 5.0f),
                                 RotateBy::create(0.0667f, -10.0f), RotateBy::create(0.0667f, 5.0f)));
        }
        if (rowsNode_ != nullptr) rowsNode_->setVisible(false);
        bestLabel_->setVisible(false);
        for (const auto* list : {&deathNodes_, &timeNodes_, &livesNodes_, &timeAttackNodes_})
            for (Node* node : *list) node->setVisible(false);
    };
    auto showRows = [this] {
        if (rowsNode_ != nullptr) popIn(rowsNode_, 0.0f, 0.06f, 0.04f);
    };
    auto showCards = [this] {
        for (const auto* list : {&deathNodes_, &timeNodes_, &livesNodes_, &timeAttackNodes_})
            popInNodes(*list);
    };
    auto showCaption = [this] {
        bestLabel_->setVisible(true);
        const float s = bestLabel_->getScale();
        bestLabel_->setScale(0.0f);
        bestLabel_->runAction(ScaleTo::create(0.06f, s));
    };
    runAction(Sequence::create(CallFunc::create(bounceAndHide), DelayTime::create(0.4f),
                               CallFunc::create(showRows), DelayTime::create(0.1f),
                               CallFunc::create(showCards), DelayTime::create(0.4f),
                               CallFunc::create(showCaption)));
}
