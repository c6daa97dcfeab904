#include <gtest/gtest.h>

#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/widgets/ZUIButton.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

using Credits = zarn_test::AppFixture;

TEST_F(Credits, BlocksStandSideBySideOverAWidthFilledPictureAndBackReturnsToTheMenu) {
    ZUICreditsScene* credits = ZUICreditsScene::create();
    run(credits);
    Sprite* background = dynamic_cast<Sprite*>(credits->getChildren().at(0));
    ASSERT_NE(background, nullptr);
    EXPECT_FLOAT_EQ(background->getBoundingBox().size.width, 1024.0f);
    EXPECT_FLOAT_EQ(background->getScaleX(), background->getScaleY());
    EXPECT_EQ(background->getColor(), Color3B(70, 70, 70));
    EXPECT_EQ(background->getPosition(), Vec2(512, 288));

    const Rect main = credits->blocks[0]->getBoundingBox();
    const Rect libraries = credits->blocks[1]->getBoundingBox();
    const Rect closing = credits->blocks[2]->getBoundingBox();
    EXPECT_NEAR(main.getMinX(), 80.0f, 0.01f);
    EXPECT_NEAR(libraries.getMinX(), main.getMaxX() + 30.0f, 0.01f);
    EXPECT_FLOAT_EQ(main.getMidY(), 210.0f);
    EXPECT_FLOAT_EQ(libraries.getMidY(), 210.0f);
    EXPECT_NEAR(closing.getMidX(), 512.0f, 0.01f);
    EXPECT_NEAR(closing.getMinY(), 30.0f, 0.01f);
    EXPECT_FLOAT_EQ(credits->blocks[0]->getScale(), 0.6f);
    EXPECT_EQ(credits->blocks[0]->getResolvedFontFile().find("arial.ttf") != std::string::npos ||
                  credits->blocks[0]->getResolvedFontFile().find("Liberation") != std::string::npos,
              true)
        << credits->blocks[0]->getResolvedFontFile();

    // The Back button: right edge of the screen, one and a half heights up.
    const Size back = credits->backButton->getContentSize();
    EXPECT_FLOAT_EQ(credits->backButton->getPositionX(), 1024.0f - back.width);
    EXPECT_FLOAT_EQ(credits->backButton->getPositionY(), back.height * 1.5f);
    click(credits->backButton->getPosition());
    frames(10, 0.1f);
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getLayer()->splash, nullptr);
}

}  // namespace
