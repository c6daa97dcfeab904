#include "app/menus/ZUIArcadePanel.h"

#include "app/menus/BackButtons.h"
#include "app/menus/ZUIRotateButtonMenu.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"

using namespace cocos2d;

ZUIArcadePanel* ZUIArcadePanel::create() {
    return cocos2d::createWithInit<ZUIArcadePanel>();
}

bool ZUIArcadePanel::init() {
    if (!Node::init()) return false;
    addLeaderboardCard();
    carousel = ZUIRotateButtonMenu::create();
    addChild(carousel);
    carousel->setPositionX(kCarouselX);
    addBackButton();
    return true;
}

void ZUIArcadePanel::addLeaderboardCard() {
    DrawNode* card = DrawNode::create(2.0f);
    const Color4F back(Color4B(54, 163, 101, 255));
    const Vec2 backShape[] = {{20.667f, 0}, {39.333f, 1050.69f}, {967.333f, 1050.69f}, {994, 18.115f}};
    card->drawPolygon(backShape, 4, back, 5, back);
    const Color4F front(Color4B(223, 244, 227, 255));
    const Vec2 frontShape[] = {{0, 28.082f}, {37.333f, 1076.5f}, {939.021f, 1077.77f}, {966.059f, 44.193f}};
    card->drawPolygon(frontShape, 4, front, 5, front);
    card->setContentSize(Size(kCardWidth, kCardHeight));
    addChild(card);
    card->setPosition(kCardPosition);

    Label* title = Label::createWithTTF(kTitle, "fonts/riffic.ttf", kTitleFontSize);
    addChild(title);
    title->setTextColor(Color4B(27, 76, 47, 255));
    const float titleHeight = title->getContentSize().height;
    title->setPosition(kCardPosition +
                       Vec2(kCardWidth * 0.5f, kCardHeight - titleHeight * 0.5f - kTitleTopMargin));
}

void ZUIArcadePanel::addBackButton() {
    backButton = addTopRightBackIcon(this);
}
