#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <string>

#include "../support/AppFixture.h"
#include "app/menus/ZUIArcadePanel.h"
#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/menus/ZUIMultiplayerPanelEx.h"
#include "app/menus/ZUISettingsMenu.h"
#include "app/widgets/ZUIButton.h"
#include "app/widgets/ZUICoreButton.h"

using namespace cocos2d;

namespace {

class BackIcons;

// A page with a back icon: shows the page and answers its back icon, whose
// actions the fixture counts. Every one of them leads to the main menu.
struct Page {
    const char* name;
    ZUIPressableNode* (BackIcons::*open)();
};

// The back icon of every page clicked twice within one frame (a double click
// that the frame's input holds at once), then once more in the next frame
// while the page is still on its way out.
void PrintTo(const Page& page, std::ostream* out) {
    *out << page.name;
}

class BackIcons : public zarn_test::AppFixture, public ::testing::WithParamInterface<Page> {
public:
    ZUIPressableNode* arcade() {
        ZUIMainMenuLayer* layer = startMenu();
        layer->showArcadePanel();
        frames(10, 0.1f);
        return counted(layer->arcadePanel->backButton);
    }
    ZUIPressableNode* multiplayer() {
        ZUIMainMenuLayer* layer = startMenu();
        layer->showMultiplayerPanel();
        frames(10, 0.1f);
        return counted(layer->multiplayerPanel->backButton);
    }
    ZUIPressableNode* settings() {
        ZUIMainMenuLayer* layer = startMenu();
        layer->openSettings(50);
        frame();
        return counted(layer->settingsMenu->backButton);
    }
    ZUIPressableNode* endOfLevels() {
        ZUIBetaEndScene* end = ZUIBetaEndScene::create();
        run(end);
        return counted(end->backButton);
    }
    ZUIPressableNode* credits() {
        ZUICreditsScene* scene = ZUICreditsScene::create();
        run(scene);
        return counted(scene->backButton);
    }

protected:
    static ZUIMainMenuLayer* menu() {
        auto* scene = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
        return scene != nullptr ? scene->getLayer() : nullptr;
    }
    ZUIMainMenuLayer* startMenu() {
        run(ZUIMainMenuScene::create(0));
        return menu();
    }
    // Counts the times the button acts, around what it does.
    template <class Button>
    ZUIPressableNode* counted(Button* button) {
        std::function<void()> inner = button->callback;
        button->callback = [this, inner] {
            ++actions;
            if (inner) inner();
        };
        return button;
    }
    long pressSounds() const {
        const std::vector<std::string> all = played();
        return std::count(all.begin(), all.end(), std::string("sound/ui/button/press.mp3"));
    }

    int actions = 0;
};

TEST_P(BackIcons, TwoClicksInOneFrameLeaveThePageOnce) {
    ZUIPressableNode* back = (this->*GetParam().open)();
    ASSERT_NE(back, nullptr);
    back->retain();  // clicked again after its page may have left the tree
    const long soundsBefore = pressSounds();
    click(centreOf(back));
    click(centreOf(back));
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(pressSounds(), soundsBefore + 1) << "the second press starts nothing";
    frame(1.0f / 60);
    click(centreOf(back));
    frames(12, 0.1f);
    back->release();

    // The main menu as one click leaves it: no page, one button trio.
    ZUIMainMenuLayer* layer = menu();
    ASSERT_NE(layer, nullptr);
    EXPECT_EQ(layer->arcadePanel, nullptr);
    EXPECT_EQ(layer->multiplayerPanel, nullptr);
    EXPECT_EQ(layer->settingsMenu, nullptr);
    EXPECT_EQ(layer->contentNode->getPosition(), Vec2::ZERO);
    int trios = 0;
    int pages = 0;
    for (const Node* child : layer->contentNode->getChildren()) {
        trios += dynamic_cast<const ZUIMainMenu*>(child) != nullptr;
        pages += dynamic_cast<const ZUIArcadePanel*>(child) != nullptr ||
                 dynamic_cast<const ZUIMultiplayerPanelEx*>(child) != nullptr ||
                 dynamic_cast<const ZUISettingsMenu*>(child) != nullptr;
    }
    EXPECT_EQ(trios, 1);
    EXPECT_EQ(pages, 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryPage, BackIcons,
    ::testing::Values(Page{"Arcade", &BackIcons::arcade}, Page{"Multiplayer", &BackIcons::multiplayer},
                      Page{"Settings", &BackIcons::settings}, Page{"EndOfLevels", &BackIcons::endOfLevels},
                      Page{"Credits", &BackIcons::credits}),
    [](const ::testing::TestParamInfo<Page>& info) { return std::string(info.param.name); });

}  // namespace
