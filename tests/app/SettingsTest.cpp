#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/start/Settings.h"
#include "engine/Director.h"
#include "engine/GLView.h"
#include "foundation/SaveFiles.h"

namespace {

SettingsRecord parsed(const std::string& text, std::vector<std::string>* problems = nullptr) {
    SettingsRecord record;
    std::vector<std::string> notes;
    parseSettingsText(text, record, notes);
    if (problems != nullptr) *problems = notes;
    return record;
}

SettingsRecord with(auto change) {
    SettingsRecord r;
    change(r);
    return r;
}

TEST(SettingsParsing, ValuesConvertWholeOrStayAndRangesFallBackToDefaults) {
    struct Case {
        const char* name;
        std::string text;
        SettingsRecord expected;
        bool logged;
    };
    const std::vector<Case> cases = {
        {"empty file", "", SettingsRecord{}, false},
        {"only music", "MUSIC_VOLUME=40\n", with([](auto& r) { r.MUSIC_VOLUME = 40; }), false},
        {"every key, any order",
         "NETWORK_LATENCY=0\nLAST_MULTIPLAYER_NAME=rat king\nFULLSCREEN=true\nRES_INDEX=12\nEFFECT_VOLUME=0\n"
         "MUSIC_VOLUME=100\nLAST_ARCADE_INDEX=4\n",
         with([](auto& r) {
             r.NETWORK_LATENCY = 0;
             r.LAST_MULTIPLAYER_NAME = "rat king";
             r.FULLSCREEN = true;
             r.RES_INDEX = 12;
             r.EFFECT_VOLUME = 0;
             r.LAST_ARCADE_INDEX = 4;
         }),
         false},
        {"full screen as 1", "FULLSCREEN=1\n", with([](auto& r) { r.FULLSCREEN = true; }), false},
        {"full screen as yes", "FULLSCREEN=yes\n", SettingsRecord{}, true},
        {"latency 300", "NETWORK_LATENCY=300\n", with([](auto& r) { r.NETWORK_LATENCY = 300; }), false},
        {"latency 301", "NETWORK_LATENCY=301\n", SettingsRecord{}, true},
        {"latency -5", "NETWORK_LATENCY=-5\n", SettingsRecord{}, true},
        {"letters", "EFFECT_VOLUME=abc\n", SettingsRecord{}, true},
        {"trailing letters", "EFFECT_VOLUME=12abc\n", SettingsRecord{}, true},
        {"beyond 32 bits", "MUSIC_VOLUME=99999999999\n", SettingsRecord{}, true},
        {"volume 101", "EFFECT_VOLUME=101\nMUSIC_VOLUME=7\n", with([](auto& r) { r.MUSIC_VOLUME = 7; }),
         true},
        {"volume -1", "MUSIC_VOLUME=-1\n", SettingsRecord{}, true},
        {"resolution 13", "RES_INDEX=13\n", SettingsRecord{}, true},
        {"resolution -1", "RES_INDEX=-1\n", SettingsRecord{}, true},
        {"spaces around", "  RES_INDEX = 3 \n", with([](auto& r) { r.RES_INDEX = 3; }), false},
        {"keys in a section do not count", "[audio]\nMUSIC_VOLUME=5\n", SettingsRecord{}, false},
        {"line without equals", "MUSIC_VOLUME=5\ngarbage\n", SettingsRecord{}, true},
        {"duplicate key", "MUSIC_VOLUME=5\nMUSIC_VOLUME=6\n", SettingsRecord{}, true},
        {"unmatched bracket", "[audio\nMUSIC_VOLUME=5\n", SettingsRecord{}, true},
        {"comment", "; a note\nRES_INDEX=0\n", with([](auto& r) { r.RES_INDEX = 0; }), false},
        {"too large", std::string(kMaxSettingsFileBytes + 1, '\n'), SettingsRecord{}, true},
    };
    for (const Case& c : cases) {
        std::vector<std::string> problems;
        EXPECT_EQ(parsed(c.text, &problems), c.expected) << c.name;
        EXPECT_EQ(!problems.empty(), c.logged) << c.name;
    }
}

TEST(SettingsParsing, AKeyThatDoesNotConvertKeepsTheCurrentValue) {
    SettingsRecord record;
    record.MUSIC_VOLUME = 33;
    std::vector<std::string> problems;
    parseSettingsText("MUSIC_VOLUME=loud\n", record, problems);
    EXPECT_EQ(record.MUSIC_VOLUME, 33);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("MUSIC_VOLUME"), std::string::npos);
}

TEST(SettingsText, SevenKeysInOrderWithLineFeeds) {
    EXPECT_EQ(settingsText(SettingsRecord{}),
              "EFFECT_VOLUME=100\nMUSIC_VOLUME=100\nRES_INDEX=1\nFULLSCREEN=false\nLAST_ARCADE_INDEX=2\n"
              "LAST_MULTIPLAYER_NAME=\nNETWORK_LATENCY=166\n");
    const SettingsRecord changed = with([](auto& r) {
        r.MUSIC_VOLUME = 40;
        r.FULLSCREEN = true;
        r.LAST_MULTIPLAYER_NAME = "Ratty";
    });
    EXPECT_EQ(parsed(settingsText(changed)), changed);
}

TEST(ResolutionList, ThirteenSizesAscendingByWidth) {
    ASSERT_EQ(resolutionList.size(), 13u);
    EXPECT_EQ(resolutionList[1].width, 1280);
    EXPECT_EQ(resolutionList[1].height, 720);
    EXPECT_EQ(resolutionList[12].width, 3840);
    for (std::size_t i = 1; i < resolutionList.size(); ++i)
        EXPECT_LE(resolutionList[i - 1].width, resolutionList[i].width);
}

// The file on disk: loading, the defaults at exit, atomic replacement.
class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        resetSettingsForTests();
        std::filesystem::remove(path());
    }
    void TearDown() override {
        resetSettingsForTests();
        std::filesystem::remove(path());
    }
    static std::string path() { return Convinience::writablePath() + kSettingsFileName; }
    static void write(const std::string& text) { std::ofstream(path(), std::ios::binary) << text; }
    static std::string read() {
        std::ifstream in(path(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(SettingsFile, NoFileKeepsTheDefaultsAndSavingWritesThem) {
    loadSettings();
    EXPECT_EQ(Settings, SettingsRecord{});
    saveSettings();
    EXPECT_EQ(read(), settingsText(SettingsRecord{}));
}

TEST_F(SettingsFile, OneLineFileLoadsAndSavesAllSevenKeys) {
    write("MUSIC_VOLUME=40");
    loadSettings();
    EXPECT_EQ(Settings.MUSIC_VOLUME, 40);
    EXPECT_EQ(Settings.EFFECT_VOLUME, 100);
    saveSettings();
    EXPECT_EQ(read(), settingsText(Settings));
    EXPECT_NE(read().find("MUSIC_VOLUME=40\n"), std::string::npos);
}

TEST_F(SettingsFile, SavingLeavesNoTemporaryFileBehind) {
    saveSettings();
    Settings.EFFECT_VOLUME = 12;
    saveSettings();
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(Convinience::writablePath()))
        if (entry.path().filename().string().rfind("settings.ini", 0) == 0) ++files;
    EXPECT_EQ(files, 1);
    EXPECT_NE(read().find("EFFECT_VOLUME=12\n"), std::string::npos);
}

TEST_F(SettingsFile, ApplyingSizesTheWindowAndGoesFullScreenWhenStored) {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    director->reset();
    cocos2d::GLView* view = cocos2d::GLView::create("test", cocos2d::Rect(0, 0, 1024, 576));
    director->setOpenGLView(view);
    applySettings();
    EXPECT_EQ(view->getFrameSize().width, 1280);
    EXPECT_EQ(view->getFrameSize().height, 720);
    EXPECT_FALSE(view->isFullscreen());
    Settings.RES_INDEX = 99;  // set by code past the list: the default entry
    Settings.FULLSCREEN = true;
    applySettings();
    EXPECT_TRUE(view->isFullscreen());
    director->reset();
}

}  // namespace
