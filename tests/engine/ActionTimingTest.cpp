#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class ActionTiming : public zarn_test::EngineFixture {
protected:
    Node* addNode() {
        Node* n = Node::create();
        scene->addChild(n);
        return n;
    }
};

// One row: build the action, read one value off the node, and the values
// expected after the first frame (t = 0), at the middle and at the end.
struct TimingCase {
    std::string name;
    std::function<void(Node*)> prepare;
    std::function<FiniteTimeAction*()> make;
    std::function<float(Node*)> read;
    float start;
    float middle;
    float end;
};

TEST_F(ActionTiming, IntervalActionsAtStartMiddleAndEnd) {
    const std::vector<TimingCase> cases = {
        {"MoveBy", [](Node* n) { n->setPosition(10, 0); }, [] { return MoveBy::create(1.0f, Vec2(100, 0)); },
         [](Node* n) { return n->getPositionX(); }, 10, 60, 110},
        {"MoveTo", [](Node* n) { n->setPosition(10, 0); }, [] { return MoveTo::create(1.0f, Vec2(0, 50)); },
         [](Node* n) { return n->getPositionY(); }, 0, 25, 50},
        {"RotateBy", [](Node* n) { n->setRotation(30); }, [] { return RotateBy::create(1.0f, 90); },
         [](Node* n) { return n->getRotation(); }, 30, 75, 120},
        {"RotateTo short way", [](Node* n) { n->setRotation(350); },
         [] { return RotateTo::create(1.0f, 10); }, [](Node* n) { return n->getRotation(); }, 350, 360, 370},
        {"ScaleTo", [](Node* n) { n->setScale(1.0f); }, [] { return ScaleTo::create(1.0f, 3.0f); },
         [](Node* n) { return n->getScaleX(); }, 1, 2, 3},
        {"ScaleBy", [](Node* n) { n->setScale(2.0f); }, [] { return ScaleBy::create(1.0f, 2.0f); },
         [](Node* n) { return n->getScaleY(); }, 2, 3, 4},
        {"FadeOut", [](Node* n) { n->setOpacity(255); }, [] { return FadeOut::create(1.0f); },
         [](Node* n) { return float(n->getOpacity()); }, 255, 127, 0},
        {"FadeIn", [](Node* n) { n->setOpacity(0); }, [] { return FadeIn::create(1.0f); },
         [](Node* n) { return float(n->getOpacity()); }, 0, 127, 255},
        {"FadeTo", [](Node* n) { n->setOpacity(200); }, [] { return FadeTo::create(1.0f, 100); },
         [](Node* n) { return float(n->getOpacity()); }, 200, 150, 100},
        {"TintTo", [](Node* n) { n->setColor(Color3B(0, 0, 0)); },
         [] { return TintTo::create(1.0f, 200, 0, 0); }, [](Node* n) { return float(n->getColor().r); }, 0,
         100, 200},
        {"DelayTime then MoveBy", [](Node* n) { n->setPosition(0, 0); },
         [] { return Sequence::create(DelayTime::create(0.5f), MoveBy::create(0.5f, Vec2(10, 0))); },
         [](Node* n) { return n->getPositionX(); }, 0, 0, 10},
        {"Spawn of unequal lengths", [](Node* n) { n->setPosition(0, 0); },
         [] { return Spawn::create(MoveBy::create(1.0f, Vec2(100, 0)), RotateBy::create(0.25f, 40)); },
         [](Node* n) { return n->getPositionX() + n->getRotation(); }, 0, 50 + 40, 100 + 40},
        {"Repeat of a there-and-back", [](Node* n) { n->setPosition(0, 0); },
         [] {
             return Repeat::create(
                 Sequence::create(MoveBy::create(0.125f, Vec2(0, 20)), MoveBy::create(0.125f, Vec2(0, -20))),
                 4);
         },
         [](Node* n) { return n->getPositionY(); }, 0, 0, 0},
        {"Repeat lands mid-round where the inner action is", [](Node* n) { n->setPosition(0, 0); },
         [] { return Repeat::create(MoveBy::create(0.25f, Vec2(100, 0)), 4); },
         [](Node* n) { return n->getPositionX(); }, 0, 200, 400},
        {"EaseIn rate 2", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseIn::create(MoveBy::create(1.0f, Vec2(100, 0)), 2.0f); },
         [](Node* n) { return n->getPositionX(); }, 0, 25, 100},
        {"EaseOut rate 2", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseOut::create(MoveBy::create(1.0f, Vec2(100, 0)), 2.0f); },
         [](Node* n) { return n->getPositionX(); }, 0, 70.7107f, 100},
        {"EaseInOut rate 3", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseInOut::create(MoveBy::create(1.0f, Vec2(100, 0)), 3.0f); },
         [](Node* n) { return n->getPositionX(); }, 0, 50, 100},
        {"EaseBounceOut", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseBounceOut::create(MoveBy::create(1.0f, Vec2(100, 0))); },
         [](Node* n) { return n->getPositionX(); }, 0, 76.5625f, 100},
        {"EaseBounceInOut", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseBounceInOut::create(MoveBy::create(1.0f, Vec2(100, 0))); },
         [](Node* n) { return n->getPositionX(); }, 0, 50, 100},
        {"EaseBackIn overshoots backwards", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseBackIn::create(MoveBy::create(1.0f, Vec2(100, 0))); },
         [](Node* n) { return n->getPositionX(); }, 0, -8.7698f, 100},
        {"EaseBackInOut", [](Node* n) { n->setPosition(0, 0); },
         [] { return EaseBackInOut::create(MoveBy::create(1.0f, Vec2(100, 0))); },
         [](Node* n) { return n->getPositionX(); }, 0, 50, 100},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Node* n = addNode();
        c.prepare(n);
        n->runAction(c.make());
        frame(0.1f);  // the first frame after starting applies t = 0
        EXPECT_NEAR(c.read(n), c.start, 0.01f);
        frame(0.5f);
        EXPECT_NEAR(c.read(n), c.middle, 0.6f);
        frame(0.5f);
        EXPECT_NEAR(c.read(n), c.end, 0.01f);
        EXPECT_EQ(n->getNumberOfRunningActions(), 0u) << "done and removed";
        n->removeFromParent();
    }
}

TEST_F(ActionTiming, ReverseUndoesTheAction) {
    struct ReverseCase {
        std::string name;
        std::function<FiniteTimeAction*()> make;
    };
    const std::vector<ReverseCase> cases = {
        {"MoveBy", [] { return MoveBy::create(0.5f, Vec2(30, -40)); }},
        {"RotateBy", [] { return RotateBy::create(0.5f, 75); }},
        {"ScaleBy", [] { return ScaleBy::create(0.5f, 2.0f, 4.0f); }},
        {"Sequence",
         [] {
             return Sequence::create(MoveBy::create(0.25f, Vec2(10, 0)), RotateBy::create(0.25f, 45),
                                     ScaleBy::create(0.25f, 2.0f));
         }},
        {"Spawn",
         [] { return Spawn::create(MoveBy::create(0.5f, Vec2(0, 9)), RotateBy::create(0.25f, -30)); }},
        {"EaseBounceOut", [] { return EaseBounceOut::create(MoveBy::create(0.5f, Vec2(12, 0))); }},
        {"EaseBackInOut", [] { return EaseBackInOut::create(MoveBy::create(0.5f, Vec2(12, 5))); }},
        {"EaseIn", [] { return EaseIn::create(RotateBy::create(0.5f, 20), 3.0f); }},
        {"Repeat", [] { return Repeat::create(MoveBy::create(0.1f, Vec2(1, 2)), 3); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Node* n = addNode();
        n->setPosition(5, 6);
        FiniteTimeAction* forward = c.make();
        n->runAction(Sequence::create(forward, forward->reverse()));
        frames(40, 0.05f);
        EXPECT_NEAR(n->getPositionX(), 5, 1e-3);
        EXPECT_NEAR(n->getPositionY(), 6, 1e-3);
        EXPECT_NEAR(n->getRotation(), 0, 1e-3);
        EXPECT_NEAR(n->getScaleX(), 1, 1e-4);
        EXPECT_NEAR(n->getScaleY(), 1, 1e-4);
        n->removeFromParent();
    }
    // Reverse pairs of the opposites.
    Node* n = addNode();
    n->setOpacity(255);
    n->setVisible(true);
    n->runAction(Sequence::create(FadeOut::create(0.1f)->reverse(), Show::create()->reverse()));
    frames(5, 0.05f);
    EXPECT_FALSE(n->isVisible());
    EXPECT_EQ(n->getOpacity(), 255);
}

TEST_F(ActionTiming, RepeatIsSmoothInsideEachRound) {
    // 1.5 rounds in: half way through the second move.
    Node* n = addNode();
    n->runAction(Repeat::create(MoveBy::create(0.25f, Vec2(100, 0)), 4));
    frame(0.0f);
    frame(0.375f);
    EXPECT_NEAR(n->getPositionX(), 150.0f, 1e-3);
}

TEST_F(ActionTiming, CloneRunsIndependently) {
    Node* a = addNode();
    Node* b = addNode();
    auto* move = MoveBy::create(1.0f, Vec2(100, 0));
    move->retain();
    a->runAction(move->clone());
    frame(0.0f);
    frame(0.5f);
    b->runAction(move->clone());
    frame(0.0f);
    frame(0.5f);
    EXPECT_NEAR(a->getPositionX(), 100, 1e-3);
    EXPECT_NEAR(b->getPositionX(), 50, 1e-3);
    move->release();
}

TEST_F(ActionTiming, SequenceRunsInstantStepsOnceAtTheirPlace) {
    Node* n = addNode();
    std::vector<std::string> log;
    n->runAction(Sequence::create(
        CallFunc::create([&] { log.push_back("a@" + std::to_string(int(n->getPositionX()))); }),
        MoveBy::create(0.2f, Vec2(10, 0)),
        CallFunc::create([&] { log.push_back("b@" + std::to_string(int(n->getPositionX()))); }),
        Hide::create(), nullptr));
    frames(10, 0.05f);
    EXPECT_EQ(log, (std::vector<std::string>{"a@0", "b@10"}));
    EXPECT_FALSE(n->isVisible());
    // A frame long enough to jump over everything still runs each step once.
    log.clear();
    n->setPosition(0, 0);
    n->runAction(Sequence::create(CallFunc::create([&] { log.push_back("x"); }), DelayTime::create(0.1f),
                                  CallFunc::create([&] { log.push_back("y"); })));
    frame(0.0f);
    frame(5.0f);
    frame(5.0f);
    EXPECT_EQ(log, (std::vector<std::string>{"x", "y"}));
}

TEST_F(ActionTiming, RepeatForeverKeepsItsRhythm) {
    Node* n = addNode();
    int calls = 0;
    n->runAction(
        RepeatForever::create(Sequence::create(DelayTime::create(0.1f), CallFunc::create([&] { ++calls; }))));
    frame(0.0f);
    frames(105, 0.01f);  // a little over one second: no round loses a frame
    EXPECT_EQ(calls, 10);
    n->stopAllActions();
    frames(10, 0.1f);
    EXPECT_EQ(calls, 10);
}

TEST_F(ActionTiming, StackedMovesAddUp) {
    // A shaking parent move and a camera move at once: both deltas arrive.
    Node* n = addNode();
    n->runAction(MoveBy::create(1.0f, Vec2(100, 0)));
    n->runAction(Repeat::create(
        Sequence::create(MoveBy::create(0.03f, Vec2(0, 20)), MoveBy::create(0.03f, Vec2(0, -20))), 4));
    frames(120, 0.01f);
    EXPECT_NEAR(n->getPositionX(), 100, 1e-3);
    EXPECT_NEAR(n->getPositionY(), 0, 1e-3);
}

TEST_F(ActionTiming, TagsStopAndFindActions) {
    Node* n = addNode();
    Action* a = n->runAction(MoveBy::create(1.0f, Vec2(10, 0)));
    a->setTag(7);
    Action* b = n->runAction(RotateBy::create(1.0f, 10));
    EXPECT_EQ(n->getActionByTag(7), a);
    n->stopActionByTag(7);
    EXPECT_EQ(n->getActionByTag(7), nullptr);
    EXPECT_EQ(n->getNumberOfRunningActions(), 1u);
    n->stopAction(b);
    EXPECT_EQ(n->getNumberOfRunningActions(), 0u);
}

TEST_F(ActionTiming, TargetedActionAndRemoveSelf) {
    Node* holder = addNode();
    auto* child = zarn_test::CountedNode::create();
    scene->addChild(child);
    const int before = zarn_test::CountedNode::alive;
    holder->runAction(Sequence::create(TargetedAction::create(child, MoveTo::create(0.1f, Vec2(7, 8))),
                                       TargetedAction::create(child, RemoveSelf::create())));
    child->retain();
    frames(5, 0.05f);
    EXPECT_EQ(holder->getPosition(), Vec2::ZERO);
    EXPECT_EQ(child->getPosition(), Vec2(7, 8));
    EXPECT_EQ(child->getParent(), nullptr);
    frames(2, 0.0f);
    EXPECT_EQ(child->getReferenceCount(), 1u) << "nothing but the test holds the removed node";
    child->release();
    EXPECT_EQ(zarn_test::CountedNode::alive, before - 1);
}

TEST_F(ActionTiming, ActionsWaitWhileTheNodeIsOffStage) {
    Node* n = Node::create();
    n->runAction(MoveBy::create(0.1f, Vec2(10, 0)));
    frames(5, 0.05f);
    EXPECT_EQ(n->getPositionX(), 0.0f);
    n->retain();
    scene->addChild(n);
    frames(5, 0.05f);
    EXPECT_NEAR(n->getPositionX(), 10, 1e-4);
    n->release();
}

TEST_F(ActionTiming, AnimateShowsFramesOnTime) {
    auto* cache = SpriteFrameCache::getInstance();
    Vector<SpriteFrame*> frameList;
    for (int i = 1; i <= 4; ++i) {
        SpriteFrame* f = SpriteFrame::createWithTexture(nullptr, Rect(0, 0, 10.0f * i, 10));
        f->setName("anim_" + std::to_string(i));
        cache->addSpriteFrame(f, f->getName());
        frameList.pushBack(f);
    }
    Sprite* s = Sprite::createWithSpriteFrameName("anim_1");
    scene->addChild(s);
    s->runAction(Animate::create(Animation::createWithSpriteFrames(frameList, 0.1f, 1)));
    std::vector<float> widths;
    frame(0.0f);
    widths.push_back(s->getContentSize().width);
    for (int i = 0; i < 4; ++i) {
        frame(0.1f);
        widths.push_back(s->getContentSize().width);
    }
    EXPECT_EQ(widths, (std::vector<float>{10, 20, 30, 40, 40}));
    for (int i = 1; i <= 4; ++i) cache->removeSpriteFrameByName("anim_" + std::to_string(i));
}

// A reversed rate ease mirrors the curve: the way back of an ease-in starts
// fast and ends slow (rate 1/r), as the way there ended fast.
TEST_F(ActionTiming, ReversedRateEasesMirrorTheirCurve) {
    struct Case {
        const char* name;
        std::function<ActionInterval*()> make;
        float middle;  // x half way through the reversed move from 100 to 0
    };
    const std::vector<Case> cases = {
        {"EaseIn rate 2", [] { return EaseIn::create(MoveBy::create(1.0f, Vec2(100, 0)), 2.0f); },
         100.0f - 70.7107f},
        {"EaseOut rate 2", [] { return EaseOut::create(MoveBy::create(1.0f, Vec2(100, 0)), 2.0f); },
         100.0f - 25.0f},
        {"EaseIn rate 3", [] { return EaseIn::create(MoveBy::create(1.0f, Vec2(100, 0)), 3.0f); },
         100.0f - 79.3701f},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Node* n = addNode();
        n->setPosition(100, 0);
        n->runAction(c.make()->reverse());
        frame(0.1f);
        frame(0.5f);
        EXPECT_NEAR(n->getPositionX(), c.middle, 0.01f);
        frame(0.5f);
        EXPECT_NEAR(n->getPositionX(), 0.0f, 1e-3);
        n->removeFromParent();
    }
}

TEST_F(ActionTiming, ReversedAnimateRestoresTheOriginalFrameToo) {
    Vector<SpriteFrame*> frameList;
    for (float width : {10.0f, 20.0f, 30.0f})
        frameList.pushBack(SpriteFrame::createWithTexture(nullptr, Rect(0, 0, width, 10)));
    SpriteFrame* still = SpriteFrame::createWithTexture(nullptr, Rect(0, 0, 5, 5));
    Animation* animation = Animation::createWithSpriteFrames(frameList, 0.1f, 1);
    animation->setRestoreOriginalFrame(true);
    Animate* back = Animate::create(animation)->reverse();
    EXPECT_TRUE(back->getAnimation()->getRestoreOriginalFrame());
    Sprite* s = Sprite::createWithSpriteFrame(still);
    scene->addChild(s);
    s->runAction(back);
    frame(0.0f);
    EXPECT_EQ(s->getContentSize().width, 30.0f) << "the last frame first";
    frames(4, 0.1f);
    EXPECT_EQ(s->getSpriteFrame(), still);
}

}  // namespace
