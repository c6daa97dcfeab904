#include "app/story/ZUIElevatorButton.h"

#include <cmath>
#include <string>

#include "app/widgets/CreateConfigured.h"
#include "app/widgets/ZUIPressableNode.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "presentation/audio/SoundPlayer.h"
#include "presentation/effects/VisualRandom.h"

using namespace cocos2d;

namespace {

ZUIElevatorColours band(Color3B open, Color3B openOutline) {
    return ZUIElevatorColours{{open, openOutline, Color3B(58, 58, 71), Color3B(214, 214, 214),
                               Color3B(126, 126, 126), Color3B(155, 162, 160), open, Color3B(255, 255, 255),
                               Color3B(214, 214, 214)}};
}

Color4F withAlpha(const Color3B& c, float alpha) {
    return Color4F(c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, alpha);
}

// A jagged line of `count` points after `head`, x rising to `lastX` in steps
// that grow towards the end, y swinging between `low` and `high`.
std::vector<Vec2> jaggedLine(std::vector<Vec2> head, int count, float lastX, float low, float high) {
    const float startX = head.back().x;
    const int rest = count - static_cast<int>(head.size());
    for (int i = 1; i <= rest; ++i) {
        const float x =
            startX + (lastX - startX) * std::pow(static_cast<float>(i) / static_cast<float>(rest), 1.2f);
        const float y = (i % 3 == 0) ? low + (i % 5) * 3.0f : high - (i % 4) * 40.0f;
        head.emplace_back(x, y);
    }
    return head;
}

}  // namespace

std::unordered_map<int, ZUIElevatorColours> elevatorColourSets = {
    {0, band(Color3B(255, 235, 136), Color3B(174, 175, 110))},
    {1, band(Color3B(198, 244, 118), Color3B(136, 173, 111))},
    {2, band(Color3B(89, 251, 196), Color3B(110, 177, 161))},
    {3, band(Color3B(226, 71, 122), Color3B(135, 92, 92))},
};

std::map<int, int> elevatorColourSetByFloor = {{7, 0}, {15, 1}, {26, 2}, {999, 3}};

int elevatorColourSetOf(int floor) {
    const auto it = elevatorColourSetByFloor.lower_bound(floor);
    return it == elevatorColourSetByFloor.end() ? -1 : it->second;
}

const std::vector<std::vector<Vec2>> elevatorDecorationLines = {
    jaggedLine(
        {{0.927f, 80.923f}, {134.26f, 209.868f}, {416.927f, 213.105f}, {454.26f, 22.201f}, {752.927f, 1.4f}},
        41, 8454.26f, 1.4f, 398.921f),
    jaggedLine({{1.026f, 119.704f},
                {161.026f, 312.485f},
                {609.026f, 304.893f},
                {657.026f, 122.37f},
                {993.026f, 108.221f}},
               45, 9158.35f, 1.421f, 459.502f),
};

DrawNode* createElevatorDecorationLine() {
    std::mt19937& random = visualRandomEngine();
    const auto& list = elevatorDecorationLines[std::uniform_int_distribution<size_t>(0, 1)(random)];
    const size_t start = std::uniform_int_distribution<size_t>(0, list.size() - 13)(random);
    std::vector<Vec2> points;
    for (size_t i = start; i < list.size(); ++i) {
        points.emplace_back(list[i].x - list[start].x, list[i].y);
        if (points.back().x >= 2500.0f) break;
    }
    DrawNode* line = DrawNode::create(2);
    for (size_t i = 1; i < points.size(); ++i)
        line->drawSegment(points[i - 1], points[i], 3.0f, withAlpha(Color3B(49, 58, 55), 1.0f));
    return line;
}

void playElevatorTakeoffSound() {
    SoundPlayer::getInstance()->playEffect("sound/elevator_panel/takeoff.mp3", 1.0f, 1.0f);
}

ZUIElevatorButton* ZUIElevatorButton::create(int levelIndex, const ZUIElevatorColours& colours) {
    return createConfigured<ZUIElevatorButton>([&](ZUIElevatorButton& b) {
        b.levelIndex = levelIndex;
        b.colours = colours;
        b.press.enabled = true;
        b.press.rules.claimWhileDisabled = false;
    });
}

ZUIElevatorButton::~ZUIElevatorButton() {
    if (touchListener != nullptr && getEventDispatcher() != nullptr)
        getEventDispatcher()->removeEventListener(touchListener);
}

bool ZUIElevatorButton::init() {
    if (!Node::init()) return false;
    circle = Sprite::createWithSpriteFrameName("ele_button_circle.png");
    shadowCircle = Sprite::createWithSpriteFrameName("ele_button_circle.png");
    centre = Sprite::createWithSpriteFrameName("ele_button_circle_center.png");
    outline = Sprite::createWithSpriteFrameName("ele_button_outline.png");
    leftShine = Sprite::createWithSpriteFrameName("ele_button_shine_left.png");
    rightShine = Sprite::createWithSpriteFrameName("ele_button_shine_right.png");
    number = Label::createWithTTF(std::to_string(levelIndex), "fonts/riffic.ttf", 108);
    lock = Sprite::createWithSpriteFrameName("ele_lock.png");
    glow = DrawNode::create(2);

    circle->setColor(colours[0]);
    shadowCircle->setColor(colours[5]);
    centre->setColor(colours[2]);
    outline->setColor(colours[1]);
    number->setTextColor(Color4B(colours[6]));

    setContentSize(circle->getContentSize());
    setAnchorPoint(Vec2(0.5f, 0.5f));
    const Vec2 c(getContentSize().width / 2, getContentSize().height / 2);
    for (Node* child : std::initializer_list<Node*>{shadowCircle, circle, leftShine, rightShine, centre,
                                                    outline, number, lock, glow})
        addChild(child);

    glow->drawDot(Vec2::ZERO, getContentSize().width, withAlpha(colours[0], 100.0f / 255.0f));
    glow->setPosition(c);
    glow->setVisible(false);

    circle->setPosition(c);
    shadowCircle->setPosition(c + Vec2(10, -10));
    centre->setPosition(c);
    outline->setPosition(c);
    const Size left = leftShine->getContentSize();
    const Size right = rightShine->getContentSize();
    leftShine->setPosition(Vec2(2.688f, 111.87f) + Vec2(left.width / 2, left.height / 2));
    rightShine->setPosition(Vec2(193.688f, 90.522f) + Vec2(right.width / 2, right.height / 2));
    number->setPosition(c + Vec2(0, -20));
    lock->setPosition(Vec2(c.x, 20));
    lock->setVisible(false);

    touchListener = EventListenerTouchOneByOne::create();
    touchListener->onTouchBegan = [this](Touch* t, Event* e) { return onTouchBegan(t, e); };
    touchListener->onTouchEnded = [this](Touch* t, Event* e) { onTouchEnded(t, e); };
    touchListener->setSwallowTouches(true);
    getEventDispatcher()->addEventListenerWithFixedPriority(touchListener, 1);
    return true;
}

void ZUIElevatorButton::setLocked() {
    lock->setVisible(true);
    circle->setColor(colours[3]);
    outline->setColor(colours[4]);
    number->setTextColor(Color4B(colours[8]));
    press.enabled = false;
}

void ZUIElevatorButton::setUnlockedLook() {
    circle->setColor(colours[0]);
    outline->setColor(colours[1]);
    number->setTextColor(Color4B(colours[6]));
}

void ZUIElevatorButton::highlight() {
    outline->setColor(Color3B(255, 255, 255));
    number->setTextColor(Color4B(colours[7]));
}

void ZUIElevatorButton::showPressed() {
    highlight();
    glow->setVisible(true);
    SoundPlayer::getInstance()->playEffect("sound/elevator_panel/button_press.mp3", 1.0f, 1.0f);
}

bool ZUIElevatorButton::hit(Touch* touch) const {
    const Node* parent = getParent();
    if (parent == nullptr) return false;
    return getBoundingBox().containsPoint(parent->convertToNodeSpace(touch->getLocation()));
}

bool ZUIElevatorButton::onTouchBegan(Touch* touch, Event*) {
    PressEvent ignored = PressEvent::None;
    return press.touchBegan(hit(touch), pressFrame(), ignored);
}

void ZUIElevatorButton::onTouchEnded(Touch* touch, Event*) {
    if (press.touchEnded(hit(touch), pressFrame()) != PressEvent::Click) return;
    showPressed();
    if (pressedCallback) pressedCallback(levelIndex);
}
