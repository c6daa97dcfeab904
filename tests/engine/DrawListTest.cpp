#include <gtest/gtest.h>

#include "engine/headless/HeadlessRenderBackend.h"
#include "support/EngineFixture.h"

using namespace cocos2d;

namespace {

class DrawListTest : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        Director::getInstance()->setRenderBackend(&backend);
        SpriteFrame* f = SpriteFrame::createWithTexture(nullptr, Rect(0, 0, 20, 10));
        f->setName("spike.png");
        SpriteFrameCache::getInstance()->addSpriteFrame(f, "spike.png");
    }
    void TearDown() override {
        SpriteFrameCache::getInstance()->removeSpriteFrameByName("spike.png");
        EngineFixture::TearDown();
    }
    const DrawList& list() const { return backend.lastList(); }
    HeadlessRenderBackend backend;
};

TEST_F(DrawListTest, SpriteDrawnAtItsPlaceInOrderAtItsOpacity) {
    Node* room = Node::create();
    room->setCascadeOpacityEnabled(true);
    room->setOpacity(128);
    scene->addChild(room);
    Sprite* back = Sprite::createWithSpriteFrameName("spike.png");
    Sprite* spike = Sprite::createWithSpriteFrameName("spike.png");
    Sprite* behind = Sprite::createWithSpriteFrameName("spike.png");
    room->addChild(back, 0);
    room->addChild(spike, 1);
    room->addChild(behind, -1);
    spike->setPosition(100, 50);
    frame(0.016f);

    auto drawn = list().findByFrame("spike.png");
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0]->node, behind);
    EXPECT_EQ(drawn[1]->node, back);
    EXPECT_EQ(drawn[2]->node, spike);
    const DrawCommand& c = *drawn[2];
    EXPECT_EQ(c.opacity, 128);
    // The quad's corners land around (100, 50): the sprite is anchored in its
    // middle.
    const Vec2 lowerLeft = c.transform.transformPoint(c.quad.origin);
    EXPECT_NEAR(lowerLeft.x, 90, 1e-3);
    EXPECT_NEAR(lowerLeft.y, 45, 1e-3);
    EXPECT_FALSE(c.placeholder);

    spike->setVisible(false);
    frame(0.016f);
    EXPECT_EQ(list().findByFrame("spike.png").size(), 2u);
}

TEST_F(DrawListTest, GlobalZOrderDrawsAcrossTheTree) {
    Sprite* a = Sprite::createWithSpriteFrameName("spike.png");
    Sprite* b = Sprite::createWithSpriteFrameName("spike.png");
    a->setGlobalZOrder(5);
    scene->addChild(a);
    scene->addChild(b);
    frame();
    auto drawn = list().findByFrame("spike.png");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_EQ(drawn[0]->node, b);
    EXPECT_EQ(drawn[1]->node, a);
}

TEST_F(DrawListTest, MissingArtIsAPlaceholderEntryLoggedOnce) {
    std::vector<std::string> lines;
    setEngineLogHook([&](const std::string& l) { lines.push_back(l); });
    resetMissingAssetLog();
    Sprite* a = Sprite::createWithSpriteFrameName("no_such_frame.png");
    Sprite* b = Sprite::createWithSpriteFrameName("no_such_frame.png");
    Sprite* c = Sprite::create("2D/no_such_image.png");
    ASSERT_NE(a, nullptr);
    ASSERT_NE(c, nullptr);
    scene->addChild(a);
    scene->addChild(b);
    scene->addChild(c);
    frame();
    setEngineLogHook(nullptr);
    EXPECT_EQ(a->getContentSize(),
              Size(SpriteFrameCache::kPlaceholderSize, SpriteFrameCache::kPlaceholderSize));
    EXPECT_EQ(c->getContentSize(), Size(TextureCache::kPlaceholderSize, TextureCache::kPlaceholderSize));
    auto drawn = list().findByFrame("no_such_frame.png");
    ASSERT_EQ(drawn.size(), 2u);
    EXPECT_TRUE(drawn[0]->placeholder);
    EXPECT_EQ(lines.size(), 2u) << "one line per missing name";
}

TEST_F(DrawListTest, FlipsAndFrameOffsets) {
    SpriteFrame* trimmed =
        SpriteFrame::createWithTexture(nullptr, Rect(0, 0, 10, 10), false, Vec2(3, 2), Size(30, 20));
    trimmed->setName("trimmed.png");
    SpriteFrameCache::getInstance()->addSpriteFrame(trimmed, "trimmed.png");
    Sprite* s = Sprite::createWithSpriteFrameName("trimmed.png");
    EXPECT_EQ(s->getContentSize(), Size(30, 20));
    s->setAnchorPoint(Vec2::ZERO);
    scene->addChild(s);
    frame();
    auto drawn = list().findByFrame("trimmed.png");
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0]->quad, Rect(13, 7, 10, 10));
    s->setFlippedX(true);
    frame();
    drawn = list().findByFrame("trimmed.png");
    EXPECT_TRUE(drawn[0]->flippedX);
    EXPECT_EQ(drawn[0]->quad, Rect(7, 7, 10, 10));
    SpriteFrameCache::getInstance()->removeSpriteFrameByName("trimmed.png");
}

TEST_F(DrawListTest, ClippingAndShapesAndBars) {
    auto* clip = ClippingRectangleNode::create(Rect(-5, -5, 10, 10));
    clip->setPosition(50, 50);
    scene->addChild(clip);
    DrawNode* shape = DrawNode::create();
    shape->drawSolidRect(Vec2(-30, -10), Vec2(30, 10), Color4F::RED);
    shape->drawDot(Vec2::ZERO, 4, Color4F::WHITE);
    clip->addChild(shape);
    ProgressTimer* bar = ProgressTimer::create(Sprite::createWithSpriteFrameName("spike.png"));
    bar->setType(ProgressTimer::Type::BAR);
    bar->setBarChangeRate(Vec2(1, 0));
    bar->setMidpoint(Vec2(0, 0));
    bar->setPercentage(25);
    scene->addChild(bar);
    frame();
    auto shapes = list().findByNode(shape);
    ASSERT_EQ(shapes.size(), 1u);
    ASSERT_GE(shapes[0]->clip, 0);
    const ClipRegion& region = list().clips[static_cast<std::size_t>(shapes[0]->clip)];
    EXPECT_EQ(region.corners[0], Vec2(45, 45));
    EXPECT_EQ(region.corners[2], Vec2(55, 55));
    const ShapeBatch& batch = *shapes[0]->shapes;
    EXPECT_EQ(batch.triangles.size(), 6u + 30u * 3u);
    EXPECT_EQ(batch.triangles[0].color, Color4F::RED);
    auto bars = list().findByNode(bar);
    ASSERT_EQ(bars.size(), 1u);
    EXPECT_EQ(bars[0]->clip, -1);
    EXPECT_NEAR(bars[0]->visibleFraction.size.width, 0.25f, 1e-5);
    EXPECT_NEAR(bars[0]->visibleFraction.origin.x, 0.0f, 1e-5);
    EXPECT_NEAR(bars[0]->visibleFraction.size.height, 1.0f, 1e-5);
    bar->runAction(ProgressTo::create(1.0f, 75));
    frame(0.0f);
    frame(1.0f);
    EXPECT_NEAR(bar->getPercentage(), 75, 1e-4);
}

// A draw node's vertices carry its colours: the node's colour and opacity
// (its own or cascaded) do not tint them again.
TEST_F(DrawListTest, DrawNodesTakeTheirColoursFromTheirVertices) {
    Node* parent = Node::create();
    parent->setCascadeOpacityEnabled(true);
    parent->setCascadeColorEnabled(true);
    parent->setOpacity(100);
    parent->setColor(Color3B(0, 0, 255));
    scene->addChild(parent);
    DrawNode* shape = DrawNode::create();
    shape->drawSolidRect(Vec2(0, 0), Vec2(10, 10), Color4F(1.0f, 0.5f, 0.0f, 0.75f));
    shape->setColor(Color3B::RED);
    shape->setOpacity(128);
    parent->addChild(shape);
    frame();
    auto drawn = list().findByNode(shape);
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0]->color, Color3B::WHITE);
    EXPECT_EQ(drawn[0]->opacity, 255);
    const ShapeBatch& batch = *drawn[0]->shapes;
    ASSERT_FALSE(batch.triangles.empty());
    EXPECT_EQ(batch.triangles[0].color, Color4F(1.0f, 0.5f, 0.0f, 0.75f));
}

TEST_F(DrawListTest, ASpritesBlendFunctionReachesItsEntry) {
    Sprite* glow = Sprite::createWithSpriteFrameName("spike.png");
    glow->setBlendFunc(BlendFunc::ADDITIVE);
    Sprite* plain = Sprite::createWithSpriteFrameName("spike.png");
    scene->addChild(glow);
    scene->addChild(plain);
    frame();
    ASSERT_EQ(list().findByNode(glow).size(), 1u);
    EXPECT_EQ(list().findByNode(glow)[0]->blend, BlendFunc::ADDITIVE);
    EXPECT_EQ(list().findByNode(plain)[0]->blend, BlendFunc::ALPHA_PREMULTIPLIED);
}

}  // namespace
