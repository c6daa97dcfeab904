#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

std::vector<std::string>* g_log = nullptr;

class LoggingScene : public Scene {
public:
    static LoggingScene* create(const std::string& name) {
        auto* s = createWithInit<LoggingScene>();
        s->name_ = name;
        return s;
    }
    void onEnter() override {
        Scene::onEnter();
        g_log->push_back(name_ + ".enter");
    }
    void onEnterTransitionDidFinish() override {
        Scene::onEnterTransitionDidFinish();
        g_log->push_back(name_ + ".enterDone");
    }
    void onExitTransitionDidStart() override {
        Scene::onExitTransitionDidStart();
        g_log->push_back(name_ + ".exitStart");
    }
    void onExit() override {
        Scene::onExit();
        g_log->push_back(name_ + ".exit");
    }
    void cleanup() override {
        Scene::cleanup();
        g_log->push_back(name_ + ".cleanup");
    }

private:
    std::string name_;
};

class SceneTransition : public ::testing::Test {
protected:
    void SetUp() override {
        g_log = &log;
        Director::getInstance()->reset();
    }
    void TearDown() override {
        Director::getInstance()->reset();
        g_log = nullptr;
    }
    void frames(int n, float dt) {
        for (int i = 0; i < n; ++i) Director::getInstance()->mainLoop(dt);
    }
    std::vector<std::string> log;
};

TEST_F(SceneTransition, PlainReplaceExitsTheOldSceneBeforeTheNewEnters) {
    Director* d = Director::getInstance();
    d->runWithScene(LoggingScene::create("A"));
    frames(1, 0.016f);
    d->replaceScene(LoggingScene::create("B"));
    EXPECT_EQ(log.size(), 2u) << "nothing happens before the next frame";
    frames(1, 0.016f);
    EXPECT_EQ(log, (std::vector<std::string>{"A.enter", "A.enterDone", "A.exitStart", "A.exit", "A.cleanup",
                                             "B.enter", "B.enterDone"}));
}

TEST_F(SceneTransition, TransitionsCallEnterAndExitInTheEnginesOrder) {
    for (int kind = 0; kind < 3; ++kind) {
        SCOPED_TRACE(kind);
        log.clear();
        Director* d = Director::getInstance();
        d->reset();
        log.clear();
        d->runWithScene(LoggingScene::create("A"));
        frames(1, 0.016f);
        Scene* b = LoggingScene::create("B");
        Scene* t = kind == 0   ? static_cast<Scene*>(TransitionFade::create(1.0f, b))
                   : kind == 1 ? static_cast<Scene*>(TransitionMoveInT::create(0.4f, b))
                               : static_cast<Scene*>(TransitionMoveInB::create(0.35f, b));
        d->replaceScene(t);
        frames(1, 0.016f);
        EXPECT_FALSE(d->getEventDispatcher()->isEnabled()) << "no input during a transition";
        if (kind == 1) {
            EXPECT_GT(b->getPositionY(), 500.0f) << "slides in from the top";
        }
        if (kind == 2) {
            EXPECT_LT(b->getPositionY(), -500.0f) << "slides in from the bottom";
        }
        frames(100, 0.016f);
        EXPECT_EQ(d->getRunningScene(), b);
        EXPECT_TRUE(d->getEventDispatcher()->isEnabled());
        EXPECT_EQ(b->getPosition(), Vec2::ZERO);
        EXPECT_EQ(log, (std::vector<std::string>{"A.enter", "A.enterDone", "A.exitStart", "B.enter", "A.exit",
                                                 "B.enterDone", "A.cleanup"}));
    }
}

TEST_F(SceneTransition, EndExitsTheRunningSceneAtTheNextFrame) {
    Director* d = Director::getInstance();
    d->runWithScene(LoggingScene::create("A"));
    frames(1, 0.016f);
    d->end();
    EXPECT_FALSE(d->isEnded());
    frames(1, 0.016f);
    EXPECT_TRUE(d->isEnded());
    EXPECT_EQ(d->getRunningScene(), nullptr);
    EXPECT_EQ(log.back(), "A.cleanup");
}

}  // namespace

namespace {

TEST_F(SceneTransition, ChildrenAddedDuringATransitionFinishWithTheirScene) {
    Director* d = Director::getInstance();
    d->runWithScene(LoggingScene::create("A"));
    frames(1, 0.016f);
    Scene* b = LoggingScene::create("B");
    d->replaceScene(TransitionFade::create(0.5f, b));
    frames(1, 0.016f);
    int finished = 0;
    struct Child : Node {
        int* counter = nullptr;
        void onEnterTransitionDidFinish() override {
            Node::onEnterTransitionDidFinish();
            ++*counter;
        }
    };
    auto* child = new Child();
    child->counter = &finished;
    child->autorelease();
    b->addChild(child);
    EXPECT_EQ(finished, 0);
    frames(60, 0.016f);
    EXPECT_EQ(finished, 1);
}

}  // namespace

namespace {

// A scene covered by a pushed one, with or without a transition, keeps its
// actions and timers: they pause while it is covered and go on after the pop.
TEST_F(SceneTransition, APushedSceneLeavesTheCoveredOneIntactUntilThePop) {
    for (bool withTransition : {false, true}) {
        SCOPED_TRACE(withTransition ? "with a transition" : "plain push");
        Director* d = Director::getInstance();
        d->reset();
        log.clear();
        Scene* a = LoggingScene::create("A");
        d->runWithScene(a);
        frames(1, 0.016f);
        Node* n = Node::create();
        a->addChild(n);
        int ticks = 0;
        n->schedule([&](float) { ++ticks; }, "tick");
        n->runAction(RepeatForever::create(RotateBy::create(1.0f, 360)));
        frames(2, 0.016f);
        Scene* b = LoggingScene::create("B");
        d->pushScene(withTransition ? static_cast<Scene*>(TransitionFade::create(0.5f, b)) : b);
        frames(60, 0.016f);
        ASSERT_EQ(d->getRunningScene(), b);
        EXPECT_EQ(std::count(log.begin(), log.end(), "A.cleanup"), 0);
        const int ticksWhileCovered = ticks;
        frames(5, 0.016f);
        EXPECT_EQ(ticks, ticksWhileCovered) << "paused while covered";

        d->popScene();
        frames(1, 0.016f);
        ASSERT_EQ(d->getRunningScene(), a);
        EXPECT_EQ(std::count(log.begin(), log.end(), "A.cleanup"), 0);
        EXPECT_EQ(std::count(log.begin(), log.end(), "B.cleanup"), 1);
        const int ticksAtPop = ticks;
        const float rotation = n->getRotation();
        frames(3, 0.016f);
        EXPECT_EQ(ticks, ticksAtPop + 3);
        EXPECT_NE(n->getRotation(), rotation);
        EXPECT_EQ(n->getNumberOfRunningActions(), 1u);
    }
}

}  // namespace
