#include <gtest/gtest.h>

#include "AssetNames.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/DrawNode.h"
#include "engine/FileUtils.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"

using namespace cocos2d;

namespace {

const Size kScreen(1494.4f, 825.543f);  // the screen the panel paints on its monitor

// The result panel built over the generated sheets: its parts take the
// sizes the art gives them.
class ResultPanelArt : public ::testing::Test {
protected:
    void SetUp() override {
        FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
        for (const std::string& sheet : zarn_test::namesOfKind("sheet"))
            SpriteFrameCache::getInstance()->addSpriteFramesWithFile(sheet);
        panel = ZUIMedalResult::create();
        ASSERT_NE(panel, nullptr);
        panel->retain();
    }
    void TearDown() override {
        if (panel != nullptr) panel->release();
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        TextureCache::getInstance()->removeAllTextures();
    }
    // The panel's sprite showing the frame, in panel coordinates.
    Rect part(const std::string& frame) const {
        for (const Node* child : panel->getChildren())
            if (const auto* sprite = dynamic_cast<const Sprite*>(child);
                sprite != nullptr && sprite->getSpriteFrame() != nullptr &&
                sprite->getSpriteFrame()->getName() == frame)
                return sprite->getBoundingBox();
        ADD_FAILURE() << "no " << frame << " on the panel";
        return Rect();
    }
    // A panel rectangle where the host shows it: scale 0.4, the panel's
    // middle at the 1024 x 576 view's middle + (-30, 50).
    Rect onScreen(const Rect& r) const {
        const Size size = panel->getContentSize();
        const Vec2 corner = Vec2(512 - 30, 288 + 50) - Vec2(size.width, size.height) * 0.2f;
        return Rect(corner + r.origin * 0.4f, r.size * 0.4f);
    }
    static bool inside(const Rect& inner, const Rect& outer) {
        return inner.getMinX() >= outer.getMinX() && inner.getMaxX() <= outer.getMaxX() &&
               inner.getMinY() >= outer.getMinY() && inner.getMaxY() <= outer.getMaxY();
    }

    ZUIMedalResult* panel = nullptr;
};

TEST_F(ResultPanelArt, TheMonitorFramesItsScreenAndThePartsHoldIt) {
    const Rect monitor = part("medal_screen_monitor.png");
    // The fill paints the screen from its position, in monitor coordinates.
    const Rect screen(monitor.origin + panel->getMonitorFill()->getPosition(), kScreen);
    EXPECT_TRUE(inside(screen, monitor)) << "the screen's paint runs out of the monitor";
    EXPECT_GT(screen.size.width, monitor.size.width * 0.8f) << "the screen is lost in the monitor";

    const Rect face = part("medal_screen_part_face.png");
    EXPECT_GT(face.getMaxY(), monitor.getMaxY() + 100) << "the face hides behind the monitor";
    for (const char* hand : {"medal_screen_part_hand_left.png", "medal_screen_part_hand_right.png"}) {
        const Rect r = part(hand);
        EXPECT_TRUE(r.intersectsRect(monitor)) << hand << " does not reach the monitor";
        EXPECT_FALSE(inside(r, monitor)) << hand << " lies wholly on the monitor";
    }
    const Rect small = part("medal_screen_small_panel.png");
    const Rect label = panel->getBestLabel()->getBoundingBox();
    EXPECT_LE(label.size.width, small.size.width) << "the caption is wider than its panel";
}

TEST_F(ResultPanelArt, WhereTheHostShowsItTheMonitorAndTheButtonsAreInView) {
    const Rect view(0, 0, 1024, 576);
    const Rect monitor = onScreen(part("medal_screen_monitor.png"));
    EXPECT_TRUE(inside(monitor, view)) << monitor.origin.x << "," << monitor.origin.y << " "
                                       << monitor.size.width << "x" << monitor.size.height;
    for (const ZUICoreButton* button :
         {panel->getRetryButton(), panel->getNextButton(), panel->getLevelsButton()})
        EXPECT_TRUE(inside(onScreen(button->getBoundingBox()), view));
    // The face shows between the monitor's top and the view's.
    EXPECT_GT(view.getMaxY() - monitor.getMaxY(), 30.0f);
}

}  // namespace
