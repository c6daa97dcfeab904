#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class RecordingApp : public Application {
public:
    bool applicationDidFinishLaunching() override { return true; }
    void applicationDidEnterBackground() override {}
    void applicationWillEnterForeground() override {}
    void frameFailed(const std::exception& failure) override { failures.push_back(failure.what()); }
    std::vector<std::string> failures;
};

using FrameBoundary = zarn_test::EngineFixture;

TEST_F(FrameBoundary, AThrowInsideAFrameReachesTheApplicationAndTheNextFramesRun) {
    RecordingApp app;
    Node* node = Node::create();
    scene->addChild(node);
    node->runAction(MoveBy::create(1.0f, Vec2(100, 0)));
    int ticks = 0;
    node->schedule([&](float) { ++ticks; }, "tick");
    bool armed = true;
    node->schedule(
        [&](float) {
            if (!armed) return;
            armed = false;
            throw std::runtime_error("broken");
        },
        "boom");
    for (int i = 0; i < 2; ++i) Application::stepFrame(0.0f);
    EXPECT_EQ(app.failures, std::vector<std::string>{"broken"});
    for (int i = 0; i < 10; ++i) Application::stepFrame(0.1f);
    EXPECT_NEAR(node->getPositionX(), 100.0f, 0.01f);
    EXPECT_GE(ticks, 10);
    // Unscheduling after the failure still takes effect.
    node->unschedule("tick");
    const int before = ticks;
    Application::stepFrame(0.1f);
    EXPECT_EQ(ticks, before);
}

TEST_F(FrameBoundary, AnActionThatThrowsLeavesTheOthersRunning) {
    RecordingApp app;
    Node* a = Node::create();
    Node* b = Node::create();
    scene->addChild(a);
    scene->addChild(b);
    a->runAction(Sequence::create(DelayTime::create(0.05f),
                                  CallFunc::create([] { throw std::runtime_error("action"); })));
    b->runAction(MoveTo::create(0.5f, Vec2(0, 50)));
    for (int i = 0; i < 10; ++i) Application::stepFrame(0.1f);
    EXPECT_EQ(app.failures.size(), 1u);
    EXPECT_FLOAT_EQ(b->getPositionY(), 50.0f);
}

TEST_F(FrameBoundary, AListenerThatThrowsDoesNotBlockLaterRemovals) {
    RecordingApp app;
    GLView* view = GLView::create("test", Rect(0, 0, 1024, 576));
    Director::getInstance()->setOpenGLView(view);
    auto* throwing = EventListenerKeyboard::create();
    throwing->onKeyPressed = [](EventKeyboard::KeyCode, Event*) { throw std::runtime_error("key"); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(throwing, scene);
    Application::runGuarded(
        [view] { view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_A), true); });
    EXPECT_EQ(app.failures, std::vector<std::string>{"key"});
    int heard = 0;
    auto* later = EventListenerKeyboard::create();
    later->onKeyPressed = [&](EventKeyboard::KeyCode, Event*) { ++heard; };
    Director::getInstance()->getEventDispatcher()->removeEventListener(throwing);
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(later, scene);
    view->handleKey(static_cast<int>(EventKeyboard::KeyCode::KEY_B), true);
    EXPECT_EQ(heard, 1);
}

}  // namespace
