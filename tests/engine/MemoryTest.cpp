#include <gtest/gtest.h>

#include "support/AllocationCounter.h"
#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class Memory : public zarn_test::EngineFixture {};

class FailingNode : public zarn_test::CountedNode {
public:
    bool init() override { return false; }
};

TEST_F(Memory, CreatePatternAutoreleasesAndFailedInitLeavesNothing) {
    const int before = zarn_test::CountedNode::alive;
    EXPECT_EQ(createWithInit<FailingNode>(), nullptr);
    EXPECT_EQ(zarn_test::CountedNode::alive, before);

    auto* n = zarn_test::CountedNode::create();
    EXPECT_EQ(n->getReferenceCount(), 1u);
    EXPECT_TRUE(PoolManager::getInstance()->isObjectInPools(n));
    n->retain();
    drain();
    EXPECT_EQ(n->getReferenceCount(), 1u);
    n->release();
    EXPECT_EQ(zarn_test::CountedNode::alive, before);
}

TEST_F(Memory, ParentsHoldChildrenAndFramesDrainThePool) {
    const int before = zarn_test::CountedNode::alive;
    auto* parent = zarn_test::CountedNode::create();
    for (int i = 0; i < 5; ++i) parent->addChild(zarn_test::CountedNode::create());
    scene->addChild(parent);
    frame(0.016f);
    EXPECT_EQ(zarn_test::CountedNode::alive, before + 6);
    EXPECT_EQ(parent->getReferenceCount(), 1u);
    parent->removeFromParent();
    EXPECT_EQ(zarn_test::CountedNode::alive, before);

    // Unused creations vanish with the frame.
    zarn_test::CountedNode::create();
    MoveBy::create(1.0f, Vec2(1, 1));
    frame(0.016f);
    EXPECT_EQ(zarn_test::CountedNode::alive, before);
}

TEST_F(Memory, VectorRetainsItsElements) {
    auto* a = zarn_test::CountedNode::create();
    Vector<Node*> v;
    v.pushBack(a);
    v.pushBack(a);
    EXPECT_EQ(a->getReferenceCount(), 3u);
    {
        Vector<Node*> copy = v;
        EXPECT_EQ(a->getReferenceCount(), 5u);
    }
    v.eraseObject(a);
    EXPECT_EQ(a->getReferenceCount(), 2u);
    v.clear();
    EXPECT_EQ(a->getReferenceCount(), 1u);
}

TEST_F(Memory, ActionsHoldTheirTargetsUntilDone) {
    const int before = zarn_test::CountedNode::alive;
    auto* n = zarn_test::CountedNode::create();
    scene->addChild(n);
    n->runAction(Sequence::create(DelayTime::create(0.1f), RemoveSelf::create(false)));
    frames(5, 0.05f);
    EXPECT_EQ(zarn_test::CountedNode::alive, before)
        << "removed without clean-up, freed when the action ended";
    // A retained action template outlives runs of its clones.
    auto* templ = Sequence::create(MoveBy::create(0.1f, Vec2(1, 0)), CallFunc::create([] {}));
    templ->retain();
    for (int i = 0; i < 3; ++i) {
        auto* m = zarn_test::CountedNode::create();
        scene->addChild(m);
        m->runAction(templ->clone());
        frames(2, 0.05f);
        m->removeFromParent();
    }
    frames(2, 0.05f);
    EXPECT_EQ(templ->getReferenceCount(), 1u);
    templ->release();
    EXPECT_EQ(zarn_test::CountedNode::alive, before);
}

TEST_F(Memory, ThePoolKeepsItsCapacityFromFrameToFrame) {
    std::vector<Node*> nodes;
    for (int i = 0; i < 300; ++i) {
        nodes.push_back(Node::create());
        nodes.back()->retain();
    }
    auto frameOfAutoreleases = [&] {
        for (Node* n : nodes) {
            n->retain();
            n->autorelease();
        }
        frame(0.016f);
    };
    frameOfAutoreleases();
    frameOfAutoreleases();
    zarn_test::AllocationCounter counter;
    for (int i = 0; i < 5; ++i) frameOfAutoreleases();
    EXPECT_EQ(counter.count(), 0u);
    for (Node* n : nodes) {
        EXPECT_EQ(n->getReferenceCount(), 1u);
        n->release();
    }
}

}  // namespace
