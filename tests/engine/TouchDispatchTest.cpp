#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class TouchDispatch : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        view = GLView::create("test", Rect(0, 0, 1024, 576));
        Director::getInstance()->setOpenGLView(view);
    }
    // A listener on `node` that records into the log and claims when asked.
    EventListenerTouchOneByOne* listen(Node* node, const std::string& name, bool claim, bool swallow) {
        auto* l = EventListenerTouchOneByOne::create();
        l->setSwallowTouches(swallow);
        l->onTouchBegan = [this, name, claim](Touch*, Event*) {
            log.push_back(name + ":began");
            return claim;
        };
        l->onTouchMoved = [this, name](Touch*, Event*) { log.push_back(name + ":moved"); };
        l->onTouchEnded = [this, name](Touch*, Event*) { log.push_back(name + ":ended"); };
        if (node != nullptr) {
            Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(l, node);
        }
        return l;
    }
    void touch(const char* phase, float x, float y) {
        const intptr_t id = 1;
        const std::string p = phase;
        if (p == "begin") view->handleTouchesBegin(1, &id, &x, &y);
        if (p == "move") view->handleTouchesMove(1, &id, &x, &y);
        if (p == "end") view->handleTouchesEnd(1, &id, &x, &y);
    }
    GLView* view = nullptr;
    std::vector<std::string> log;
};

TEST_F(TouchDispatch, TopmostHearsFirstAndSwallowingStopsTheRest) {
    Node* bottom = Node::create();
    Node* top = Node::create();
    scene->addChild(top, 2);
    scene->addChild(bottom, 1);
    listen(bottom, "bottom", true, false);
    listen(top, "top", true, true);
    touch("begin", 10, 10);
    touch("move", 12, 10);
    touch("end", 12, 10);
    EXPECT_EQ(log, (std::vector<std::string>{"top:began", "top:moved", "top:ended"}));
}

TEST_F(TouchDispatch, UnclaimedTouchesPassOnAndOnlyClaimersGetTheRest) {
    Node* a = Node::create();
    Node* b = Node::create();
    scene->addChild(a);
    scene->addChild(b);  // later arrival: drawn on top, hears first
    listen(a, "a", true, true);
    listen(b, "b", false, true);
    touch("begin", 1, 1);
    touch("end", 1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"b:began", "a:began", "a:ended"}));
}

TEST_F(TouchDispatch, FixedPrioritiesSurroundTheSceneGraph) {
    Node* n = Node::create();
    scene->addChild(n);
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    listen(n, "graph", false, false);
    dispatcher->addEventListenerWithFixedPriority(listen(nullptr, "high", false, false), 5);
    dispatcher->addEventListenerWithFixedPriority(listen(nullptr, "low", false, false), -5);
    dispatcher->addEventListenerWithFixedPriority(listen(nullptr, "lower", false, false), -10);
    touch("begin", 1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"lower:began", "low:began", "graph:began", "high:began"}));
}

TEST_F(TouchDispatch, NodesOffStageHearNothingAndTouchPointsAreDesignPoints) {
    Node* off = Node::create();
    listen(off, "off", true, true);
    Node* on = Node::create();
    scene->addChild(on);
    Vec2 where;
    auto* l = EventListenerTouchOneByOne::create();
    l->onTouchBegan = [&](Touch* t, Event*) {
        where = t->getLocation();
        return true;
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(l, on);
    view->setFrameSize(2048, 1152);  // twice the design size
    touch("begin", 200, 100);        // window pixels, y down
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(where, Vec2(100, 576 - 50));
}

TEST_F(TouchDispatch, ListenerRemovedInsideItsCallbackStopsHearing) {
    Node* n = Node::create();
    scene->addChild(n);
    auto* l = listen(n, "n", true, false);
    l->onTouchMoved = [&](Touch*, Event*) {
        log.push_back("n:moved");
        n->removeFromParent();
    };
    touch("begin", 1, 1);
    touch("move", 2, 2);
    touch("move", 3, 3);
    touch("end", 3, 3);
    EXPECT_EQ(log, (std::vector<std::string>{"n:began", "n:moved"}));
}

TEST_F(TouchDispatch, MouseAndKeyboardReachTheirListeners) {
    Node* n = Node::create();
    scene->addChild(n);
    auto* mouse = EventListenerMouse::create();
    float scrolled = 0;
    Vec2 at;
    mouse->onMouseScroll = [&](EventMouse* e) { scrolled += e->getScrollY(); };
    mouse->onMouseMove = [&](EventMouse* e) { at = e->getLocationInView(); };
    auto* keys = EventListenerKeyboard::create();
    std::vector<int> pressed;
    keys->onKeyPressed = [&](EventKeyboard::KeyCode k, Event*) { pressed.push_back(static_cast<int>(k)); };
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    dispatcher->addEventListenerWithSceneGraphPriority(mouse, n);
    dispatcher->addEventListenerWithSceneGraphPriority(keys, n);
    EventMouse scroll(EventMouse::MouseEventType::MOUSE_SCROLL);
    scroll.setScrollData(0, 2);
    dispatcher->dispatchEvent(&scroll);
    EventMouse move(EventMouse::MouseEventType::MOUSE_MOVE);
    move.setCursorPosition(30, 40);
    dispatcher->dispatchEvent(&move);
    for (auto k :
         {EventKeyboard::KeyCode::KEY_LEFT_ARROW, EventKeyboard::KeyCode::KEY_A,
          EventKeyboard::KeyCode::KEY_W, EventKeyboard::KeyCode::KEY_SPACE, EventKeyboard::KeyCode::KEY_ENTER,
          EventKeyboard::KeyCode::KEY_ESCAPE, EventKeyboard::KeyCode::KEY_R}) {
        EventKeyboard e(k, true);
        dispatcher->dispatchEvent(&e);
    }
    EXPECT_EQ(scrolled, 2.0f);
    EXPECT_EQ(at, Vec2(30, 40));
    // The engine's key code numbers, which the game's key table uses.
    EXPECT_EQ(pressed, (std::vector<int>{26, 124, 146, 59, 164, 6, 141}));
}

}  // namespace

namespace {

TEST_F(TouchDispatch, TheLeftMouseButtonActsAsATouch) {
    Node* n = Node::create();
    scene->addChild(n);
    listen(n, "n", true, true);
    auto* mouse = EventListenerMouse::create();
    mouse->onMouseDown = [&](EventMouse* e) {
        log.push_back("mouse:down@" + std::to_string(int(e->getCursorY())));
    };
    mouse->onMouseUp = [&](EventMouse*) { log.push_back("mouse:up"); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, n);
    view->handleMouseMove(5, 5);  // not pressed: no touch
    view->handleMouseDown(0, 5, 6);
    view->handleMouseMove(7, 6);
    view->handleMouseUp(0, 7, 6);
    view->handleMouseDown(1, 7, 6);  // the right button is only a mouse event
    EXPECT_EQ(log, (std::vector<std::string>{"n:began", "mouse:down@570", "n:moved", "n:ended", "mouse:up",
                                             "mouse:down@570"}));
}

}  // namespace

namespace {

TEST_F(TouchDispatch, LocationInViewIsInDesignUnitsWithYDown) {
    // Window sizes against the 1024 x 576 design shown whole: twice the
    // size, bars above and below, bars left and right, and half the size.
    struct Case {
        const char* name;
        Size window;
        Vec2 windowPoint;
        Vec2 inView;
    };
    const std::vector<Case> cases = {
        {"same size", Size(1024, 576), Vec2(200, 100), Vec2(200, 100)},
        {"twice the size", Size(2048, 1152), Vec2(200, 100), Vec2(100, 50)},
        {"bars above and below", Size(1024, 676), Vec2(200, 150), Vec2(200, 100)},
        {"bars left and right", Size(2248, 1152), Vec2(300, 100), Vec2(100, 50)},
        {"half the size", Size(512, 288), Vec2(100, 50), Vec2(200, 100)},
    };
    Node* n = Node::create();
    scene->addChild(n);
    Vec2 inView;
    Vec2 location;
    auto* l = EventListenerTouchOneByOne::create();
    l->onTouchBegan = [&](Touch* t, Event*) {
        inView = t->getLocationInView();
        location = t->getLocation();
        return true;
    };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(l, n);
    view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        view->setFrameSize(c.window.width, c.window.height);
        touch("begin", c.windowPoint.x, c.windowPoint.y);
        touch("end", c.windowPoint.x, c.windowPoint.y);
        EXPECT_NEAR(inView.x, c.inView.x, 1e-3);
        EXPECT_NEAR(inView.y, c.inView.y, 1e-3);
        EXPECT_NEAR(location.x, c.inView.x, 1e-3) << "the same point, y up";
        EXPECT_NEAR(location.y, 576 - c.inView.y, 1e-3);
    }
}

TEST_F(TouchDispatch, AListenerThatRemovesItselfOnBeganDoesNotSwallow) {
    Node* bottom = Node::create();
    Node* top = Node::create();
    scene->addChild(bottom);
    scene->addChild(top);
    listen(bottom, "bottom", true, true);
    auto* once = listen(top, "top", true, true);
    once->onTouchBegan = [&](Touch*, Event*) {
        log.push_back("top:began");
        Director::getInstance()->getEventDispatcher()->removeEventListener(once);
        return true;
    };
    touch("begin", 1, 1);
    touch("end", 1, 1);
    EXPECT_EQ(log, (std::vector<std::string>{"top:began", "bottom:began", "bottom:ended"}));
}

TEST_F(TouchDispatch, ListenersOfOneNodeHearInTheOrderTheyWereAdded) {
    Node* n = Node::create();
    scene->addChild(n);
    listen(n, "first", false, false);
    listen(n, "second", false, false);
    listen(n, "third", false, false);
    auto* mouse = EventListenerMouse::create();
    mouse->onMouseMove = [&](EventMouse*) { log.push_back("mouse:first"); };
    auto* mouse2 = EventListenerMouse::create();
    mouse2->onMouseMove = [&](EventMouse*) { log.push_back("mouse:second"); };
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    dispatcher->addEventListenerWithSceneGraphPriority(mouse, n);
    dispatcher->addEventListenerWithSceneGraphPriority(mouse2, n);
    touch("begin", 1, 1);
    touch("end", 1, 1);
    view->handleMouseMove(2, 2);
    EXPECT_EQ(log, (std::vector<std::string>{"first:began", "second:began", "third:began", "mouse:first",
                                             "mouse:second"}));
}

// The listening order follows the tree as it is at each event: new nodes,
// removed nodes, a changed z or global z, and another running scene.
TEST_F(TouchDispatch, ListeningOrderFollowsChangesOfTheTree) {
    Node* a = Node::create();
    Node* b = Node::create();
    scene->addChild(a, 1);
    scene->addChild(b, 2);
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    auto listenMouse = [&](Node* node, const std::string& name) {
        auto* m = EventListenerMouse::create();
        m->onMouseMove = [this, name](EventMouse*) { log.push_back(name); };
        dispatcher->addEventListenerWithSceneGraphPriority(m, node);
    };
    listenMouse(a, "a");
    listenMouse(b, "b");
    auto heard = [&] {
        log.clear();
        view->handleMouseMove(1, 1);
        return log;
    };
    using Order = std::vector<std::string>;
    EXPECT_EQ(heard(), (Order{"b", "a"}));
    EXPECT_EQ(heard(), (Order{"b", "a"}));
    a->setLocalZOrder(3);
    EXPECT_EQ(heard(), (Order{"a", "b"}));
    b->setGlobalZOrder(1);
    EXPECT_EQ(heard(), (Order{"b", "a"}));
    b->setGlobalZOrder(0);
    Node* c = Node::create();
    b->addChild(c, 10);
    listenMouse(c, "c");
    EXPECT_EQ(heard(), (Order{"a", "c", "b"}));
    Node* d = Node::create();
    a->addChild(d, -1);  // drawn before a
    listenMouse(d, "d");
    EXPECT_EQ(heard(), (Order{"a", "d", "c", "b"}));
    a->retain();
    a->removeFromParent();
    EXPECT_EQ(heard(), (Order{"c", "b"}));
    scene->addChild(a, -5);
    a->release();
    EXPECT_EQ(heard(), (Order{"c", "b", "a", "d"}));

    // Another scene: the listeners of the old one hear nothing more.
    Scene* next = Scene::create();
    Director::getInstance()->replaceScene(next);
    frame();
    Node* e = Node::create();
    next->addChild(e);
    listenMouse(e, "e");
    EXPECT_EQ(heard(), (Order{"e"}));
}

}  // namespace

namespace {

// A listener ahead of a button turns swallowing on while the touch ends (a
// container that took the touch over as a drag), so the button never hears
// that end. The button keeps no claim on the ended touch: when the next touch
// comes in the same touch object and the button lets it pass, the button
// hears nothing more of it.
TEST_F(TouchDispatch, AnEndSwallowedAheadOfAClaimerLeavesItNoClaim) {
    Node* button = Node::create();
    scene->addChild(button);
    auto* buttonListener = listen(button, "button", true, true);
    auto* dispatcher = Director::getInstance()->getEventDispatcher();
    auto* drag = listen(nullptr, "drag", true, false);
    drag->onTouchEnded = [&](Touch*, Event*) {
        log.push_back("drag:ended");
        drag->setSwallowTouches(true);
    };
    dispatcher->addEventListenerWithFixedPriority(drag, -1);

    Touch* finger = new Touch();
    auto send = [&](EventTouch::EventCode code) {
        EventTouch event;
        event.setEventCode(code);
        event.setTouches({finger});
        dispatcher->dispatchEvent(&event);
    };
    finger->setTouchInfo(1, 5, 5);
    send(EventTouch::EventCode::BEGAN);
    send(EventTouch::EventCode::ENDED);
    EXPECT_EQ(log, (std::vector<std::string>{"drag:began", "button:began", "drag:ended"}));

    log.clear();
    drag->setSwallowTouches(false);
    buttonListener->onTouchBegan = [&](Touch*, Event*) {
        log.push_back("button:began");
        return false;  // this touch misses the button
    };
    send(EventTouch::EventCode::BEGAN);
    send(EventTouch::EventCode::MOVED);
    drag->onTouchEnded = [&](Touch*, Event*) { log.push_back("drag:ended"); };
    send(EventTouch::EventCode::ENDED);
    EXPECT_EQ(log, (std::vector<std::string>{"drag:began", "button:began", "drag:moved", "drag:ended"}));
    finger->release();
}

}  // namespace
