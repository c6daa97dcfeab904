#include "app/widgets/ZUIElevatorToggleButton.h"

#include <algorithm>

#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/ActionInterval.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"

using namespace cocos2d;

namespace {
const Color3B kShapeOff(41, 104, 104);
const Color3B kShapeOn(137, 232, 229);
const Color3B kBadgeOff(144, 209, 211);
const Color3B kBadgeOn(255, 255, 255);
const Color3B kCaptionOff(34, 34, 40);
const Color3B kCaptionOn(255, 255, 255);
const Vec2 kBadgeCentre(90, 90);
}  // namespace

std::unordered_map<int, ZUIElevatorToggleButtonConfig> elevatorToggleButtonConfigs = {
    {0,
     {{0, 28.96f},
      {0, 270.958f},
      {850.637f, 262.958f},
      {806.634f, 0},
      kShapeOff,
      kShapeOn,
      {93.679f, 54},
      kBadgeOff,
      kBadgeOn,
      "mode_timer.png",
      "mode_timer_toggled.png",
      {370.237f, 70.08f},
      "TIMER",
      kCaptionOff,
      kCaptionOn}},
    {1,
     {{0, 0},
      {0, 261.278f},
      {809.274f, 235.278f},
      {771.994f, 6.32f},
      kShapeOff,
      kShapeOn,
      {547.276f, 32.64f},
      kBadgeOff,
      kBadgeOn,
      "mode_time_attack.png",
      "mode_time_attack_toggled.png",
      {85.84f, 21.12f},
      "TIME\nATTACK",
      kCaptionOff,
      kCaptionOn}},
    {2,
     {{0, 0},
      {0, 251.678f},
      {771.994f, 265.278f},
      {734.715f, 23.92f},
      kShapeOff,
      kShapeOn,
      {62.32f, 48},
      kBadgeOff,
      kBadgeOn,
      "mode_limited_lives.png",
      "mode_limited_lives_toggled.png",
      {287.598f, 26},
      "LIMITED\nLIVES",
      kCaptionOff,
      kCaptionOn}},
};

ZUIElevatorToggleButton* ZUIElevatorToggleButton::create(const ZUIElevatorToggleButtonConfig& config) {
    return createConfigured<ZUIElevatorToggleButton>([&](ZUIElevatorToggleButton& n) { n.config = config; });
}

bool ZUIElevatorToggleButton::init() {
    if (!Node::init()) return false;
    setContentSize(Size(std::max(config.p2.x, config.p3.x), std::max(config.p1.y, config.p2.y)));
    setAnchorPoint(Vec2(0.5f, 0.5f));
    container = Node::create();
    addChild(container);
    shape = DrawNode::create(2.0f);
    container->addChild(shape);
    badge = Sprite::createWithSpriteFrameName(kBadgeFrame);
    badge->setPosition(config.badgeOffset + kBadgeCentre);
    container->addChild(badge);
    icon = Sprite::createWithSpriteFrameName(config.iconOff);
    icon->setPosition(config.badgeOffset + kBadgeCentre);
    container->addChild(icon);
    caption = Label::createWithTTF(config.caption, "fonts/riffic.ttf", 100, Size::ZERO, TextHAlignment::LEFT,
                                   TextVAlignment::TOP);
    const Size captionSize = caption->getContentSize();
    caption->setPosition(Vec2(captionSize.width / 2, captionSize.height / 2) + config.captionOffset);
    container->addChild(caption);
    showOff();
    listenToPointer(PressRules{});
    return true;
}

void ZUIElevatorToggleButton::show(bool on) {
    paintSkewedShape(shape, {config.p0, config.p1, config.p2, config.p3},
                     on ? config.shapeOn : config.shapeOff);
    badge->setColor(on ? config.badgeOn : config.badgeOff);
    icon->setSpriteFrame(on ? config.iconOn : config.iconOff);
    caption->setTextColor(Color4B(on ? config.captionOn : config.captionOff));
    toggled = on;
}

void ZUIElevatorToggleButton::showOff() {
    show(false);
}

void ZUIElevatorToggleButton::showOn() {
    show(true);
}

void ZUIElevatorToggleButton::onPressEvent(PressEvent event) {
    switch (event) {
        case PressEvent::HoverIn:
            container->stopAllActions();
            container->runAction(ScaleTo::create(kHoverSeconds, kHoverScale));
            break;
        case PressEvent::HoverOut:
            container->stopAllActions();
            container->runAction(ScaleTo::create(kHoverSeconds, 1.0f));
            break;
        case PressEvent::Press:
            show(!toggled);
            break;
        case PressEvent::Click:
            if (callback) callback(toggled);
            break;
        case PressEvent::Release:
        case PressEvent::None:
            break;
    }
}
