#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "engine/Director.h"
#include "engine/SpriteFrameCache.h"
#include "rooms/support/ShippedRooms.h"
#include "visuals/elements/support/ElementSceneFixture.h"
#include "visuals/traps/BossVisual.h"

namespace {

class ShippedRoomScene : public zarn_test::ElementSceneFixture,
                         public ::testing::WithParamInterface<std::string> {};

// Every shipped room, loaded on the headless engine as the in-game scene
// loads it, gets a picture for each of its traps and elements from the visual
// factories (which refuse a kind they cannot show), and ten seconds of ticks
// and frames run without a refusal.
TEST_P(ShippedRoomScene, ShowsEveryTrapAndElementAndRunsTenSeconds) {
    const std::vector<u8> bytes = zarn_test::shippedMap(GetParam());
    ASSERT_FALSE(bytes.empty()) << "maps/" << GetParam() << ".map is not built";
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    ASSERT_NO_THROW(load(in));
    EXPECT_FALSE(layer->getNode()->getChildren().empty());
    ASSERT_NO_THROW(run(10.0f));
    EXPECT_FALSE(seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Rooms, ShippedRoomScene, ::testing::ValuesIn(zarn_test::shippedRooms()),
                         [](const auto& info) { return info.param; });

class BossRoomScene : public zarn_test::ElementSceneFixture {
protected:
    static bool within(const cocos2d::Node* node, const cocos2d::Node* ancestor) {
        for (; node != nullptr; node = node->getParent())
            if (node == ancestor) return true;
        return false;
    }
};

// The boss room fits the view, so the whole room is on screen; the boss
// stands wholly inside it: from the first frame through its rise, its eyes
// and, once its clamps have set it in place, its brow lie within the room's
// edges (the clamps come and go from above the screen).
TEST_F(BossRoomScene, TheBossRisesWhollyInsideItsRoom) {
    const std::vector<u8> bytes = zarn_test::shippedMap("DEMO_BossSinglePhase");
    ASSERT_FALSE(bytes.empty());
    // The boss's frames as the build drew them, at their sizes.
    cocos2d::SpriteFrameCache::getInstance()->addSpriteFramesWithFile("2D/eye.plist");
    ASSERT_NE(cocos2d::SpriteFrameCache::getInstance()->getSpriteFrameByName("boss_brow_normal.png"),
              nullptr);
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    load(in);
    const Zarn::MapProperties& room = game.map.grid.getProperties();
    EXPECT_LE(static_cast<float>(room.width) * 1.25f, 1024.0f) << "the room fits the view across";
    EXPECT_LE(static_cast<float>(room.height) * 1.25f, 576.0f) << "and up";
    const std::vector<BossCocos2D*> bosses = childrenOf<BossCocos2D>();
    ASSERT_EQ(bosses.size(), 1u);
    const BossCocos2D* boss = bosses.front();

    float lowest = 1e9f, highest = -1e9f, leftmost = 1e9f, rightmost = -1e9f;
    bool risen = false;
    for (float t = 0.0f; t < 3.0f; t += kTick) {
        tick();
        risen = risen ||
                (shows(boss->getBrow()->getBrow()) &&
                 boss->getBrow()->getBrow()->getPosition().distance(boss->getBrow()->getBrowRest()) < 0.5f &&
                 shows(boss->getLeftEye()->getBulb()) && boss->getLeftEye()->getPositionY() >= 160.0f);
        for (const cocos2d::DrawCommand& c : list().commands) {
            const BossEyeBrow* brow = boss->getBrow();
            const bool browInPlace = c.node == brow->getBrow() &&
                                     brow->getBrow()->getPosition().distance(brow->getBrowRest()) < 0.5f;
            if (c.opacity == 0 ||
                !(within(c.node, boss->getLeftEye()) || within(c.node, boss->getRightEye()) || browInPlace))
                continue;
            for (const cocos2d::Vec2& corner :
                 {c.quad.origin, c.quad.origin + cocos2d::Vec2(c.quad.size.width, 0.0f),
                  c.quad.origin + cocos2d::Vec2(0.0f, c.quad.size.height),
                  c.quad.origin + cocos2d::Vec2(c.quad.size.width, c.quad.size.height)}) {
                const cocos2d::Vec2 p = c.transform.transformPoint(corner);
                lowest = std::min(lowest, p.y);
                highest = std::max(highest, p.y);
                leftmost = std::min(leftmost, p.x);
                rightmost = std::max(rightmost, p.x);
            }
        }
    }
    EXPECT_TRUE(risen) << "the eyes rose and the brow came in";
    EXPECT_GE(leftmost, 0.0f);
    EXPECT_LE(rightmost, static_cast<float>(room.width));
    EXPECT_GE(lowest, 0.0f);
    EXPECT_LE(highest, static_cast<float>(room.height))
        << "the top of the boss is cut off by the screen's edge";
}

}  // namespace
