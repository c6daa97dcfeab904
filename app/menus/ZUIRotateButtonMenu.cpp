#include "app/menus/ZUIRotateButtonMenu.h"

#include <algorithm>
#include <cmath>

#include "app/start/Settings.h"
#include "app/widgets/ZUISkewedExpandableButton.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/DrawNode.h"
#include "engine/Event.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Label.h"

using namespace cocos2d;

const std::array<ZUIRotateButtonMenu::Entry, 5> ZUIRotateButtonMenu::kEntries = {{
    {"MUSIC", "Dance to the rhythm of\nthe traps. It's like\nthose rhythm games but\nwith a lot more traps."},
    {"ENDLESS", "Too much free time?\nSpend it here.\n"},
    {"LEVEL UP", "A nod to an old game\nwe loved. One screen,\n100 levels. Climb\nas high as you can."},
    {"SPEEDRUN",
     "Too hardcore for the\ncasual medals? Speed\nthrough single player\nwith no pauses between\nlevels."},
    {"BULLET HELL", "Not really bullets...\nCats maybe.\nIt's a mess on screen."},
}};

namespace {
Vec2 toVec2(const GeometryLib::FPoint& p) {
    return Vec2(p.x, p.y);
}
}  // namespace

ZUIRotateButtonMenu* ZUIRotateButtonMenu::create() {
    return cocos2d::createWithInit<ZUIRotateButtonMenu>();
}

ZUIRotateButtonMenu::~ZUIRotateButtonMenu() {
    if (touchListener != nullptr && getEventDispatcher() != nullptr)
        getEventDispatcher()->removeEventListener(touchListener);
}

bool ZUIRotateButtonMenu::init() {
    if (!Node::init()) return false;
    const Size visible = Director::getInstance()->getVisibleSize();
    touchArea = Rect(0, 0, visible.width * 0.5f + 100.0f, visible.height);
    createButtons();

    touchListener = EventListenerTouchOneByOne::create();
    touchListener->onTouchBegan = [this](Touch* t, Event* e) { return onTouchBegan(t, e); };
    touchListener->onTouchMoved = [this](Touch* t, Event* e) { onTouchMoved(t, e); };
    touchListener->onTouchEnded = [this](Touch* t, Event* e) { onTouchEnded(t, e); };
    // A cancelled touch ends a drag like a release, so the carousel never
    // stays in its dragging state with nothing in front.
    touchListener->onTouchCancelled = touchListener->onTouchEnded;
    touchListener->setSwallowTouches(false);
    getEventDispatcher()->addEventListenerWithFixedPriority(touchListener, kTouchPriority);
    return true;
}

void ZUIRotateButtonMenu::createButtons() {
    const ZUISkewedExpandableButtonStyle& style = skewedExpandableButtonStyles[kButtonStyle];
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        ZUISkewedExpandableButton* button = ZUISkewedExpandableButton::create(style);
        buttons.push_back(button);
        button->onClick = [this, i] {
            if (items[i].expanded) return;
            layout.setItemExpanded(static_cast<int>(i), true);
            animateToLayout();
        };
        const Size size = button->getContentSize();
        items.push_back(SkewedStackItem{{0, 0}, {size.width, size.height}, style.expandFactor, false});
        addChild(button);

        Label* name = Label::createWithTTF(kEntries[i].name, kNameFont, kNameFontSize);
        name->setTextColor(kNameColour);
        button->container->addChild(name);
        name->setPosition(Vec2::ZERO);
        Label* description =
            Label::createWithTTF(kEntries[i].description, kDescriptionFont, kDescriptionFontSize);
        description->setTextColor(kHighlightColour);
        button->container->addChild(description);
        description->setPosition(Vec2::ZERO);
        description->setScaleY(0.0f);

        button->onExpand = [button, name, description] {
            name->setTextColor(kHighlightColour);
            name->stopAllActions();
            const float height = button->getContentSize().height;
            name->runAction(
                MoveTo::create(kLabelSeconds, Vec2(0, height * 0.5f - name->getContentSize().height)));
            description->stopAllActions();
            description->setScaleY(0.0f);
            description->runAction(ScaleTo::create(kLabelSeconds, 1.0f, 1.0f));
        };
        button->onCollapse = [name, description] {
            name->setTextColor(kNameColour);
            name->stopAllActions();
            name->runAction(MoveTo::create(kLabelSeconds, Vec2::ZERO));
            description->stopAllActions();
            description->runAction(ScaleTo::create(kLabelSeconds, 1.0f, 0.0f));
        };
    }
    layout.layout(items);
    // The stored index is read as signed: a huge one counts as negative and,
    // like one past the list, brings nothing to the front.
    layout.setItemExpanded(static_cast<int>(Settings.LAST_ARCADE_INDEX), true);
    runAction(
        Sequence::create(DelayTime::create(kFanOutDelay), CallFunc::create([this] { animateToLayout(); })));

    auto* mouse = EventListenerMouse::create();
    mouse->onMouseScroll = [this](EventMouse* event) { onMouseScroll(event); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, this);
}

void ZUIRotateButtonMenu::animateToLayout() {
    Settings.LAST_ARCADE_INDEX = layout.selectedIndex;
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        ZUISkewedExpandableButton* button = buttons[i];
        button->stopAllActions();
        button->getFace()->runAction(items[i].expanded ? button->expand() : button->collapse());
        button->runAction(MoveTo::create(kMoveSeconds, toVec2(items[i].position)));
    }
}

void ZUIRotateButtonMenu::snapToLayout() {
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        buttons[i]->stopAllActions();
        buttons[i]->setPosition(toVec2(items[i].position));
    }
}

void ZUIRotateButtonMenu::collapseAll() {
    for (ZUISkewedExpandableButton* button : buttons) {
        button->stopAllActions();
        button->getFace()->runAction(button->collapse());
        button->runAction(MoveTo::create(kMoveSeconds, Vec2::ZERO));
    }
}

bool ZUIRotateButtonMenu::onTouchBegan(Touch* touch, Event*) {
    touchListener->setSwallowTouches(false);
    const Vec2 location = touch->getLocationInView();
    if (!touchArea.containsPoint(location)) return false;
    touching = true;
    lastTouch = location;
    return true;
}

void ZUIRotateButtonMenu::onTouchMoved(Touch* touch, Event*) {
    if (!touching) return;
    const Vec2 location = touch->getLocationInView();
    const float scaleY = getNodeToWorldTransform().m[5];
    if (scaleY == 0) return;
    const float delta = (lastTouch.y - location.y) / scaleY;
    if (!dragging) {
        if (std::abs(delta) <= kDragThreshold) return;
        // The press that began this touch became a drag: no button keeps it.
        for (ZUISkewedExpandableButton* button : buttons) button->cancelPress();
        for (SkewedStackItem& item : items) item.expanded = false;
        layout.setItemExpanded(static_cast<int>(layout.selectedIndex), false);
        layout.nearestIndex = layout.selectedIndex;
        animateToLayout();
    }
    dragging = true;
    layout.scrollBy(delta);
    snapToLayout();
    lastTouch = location;
}

void ZUIRotateButtonMenu::onTouchEnded(Touch*, Event*) {
    if (dragging) {
        touchListener->setSwallowTouches(true);
        layout.setItemExpanded(static_cast<int>(layout.nearestIndex), true);
    }
    dragging = false;
    touching = false;
    animateToLayout();
}

void ZUIRotateButtonMenu::onMouseScroll(EventMouse* event) {
    if (!touchArea.containsPoint(event->getLocationInView())) return;
    const float s = event->getScrollY();
    if (s == 0) return;
    const u32 last = static_cast<u32>(items.size() - 1);
    const u32 index = s > 0 ? std::min(last, layout.selectedIndex + 1)
                            : (layout.selectedIndex == 0 ? 0 : layout.selectedIndex - 1);
    if (index != layout.selectedIndex) layout.setItemExpanded(static_cast<int>(index), true);
    animateToLayout();
}
