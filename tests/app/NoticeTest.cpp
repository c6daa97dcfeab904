#include <gtest/gtest.h>

#include "app/menus/ZUIMainMenuScene.h"
#include "app/widgets/NoticeLabel.h"
#include "engine/Director.h"
#include "engine/DrawList.h"
#include "engine/Scene.h"
#include "support/AppFixture.h"

using namespace cocos2d;

namespace {

constexpr char32_t kText[] = U"The connection to the game server was lost.";

// What the draw list shows of the notice this frame: its plate and its text,
// with their order in the frame, their opacity and their bounds in world
// space.
struct Seen {
    const DrawCommand* plate = nullptr;
    const DrawCommand* text = nullptr;
    std::size_t plateIndex = 0;
    std::size_t textIndex = 0;
    std::size_t last = 0;  // index of the last command of the frame
};

Seen look() {
    Seen seen;
    const std::vector<DrawCommand>& commands = Director::getInstance()->getDrawList().commands;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const DrawCommand& c = commands[i];
        if (c.glyphs != nullptr && c.glyphs->text == kText) {
            seen.text = &c;
            seen.textIndex = i;
        }
        if (c.kind == DrawKind::Rect) {
            seen.plate = &c;
            seen.plateIndex = i;
        }
    }
    seen.last = commands.empty() ? 0 : commands.size() - 1;
    return seen;
}

Rect worldBounds(const Node* node) {
    const Size size = node->getContentSize();
    const Vec2 a = node->convertToWorldSpace(Vec2::ZERO);
    const Vec2 b = node->convertToWorldSpace(Vec2(size.width, size.height));
    return Rect(a.x, a.y, b.x - a.x, b.y - a.y);
}

using NoticeTest = zarn_test::AppFixture;

// Over the busy main menu, a notice is white text on a dark plate larger than
// the text, drawn last (over everything), fully shown for four seconds; then
// it fades, and half a second later it is gone.
TEST_F(NoticeTest, ANoticeIsTextOnAPlateOverTheSceneForFourSeconds) {
    Scene* menu = ZUIMainMenuScene::create(0);
    run(menu);
    Node* notice = showNotice(menu, "The connection to the game server was lost.", 11);
    ASSERT_NE(notice, nullptr);
    frame(0.0f);

    Seen seen = look();
    ASSERT_NE(seen.plate, nullptr) << "no plate";
    ASSERT_NE(seen.text, nullptr) << "no text";
    EXPECT_LT(seen.plateIndex, seen.textIndex) << "the plate lies under the text";
    EXPECT_EQ(seen.textIndex, seen.last) << "the notice is drawn over the whole scene";
    EXPECT_EQ(seen.text->color, Color3B::WHITE);
    EXPECT_EQ(seen.text->opacity, 255);
    EXPECT_EQ(seen.plate->opacity, 255) << "the plate hides what is under it";
    EXPECT_LT(seen.plate->color.r + seen.plate->color.g + seen.plate->color.b, 3 * 60) << "a dark plate";
    const Rect plate = worldBounds(seen.plate->node);
    const Rect text = worldBounds(seen.text->node);
    EXPECT_LT(plate.getMinX(), text.getMinX());
    EXPECT_GT(plate.getMaxX(), text.getMaxX());
    EXPECT_LT(plate.getMinY(), text.getMinY());
    EXPECT_GT(plate.getMaxY(), text.getMaxY());
    const Size visible = Director::getInstance()->getVisibleSize();
    EXPECT_NEAR(plate.getMidX(), visible.width / 2.0f, 1.0f);

    // Four seconds in frames of 1/60 s, just short of the end: still whole.
    for (int i = 0; i < 239; ++i) frame(1.0f / 60.0f);
    seen = look();
    ASSERT_NE(seen.text, nullptr) << "gone before four seconds";
    EXPECT_EQ(seen.text->opacity, 255);
    ASSERT_NE(seen.plate, nullptr);
    EXPECT_EQ(seen.plate->opacity, 255);

    // Fading: both fade together.
    for (int i = 0; i < 16; ++i) frame(1.0f / 60.0f);
    seen = look();
    ASSERT_NE(seen.text, nullptr);
    EXPECT_LT(seen.text->opacity, 255);
    EXPECT_GT(seen.text->opacity, 0);
    ASSERT_NE(seen.plate, nullptr);
    EXPECT_LT(seen.plate->opacity, 255);

    for (int i = 0; i < 30; ++i) frame(1.0f / 60.0f);
    EXPECT_EQ(look().text, nullptr) << "still there after four and a half seconds";
    EXPECT_EQ(showNotice(nullptr, "x", 1), nullptr);
}

}  // namespace
