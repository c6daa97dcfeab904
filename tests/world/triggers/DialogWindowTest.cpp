#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "world/triggers/DialogWindow.h"

using GeometryLib::FPoint;
using GeometryLib::FRect;
using GeometryLib::Point;
using Zarn::DialogEntry;
using Zarn::DialogPlayer;
using Zarn::DialogTable;
using Zarn::DialogWindow;

namespace {

class FakeNode : public Zarn::NodeMediator {
public:
    FPoint getVisibleSize() override { return {}; }
    FPoint getVisibleOrigin() override { return {}; }
    void setContentSize(float, float) override {}
    void setAnchorPoint(float, float) override {}
    void setPosition(float x, float y) override { position = {x, y}; }
    void setZOrder(int) override {}
    void setGlobalZOrder(int) override {}
    void setRotation(float) override {}
    void setOpacity(u8) override {}
    void setScale(float) override {}
    void setVisible(bool) override {}
    void setFlippedX(bool) override {}
    void setFlippedY(bool) override {}
    FPoint getPosition() override { return position; }
    FPoint getContentSize() override { return {}; }
    FPoint convertToNodeSpace(const FPoint& p) override { return p; }
    float getScale() override { return 1.0f; }
    FRect getRect() override { return rect; }
    void scheduleUpdate() override {}
    void addChild(NodeMediator*) override {}
    void removeChild(NodeMediator*) override {}

    FPoint position;
    FRect rect{100.0f, 50.0f, FPoint(0.0f, 0.0f)};
};

// Records what the logic hands to the view.
class FakeWindow : public DialogWindow {
public:
    using DialogWindow::DialogWindow;
    void showLines(const std::vector<const std::string*>& page) override {
        std::vector<std::string> copy;
        for (const std::string* line : page) copy.push_back(*line);
        pages.push_back(copy);
        // As the view does: rebuild the box unless a page was turned, then set the byte.
        rebuilds.push_back(getPageHandover() != 0);
        setPageHandover(1);
    }
    void clearLines() override { ++clears; }
    bool isOpening() override { return opening; }
    bool isTyping() override { return typing; }
    void completeTyping() override {
        typing = false;
        ++completed;
    }
    void finishOpening() override {
        opening = false;
        ++finished;
    }
    void hideWindow() override { ++hides; }

    std::vector<std::vector<std::string>> pages;
    std::vector<bool> rebuilds;
    int clears = 0, completed = 0, finished = 0, hides = 0;
    bool opening = false, typing = false;
};

class DialogWindowFixture : public ::testing::Test {
protected:
    DialogWindowFixture() {
        table.emplace(3, DialogEntry("one&&two&&three", "PART", 3, Point(40, 60)));
        table.emplace(7, DialogEntry("single", "Cat", 7, Point(-5, 9)));
        table.emplace(9, DialogEntry("", "Cat", 9, Point(1, 1)));
    }
    u8 tapInside() { return window.handleInput(FPoint(10, 10)).kind; }

    DialogTable table;
    DialogPlayer player{table, 1};
    FakeNode node;
    FakeWindow window{node, table, player};
};

using Lines = std::vector<std::string>;

}  // namespace

TEST(DialogWindowSplit, SeparatorsAndEnds) {
    DialogTable table;
    DialogPlayer player(table, 1);
    FakeNode node;
    FakeWindow window(node, table, player);
    struct Case {
        std::string text;
        Lines lines;
    };
    for (const Case& c : {Case{"", {}}, Case{"a", {"a"}}, Case{"a&&b", {"a", "b"}}, Case{"a&&", {"a"}},
                          Case{"&&a", {"", "a"}}, Case{"a&&&&b", {"a", "", "b"}}, Case{"&&", {""}},
                          Case{"a&&&b", {"a", "&b"}}}) {
        window.splitText(c.text);
        EXPECT_EQ(window.getLines(), c.lines) << c.text;
    }
}

TEST_F(DialogWindowFixture, HiddenUntilPlayedThenOpensAtTheEntry) {
    EXPECT_EQ(window.isShown(), 0);
    EXPECT_EQ(window.getCurrentNumber(), 0xFFFFFFFFu);
    player.play(3);
    window.update();
    EXPECT_EQ(window.isShown(), 1);
    EXPECT_EQ(node.position, FPoint(40, 60));
    ASSERT_EQ(window.pages.size(), 1u);
    EXPECT_EQ(window.pages[0], (Lines{"one", "two"}));
    ASSERT_NE(window.getOpenEntry(), nullptr);
    EXPECT_EQ(window.getOpenEntry()->speaker, "PART");
    window.update();  // nothing changed
    EXPECT_EQ(window.pages.size(), 1u);
}

TEST_F(DialogWindowFixture, ThreeLinesTwoPagesThenFinished) {
    player.play(3);
    window.update();
    EXPECT_EQ(window.rebuilds, std::vector<bool>{true});
    EXPECT_EQ(tapInside(), 3);
    ASSERT_EQ(window.pages.size(), 2u);
    EXPECT_EQ(window.pages[1], (Lines{"three"}));
    EXPECT_EQ(window.clears, 1);
    EXPECT_EQ(window.rebuilds, (std::vector<bool>{true, false}));
    EXPECT_EQ(tapInside(), 2);
    EXPECT_EQ(tapInside(), 2);  // repeatedly, until stopped
    EXPECT_EQ(window.pages.size(), 2u);
    EXPECT_EQ(window.handleInput(FPoint(10, 10)).position, FPoint(10, 10));
}

TEST_F(DialogWindowFixture, FourLinesPerPage) {
    table[5] = DialogEntry("a&&b&&c&&d&&e&&f", "PART", 5, {});
    window.setLinesPerPage(4);
    player.play(5);
    window.update();
    EXPECT_EQ(window.nextPage(), 3);
    EXPECT_EQ(window.nextPage(), 2);
    EXPECT_EQ(window.pages, (std::vector<Lines>{{"a", "b", "c", "d"}, {"e", "f"}}));
}

TEST_F(DialogWindowFixture, SingleLineFinishesOnFirstTap) {
    player.play(7);
    window.update();
    EXPECT_EQ(window.pages, (std::vector<Lines>{{"single"}}));
    EXPECT_EQ(tapInside(), 2);
}

TEST_F(DialogWindowFixture, TapsOutsideOrWhileHiddenAreNotTaken) {
    EXPECT_EQ(tapInside(), 0);  // not shown
    player.play(3);
    window.update();
    node.rect = FRect(100.9f, 50.0f, FPoint(20, 30));
    window.setHitOffset(Point(-10, 5));  // the window spans [10, 110) x [35, 85)
    struct Case {
        FPoint p;
        u8 kind;
    };
    for (const Case& c : {Case{{9.9f, 40}, 0}, Case{{110, 40}, 0}, Case{{50, 34.9f}, 0}, Case{{50, 85}, 0},
                          Case{{109.9f, 84.9f}, 3}}) {
        window.typing = true;  // a taken tap only completes the typing
        EXPECT_EQ(window.handleInput(c.p).kind, c.kind) << c.p.x << ", " << c.p.y;
    }
    EXPECT_EQ(window.pages.size(), 1u);
    EXPECT_EQ(window.clears, 0);
}

TEST_F(DialogWindowFixture, OpeningAndTypingAreFinishedBeforeThePageTurns) {
    player.play(3);
    window.update();
    window.opening = true;
    window.typing = true;
    EXPECT_EQ(tapInside(), 3);
    EXPECT_EQ(window.finished, 1);
    EXPECT_EQ(tapInside(), 3);
    EXPECT_EQ(window.completed, 1);
    EXPECT_EQ(window.pages.size(), 1u);
    EXPECT_EQ(tapInside(), 3);
    EXPECT_EQ(window.pages.size(), 2u);
}

TEST_F(DialogWindowFixture, AnotherNumberReopensOnItsFirstPage) {
    player.play(3);
    window.update();
    window.nextPage();
    player.play(7);
    window.update();
    EXPECT_EQ(window.pages.back(), (Lines{"single"}));
    EXPECT_EQ(node.position, FPoint(-5, 9));
    // Opened, turned, opened anew: the view rebuilds its box for each new dialog only.
    EXPECT_EQ(window.rebuilds, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(window.getCurrentNumber(), 7u);
}

TEST_F(DialogWindowFixture, StopHidesAndReplayReopens) {
    player.play(3);
    window.update();
    player.stop();
    window.update();
    EXPECT_EQ(window.hides, 1);
    EXPECT_EQ(window.isShown(), 0);
    EXPECT_EQ(tapInside(), 0);
    player.play(3);
    window.update();
    EXPECT_EQ(window.pages.size(), 2u);
    EXPECT_EQ(window.pages.back(), (Lines{"one", "two"}));
}

TEST_F(DialogWindowFixture, EmptyTextShowsOneEmptyLineAndFinishes) {
    player.play(9);
    window.update();
    EXPECT_EQ(window.pages, (std::vector<Lines>{{""}}));
    EXPECT_EQ(tapInside(), 2);
    EXPECT_EQ(window.nextPage(), 2);
}

TEST_F(DialogWindowFixture, MissingNumberOpensAnEmptyEntry) {
    window.showDialog(123);
    ASSERT_EQ(table.count(123), 1u);
    EXPECT_EQ(table.at(123).number, 0u);
    EXPECT_EQ(window.pages, (std::vector<Lines>{{""}}));
    EXPECT_EQ(node.position, FPoint(0, 0));
}
