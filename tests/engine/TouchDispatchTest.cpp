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
