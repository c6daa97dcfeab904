#include <gtest/gtest.h>

#include <cmath>

#include "../support/PresentationFixture.h"
#include "engine/RefPtr.h"
#include "presentation/effects/DustPuffs.h"
#include "presentation/effects/FlyApart.h"
#include "presentation/effects/ResetableSprite.h"
#include "presentation/effects/VisualRandom.h"

namespace {

using cocos2d::Node;
using cocos2d::Sprite;
using cocos2d::Vec2;

TEST(VisualRandom, TheEngineIsReproducibleOnceSeededAndSignedDrawsAreNeverZero) {
    seedVisualRandomEngine(5489);
    const int first = visualRandomInt(4, 10);
    const float second = visualRandomUnit();
    seedVisualRandomEngine(5489);
    EXPECT_EQ(visualRandomInt(4, 10), first);
    EXPECT_EQ(visualRandomUnit(), second);
    for (int i = 0; i < 2000; ++i) {
        const float r = visualRandomSigned();
        ASSERT_NE(r, 0.0f);
        ASSERT_GE(r, -1.0f);
        ASSERT_LE(r, 1.0f);
        const float u = visualRandomBetween(0.25f, 0.8f);
        ASSERT_GE(u, 0.25f);
        ASSERT_LT(u, 0.8f);
    }
}

TEST(VisualRandom, VariantsSplitAtAThirdAndTwoThirds) {
    const struct {
        float r;
        int variant;
    } cases[] = {{0.0f, 0}, {0.3299f, 0}, {0.33f, 1}, {0.6599f, 1}, {0.66f, 2}, {0.9999f, 2}};
    for (const auto& c : cases) EXPECT_EQ(chooseVariant(c.r), c.variant) << c.r;
    // Drawn from a uniform distribution, every variant comes up.
    int seen[3] = {0, 0, 0};
    for (int i = 0; i < 300; ++i) ++seen[chooseVariant(visualRandomUnit())];
    for (int count : seen) EXPECT_GT(count, 50);
}

TEST(VisualRandom, ASoundSetPicksFromItsFilesInTheSameOrderEveryRun) {
    RandomSoundSet a({"x", "y", "z"});
    RandomSoundSet b({"x", "y", "z"});
    std::set<std::string> seen;
    for (int i = 0; i < 30; ++i) {
        const std::string pick = a.pick();
        EXPECT_EQ(b.pick(), pick);
        seen.insert(pick);
    }
    EXPECT_EQ(seen.size(), 3u);
}

class EffectsTest : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        parent = Node::create();
        scene->addChild(parent);
        node = Node::create();
        node->setPosition(100.0f, 50.0f);
        node->setLocalZOrder(7);
        parent->addChild(node);
    }
    // The parent's children other than the node.
    std::vector<Sprite*> puffs() const {
        std::vector<Sprite*> out;
        for (Node* child : parent->getChildren())
            if (child != node) out.push_back(static_cast<Sprite*>(child));
        return out;
    }
    Node* parent = nullptr;
    Node* node = nullptr;
};

// A start-of-run burst has 4 to 10 puffs, an end-of-run burst 1 to 4; each
// puff stands 100 above the node, 7 below its position, shows dust frames
// and is gone within its delay plus 1.6 s.
TEST_F(EffectsTest, DustBurstsPuffTheirCountAtTheNodesFeetAndClearUp) {
    std::set<std::size_t> startCounts, stopCounts;
    for (int run = 0; run < 40; ++run) {
        const bool start = run % 2 == 0;
        node->runAction(start ? createRunStartDust(parent, node) : createRunStopDust(parent, node));
        frame(0.0f);
        const std::vector<Sprite*> made = puffs();
        (start ? startCounts : stopCounts).insert(made.size());
        for (Sprite* puff : made) EXPECT_EQ(puff->getLocalZOrder(), 107);
        frames(5, 0.05f);
        for (Sprite* puff : puffs()) {
            if (puff->getSpriteFrame() == nullptr) continue;  // still waiting for its delay
            EXPECT_NEAR(puff->getPosition().y, 43.0f, 16.0f);
            EXPECT_NEAR(puff->getPosition().x, 100.0f, 16.0f);
        }
        frames(40, 0.05f);
        EXPECT_TRUE(puffs().empty()) << "every puff removed itself";
    }
    EXPECT_GE(*startCounts.begin(), 4u);
    EXPECT_LE(*startCounts.rbegin(), 10u);
    EXPECT_GE(*stopCounts.begin(), 1u);
    EXPECT_LE(*stopCounts.rbegin(), 4u);
    EXPECT_GT(startCounts.size(), 2u) << "counts vary";
}

TEST_F(EffectsTest, APuffShowsDustFramesAndTheLastOfABurstStartsWithinSixHundredthsPerPuff) {
    node->runAction(createDustBurst(parent, node, 6));
    frame(0.0f);
    frame(0.0f);
    frame(0.31f);
    for (Sprite* puff : puffs()) {
        ASSERT_NE(puff->getSpriteFrame(), nullptr) << "every puff has started within 0.3 s";
        const std::string name = puff->getSpriteFrame()->getName();
        EXPECT_TRUE(name.rfind("Dust_Puff_Brown_", 0) == 0 || name.rfind("Dust_Puff_White_", 0) == 0) << name;
    }
    EXPECT_EQ(puffs().size(), 6u);
    node->runAction(createDustBurst(parent, node, 0));
    frame(0.0f);
    EXPECT_EQ(puffs().size(), 6u) << "a burst of none emits nothing";
}

TEST_F(EffectsTest, DirectionalDustPlaysItsFramesIn04SecondsAndRemovesItsSprite) {
    for (bool large : {false, true}) {
        const cocos2d::RefPtr<Sprite> dust = Sprite::create();
        parent->addChild(dust.get());
        dust->runAction(large ? createDirectionalDustLarge() : createDirectionalDustSmall());
        frame(0.0f);
        frame(0.2f);
        ASSERT_NE(dust->getSpriteFrame(), nullptr);
        EXPECT_EQ(dust->getSpriteFrame()->getName().rfind(
                      large ? "Dust_Directional_Large_" : "Dust_Directional_Small_", 0),
                  0u);
        EXPECT_EQ(dust->getParent(), parent);
        frame(0.25f);
        frame(0.0f);
        EXPECT_EQ(dust->getParent(), nullptr);
    }
}

// Over many pieces: a 2D piece ends invisible within 1.0 s, thrown at most 375
// along x; a 3D piece at most 600 along z; both cascade their opacity.
TEST_F(EffectsTest, FlyApartPiecesAreThrownWithinTheirRangesAndVanishWithinASecond) {
    for (int i = 0; i < 30; ++i) {
        Node* flat = Sprite::create();
        Node* solid = cocos2d::Sprite3D::create();
        parent->addChild(flat);
        parent->addChild(solid);
        createFlyApartAction2D(flat);
        createFlyApartAction3D(solid);
        EXPECT_TRUE(flat->isCascadeOpacityEnabled());
        frame(0.0f);
        frames(10, 0.1f);
        frame(0.0f);
        EXPECT_EQ(flat->getNumberOfRunningActions(), 0u);
        EXPECT_EQ(solid->getNumberOfRunningActions(), 0u);
        EXPECT_EQ(flat->getOpacity(), 0);
        EXPECT_EQ(solid->getOpacity(), 0);
        EXPECT_LE(std::abs(flat->getPositionX()), 375.0f + 1e-3f);
        EXPECT_LE(std::abs(solid->getPositionZ()), 600.0f + 1e-3f);
        EXPECT_NE(flat->getPositionX(), 0.0f);
        EXPECT_NE(solid->getRotation3D(), cocos2d::Vec3::ZERO);
        flat->removeFromParent();
        solid->removeFromParent();
    }
}

TEST_F(EffectsTest, AResetableSpritePutsEveryChildBackToItsNeutralPose) {
    ResetableSprite* empty = ResetableSprite::create();
    empty->reset();
    EXPECT_EQ(empty->getChildrenCount(), 0u);
    ResetableSprite* body = ResetableSprite::create();
    for (int i = 0; i < 3; ++i) {
        Sprite* piece = Sprite::create();
        piece->setPosition3D(cocos2d::Vec3(5.0f * i, 3.0f, 2.0f));
        piece->setRotation3D(cocos2d::Vec3(10.0f, 20.0f, 30.0f));
        piece->setOpacity(3);
        piece->setVisible(false);
        body->addChild(piece);
    }
    body->reset();
    for (Node* piece : body->getChildren()) {
        EXPECT_EQ(piece->getPosition3D(), cocos2d::Vec3::ZERO);
        EXPECT_EQ(piece->getRotation3D(), cocos2d::Vec3::ZERO);
        EXPECT_EQ(piece->getOpacity(), 255);
        EXPECT_TRUE(piece->isVisible());
    }
}

}  // namespace
