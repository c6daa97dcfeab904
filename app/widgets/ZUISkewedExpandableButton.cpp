#include "app/widgets/ZUISkewedExpandableButton.h"

#include "app/widgets/UiSounds.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/ActionInterval.h"
#include "engine/DrawNode.h"
#include "presentation/audio/SoundPlayer.h"

using namespace cocos2d;

std::unordered_map<int, ZUISkewedExpandableButtonStyle> skewedExpandableButtonStyles = {
    {8,
     {{0, 23.134f},
      {11.737f, 311.044f},
      {945.762f, 292.568f},
      {933.836f, 0},
      {255, 255, 255},
      {168, 120, 53},
      {255, 207, 3},
      {255, 172, 39},
      {255, 172, 39},
      {202, 204, 203},
      {-15, -15},
      3.0f}},
};

ZUISkewedExpandableButton* ZUISkewedExpandableButton::create(const ZUISkewedExpandableButtonStyle& style) {
    return createConfigured<ZUISkewedExpandableButton>(
        [&](ZUISkewedExpandableButton& n) { n.style = style; });
}

bool ZUISkewedExpandableButton::init() {
    if (!Node::init()) return false;
    collapsedSize = skewedButtonSize(style.p0, style.p1, style.p2, style.p3);
    setContentSize(collapsedSize);
    setAnchorPoint(Vec2(0.5f, 0.5f));
    points = skewedButtonPoints(style.p0, style.p1, style.p2, style.p3);

    face = makeSkewedShape(points, style.normal, collapsedSize);
    container = Node::create();
    container->setAnchorPoint(Vec2(0.5f, 0.5f));
    shadow = makeSkewedShape(points, style.shadow, collapsedSize);

    addChild(shadow);
    container->addChild(face);
    addChild(container);
    homePosition = Vec2(collapsedSize.width / 2, collapsedSize.height / 2);
    expandedPosition = Vec2(homePosition.x, style.expandFactor * collapsedSize.height * 0.5f);
    container->setPosition(homePosition);
    shadow->setPosition(homePosition + style.shadowOffset);

    PressRules rules;
    rules.hoverWhilePressed = true;
    rules.releaseClearsHover = true;
    listenToPointer(rules, true);
    return true;
}

FiniteTimeAction* ZUISkewedExpandableButton::stretchTo(float scaleY) {
    shadow->stopAllActions();
    face->stopAllActions();
    ScaleTo* stretch = ScaleTo::create(kStretchSeconds, 1.0f, scaleY);
    return Spawn::create(TargetedAction::create(shadow, stretch),
                         TargetedAction::create(face, stretch->clone()));
}

FiniteTimeAction* ZUISkewedExpandableButton::expand() {
    if (expanded) return DelayTime::create(0.0f);
    FiniteTimeAction* action = stretchTo(style.expandFactor);
    setContentSize(Size(collapsedSize.width, collapsedSize.height * style.expandFactor));
    expanded = true;
    showNormal();
    placeContainer();
    if (onExpand) onExpand();
    return action;
}

FiniteTimeAction* ZUISkewedExpandableButton::collapse() {
    if (!expanded) return DelayTime::create(0.0f);
    FiniteTimeAction* action = stretchTo(1.0f);
    setContentSize(collapsedSize);
    expanded = false;
    showNormal();
    placeContainer();
    if (onCollapse) onCollapse();
    return action;
}

void ZUISkewedExpandableButton::cancelPress() {
    if (!state.pressed) return;
    state.pressed = false;
    state.hovered = false;
    showNormal();
}

void ZUISkewedExpandableButton::placeContainer() {
    container->stopAllActions();
    container->setPosition(restPosition());
    shadow->setPosition(restPosition() + style.shadowOffset);
}

void ZUISkewedExpandableButton::redraw(const Color3B& colour) {
    paintSkewedShape(face, points, colour);
}

void ZUISkewedExpandableButton::showNormal() {
    redraw(expanded ? style.expanded : style.normal);
    container->stopAllActions();
    container->runAction(MoveTo::create(kMoveSeconds, restPosition()));
}

void ZUISkewedExpandableButton::onPressEvent(PressEvent event) {
    switch (event) {
        case PressEvent::HoverIn:
            redraw(style.hover);
            SoundPlayer::getInstance()->playEffect(kRolloverSound, 1.0f, 1.0f);
            if (onHover) onHover();
            break;
        case PressEvent::HoverOut:
            showNormal();
            if (onUnhover) onUnhover();
            break;
        case PressEvent::Press:
            redraw(style.pressed);
            container->stopAllActions();
            container->runAction(MoveTo::create(kMoveSeconds, restPosition() + style.shadowOffset));
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
