#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "../support/PlayFixture.h"
#include "app/ingame/DialogWindowImpl.h"
#include "app/start/Settings.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/LabelEx.h"
#include "engine/DrawList.h"
#include "world/triggers/DialogWindow.h"

// Test names and messages show a size as its width and height.
static void PrintTo(const Resolution& size, std::ostream* out) {
    *out << size.width << " x " << size.height;
}

namespace {

using cocos2d::DrawCommand;
using cocos2d::DrawKind;
using cocos2d::Rect;
using cocos2d::Vec2;

// Where a command draws, in design units: a sprite's quad corners, a draw
// node's vertices, a text run's pen positions.
std::vector<Vec2> drawnPoints(const DrawCommand& c) {
    std::vector<Vec2> points;
    const auto add = [&](const Vec2& local) { points.push_back(c.transform.transformPoint(local)); };
    switch (c.kind) {
        case DrawKind::Sprite:
        case DrawKind::Rect:
            add(c.quad.origin);
            add(c.quad.origin + Vec2(c.quad.size.width, 0));
            add(c.quad.origin + Vec2(0, c.quad.size.height));
            add(c.quad.origin + Vec2(c.quad.size.width, c.quad.size.height));
            break;
        case DrawKind::Shapes:
            for (const auto* part : {&c.shapes->triangles, &c.shapes->lines, &c.shapes->points})
                for (const cocos2d::ShapeVertex& v : *part) add(v.position);
            break;
        case DrawKind::Glyphs:
            for (const cocos2d::Glyph& g : c.glyphs->glyphs) add(g.origin);
            break;
    }
    return points;
}

bool descends(const cocos2d::Node* node, const cocos2d::Node* ancestor) {
    for (; node != nullptr; node = node->getParent())
        if (node == ancestor) return true;
    return false;
}

// Floor 0 of the story, the room with walls whose greeting opens as the
// level starts, through the real single-play host.
class FirstFloor : public zarn_test::PlayFixture {
protected:
    // Starts floor 0 in a headless window of the size and steps until its
    // greeting is open; null when it does not open.
    DialogWindowImpl* openGreeting(int width, int height) {
        view->setWindowed(width, height);
        PlayTestSceneNode* h = start(&progress, levels);
        if (h == nullptr) return nullptr;
        auto* dialog = dynamic_cast<DialogWindowImpl*>(h->getInGameScene()->getDialogWindow());
        if (dialog == nullptr || !stepUntil([&] { return dialog->isOpen(); }, 200)) return nullptr;
        return dialog;
    }

    Zarn::LevelList levels{level("DEMO_EmptyRoomWithWalls")};
    Zarn::SinglePlayerData progress = [] {
        Zarn::SinglePlayerData p;
        p.setLevelCount(1);
        p.enableMode(Zarn::playMode::deaths);
        return p;
    }();
};

// Floor 0 in a headless window of each size the resolution selector
// offers. Checked in window pixels: the room sits in the middle of the
// window, and the greeting's box, the speaker's name and every letter of its
// lines lie where the window shows the game.
class LevelFraming : public FirstFloor, public ::testing::WithParamInterface<Resolution> {
protected:
    // Inside the part of the window that shows the design area (pixels).
    ::testing::AssertionResult shown(const Vec2& design) const {
        const Vec2 p = toWindow(design);
        const Rect port = view->getViewPortRect();
        constexpr float kPixel = 0.5f;
        if (p.x >= port.getMinX() - kPixel && p.x <= port.getMaxX() + kPixel &&
            p.y >= port.getMinY() - kPixel && p.y <= port.getMaxY() + kPixel)
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure()
               << "design (" << design.x << ", " << design.y << ") is window (" << p.x << ", " << p.y
               << "), outside " << port.getMinX() << ".." << port.getMaxX() << " x " << port.getMinY() << ".."
               << port.getMaxY();
    }
    // Every point the commands draw is shown; false names the first that is not.
    ::testing::AssertionResult allShown(const std::vector<const DrawCommand*>& commands) const {
        for (const DrawCommand* c : commands)
            for (const Vec2& p : drawnPoints(*c))
                if (::testing::AssertionResult r = shown(p); !r) return r;
        return ::testing::AssertionSuccess();
    }
};

TEST_P(LevelFraming, TheRoomIsCentredAndItsGreetingLiesInsideTheWindow) {
    const Resolution size = GetParam();
    DialogWindowImpl* dialog = openGreeting(size.width, size.height);
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(stepUntil([&] { return !dialog->isOpening() && !dialog->isTyping(); }, 400));
    ASSERT_TRUE(step());
    const cocos2d::DrawList& list = cocos2d::Director::getInstance()->getDrawList();

    // The room: its floor and wall tiles stand on their cells' lower-left
    // corners; the grid of cells has as much window left as right of it,
    // and as much above as below.
    const float cell = cellSize() * Zarn::InGameScene::kWorldScale;
    Vec2 low(1e9f, 1e9f);
    Vec2 high(-1e9f, -1e9f);
    int tiles = 0;
    for (const char* frame : {"floor_new_0.png", "wall_new_front_0.png"}) {
        for (const DrawCommand* c : list.findByFrame(frame)) {
            const Vec2 corner = c->transform.transformPoint(c->quad.origin);
            low = Vec2(std::min(low.x, corner.x), std::min(low.y, corner.y));
            high = Vec2(std::max(high.x, corner.x + cell), std::max(high.y, corner.y + cell));
            ++tiles;
        }
    }
    ASSERT_GT(tiles, 0);
    const Zarn::CellGrid& grid = host()->getClient().getGameMap().grid;
    EXPECT_NEAR(high.x - low.x, static_cast<float>(grid.getColumns()) * cell, 0.01f);
    EXPECT_NEAR(high.y - low.y, static_cast<float>(grid.getRows()) * cell, 0.01f);
    const Vec2 lowerLeft = toWindow(low);
    const Vec2 upperRight = toWindow(high);
    const float left = lowerLeft.x;
    const float right = static_cast<float>(size.width) - upperRight.x;
    const float top = upperRight.y;
    const float bottom = static_cast<float>(size.height) - lowerLeft.y;
    EXPECT_GE(left, 0.0f);
    EXPECT_NEAR(left, right, 1.0f);
    EXPECT_GE(top, 0.0f);
    EXPECT_NEAR(top, bottom, 1.0f);

    // The greeting: the box (with its name plate and avatar frame), the
    // speaker's name and every letter of both lines.
    EXPECT_TRUE(allShown(list.findByNode(dialog->getBox())));
    const std::vector<const DrawCommand*> name = list.findByNode(dialog->getNameLabel());
    ASSERT_EQ(name.size(), 1u);
    EXPECT_EQ(name[0]->glyphs->text, U"tali");
    EXPECT_TRUE(allShown(name));
    ASSERT_EQ(dialog->getLineLabels().size(), 2u);
    EXPECT_EQ(dialog->getLineLabels()[0]->getString(), "Welcome to the lab, little one.");
    for (const LabelEx* line : dialog->getLineLabels()) {
        std::vector<const DrawCommand*> letters;
        for (const DrawCommand& c : list.commands)
            if (c.kind == DrawKind::Glyphs && descends(c.node, line)) letters.push_back(&c);
        EXPECT_FALSE(letters.empty()) << line->getString();
        EXPECT_TRUE(allShown(letters)) << line->getString();
    }
    EXPECT_TRUE(allShown(list.findByFrame(DialogTapper::kTriangleFrame)));

    // Nothing else the level draws (room, player, heads-up display) leaves
    // the window either.
    std::vector<const DrawCommand*> everything;
    for (const DrawCommand& c : list.commands) everything.push_back(&c);
    EXPECT_TRUE(allShown(everything));
}

// Floor 0 ended while its greeting is still open (never tapped away): the
// greeting stays as the room left it, and the result panel drops in over it
// (every command of the panel after every command of the greeting).
TEST_F(FirstFloor, TheResultPanelLiesOverAGreetingLeftOpen) {
    DialogWindowImpl* dialog = openGreeting(1024, 576);
    ASSERT_NE(dialog, nullptr);
    PlayTestSceneNode* h = host();
    h->onLevelFinished();
    ZUIMedalResult* panel = h->getResultPanel();
    ASSERT_NE(panel, nullptr);
    for (int i = 0; i < 200 && panel->getNumberOfRunningActions() > 0; ++i) frame(kTick);
    ASSERT_EQ(panel->getNumberOfRunningActions(), 0) << "the panel has dropped in and revealed its cards";
    frame(kTick);
    ASSERT_TRUE(dialog->isOpen());

    const cocos2d::DrawList& list = cocos2d::Director::getInstance()->getDrawList();
    int lastOfDialog = -1;
    int firstOfPanel = -1;
    int panelCommands = 0;
    for (int i = 0; i < static_cast<int>(list.commands.size()); ++i) {
        const cocos2d::Node* node = list.commands[i].node;
        if (descends(node, dialog->getBox()) || descends(node, dialog->getTapper())) lastOfDialog = i;
        for (const LabelEx* line : dialog->getLineLabels())
            if (descends(node, line)) lastOfDialog = i;
        if (descends(node, panel)) {
            if (firstOfPanel < 0) firstOfPanel = i;
            ++panelCommands;
        }
    }
    ASSERT_GE(lastOfDialog, 0) << "the greeting is still drawn";
    ASSERT_GT(panelCommands, 0);
    EXPECT_LT(lastOfDialog, firstOfPanel);
}

std::string sizeName(const ::testing::TestParamInfo<Resolution>& info) {
    return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
}

INSTANTIATE_TEST_SUITE_P(EverySelectableSize, LevelFraming, ::testing::ValuesIn(resolutionList), sizeName);

}  // namespace
