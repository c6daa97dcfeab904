#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/menus/ZUIArcadePanel.h"
#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/menus/ZUIMainMenuSplash.h"
#include "app/menus/ZUIMultiplayerPanelEx.h"
#include "app/menus/ZUIResolutionSelector.h"
#include "app/menus/ZUISettingsMenu.h"
#include "app/start/Settings.h"
#include "app/widgets/DrawNodeEx.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "foundation/SaveFiles.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

class MainMenu : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        std::filesystem::remove(settingsPath());
    }
    void TearDown() override {
        AppFixture::TearDown();
        std::filesystem::remove(settingsPath());
    }
    ZUIMainMenuLayer* start(int splash) {
        scene = ZUIMainMenuScene::create(splash);
        run(scene);
        return scene->getLayer();
    }
    static std::string settingsPath() { return Convinience::writablePath() + kSettingsFileName; }
    bool drawn(const std::string& frameName) const {
        return !Director::getInstance()->getDrawList().findByFrame(frameName).empty();
    }
    int musicPlaying() const {
        int n = 0;
        for (const auto& p : audioLog.plays)
            if (p.loop && audioLog.playing.count(p.id) != 0) ++n;
        return n;
    }
    ZUIMainMenuScene* scene = nullptr;
};

TEST_F(MainMenu, SplashWaitsForAKeyThenTheMenuSlidesIn) {
    ZUIMainMenuLayer* layer = start(1);
    ASSERT_NE(layer->splash, nullptr);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2(0, -1440));
    EXPECT_EQ(layer->circle->getPosition(), Vec2(500, 680));
    EXPECT_TRUE(drawn("splash_logo.png"));
    EXPECT_EQ(played().back(), "sound/music/main_menu.mp3");
    Label* prompt = layer->splash->prompt;

    // The prompt shows only after the logo's 0.5 s entrance, then blinks:
    // hidden in the first half of every second, shown in the second.
    frames(29, 1.0f / 60.0f);
    EXPECT_FALSE(prompt->isVisible());
    frame(0.1f);  // the entrance ends and the blinking starts
    frame(0.0f);
    frame(0.25f);
    EXPECT_FALSE(prompt->isVisible());
    frame(0.5f);
    EXPECT_TRUE(prompt->isVisible());
    frame(0.5f);
    EXPECT_FALSE(prompt->isVisible());

    pressKey(EventKeyboard::KeyCode::KEY_SPACE);
    EXPECT_EQ(layer->splash, nullptr);
    frame(0.0f);
    frame(0.1f);
    EXPECT_EQ(played().back(), "sound/music/main_menu.mp3");
    frame(0.1f);  // 0.2 s after the key: the hit has sounded
    EXPECT_EQ(played().back(), "sound/spike/hit1.mp3");
    frames(10, 0.1f);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2::ZERO);
    EXPECT_EQ(layer->circle->getPosition(), Vec2(100, -768));
    EXPECT_FALSE(drawn("splash_logo.png"));
    EXPECT_TRUE(drawn("silhouette_zizad.png"));

    // A later key or touch does nothing more.
    const std::size_t sounds = audioLog.plays.size();
    pressKey(EventKeyboard::KeyCode::KEY_A);
    click(Vec2(5, 5));
    frames(10, 0.1f);
    EXPECT_EQ(audioLog.plays.size(), sounds);
}

TEST_F(MainMenu, AReturnShowsNoSplashAndRestartsTheMusic) {
    ZUIMainMenuLayer* layer = start(0);
    EXPECT_EQ(layer->splash, nullptr);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2::ZERO);
    EXPECT_FALSE(drawn("splash_logo.png"));
    EXPECT_EQ(musicPlaying(), 1);
    Director::getInstance()->replaceScene(ZUIMainMenuScene::create(0));
    frame(0.0f);
    frame(0.0f);
    EXPECT_EQ(musicPlaying(), 1);
    EXPECT_EQ(played(), (std::vector<std::string>{"sound/music/main_menu.mp3", "sound/music/main_menu.mp3"}));
}

TEST_F(MainMenu, HoveringAButtonPushesTheOthersAside) {
    ZUIMainMenuLayer* layer = start(0);
    ZUIMainMenu* menu = layer->mainMenu;
    const float w = menu->arcadeButton->getContentSize().width;
    mouseTo(centreOf(menu->arcadeButton));
    frame();
    frame(0.05f);
    EXPECT_FLOAT_EQ(menu->storyButton->getPositionX(), menu->homePositions[0].x - w * 0.1f);
    EXPECT_FLOAT_EQ(menu->multiplayerButton->getPositionX(), menu->homePositions[2].x + w * 0.1f);
    EXPECT_EQ(played().back(), "sound/ui/button/rollover.mp3");
    mouseTo(Vec2(1000, 20));
    frame();
    frame(0.05f);
    EXPECT_EQ(menu->storyButton->getPosition(), menu->homePositions[0]);
    EXPECT_EQ(menu->multiplayerButton->getPosition(), menu->homePositions[2]);
}

TEST_F(MainMenu, PanelsSlideInWithTheirColoursAndGoAfterLeaving) {
    ZUIMainMenuLayer* layer = start(0);
    click(centreOf(layer->mainMenu->arcadeButton));
    ASSERT_NE(layer->arcadePanel, nullptr);
    frame();
    frames(10, 0.1f);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2(0, 1440));
    EXPECT_EQ(layer->circle->getColor(), Color3B(192, 236, 187));
    EXPECT_EQ(layer->background->getColor(), Color3B(125, 188, 95));
    ZUIArcadePanel* panel = layer->arcadePanel;
    panel->retain();
    click(centreOf(panel->backButton));
    EXPECT_EQ(layer->arcadePanel, nullptr);
    frame();
    frames(10, 0.1f);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2::ZERO);
    EXPECT_EQ(layer->background->getColor(), Color3B(241, 198, 153));
    EXPECT_EQ(panel->getParent(), nullptr);
    panel->release();

    click(centreOf(layer->mainMenu->multiplayerButton));
    frame();
    frames(10, 0.1f);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2(-2560, 0));
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));
    click(centreOf(layer->multiplayerPanel->backButton));
    frame();
    frames(10, 0.1f);
    EXPECT_EQ(layer->multiplayerPanel, nullptr);
    // Destroying the multiplayer panel writes the settings.
    PoolManager::getInstance()->getCurrentPool()->clear();
    EXPECT_TRUE(std::filesystem::exists(settingsPath()));
}

TEST_F(MainMenu, SettingsSliderSetsTheVolumeAndBackWritesTheFile) {
    ZUIMainMenuLayer* layer = start(0);
    frame();
    click(centreOf(layer->settingsIcon));
    ZUISettingsMenu* settings = layer->settingsMenu;
    ASSERT_NE(settings, nullptr);
    settings->retain();  // read again after the page has left the scene
    EXPECT_EQ(layer->mainMenu, nullptr);
    layer->openSettings(50);  // a second open changes nothing
    EXPECT_EQ(layer->settingsMenu, settings);
    frame();
    // The back icon joins the icon row on the left.
    EXPECT_FLOAT_EQ(settings->backButton->getPositionY(), layer->settingsIcon->getPositionY());
    EXPECT_LT(settings->backButton->getPositionX(), layer->settingsIcon->getPositionX());

    // Drag the music slider from its right end to its left end.
    const Rect bar = settings->musicSlider->getBoundingBox();
    const Vec2 right = settings->convertToWorldSpace(Vec2(bar.getMaxX() - 1, bar.getMidY()));
    const Vec2 left = settings->convertToWorldSpace(Vec2(bar.getMinX(), bar.getMidY()));
    touchDown(right);
    touchMove(left);
    touchUp(left);
    EXPECT_EQ(Settings.MUSIC_VOLUME, 0);
    EXPECT_FLOAT_EQ(experimental::AudioEngine::getVolume(layer->musicId), 0.0f);
    EXPECT_FALSE(std::filesystem::exists(settingsPath()));

    click(centreOf(settings->backButton));
    ASSERT_TRUE(std::filesystem::exists(settingsPath()));
    std::ifstream in(settingsPath());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("MUSIC_VOLUME=0\n"), std::string::npos);
    EXPECT_EQ(layer->settingsMenu, nullptr);
    ASSERT_NE(layer->mainMenu, nullptr);
    frame();
    EXPECT_EQ(settings->getParent(), nullptr);
    settings->release();

    // The slider shows the stored volume when the page opens again.
    click(centreOf(layer->settingsIcon));
    EXPECT_EQ(layer->settingsMenu->musicSlider->getPercent(), 0);
    EXPECT_EQ(layer->settingsMenu->effectsSlider->getPercent(), 100);
}

TEST_F(MainMenu, ResolutionArrowsStepWithinTheScreenAndLeaveFullScreen) {
    view->setFrameSize(1920, 1080);  // the headless "screen" is the frame
    ZUIResolutionSelector* selector = ZUIResolutionSelector::create();
    EXPECT_EQ(selector->maxIndex, 8);
    EXPECT_EQ(selector->currentIndex, 1);
    selector->onFullScreenChanged(true);
    EXPECT_TRUE(view->isFullscreen());
    EXPECT_TRUE(Settings.FULLSCREEN);
    selector->onNext();
    EXPECT_EQ(Settings.RES_INDEX, 2);
    EXPECT_FALSE(Settings.FULLSCREEN);
    EXPECT_FALSE(view->isFullscreen());
    EXPECT_FALSE(selector->fullScreenCheckBox->isSelected());
    EXPECT_EQ(selector->valueLabel->getString(), "1280 x 800");
    EXPECT_EQ(view->getFrameSize().width, 1280);
    for (int i = 0; i < 20; ++i) selector->onNext();
    EXPECT_EQ(Settings.RES_INDEX, 8);
    for (int i = 0; i < 20; ++i) selector->onPrevious();
    EXPECT_EQ(Settings.RES_INDEX, 0);
    selector->onFullScreenChanged(false);
    EXPECT_EQ(view->getFrameSize().width, 1024);
}

TEST_F(MainMenu, TheExitIconEndsTheProgram) {
    ZUIMainMenuLayer* layer = start(0);
    frame();
    click(centreOf(layer->exitIcon));
    frame();
    EXPECT_TRUE(Director::getInstance()->isEnded());
}

TEST_F(MainMenu, CreditsAndStoryLeadToScenesThatComeBack) {
    ZUIMainMenuLayer* layer = start(0);
    frame();
    click(centreOf(layer->creditsIcon));
    frames(30, 0.1f);
    // The end-of-levels scene, without the bonus button; its back icon
    // returns to a new menu without the splash.
    auto* credits = dynamic_cast<ZUIBetaEndScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(credits, nullptr);
    EXPECT_EQ(credits->bonusButton, nullptr);
    EXPECT_FALSE(Director::getInstance()->getDrawList().findByFrame("icon_back.png").empty());
    click(credits->backButton->getPosition());
    frames(10, 0.1f);
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getLayer()->splash, nullptr);
}

}  // namespace
