#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "../support/AppFixture.h"
#include "app/menus/ZUIArcadePanel.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/menus/ZUIRotateButtonMenu.h"
#include "app/start/Settings.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedExpandableButton.h"
#include "app/widgets/ZUISkewedRectButton.h"

using namespace cocos2d;

namespace {

// The arcade page as the player reaches it: the main menu (no splash) with
// the ARCADE button pressed. Art units on the page are 0.4 design units, and
// the page's origin is the screen's centre (512, 288).
class ArcadePanel : public zarn_test::AppFixture {
protected:
    void open(u32 storedIndex = 2) {
        Settings.LAST_ARCADE_INDEX = storedIndex;
        scene = ZUIMainMenuScene::create(0);
        if (Director::getInstance()->getRunningScene() == nullptr) {
            run(scene);
        } else {
            Director::getInstance()->replaceScene(scene);
            frame();
        }
        layer = scene->getLayer();
        click(centreOf(layer->mainMenu->arcadeButton));
        panel = layer->arcadePanel;
        ASSERT_NE(panel, nullptr);
        carousel = panel->carousel;
        ASSERT_NE(carousel, nullptr);
    }
    // Long enough for the slide, the fan-out and every move to end.
    void settle() {
        frame();
        frames(10, 0.1f);
    }
    ZUISkewedExpandableButton* button(std::size_t i) const { return carousel->getButtons().at(i); }
    Label* nameOf(std::size_t i) const {
        return static_cast<Label*>(button(i)->container->getChildren().at(1));
    }
    Label* descriptionOf(std::size_t i) const {
        return static_cast<Label*>(button(i)->container->getChildren().at(2));
    }
    // The entry that stands expanded in the layout, or -1.
    int front() const {
        const auto& items = carousel->getItems();
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i].expanded) return static_cast<int>(i);
        return -1;
    }
    // The middle of the part of a button's box that is on screen.
    Vec2 visiblePointOf(std::size_t i) const {
        const Rect box = button(i)->getBoundingBox();
        const Vec2 a = carousel->convertToWorldSpace(Vec2(box.getMinX(), box.getMinY()));
        const Vec2 b = carousel->convertToWorldSpace(Vec2(box.getMaxX(), box.getMaxY()));
        const float left = std::max(a.x, 0.0f), right = std::min(b.x, 1024.0f);
        const float bottom = std::max(a.y, 0.0f), top = std::min(b.y, 576.0f);
        EXPECT_LT(left, right) << "entry " << i << " is off screen";
        EXPECT_LT(bottom, top) << "entry " << i << " is off screen";
        return Vec2((left + right) / 2, (bottom + top) / 2);
    }
    void expectButtonsAtLayout(const std::string& where) const {
        const auto& items = carousel->getItems();
        for (std::size_t i = 0; i < items.size(); ++i) {
            EXPECT_FLOAT_EQ(button(i)->getPositionX(), items[i].position.x) << where << " entry " << i;
            EXPECT_FLOAT_EQ(button(i)->getPositionY(), items[i].position.y) << where << " entry " << i;
            EXPECT_EQ(button(i)->isExpanded(), items[i].expanded) << where << " entry " << i;
        }
    }
    // The look of an entry in the last frame: face colour, the name's colour
    // and place, whether the description is drawn at full height.
    void expectEntryLook(std::size_t i, bool inFront, const std::string& where) const {
        const DrawList& list = Director::getInstance()->getDrawList();
        const auto face = list.findByNode(button(i)->getFace());
        ASSERT_FALSE(face.empty()) << where;
        EXPECT_EQ(Color3B(face[0]->shapes->triangles.at(0).color),
                  inFront ? Color3B(255, 207, 3) : Color3B(255, 255, 255))
            << where << " entry " << i;
        const auto name = list.findByNode(nameOf(i));
        ASSERT_EQ(name.size(), 1u) << where;
        ASSERT_NE(name[0]->glyphs, nullptr);
        const std::string text = ZUIRotateButtonMenu::kEntries[i].name;
        EXPECT_EQ(name[0]->glyphs->text, std::u32string(text.begin(), text.end()));
        EXPECT_EQ(nameOf(i)->getString(), ZUIRotateButtonMenu::kEntries[i].name);
        EXPECT_EQ(name[0]->glyphs->textColor, inFront ? Color4B(221, 47, 0, 255) : Color4B(51, 51, 51, 255))
            << where << " entry " << i;
        EXPECT_EQ(name[0]->opacity, 255);
        const float height = button(i)->getContentSize().height;
        const Vec2 namePlace =
            inFront ? Vec2(0, height * 0.5f - nameOf(i)->getContentSize().height) : Vec2::ZERO;
        EXPECT_EQ(nameOf(i)->getPosition(), namePlace) << where << " entry " << i;
        EXPECT_FLOAT_EQ(descriptionOf(i)->getScaleY(), inFront ? 1.0f : 0.0f) << where << " entry " << i;
        EXPECT_EQ(descriptionOf(i)->getString(), ZUIRotateButtonMenu::kEntries[i].description);
    }

    ZUIMainMenuScene* scene = nullptr;
    ZUIMainMenuLayer* layer = nullptr;
    ZUIArcadePanel* panel = nullptr;
    ZUIRotateButtonMenu* carousel = nullptr;
    // Where the carousel's origin (the front entry's centre) is on screen.
    const Vec2 frontPoint{512 - 350 * 0.4f, 288};
};

TEST_F(ArcadePanel, ShowsTheCardItsTitleTheCarouselAndTheBackIcon) {
    open();
    settle();
    const auto& children = panel->getChildren();
    ASSERT_EQ(children.size(), 4u);
    const Node* card = children.at(0);
    EXPECT_EQ(card->getPosition(), Vec2(216, -640));
    EXPECT_EQ(card->getContentSize(), Size(994, 1050.69f));
    auto* title = dynamic_cast<Label*>(children.at(1));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->getString(), "LEADERBOARD");
    EXPECT_EQ(title->getTextColor(), Color4B(27, 76, 47, 255));
    // Centred on the card, its top 30 below the card's top edge.
    EXPECT_FLOAT_EQ(title->getPositionX(), 216 + 497);
    EXPECT_FLOAT_EQ(title->getPositionY() + title->getContentSize().height / 2, -640 + 1050.69f - 30);
    EXPECT_EQ(children.at(2), carousel);
    EXPECT_EQ(carousel->getPosition(), Vec2(-350, 0));
    EXPECT_EQ(children.at(3), panel->backButton);

    const DrawList& list = Director::getInstance()->getDrawList();
    const auto shapes = list.findByNode(card);
    ASSERT_EQ(shapes.size(), 1u);
    const auto& triangles = shapes[0]->shapes->triangles;
    ASSERT_FALSE(triangles.empty());
    EXPECT_EQ(Color3B(triangles.front().color), Color3B(54, 163, 101));
    EXPECT_EQ(Color3B(triangles.back().color), Color3B(223, 244, 227));
    // The card's bottom-left corner on screen.
    EXPECT_NEAR(shapes[0]->transform.m[12], 512 + 216 * 0.4f, 1e-3);
    EXPECT_NEAR(shapes[0]->transform.m[13], 288 - 640 * 0.4f, 1e-3);

    // Nothing but the title is written on the card.
    const Rect cardOnScreen(512 + 216 * 0.4f, 288 - 640 * 0.4f, 994 * 0.4f, 1050.69f * 0.4f);
    int texts = 0;
    for (const DrawCommand& c : list.commands) {
        if (c.kind != DrawKind::Glyphs) continue;
        const Vec2 at = c.node->convertToWorldSpace(
            Vec2(c.node->getContentSize().width / 2, c.node->getContentSize().height / 2));
        if (!cardOnScreen.containsPoint(at)) continue;
        ++texts;
        EXPECT_EQ(c.node, title);
        EXPECT_EQ(c.glyphs->text, U"LEADERBOARD");
    }
    EXPECT_EQ(texts, 1);

    // The back icon's top and right edges lie 50 art units (20 on screen)
    // inside the screen's.
    const auto icon = list.findByFrame("icon_back.png");
    ASSERT_EQ(icon.size(), 1u);
    const Size iconSize = panel->backButton->getContentSize();
    const Vec2 centre = centreOf(panel->backButton);
    EXPECT_NEAR(centre.x + iconSize.width * 0.4f / 2, 1024 - 20, 1e-3);
    EXPECT_NEAR(centre.y + iconSize.height * 0.4f / 2, 576 - 20, 1e-3);
}

// The stored front entry, read back when the carousel is built; an index past
// the five entries (or one that reads as negative) brings none to the front
// and the setting becomes 0 when the stack fans out 0.4 s later.
TEST_F(ArcadePanel, TheStoredEntryStandsInFrontAfterTheFanOut) {
    struct Case {
        u32 stored;
        int front;
        u32 storedAfter;
    };
    const Case cases[] = {{2, 2, 2},           {0, 0, 0}, {4, 4, 4}, {5, -1, 0}, {0xFFFFFFFFu, -1, 0},
                          {0x80000000u, -1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        open(c.stored);
        frame();
        frames(3, 0.1f);  // 0.3 s: still stacked at the origin, collapsed
        for (std::size_t i = 0; i < 5; ++i) {
            EXPECT_EQ(button(i)->getPosition(), Vec2::ZERO);
            EXPECT_FALSE(button(i)->isExpanded());
        }
        EXPECT_EQ(Settings.LAST_ARCADE_INDEX, c.stored);
        EXPECT_EQ(front(), c.front);
        settle();
        EXPECT_EQ(Settings.LAST_ARCADE_INDEX, c.storedAfter);
        EXPECT_EQ(carousel->getLayout().selectedIndex, c.storedAfter);
        expectButtonsAtLayout("fanned out");
        EXPECT_EQ(button(c.storedAfter)->getPosition(), Vec2::ZERO);
        for (std::size_t i = 0; i < 5; ++i) expectEntryLook(i, static_cast<int>(i) == c.front, "fanned out");
    }
}

// Entries above and below the front one only peek in at the screen's edge;
// pressing one brings it to the front (also while the stack still moves), and
// pressing the one in front changes nothing. No mode starts, no scene changes.
TEST_F(ArcadePanel, PressingAnEntryBringsItToTheFront) {
    open(2);
    settle();
    click(visiblePointOf(1));
    EXPECT_EQ(front(), 1);
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 1u);
    settle();
    expectButtonsAtLayout("after pressing entry 1");
    expectEntryLook(1, true, "after pressing entry 1");
    expectEntryLook(2, false, "after pressing entry 1");

    // Press entry 1 again: it stays in front, nothing else moves.
    const std::vector<SkewedStackItem> before = carousel->getItems();
    click(frontPoint);
    settle();
    EXPECT_EQ(front(), 1);
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(carousel->getItems()[i].position, before[i].position);
    expectButtonsAtLayout("after pressing the front entry");

    // Entry 0 to the front, then entry 1 again while the stack is moving.
    click(visiblePointOf(0));
    frame();
    frame(0.03f);
    const Vec2 target(carousel->getItems()[1].position.x, carousel->getItems()[1].position.y);
    EXPECT_NE(button(1)->getPosition(), Vec2::ZERO) << "still moving";
    EXPECT_NE(button(1)->getPosition(), target) << "still moving";
    click(visiblePointOf(1));
    EXPECT_EQ(front(), 1);
    settle();
    expectButtonsAtLayout("after a press during the move");
    EXPECT_EQ(button(1)->getPosition(), Vec2::ZERO);
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 1u);
    EXPECT_EQ(Director::getInstance()->getRunningScene(), scene);
    EXPECT_EQ(layer->arcadePanel, panel);
}

// A drag of more than 10 art units takes the touch over: the stack folds,
// follows the finger along x = -|y|, and on release the entry nearest the
// front line comes to the front; the button the drag started on is not
// pressed. A move of 10 units or less is a press.
TEST_F(ArcadePanel, DraggingTheStackBringsTheNearestEntryToTheFront) {
    open(2);
    settle();
    touchDown(frontPoint);
    EXPECT_TRUE(button(2)->isPressed());
    touchMove(frontPoint + Vec2(0, 3));  // 7.5 art units: no drag yet
    EXPECT_FALSE(carousel->isDragging());
    EXPECT_EQ(front(), 2);
    touchMove(frontPoint + Vec2(0, 5));  // 12.5 from the touch-down
    EXPECT_TRUE(carousel->isDragging());
    EXPECT_EQ(front(), -1);
    EXPECT_FALSE(button(2)->isPressed());
    touchMove(frontPoint + Vec2(0, 100));  // 250 art units up
    frame();
    const auto& items = carousel->getItems();
    EXPECT_FLOAT_EQ(items[2].position.y, 250);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_FLOAT_EQ(items[i].position.x, -std::abs(items[i].position.y)) << i;
        EXPECT_EQ(button(i)->getPosition(), Vec2(items[i].position.x, items[i].position.y)) << i;
    }
    EXPECT_EQ(carousel->getLayout().nearestIndex, 3u);
    const std::vector<std::string> soundsBefore = played();
    touchUp(frontPoint + Vec2(0, 100));  // over entry 2, which must not take the release
    EXPECT_FALSE(carousel->isDragging());
    EXPECT_EQ(front(), 3);
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 3u);
    mouseTo(Vec2(1000, 20));  // the pointer leaves the entries: no hover look
    settle();
    expectButtonsAtLayout("after the drag");
    expectEntryLook(3, true, "after the drag");
    expectEntryLook(2, false, "after the drag");
    EXPECT_EQ(played(), soundsBefore) << "no button was pressed by the release";

    // A short move is no drag: the press lands on the entry.
    const Vec2 above = visiblePointOf(2);
    touchDown(above);
    touchMove(above + Vec2(0, -3.9f));  // just under 10 art units
    touchUp(above + Vec2(0, -3.9f));
    EXPECT_EQ(front(), 2);
}

TEST_F(ArcadePanel, ADragStopsWithTheFirstOrLastEntryOnTheFrontLine) {
    open(2);
    settle();
    struct Case {
        float finger;  // design units, up
        std::size_t atLine;
    };
    for (const Case& c : {Case{-1000, 0}, Case{1000, 4}, Case{-1000, 0}}) {
        SCOPED_TRACE(c.finger);
        touchDown(frontPoint);
        touchMove(frontPoint + Vec2(0, c.finger / 2));
        touchMove(frontPoint + Vec2(0, c.finger));
        const auto& items = carousel->getItems();
        EXPECT_FLOAT_EQ(items[c.atLine].position.y, 0);
        EXPECT_FLOAT_EQ(items[c.atLine].position.x, 0);
        touchUp(frontPoint + Vec2(0, c.finger));
        EXPECT_EQ(front(), static_cast<int>(c.atLine));
        settle();
        expectButtonsAtLayout("after the drag");
    }
}

// A drag whose touch is cancelled ends like a release: the nearest entry comes
// to the front and the next press works.
TEST_F(ArcadePanel, ACancelledDragEndsLikeARelease) {
    open(2);
    settle();
    const intptr_t id = 7;
    Vec2 w = toWindow(frontPoint);
    view->handleTouchesBegin(1, &id, &w.x, &w.y);
    w = toWindow(frontPoint + Vec2(0, 100));
    view->handleTouchesMove(1, &id, &w.x, &w.y);
    EXPECT_TRUE(carousel->isDragging());
    view->handleTouchesCancel(1, &id, &w.x, &w.y);
    EXPECT_FALSE(carousel->isDragging());
    EXPECT_EQ(front(), 3);
    settle();
    click(visiblePointOf(2));
    EXPECT_EQ(front(), 2);
}

// The wheel steps one entry at a time without wrapping and restarts the
// layout's moves even at either end; it counts only over the left half of
// the view plus 100 units.
TEST_F(ArcadePanel, TheWheelStepsThroughTheEntriesWithoutWrapping) {
    open(2);
    settle();
    mouseTo(frontPoint);
    struct Step {
        float scroll;
        int front;
    };
    const Step steps[] = {{1, 3}, {1, 4}, {1, 4}, {-1, 3}, {-1, 2}, {-1, 1}, {-1, 0}, {-1, 0}, {1, 1}};
    for (const Step& s : steps) {
        view->handleMouseScroll(0, s.scroll);
        EXPECT_EQ(front(), s.front);
        EXPECT_EQ(Settings.LAST_ARCADE_INDEX, static_cast<u32>(s.front));
        EXPECT_EQ(button(s.front)->getNumberOfRunningActions(), 1u) << "the layout moves again";
        settle();
        expectButtonsAtLayout("after a wheel step");
    }
    view->handleMouseScroll(0, 0);
    EXPECT_EQ(button(1)->getNumberOfRunningActions(), 0u);
    mouseTo(Vec2(1024 / 2 + 101, 288));
    view->handleMouseScroll(0, 1);
    EXPECT_EQ(front(), 1);
    EXPECT_EQ(button(1)->getNumberOfRunningActions(), 0u);
    // Touches there are not the carousel's either.
    touchDown(Vec2(700, 288));
    touchMove(Vec2(700, 400));
    EXPECT_FALSE(carousel->isDragging());
    touchUp(Vec2(700, 400));
    EXPECT_EQ(front(), 1);
}

// Leaving the page folds every entry back to the origin but keeps the
// selection and the setting; 0.4 s later the page is gone, and with it the
// carousel's touch listener.
TEST_F(ArcadePanel, BackFoldsTheCarouselAndThePageGoes) {
    open(3);
    settle();
    panel->retain();
    click(centreOf(panel->backButton));
    EXPECT_EQ(layer->arcadePanel, nullptr);
    frame();
    frame(0.09f);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(button(i)->getPosition(), Vec2::ZERO) << i;
        EXPECT_FALSE(button(i)->isExpanded()) << i;
    }
    EXPECT_EQ(front(), 3);
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 3u);
    frames(5, 0.1f);
    EXPECT_EQ(panel->getParent(), nullptr);
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 3u);
    panel->release();
    PoolManager::getInstance()->getCurrentPool()->clear();
    // A drag and a wheel step at the left edge (inside the carousel's area,
    // beside the main menu's buttons) reach nothing of the carousel.
    const Vec2 edge(20, 288);
    touchDown(edge);
    touchMove(edge + Vec2(0, 100));
    touchUp(edge + Vec2(0, 100));
    view->handleMouseScroll(0, 1);
    EXPECT_EQ(layer->arcadePanel, nullptr);
    frame();
    EXPECT_EQ(Settings.LAST_ARCADE_INDEX, 3u);
}

}  // namespace
