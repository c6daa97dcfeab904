#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/Application.h"
#include "engine/ui/UIButton.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

// The application object of a test: records the pages it is asked to open.
class RecordingApplication : public Application {
public:
    bool applicationDidFinishLaunching() override { return true; }
    void applicationDidEnterBackground() override {}
    void applicationWillEnterForeground() override {}
    bool openURL(const std::string& url) override {
        opened.push_back(url);
        return true;
    }
    std::vector<std::string> opened;
};

using EndOfLevels = zarn_test::AppFixture;

TEST_F(EndOfLevels, PlaceRightOfKeepsTheGapBetweenScaledBoxes) {
    struct Case {
        Size anchor;
        float anchorScale;
        Size node;
        float nodeScale;
        float gap;
        float x;
    };
    const Case cases[] = {
        {{100, 50}, 1.0f, {60, 60}, 1.0f, 30, 100 + 50 + 30 + 30},
        {{100, 50}, 0.5f, {60, 60}, 2.0f, 30, 100 + 25 + 60 + 30},
        {{80, 80}, 1.0f, {80, 80}, 1.0f, 0, 100 + 80},
    };
    for (const Case& c : cases) {
        Node* anchor = Node::create();
        Node* node = Node::create();
        anchor->setContentSize(c.anchor);
        anchor->setScale(c.anchorScale);
        anchor->setPosition(100, 40);
        node->setContentSize(c.node);
        node->setScale(c.nodeScale);
        placeRightOf(node, anchor, c.gap);
        EXPECT_EQ(node->getPosition(), Vec2(c.x, 40)) << c.x;
    }
}

// Two pages of a game that has a site.
const std::vector<EndSceneLink> kSiteLinks = {
    {"website.png", "https://site.test/"},
    {"discord.png", "https://chat.test/invite"},
};

TEST_F(EndOfLevels, WithoutASiteTheSceneShowsNoLink) {
    RecordingApplication app;
    ZUIBetaEndScene* end = ZUIBetaEndScene::create();
    run(end);
    EXPECT_TRUE(end->getLinkButtons().empty());
    EXPECT_EQ(end->websiteButton, nullptr);
    for (const Node* child : end->getChildren()) EXPECT_EQ(dynamic_cast<const ui::Button*>(child), nullptr);

    // Neither an icon nor its dot is drawn; the back icon is.
    const std::set<std::string> linkFrames = {"steam.png",    "android.png", "website.png", "twitter.png",
                                              "facebook.png", "discord.png", "tumblr.png",  "youtube.png"};
    std::size_t shapes = 0;
    bool back = false;
    for (const DrawCommand& c : Director::getInstance()->getDrawList().commands) {
        EXPECT_EQ(linkFrames.count(c.frameName.str()), 0u) << c.frameName;
        if (c.shapes != nullptr && c.node == end->getDots())
            shapes += c.shapes->triangles.size() + c.shapes->points.size();
        back = back || c.frameName == "icon_back.png";
    }
    EXPECT_EQ(shapes, 0u);
    EXPECT_TRUE(back);

    // A click where the first icon would be opens nothing.
    click(Vec2(ZUIBetaEndScene::kRowX, ZUIBetaEndScene::kRowY));
    frame();
    EXPECT_TRUE(app.opened.empty());
}

TEST_F(EndOfLevels, SplashLinkRowAndBackIconWithoutTheBonusButton) {
    RecordingApplication app;
    ZUIBetaEndScene* end = ZUIBetaEndScene::create(kSiteLinks);
    run(end);
    auto* splash = dynamic_cast<Sprite*>(end->getChildren().at(0));
    ASSERT_NE(splash, nullptr);
    EXPECT_FLOAT_EQ(splash->getBoundingBox().size.width, 1024.0f);
    EXPECT_FLOAT_EQ(splash->getScaleX(), splash->getScaleY());
    EXPECT_EQ(splash->getPosition(), Vec2(512, 288));
    EXPECT_EQ(end->getChildren().at(1), end->getDots());

    // One row from (160, 40), 30 apart, each icon over its dot and zooming
    // when pressed; only the game's own pages have an icon.
    const auto& links = end->getLinkButtons();
    ASSERT_EQ(links.size(), kSiteLinks.size());
    EXPECT_EQ(links[0]->getPosition(), Vec2(160, 40));
    for (std::size_t i = 0; i < links.size(); ++i) {
        EXPECT_FLOAT_EQ(links[i]->getPositionY(), 40.0f) << i;
        EXPECT_TRUE(links[i]->isPressedActionEnabled()) << i;
        EXPECT_EQ(links[i]->getRendererNormal()->getSpriteFrame()->getName(), kSiteLinks[i].frameName);
        if (i == 0) continue;
        EXPECT_FLOAT_EQ(links[i]->getBoundingBox().getMinX(), links[i - 1]->getBoundingBox().getMaxX() + 30);
    }
    EXPECT_EQ(end->websiteButton, links[0]);
    EXPECT_EQ(end->bonusButton, nullptr);

    // A click on an icon opens its page once.
    click(links[1]->getPosition());
    ASSERT_EQ(app.opened.size(), 1u);
    EXPECT_EQ(app.opened[0], kSiteLinks[1].address);

    // The back icon: top-left, 30 in, at 0.4; it leads to the menu without
    // its splash, sliding in from below.
    ZUICoreButton* back = end->backButton;
    ASSERT_NE(back, nullptr);
    EXPECT_FLOAT_EQ(back->getScale(), 0.4f);
    EXPECT_EQ(back->getIcon()->getSpriteFrame()->getName(), "icon_back.png");
    const Rect box = back->getBoundingBox();
    EXPECT_NEAR(box.getMinX(), 30.0f, 0.01f);
    EXPECT_NEAR(box.getMaxY(), 576.0f - 30.0f, 0.01f);
    click(back->getPosition());
    frame(0.01f);
    EXPECT_NE(dynamic_cast<TransitionMoveInB*>(Director::getInstance()->getRunningScene()), nullptr);
    frames(10, 0.1f);
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getLayer()->splash, nullptr);
}

TEST_F(EndOfLevels, TheBonusButtonSitsBottomRightWithItsLabel) {
    ZUIBetaEndScene* end = ZUIBetaEndScene::create();
    run(end);
    end->addBonusChallenges();
    ZUISkewedRectButton* bonus = end->bonusButton;
    ASSERT_NE(bonus, nullptr);
    end->addBonusChallenges();  // once only
    EXPECT_EQ(end->bonusButton, bonus);
    const Size size = bonus->getContentSize();
    const float backHeight = end->backButton->getContentSize().height * 0.4f;
    EXPECT_FLOAT_EQ(bonus->getPositionX(), 1024.0f - size.width * 0.5f - 30.0f);
    EXPECT_FLOAT_EQ(bonus->getPositionY(), backHeight * 0.5f + 60.0f);
    frame();
    bool labelled = false;
    for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
        labelled = labelled || (c.glyphs != nullptr && c.glyphs->text == U"Bonus\nChallenges");
    EXPECT_TRUE(labelled);
}

TEST_F(EndOfLevels, ALinkWithoutAnApplicationObjectIsLoggedNotFollowed) {
    ZUIBetaEndScene* end = ZUIBetaEndScene::create(kSiteLinks);
    run(end);
    ASSERT_EQ(Application::getInstance(), nullptr);
    click(end->getLinkButtons().at(0)->getPosition());
    frame();
    EXPECT_EQ(Director::getInstance()->getRunningScene(), end);
}

}  // namespace
