#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "LayoutFit.h"
#include "app/story/ZUIMedalResult.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/DrawNode.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;
using zarn_test::boundsOf;
using zarn_test::cornersIn;
using zarn_test::insideQuad;

namespace {

// The result panel built over the generated sheets and fonts: its parts
// take the sizes the art gives them, its texts the room the fonts take.
class ResultPanelArt : public ::testing::Test {
protected:
    void SetUp() override {
        panel = ZUIMedalResult::create();
        ASSERT_NE(panel, nullptr);
        panel->retain();
    }
    void TearDown() override {
        if (panel != nullptr) panel->release();
    }
    // The panel's sprite showing the frame.
    Sprite* part(const std::string& frame) const {
        for (Node* child : panel->getChildren())
            if (auto* sprite = dynamic_cast<Sprite*>(child); sprite != nullptr &&
                                                             sprite->getSpriteFrame() != nullptr &&
                                                             sprite->getSpriteFrame()->getName() == frame)
                return sprite;
        ADD_FAILURE() << "no " << frame << " on the panel";
        return nullptr;
    }
    Rect partBox(const std::string& frame) const {
        const Sprite* sprite = part(frame);
        return sprite != nullptr ? sprite->getBoundingBox() : Rect();
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
    // The label's ink in the rows node's space.
    std::array<Vec2, 4> inkInRows(const Label* label) {
        return cornersIn(label, pixels.ink(label), panel->getRowsNode());
    }
    static bool allInside(const Vec2* quad, const std::array<Vec2, 4>& corners) {
        for (const Vec2& p : corners)
            if (!insideQuad(quad, p)) return false;
        return true;
    }
    static std::string text(const Node* node) {
        const auto* label = dynamic_cast<const Label*>(node);
        return label != nullptr ? label->getString() : std::string("a picture");
    }
    // Every card of a run with all four modes, the previous best from
    // before a first clear or from a record.
    void buildAllCards(const Zarn::LevelStatus& previous) {
        panel->buildMedalRows(Zarn::LevelList::instance(), 0, previous,
                              {{0, Zarn::Medal::Bronze, "4"},
                               {1, Zarn::Medal::Silver, "1m 14.59s"},
                               {3, Zarn::Medal::None, "3"},
                               {2, Zarn::Medal::None, "Time attack completed!"}});
    }

    static void SetUpTestSuite() { sheets = std::make_unique<zarn_test::LayoutPixels>(); }
    static void TearDownTestSuite() { sheets.reset(); }
    static inline std::unique_ptr<zarn_test::LayoutPixels> sheets;
    zarn_test::LayoutPixels& pixels = *sheets;
    ZUIMedalResult* panel = nullptr;
};

TEST_F(ResultPanelArt, TheMonitorFramesItsScreenAndThePartsHoldIt) {
    const Rect monitor = partBox("medal_screen_monitor.png");
    // The fill paints the screen from its position, in monitor coordinates.
    const Rect screen(monitor.origin + panel->getMonitorFill()->getPosition(), ZUIMedalResult::kScreenSize);
    EXPECT_TRUE(inside(screen, monitor)) << "the screen's paint runs out of the monitor";
    EXPECT_GT(screen.size.width, monitor.size.width * 0.8f) << "the screen is lost in the monitor";

    const Rect face = partBox("medal_screen_part_face.png");
    EXPECT_GT(face.getMaxY(), monitor.getMaxY() + 60) << "the face hides behind the monitor";
    for (const char* hand : {"medal_screen_part_hand_left.png", "medal_screen_part_hand_right.png"}) {
        const Rect r = partBox(hand);
        EXPECT_TRUE(r.intersectsRect(monitor)) << hand << " does not reach the monitor";
        EXPECT_FALSE(inside(r, monitor)) << hand << " lies wholly on the monitor";
    }
}

TEST_F(ResultPanelArt, WhereTheHostShowsItEveryPartIsInViewAndTheFaceLooksOverTheMonitor) {
    const Rect view(0, 0, 1024, 576);
    for (const Node* child : panel->getChildren())
        EXPECT_TRUE(inside(onScreen(child->getBoundingBox()), view))
            << text(child) << " at " << child->getPositionX() << "," << child->getPositionY()
            << " leaves the view";
    const Rect monitor = onScreen(partBox("medal_screen_monitor.png"));
    EXPECT_GT(view.getMaxY() - monitor.getMaxY(), 25.0f) << "no room over the monitor for the face";
    // Across the band over the monitor the face is drawn (its eyes show).
    const Sprite* face = part("medal_screen_part_face.png");
    const float y = partBox("medal_screen_monitor.png").getMaxY() + 20;
    int drawn = 0, samples = 0;
    for (float x = face->getBoundingBox().getMinX(); x < face->getBoundingBox().getMaxX(); x += 8, ++samples)
        if (pixels.alphaIn(face, panel, Vec2(x, y)) >= 128) ++drawn;
    EXPECT_GT(drawn * 10, samples * 8) << "the face is missing over the monitor";
}

TEST_F(ResultPanelArt, EveryCardsPicturesAndTextsLieOnItAndItsRibbonOnTheScreen) {
    Zarn::LevelStatus best;
    best.fewestDeaths = 137;
    best.bestTime = 3599990;
    buildAllCards(best);
    const Rect screen(Vec2::ZERO, ZUIMedalResult::kScreenSize);
    struct Card {
        const char* title;
        const std::vector<Node*>& nodes;
        const Vec2* main;
        const Vec2* previous;
    };
    const Card cards[] = {
        {"DEATHS", panel->getDeathNodes(), ZUIMedalResult::kDeathsMain, ZUIMedalResult::kDeathsPrevious},
        {"TIME", panel->getTimeNodes(), ZUIMedalResult::kTimeMain, ZUIMedalResult::kTimePrevious},
        {"LIVES", panel->getLivesNodes(), ZUIMedalResult::kLivesMain, nullptr},
        {"TIME ATTACK", panel->getTimeAttackNodes(), ZUIMedalResult::kTimeAttackMain, nullptr}};
    std::vector<Rect> ribbons;
    for (const Card& card : cards) {
        ASSERT_FALSE(card.nodes.empty()) << card.title;
        // The ribbon on the screen, its title on the ribbon.
        const auto* ribbon = dynamic_cast<const Sprite*>(card.nodes[0]);
        ASSERT_NE(ribbon, nullptr);
        const Rect onFill =
            boundsOf(cornersIn(ribbon, Rect(Vec2::ZERO, ribbon->getContentSize()), panel->getMonitorFill()));
        EXPECT_TRUE(inside(onFill, screen)) << card.title << " ribbon leaves the screen";
        for (const Rect& other : ribbons)
            EXPECT_FALSE(onFill.intersectsRect(other)) << card.title << " ribbon runs into another";
        ribbons.push_back(onFill);
        const auto* title = dynamic_cast<const Label*>(ribbon->getChildren().at(0));
        ASSERT_NE(title, nullptr);
        for (const Vec2& p : cornersIn(title, pixels.ink(title), ribbon))
            EXPECT_GE(pixels.alpha(ribbon, p), 200) << card.title << ": the title leaves its ribbon";
        // The rest on the card: the medal, value and hint on the main
        // quadrilateral, the previous best on its own.
        for (std::size_t i = 1; i < card.nodes.size(); ++i) {
            const Node* node = card.nodes[i];
            const Vec2* quad = card.previous != nullptr && i >= 4 ? card.previous : card.main;
            const auto* label = dynamic_cast<const Label*>(node);
            const auto corners = label != nullptr ? inkInRows(label)
                                                  : cornersIn(node, Rect(Vec2::ZERO, node->getContentSize()),
                                                              panel->getRowsNode());
            EXPECT_TRUE(allInside(quad, corners)) << card.title << ": " << text(node) << " leaves its card";
        }
    }
}

TEST_F(ResultPanelArt, APreviousBestWithoutARecordFitsItsCard) {
    buildAllCards(Zarn::LevelStatus());
    for (const auto& [nodes, quad] : {std::pair{&panel->getDeathNodes(), ZUIMedalResult::kDeathsPrevious},
                                      std::pair{&panel->getTimeNodes(), ZUIMedalResult::kTimePrevious}}) {
        const auto* value = dynamic_cast<const Label*>(nodes->back());
        ASSERT_NE(value, nullptr);
        EXPECT_TRUE(allInside(quad, inkInRows(value))) << value->getString() << " leaves its card";
    }
}

TEST_F(ResultPanelArt, TheCaptionAndTheGameOverTextsFitTheirPlates) {
    const Sprite* small = part("medal_screen_small_panel.png");
    for (const char* caption : {ZUIMedalResult::kCaption, ZUIMedalResult::kGameOverCaption}) {
        panel->getBestLabel()->setString(caption);
        const Label* label = panel->getBestLabel();
        for (const Vec2& p : cornersIn(label, pixels.ink(label), small))
            EXPECT_GE(pixels.alpha(small, p), 200) << caption << " leaves its panel at " << p.x << "," << p.y;
    }
    panel->showGameOver();
    const Rect screen(Vec2::ZERO, ZUIMedalResult::kScreenSize);
    int texts = 0;
    for (const Node* child : panel->getMonitorFill()->getChildren())
        if (const auto* label = dynamic_cast<const Label*>(child)) {
            ++texts;
            EXPECT_TRUE(
                inside(boundsOf(cornersIn(label, pixels.ink(label), panel->getMonitorFill())), screen))
                << label->getString() << " leaves the screen";
        }
    EXPECT_EQ(texts, 2);
}

}  // namespace
