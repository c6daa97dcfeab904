#include "app/widgets/ZUISkewedRectButton.h"

#include <algorithm>

#include "app/widgets/UiSounds.h"
#include "engine/ActionInterval.h"
#include "engine/DrawNode.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

namespace {
const Color3B kShadowBrown(168, 120, 53);
const Color3B kWhite(255, 255, 255);
const Color3B kYellow(255, 207, 3);
const Color3B kGrey(211, 211, 211);
const Color3B kPurpleGrey(161, 152, 166);
}  // namespace

std::unordered_map<int, ZUISkewedRectButtonStyle> skewedRectButtonStyles = {
    {0,
     {{27.5f, 0},
      {0, 884.5f},
      {641.4f, 884.5f},
      {688.5f, 11},
      {110, 177, 161},
      kShadowBrown,
      {141, 228, 212},
      {141, 228, 212},
      kGrey,
      {15, -15}}},
    {1,
     {{51.5f, 0},
      {0, 911},
      {769, 911},
      {808.5f, 0},
      {125, 188, 95},
      kShadowBrown,
      {143, 230, 89},
      {143, 230, 89},
      kGrey,
      {15, -15}}},
    {2,
     {{49, 11.025f},
      {0, 884.456f},
      {686.004f, 884.456f},
      {709.969f, 0},
      {193, 104, 162},
      kShadowBrown,
      {233, 69, 192},
      {233, 69, 192},
      kGrey,
      {15, -15}}},
    {3,
     {{48, 0},
      {0, 765.333f},
      {608, 776},
      {664, 72},
      kWhite,
      kShadowBrown,
      kYellow,
      kYellow,
      kPurpleGrey,
      {15, -15}}},
    {4,
     {{50.667f, 0},
      {0, 712},
      {628.667f, 798},
      {702.667f, 9.333f},
      kWhite,
      kShadowBrown,
      kYellow,
      kYellow,
      kPurpleGrey,
      {15, -15}}},
    {5,
     {{88, 0},
      {0, 884},
      {640, 880},
      {717.333f, 77.333f},
      kWhite,
      kShadowBrown,
      kYellow,
      kYellow,
      kPurpleGrey,
      {15, -15}}},
    {6,
     {{60, 0},
      {0, 590.667f},
      {637.333f, 669.333f},
      {728, 0},
      kWhite,
      kShadowBrown,
      kYellow,
      kYellow,
      kPurpleGrey,
      {15, -15}}},
    {11, {{10, 0}, {5, 68}, {125, 75}, {113, 3}, kWhite, kShadowBrown, kYellow, kYellow, kGrey, {5, -5}}},
};

Size skewedButtonSize(const Vec2& p0, const Vec2& p1, const Vec2& p2, const Vec2& p3) {
    return Size(std::max(p2.x - p1.x, p3.x - p0.x), std::max(p2.y - p3.y, p1.y - p0.y));
}

std::vector<Vec2> skewedButtonPoints(const Vec2& p0, const Vec2& p1, const Vec2& p2, const Vec2& p3) {
    const Vec2 shift(-4.2f, -4.2f);
    return {p0 + shift, p1 + shift, p2 + shift, p3 + shift};
}

void paintSkewedShape(DrawNode* node, const std::vector<Vec2>& points, const Color3B& colour) {
    node->clear();
    const Color4F c(colour);
    node->drawPolygon(points, static_cast<int>(points.size()), c, kSkewedBorderWidth, c);
}

DrawNode* makeSkewedShape(const std::vector<Vec2>& points, const Color3B& colour, const Size& size) {
    DrawNode* node = DrawNode::create(2.0f);
    paintSkewedShape(node, points, colour);
    node->setContentSize(size);
    node->setAnchorPoint(Vec2(0.5f, 0.5f));
    return node;
}

ZUISkewedRectButton* ZUISkewedRectButton::create(const ZUISkewedRectButtonStyle& style) {
    return createConfigured<ZUISkewedRectButton>([&](ZUISkewedRectButton& n) { n.style = style; });
}

bool ZUISkewedRectButton::init() {
    if (!Node::init()) return false;
    setContentSize(skewedButtonSize(style.p0, style.p1, style.p2, style.p3));
    setAnchorPoint(Vec2(0.5f, 0.5f));
    points = skewedButtonPoints(style.p0, style.p1, style.p2, style.p3);

    face = makeSkewedShape(points, style.normal, getContentSize());
    shadow = makeSkewedShape(points, style.shadow, getContentSize());

    addChild(shadow);
    addChild(face);
    faceHome = Vec2(getContentSize().width / 2, getContentSize().height / 2);
    face->setPosition(faceHome);
    shadow->setPosition(faceHome + style.shadowOffset);
    PressRules rules;
    rules.claimWhileDisabled = false;
    listenToPointer(rules);
    return true;
}

void ZUISkewedRectButton::redraw(const Color3B& colour) {
    paintSkewedShape(face, points, colour);
}

void ZUISkewedRectButton::showNormal() {
    redraw(style.normal);
    face->stopAllActions();
    face->runAction(MoveTo::create(kMoveSeconds, faceHome));
    if (scaleOnHover) face->runAction(ScaleTo::create(kMoveSeconds, 1.0f));
}

void ZUISkewedRectButton::showDisabled() {
    redraw(style.disabled);
}

void ZUISkewedRectButton::onPressEvent(PressEvent event) {
    switch (event) {
        case PressEvent::HoverIn:
            redraw(style.hover);
            if (scaleOnHover) face->runAction(ScaleTo::create(kMoveSeconds, kHoverScale));
            SoundPlayer::getInstance()->playEffect(kRolloverSound, 1.0f, 1.0f);
            if (onHover) onHover();
            break;
        case PressEvent::HoverOut:
            showNormal();
            if (onUnhover) onUnhover();
            break;
        case PressEvent::Press:
            redraw(style.pressed);
            face->stopAllActions();
            face->runAction(MoveTo::create(kMoveSeconds, faceHome + style.shadowOffset));
            SoundPlayer::getInstance()->playEffect(kPressSound, 1.0f, 1.0f);
            break;
        case PressEvent::Release:
        case PressEvent::Click:
            showNormal();
            if (event == PressEvent::Click && onClick) onClick();
            break;
        case PressEvent::None:
            break;
    }
}
