#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>

#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/start/AppDelegate.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

std::set<std::string> manifestNames(const std::string& kind = "") {
    std::set<std::string> names;
    for (const auto& [k, name] : zarn_test::uiManifest())
        if (kind.empty() || k == kind) names.insert(name);
    return names;
}

// Every string literal in app/ that names an asset file.
std::set<std::string> namesInCode() {
    const std::regex asset(R"re("([A-Za-z0-9_/.\-]+\.(png|mp3|ttf|plist))")re");
    std::set<std::string> names;
    for (const auto& entry :
         std::filesystem::recursive_directory_iterator(std::string(ZARN_SOURCE_DIR) + "/app")) {
        const std::string ext = entry.path().extension().string();
        if (ext != ".cpp" && ext != ".h") continue;
        std::ifstream in(entry.path());
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (auto it = std::sregex_iterator(text.begin(), text.end(), asset); it != std::sregex_iterator();
             ++it)
            names.insert((*it)[1].str());
    }
    return names;
}

TEST(UiManifest, NamesEveryAssetTheCodeAsksForAndNothingElse) {
    const std::set<std::string> code = namesInCode();
    std::set<std::string> listed = manifestNames();
    const std::set<std::string> frames = zarn_test::menuFrames();
    ASSERT_FALSE(frames.empty()) << "frames.manifest has no [menus] family";
    for (const std::string& frame : frames)
        EXPECT_TRUE(listed.insert(frame).second) << frame << " listed twice";
    ASSERT_FALSE(code.empty());
    for (const std::string& name : code)
        EXPECT_TRUE(listed.count(name)) << name << " is not in assets/ui.manifest";
    for (const std::string& name : listed)
        EXPECT_TRUE(code.count(name)) << name << " is listed but never asked for";
    for (const char* sheet : AppDelegate::kSpriteSheets)
        EXPECT_TRUE(manifestNames("sheet").count(sheet)) << sheet;
}

class ManifestWalk : public zarn_test::AppFixture {
protected:
    // Frames and fonts of the last drawn frame must be listed.
    void checkFrame(const char* where) {
        const DrawList& list = Director::getInstance()->getDrawList();
        for (const DrawCommand& c : list.commands) {
            if (!c.frameName.empty()) {
                EXPECT_TRUE(listedFrames.count(c.frameName)) << where << ": " << c.frameName;
            }
        }
    }
    const std::set<std::string> listedFrames = zarn_test::menuFrames();
};

TEST_F(ManifestWalk, EveryFrameAndSoundOfTheMenusIsListed) {
    auto* scene = ZUIMainMenuScene::create(1);
    run(scene);
    checkFrame("splash");
    pressKey(EventKeyboard::KeyCode::KEY_SPACE);
    frames(20, 0.1f);
    checkFrame("menu");
    ZUIMainMenuLayer* layer = scene->getLayer();
    mouseTo(centreOf(layer->mainMenu->storyButton));
    layer->openSettings(50);
    frame();
    checkFrame("settings");
    Director::getInstance()->replaceScene(ZUICreditsScene::create());
    frames(2, 0.1f);
    checkFrame("credits");
    const std::set<std::string> sounds = manifestNames("sound");
    const std::set<std::string> music = manifestNames("music");
    ASSERT_FALSE(audioLog.plays.empty());
    for (std::size_t i = 0; i < audioLog.plays.size(); ++i) {
        const std::string name = played()[i];
        EXPECT_TRUE((audioLog.plays[i].loop ? music : sounds).count(name)) << name;
    }
}

}  // namespace
