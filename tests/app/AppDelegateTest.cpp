#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

#include "app/menus/ZUIMainMenuScene.h"
#include "app/start/AppDelegate.h"
#include "app/start/PlatformServices.h"
#include "app/start/Settings.h"
#include "foundation/SaveFiles.h"
#include "simulation/achievements/LocalAchievementService.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

// The real application object; the test process has its log already.
class TestApp : public AppDelegate {
protected:
    void startLog() override {}
};

class CountingServices : public PlatformServices {
public:
    void update(float) override { ++updates; }
    void shutdown() override { ++shutdowns; }
    void unlockAchievement(const std::string&) override {}
    void storeAchievements() override {}
    void uploadLeaderboardScore(const std::string&, int) override {}
    int updates = 0;
    int shutdowns = 0;
};

class AppStart : public zarn_test::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        std::filesystem::remove(settingsPath());
    }
    void TearDown() override {
        PlatformServiceHook = nullptr;
        AppFixture::TearDown();
        std::filesystem::remove(settingsPath());
    }
    static std::string settingsPath() { return Convinience::writablePath() + kSettingsFileName; }
    static std::string settingsOnDisk() {
        std::ifstream in(settingsPath(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(AppStart, FirstStartShowsTheSplashAtTheDefaultSizeAndWritesTheDefaultsAtExit) {
    {
        TestApp app;
        ASSERT_TRUE(app.applicationDidFinishLaunching());
        frame(0.0f);
        Director* director = Director::getInstance();
        EXPECT_EQ(director->getOpenGLView(), view);  // the existing view is kept
        EXPECT_EQ(view->getViewName(), "test");
        EXPECT_EQ(view->getFrameSize().width, 1280);
        EXPECT_EQ(view->getFrameSize().height, 720);
        EXPECT_EQ(view->getDesignResolutionSize().width, 1024);
        EXPECT_FLOAT_EQ(director->getAnimationInterval(), 1.0f / 60.0f);
        EXPECT_EQ(director->getProjection(), Director::Projection::_2D);
        EXPECT_FLOAT_EQ(director->getZNear(), -2000000.0f);
        auto* menu = dynamic_cast<ZUIMainMenuScene*>(director->getRunningScene());
        ASSERT_NE(menu, nullptr);
        EXPECT_NE(menu->getLayer()->splash, nullptr);
        EXPECT_FALSE(std::filesystem::exists(settingsPath()));
    }
    EXPECT_EQ(settingsOnDisk(), settingsText(SettingsRecord{}));
}

TEST_F(AppStart, StoredSettingsApplyAtStartUp) {
    std::ofstream(settingsPath(), std::ios::binary) << "RES_INDEX=0\nMUSIC_VOLUME=25\nFULLSCREEN=true\n";
    {
        TestApp app;
        app.applicationDidFinishLaunching();
        frame(0.0f);
        EXPECT_TRUE(view->isFullscreen());
        EXPECT_EQ(Settings.MUSIC_VOLUME, 25);
        auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
        ASSERT_NE(menu, nullptr);
        EXPECT_FLOAT_EQ(experimental::AudioEngine::getVolume(menu->getLayer()->musicId), 0.25f);
    }
    EXPECT_NE(settingsOnDisk().find("MUSIC_VOLUME=25\n"), std::string::npos);
}

TEST_F(AppStart, AnInstalledHookIsUpdatedEveryFrameAndShutDownOnce) {
    CountingServices services;
    {
        TestApp app;
        app.applicationDidFinishLaunching();
        frame(0.0f);
        PlatformServiceHook = &services;
        frames(3, 1.0f / 60.0f);
        EXPECT_EQ(services.updates, 3);
        EXPECT_EQ(services.shutdowns, 0);
    }
    EXPECT_EQ(services.shutdowns, 1);
}

TEST_F(AppStart, StartUpInstallsTheLocalAchievementsAndShutDownStoresAndUninstallsThem) {
    const std::string file = Convinience::writablePath() + Zarn::LocalAchievementService::kFileName;
    std::filesystem::remove(file);
    EXPECT_EQ(platformAchievements, nullptr);
    EXPECT_EQ(platformCallbacks, nullptr);
    {
        TestApp app;
        app.applicationDidFinishLaunching();
        EXPECT_NE(platformAchievements, nullptr);
        EXPECT_NE(platformCallbacks, nullptr);
        ASSERT_NE(PlatformServiceHook, nullptr);
        ASSERT_NE(AchievementTrackerHook, nullptr);
        frames(3, 1.0f / 60.0f);
        PlatformServiceHook->unlockAchievement("TEST_ACHIEVEMENT");
        EXPECT_FALSE(std::filesystem::exists(file)) << "unlocked, not yet stored";
    }
    EXPECT_EQ(PlatformServiceHook, nullptr);
    EXPECT_EQ(AchievementTrackerHook, nullptr);
    EXPECT_EQ(platformAchievements, nullptr);
    EXPECT_EQ(platformCallbacks, nullptr);
    EXPECT_TRUE(Zarn::LocalAchievementService(Convinience::writablePath()).isUnlocked("TEST_ACHIEVEMENT"));
    std::filesystem::remove(file);
}

// A scene whose per-frame update throws every time.
class BrokenScene : public Scene {
public:
    static BrokenScene* create() { return createWithInit<BrokenScene>(); }
    bool init() override {
        if (!Scene::init()) return false;
        scheduleUpdate();
        return true;
    }
    void update(float) override {
        ++calls;
        throw std::runtime_error("a broken visual");
    }
    int calls = 0;
};

TEST_F(AppStart, AFrameThatThrowsIsCaughtAndLeadsBackToTheMainMenu) {
    TestApp app;
    app.applicationDidFinishLaunching();
    frame(0.0f);
    BrokenScene* broken = BrokenScene::create();
    broken->retain();
    Director::getInstance()->replaceScene(broken);
    Application::stepFrame(1.0f / 60.0f);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), broken);
    for (int i = 0; i < 3; ++i) Application::stepFrame(1.0f / 60.0f);  // throws once, caught
    EXPECT_EQ(broken->calls, 1);
    EXPECT_FALSE(broken->isRunning());
    broken->release();
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->getLayer()->splash, nullptr);

    // Input handling that throws is caught at the same boundary.
    auto* listener = EventListenerKeyboard::create();
    listener->onKeyPressed = [](EventKeyboard::KeyCode, Event*) { throw std::runtime_error("a broken key"); };
    Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(listener, menu);
    Application::runGuarded([this] { pressKey(EventKeyboard::KeyCode::KEY_A); });
    for (int i = 0; i < 2; ++i) Application::stepFrame(1.0f / 60.0f);
    EXPECT_NE(dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene()), nullptr);
}

}  // namespace
