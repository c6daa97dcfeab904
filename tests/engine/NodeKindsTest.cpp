#include <gtest/gtest.h>

#include "engine/headless/HeadlessRenderBackend.h"
#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class NodeKinds : public zarn_test::EngineFixture {};

TEST_F(NodeKinds, StencilClipsChildrenAndIsNotShownItself) {
    HeadlessRenderBackend backend;
    Director::getInstance()->setRenderBackend(&backend);
    DrawNode* mask = DrawNode::create();
    mask->drawSolidCircle(Vec2::ZERO, 10, 0, 16, Color4F::WHITE);
    ClippingNode* clip = ClippingNode::create(mask);
    clip->setAlphaThreshold(0.1f);
    clip->setInverted(true);
    DrawNode* inside = DrawNode::create();
    inside->drawDot(Vec2::ZERO, 3, Color4F::RED);
    clip->addChild(inside);
    scene->addChild(clip);
    mask->runAction(ScaleTo::create(0.1f, 2.0f));
    frames(4, 0.05f);
    EXPECT_EQ(mask->getScale(), 2.0f) << "the stencil runs its actions with the clipping node";
    const DrawList& list = backend.lastList();
    EXPECT_TRUE(list.findByNode(mask).empty());
    auto drawn = list.findByNode(inside);
    ASSERT_EQ(drawn.size(), 1u);
    const ClipRegion& region = list.clips.at(static_cast<std::size_t>(drawn[0]->clip));
    EXPECT_EQ(region.kind, ClipRegion::Kind::Stencil);
    EXPECT_TRUE(region.inverted);
    EXPECT_FLOAT_EQ(region.alphaThreshold, 0.1f);
    ASSERT_EQ(region.stencilCount, 1u);
    EXPECT_EQ(list.stencils.at(region.firstStencil).node, mask);
}

TEST_F(NodeKinds, ModelsGiveAttachNodesMeshesAndBoxesEvenWhenMissing) {
    Sprite3D* body = Sprite3D::create("3D/no_such_rat.c3b");
    ASSERT_NE(body, nullptr);
    EXPECT_TRUE(body->isPlaceholder());
    scene->addChild(body);
    Node* hatBone = body->getAttachNode("Hat");
    EXPECT_EQ(hatBone, body->getAttachNode("Hat"));
    EXPECT_EQ(hatBone->getParent(), body);
    Sprite3D* hat = Sprite3D::create("3D/no_such_hat.c3b");
    hatBone->addChild(hat);
    body->getMeshByName("Head")->setTexture("3D/head.png");
    EXPECT_EQ(body->getMeshByName("Head")->getName(), "Head");
    body->setScale(4.0f);
    body->setPosition(10, 0);
    const AABB box = body->getAABB();
    EXPECT_NEAR(box.getCenter().x, 10.0f, 1e-4);
    EXPECT_NEAR(box._max.y - box._min.y, 4.0f * Sprite3D::kPlaceholderExtent, 1e-4);
    auto* walk = Animate3D::create(Animation3D::create("3D/no_such_rat.c3b", "walk"));
    ASSERT_NE(walk, nullptr);
    walk->setSpeed(4.0f);
    EXPECT_NEAR(walk->getDuration(), Animation3D::kDefaultDuration / 4.0f, 1e-5);
    walk->setDuration(2.0f);
    body->runAction(RepeatForever::create(walk));
    frames(3, 0.5f);
    EXPECT_NEAR(walk->getClipTime(), 0.5f * Animation3D::kDefaultDuration, 1e-4);
}

TEST_F(NodeKinds, LayerColorDrawsItsRectangleInItsColour) {
    HeadlessRenderBackend backend;
    Director::getInstance()->setRenderBackend(&backend);
    LayerColor* layer = LayerColor::create(Color4B(10, 20, 30, 40), 200, 100);
    scene->addChild(layer);
    frame();
    auto drawn = backend.lastList().findByNode(layer);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0]->kind, DrawKind::Rect);
    EXPECT_EQ(drawn[0]->color, Color3B(10, 20, 30));
    EXPECT_EQ(drawn[0]->opacity, 40);
    EXPECT_EQ(drawn[0]->quad, Rect(0, 0, 200, 100));
    EXPECT_EQ(Director::getInstance()->getVisibleSize(), Size(1024, 576));
}

}  // namespace
