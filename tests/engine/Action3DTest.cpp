#include <gtest/gtest.h>

#include "engine/RefPtr.h"
#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class Action3DTest : public zarn_test::EngineFixture {};

// A 3D move changes x, y and z over its duration; a reverse goes back; a move
// made with a 2D vector leaves z alone.
TEST_F(Action3DTest, MovesAndTurnsWithAVec3ReachEveryAxis) {
    Sprite3D* model = Sprite3D::create();
    scene->addChild(model);
    model->setPosition3D(Vec3(1.0f, 2.0f, 3.0f));
    model->runAction(MoveBy::create(1.0f, Vec3(10.0f, 20.0f, 30.0f)));
    model->runAction(RotateBy::create(1.0f, Vec3(90.0f, -180.0f, 45.0f)));
    frame(0.0f);
    frame(0.5f);
    EXPECT_EQ(model->getPosition3D(), Vec3(6.0f, 12.0f, 18.0f));
    EXPECT_EQ(model->getRotation3D(), Vec3(45.0f, -90.0f, 22.5f));
    frame(0.5f);
    EXPECT_EQ(model->getPosition3D(), Vec3(11.0f, 22.0f, 33.0f));
    EXPECT_EQ(model->getRotation3D(), Vec3(90.0f, -180.0f, 45.0f));

    model->runAction(MoveTo::create(1.0f, Vec3(0.0f, 0.0f, -7.0f)));
    frame(0.0f);
    frame(1.0f);
    EXPECT_EQ(model->getPosition3D(), Vec3(0.0f, 0.0f, -7.0f));

    RefPtr<MoveBy> flat = MoveBy::create(1.0f, Vec2(5.0f, 0.0f));
    model->runAction(flat->clone());
    model->runAction(RotateBy::create(1.0f, Vec3(10.0f, 0.0f, 0.0f))->reverse());
    frame(0.0f);
    frame(1.0f);
    EXPECT_EQ(model->getPosition3D(), Vec3(5.0f, 0.0f, -7.0f));
    EXPECT_EQ(model->getRotation3D(), Vec3(80.0f, -180.0f, 45.0f));
}

TEST_F(Action3DTest, ClonesAndReversesKeepTheThirdAxisAndOtherMovesAddUp) {
    Node* node = Node::create();
    scene->addChild(node);
    RefPtr<MoveBy> move = MoveBy::create(1.0f, Vec3(0.0f, 0.0f, 8.0f));
    node->runAction(move->clone());
    node->runAction(MoveBy::create(1.0f, Vec3(0.0f, 0.0f, 2.0f))->reverse());
    frame(0.0f);
    frame(1.0f);
    EXPECT_FLOAT_EQ(node->getPositionZ(), 6.0f);
    EXPECT_FLOAT_EQ(move->getElapsed(), 0.0f) << "the template never ran";
}

TEST(RefPtrTest, HoldsOneReferenceForAsLongAsItLives) {
    Node* node = new Node();
    {
        RefPtr<Node> a(node);
        EXPECT_EQ(node->getReferenceCount(), 2u);
        RefPtr<Node> b = a;
        EXPECT_EQ(node->getReferenceCount(), 3u);
        RefPtr<Node> c = std::move(b);
        EXPECT_EQ(node->getReferenceCount(), 3u);
        EXPECT_FALSE(b);
        c.reset(node);
        EXPECT_EQ(node->getReferenceCount(), 3u) << "resetting to the held object keeps it";
        c = nullptr;
        EXPECT_EQ(node->getReferenceCount(), 2u);
    }
    EXPECT_EQ(node->getReferenceCount(), 1u);
    node->release();
}

}  // namespace
