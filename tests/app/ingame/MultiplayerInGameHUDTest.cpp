#include <gtest/gtest.h>

#include "../support/AppFixture.h"
#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/ingame/ScoreCounterHUD.h"
#include "app/widgets/ZUICoreButton.h"
#include "foundation/Error.h"
#include "presentation/players/PlayerLooks.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scores/ScoreKeeperRegistry.h"

using namespace cocos2d;

namespace {

TEST(MultiplayerInGameHUDText, CountsLabRatsInTheSingularOnlyBelowTwo) {
    const std::pair<u32, const char*> cases[] = {{0, "0 lab rat playing"},
                                                 {1, "1 lab rat playing"},
                                                 {2, "2 lab rats playing"},
                                                 {17, "17 lab rats playing"}};
    for (const auto& [n, text] : cases) EXPECT_EQ(playerCountText(n), text) << n;
}

// Players 10 ("ann") and 11 ("bob") in instance 7.
class MultiplayerInGameHUDTest : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        join(10, "ann");
        join(11, "bob");
        scene = Scene::create();
        hud = MultiplayerInGameHUD::create(players, 7, scores);
        scene->addChild(hud);
        run(scene);
    }
    void join(u32 id, const std::string& name) {
        players.addClient(id);
        players.getInfo(id).name = name;
    }
    static std::u32string drawnText(const Node* label) {
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.node == label && c.glyphs != nullptr) return c.glyphs->text;
        return U"<not drawn>";
    }
    static bool textDrawn(const std::u32string& text) {
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr && c.glyphs->text == text) return true;
        return false;
    }
    static Size extent(const Node* n) {
        return Size(n->getContentSize().width * n->getScaleX(), n->getContentSize().height * n->getScaleY());
    }
    Vec2 rightEdge(const Node* badge) const {
        const Size visible = Director::getInstance()->getVisibleSize();
        return Vec2(visible.width - 70.0f, visible.height - extent(badge).width / 2.0f - 20.0f);
    }
    // Where a badge stands left of the one before it.
    static Vec2 leftOf(const Node* before, const Node* badge) {
        return before->getPosition() -
               Vec2(extent(badge).width / 2.0f + before->getContentSize().width / 2.0f + 40.0f, 0.0f);
    }

    Zarn::PlayerInfoManager players;
    Zarn::LevelScoreMap scores;
    Scene* scene = nullptr;
    MultiplayerInGameHUD* hud = nullptr;  // held by the scene
};

TEST_F(MultiplayerInGameHUDTest, HeaderAndOneBadgePerPlayerFromTheRightEdgeInJoiningOrder) {
    EXPECT_EQ(drawnText(hud->getInstanceLabel()), U"Instance #7");
    EXPECT_EQ(drawnText(hud->getPlayerCountLabel()), U"2 lab rats playing");
    const Size visible = Director::getInstance()->getVisibleSize();
    const Size button = extent(hud->getLevelsButton());
    EXPECT_EQ(hud->getLevelsButton()->getPosition(),
              Vec2(button.width / 2.0f + 20.0f, visible.height - button.height / 2.0f - 20.0f));
    // The count stands under the instance label, left edges aligned.
    const Label* instance = hud->getInstanceLabel();
    const Label* count = hud->getPlayerCountLabel();
    EXPECT_FLOAT_EQ(count->getPositionX() - extent(count).width / 2.0f,
                    instance->getPositionX() - extent(instance).width / 2.0f);

    DeathCountHUD* ann = hud->getBadge(10);
    DeathCountHUD* bob = hud->getBadge(11);
    ASSERT_NE(ann, nullptr);
    ASSERT_NE(bob, nullptr);
    EXPECT_EQ(ann->getPosition(), rightEdge(ann));
    EXPECT_EQ(bob->getPosition(), leftOf(ann, bob));
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame(MultiplayerInGameHUD::kBadgeFrame).size(),
              2u);
    const auto discs = Director::getInstance()->getDrawList().findByFrame(MultiplayerInGameHUD::kDiscFrame);
    ASSERT_EQ(discs.size(), 2u);
    const Color4B annColour = playerColour(10);
    EXPECT_EQ(discs[0]->node->getColor(), Color3B(annColour.r, annColour.g, annColour.b));
    EXPECT_TRUE(textDrawn(U"ann"));
    EXPECT_TRUE(textDrawn(U"bob"));
    EXPECT_EQ(drawnText(ann->getLabel()), U"x 0");

    // Client IDs 0 and the colour table's length share a disc colour.
    EXPECT_EQ(playerColour(0), playerColour(static_cast<u32>(playerColourTable().size())));
}

TEST_F(MultiplayerInGameHUDTest, ABadgeChangesOnlyWithItsPlayersDeaths) {
    scores[11].deaths = 3;
    scores[11].money = 5;
    frame(0.016f);
    EXPECT_EQ(drawnText(hud->getBadge(11)->getLabel()), U"x 3");
    EXPECT_EQ(drawnText(hud->getBadge(10)->getLabel()), U"x 0");
    EXPECT_GT(hud->getBadge(11)->getNumberOfRunningActions(), 0u) << "the badge pulses";
    EXPECT_EQ(hud->getBadge(10)->getNumberOfRunningActions(), 0u);
    frames(4, 0.06f);
    scores[11].money = 9;
    frame(0.016f);
    EXPECT_EQ(hud->getBadge(11)->getNumberOfRunningActions(), 0u) << "money alone is not shown";
}

TEST_F(MultiplayerInGameHUDTest, JoinAndLeaveMoveTheBadgesAndTheCount) {
    join(12, "cy");
    hud->addPlayerRow(12);
    frame(0.016f);
    EXPECT_EQ(drawnText(hud->getPlayerCountLabel()), U"3 lab rats playing");
    DeathCountHUD* cy = hud->getBadge(12);
    EXPECT_EQ(cy->getPosition(), leftOf(hud->getBadge(11), cy));

    // The rightmost badge's player leaves: the others close up from the edge.
    scores[10].deaths = 4;
    players.removeClient(10);
    hud->removePlayer(10);
    frame(0.016f);
    EXPECT_EQ(hud->getBadge(10), nullptr);
    EXPECT_EQ(scores.all().count(10), 0u) << "its score entry goes too";
    DeathCountHUD* bob = hud->getBadge(11);
    EXPECT_EQ(bob->getPosition(), rightEdge(bob));
    EXPECT_EQ(cy->getPosition(), leftOf(bob, cy));
    EXPECT_EQ(drawnText(hud->getPlayerCountLabel()), U"2 lab rats playing");

    players.removeClient(12);
    hud->removePlayer(12);
    hud->removePlayer(99);  // no badge: nothing changes
    frame(0.016f);
    EXPECT_EQ(drawnText(hud->getPlayerCountLabel()), U"1 lab rat playing");
    EXPECT_EQ(hud->getBadges().size(), 1u);
    EXPECT_EQ(Director::getInstance()->getDrawList().findByFrame(MultiplayerInGameHUD::kBadgeFrame).size(),
              1u);

    // The same player joining again keeps one badge.
    hud->addPlayerRow(11);
    EXPECT_EQ(hud->getBadges().size(), 1u);
    EXPECT_EQ(hud->getBadge(11)->getPosition(), rightEdge(hud->getBadge(11)));
}

TEST_F(MultiplayerInGameHUDTest, AnUnknownPlayerThrowsAndAddsNothing) {
    const std::size_t children = hud->getChildrenCount();
    EXPECT_THROW(hud->addPlayerRow(42), Convinience::Error);
    EXPECT_EQ(hud->getChildrenCount(), children);
    EXPECT_EQ(hud->getBadge(42), nullptr);
}

TEST_F(MultiplayerInGameHUDTest, TheLevelsButtonRunsTheLeaveCallbackOnceSet) {
    click(centreOf(hud->getLevelsButton()));
    frame(0.016f);
    int left = 0;
    hud->leaveCallback = [&] { ++left; };
    click(centreOf(hud->getLevelsButton()));
    frame(0.016f);
    EXPECT_EQ(left, 1);
}

}  // namespace
