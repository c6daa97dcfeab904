#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "LayoutFit.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIElevatorSideBar.h"
#include "app/story/ZUIMedalBar.h"
#include "app/widgets/ZUIElevatorToggleButton.h"
#include "engine/Label.h"
#include "engine/Sprite.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

using namespace cocos2d;
using zarn_test::boundsOf;
using zarn_test::cornersIn;

namespace {

constexpr int kOpaque = 128;

// The elevator's parts built over the generated sheets and fonts: each
// picture and text where the elevator's layout puts it.
class ElevatorArt : public ::testing::Test {
protected:
    template <class T>
    T* keep(T* node) {
        EXPECT_NE(node, nullptr);
        node->retain();
        kept.push_back(node);
        return node;
    }
    void TearDown() override {
        for (Node* node : kept) node->release();
    }
    ZUIElevatorButton* button(int floor) {
        return keep(ZUIElevatorButton::create(floor, elevatorColourSets[elevatorColourSetOf(floor)]));
    }
    ZUIElevatorSideBar* sideBar(bool storyComplete) {
        progress.setLevelCount(static_cast<u32>(Zarn::LevelList::instance().size()));
        progress.runComplete = storyComplete ? 1 : 0;
        return keep(ZUIElevatorSideBar::create(&progress));
    }
    // Calls f(point) on a grid `step` apart over r.
    template <class F>
    static void grid(const Rect& r, float step, F f) {
        for (float y = r.getMinY() + step / 2; y < r.getMaxY(); y += step)
            for (float x = r.getMinX() + step / 2; x < r.getMaxX(); x += step) f(Vec2(x, y));
    }
    static Rect box(const Node* node) { return Rect(Vec2::ZERO, node->getContentSize()); }
    static std::vector<Sprite*> spritesOf(const Node* parent, const std::string& frame) {
        std::vector<Sprite*> found;
        for (Node* child : parent->getChildren())
            if (auto* sprite = dynamic_cast<Sprite*>(child);
                sprite != nullptr && sprite->getSpriteFrame()->getName() == frame)
                found.push_back(sprite);
        return found;
    }
    // Whether every inked point of `part` (sampled) lies where `under` is
    // opaque, both in `space`.
    bool liesOn(const Sprite* part, const Sprite* under, const Node* space, int* inked = nullptr) {
        int outside = 0, count = 0;
        grid(box(part), 3, [&](const Vec2& p) {
            if (pixels.alpha(part, p) < 64) return;
            ++count;
            const Vec2 q = space->convertToNodeSpace(part->convertToWorldSpace(p));
            if (pixels.alphaIn(under, space, q) < kOpaque) ++outside;
        });
        if (inked != nullptr) *inked = count;
        return count > 0 && outside == 0;
    }

    static void SetUpTestSuite() { sheets = std::make_unique<zarn_test::LayoutPixels>(); }
    static void TearDownTestSuite() { sheets.reset(); }
    static inline std::unique_ptr<zarn_test::LayoutPixels> sheets;
    zarn_test::LayoutPixels& pixels = *sheets;
    Zarn::SinglePlayerData progress;
    std::vector<Node*> kept;
};

TEST_F(ElevatorArt, AFloorButtonShowsItsBandRoundTheCentreDiscAndItsShinesOnIt) {
    ZUIElevatorButton* b = button(0);
    const Vec2 c(b->getContentSize().width / 2, b->getContentSize().height / 2);
    // Out from the middle in sixteen directions: the band's circle shows
    // beyond the centre disc.
    for (int k = 0; k < 16; ++k) {
        const Vec2 dir(std::cos(k * M_PI / 8), std::sin(k * M_PI / 8));
        float centreEdge = 0, circleEdge = 0;
        for (float r = 0; r < c.x; r += 1) {
            if (pixels.alphaIn(b->getCentre(), b, c + dir * r) >= kOpaque) centreEdge = r;
            if (pixels.alphaIn(b->getCircle(), b, c + dir * r) >= kOpaque) circleEdge = r;
        }
        EXPECT_GE(centreEdge, 80.0f) << "direction " << k << ": the centre disc is small for the number";
        EXPECT_GE(circleEdge - centreEdge, 20.0f) << "direction " << k << ": the band's ring is hidden";
    }
    // The shines lie on the circle, and most of each shows round the disc.
    for (const Sprite* shine : {b->getLeftShine(), b->getRightShine()}) {
        int inked = 0;
        EXPECT_TRUE(liesOn(shine, b->getCircle(), b, &inked)) << shine->getSpriteFrame()->getName();
        int hidden = 0;
        grid(box(shine), 3, [&](const Vec2& p) {
            if (pixels.alpha(shine, p) >= 64 &&
                pixels.alphaIn(b->getCentre(), b, b->convertToNodeSpace(shine->convertToWorldSpace(p))) >=
                    kOpaque)
                ++hidden;
        });
        EXPECT_LT(hidden * 2, inked) << shine->getSpriteFrame()->getName() << " is under the centre disc";
    }
    // The rim follows the circle.
    EXPECT_TRUE(liesOn(b->getOutline(), b->getCircle(), b));
}

TEST_F(ElevatorArt, EveryFloorNumberSitsOnItsCentreDiscClearOfTheLock) {
    const int floors = static_cast<int>(Zarn::LevelList::instance().size());
    ASSERT_GT(floors, 10);
    for (int floor = 0; floor < floors; ++floor) {
        ZUIElevatorButton* b = button(floor);
        b->setLocked();
        const Label* number = b->getNumber();
        const auto corners = cornersIn(number, pixels.ink(number), b);
        for (const Vec2& p : corners)
            EXPECT_GE(pixels.alphaIn(b->getCentre(), b, p), kOpaque)
                << "floor " << floor << ": the number leaves the centre disc at " << p.x << "," << p.y;
        int covered = 0;
        grid(boundsOf(corners), 2, [&](const Vec2& p) {
            if (pixels.alphaIn(b->getLock(), b, p) >= 32) ++covered;
        });
        EXPECT_EQ(covered, 0) << "floor " << floor << ": the lock covers the number";
    }
}

TEST_F(ElevatorArt, TheFloorNumberFitsItsPlateInBothBars) {
    const int floors = static_cast<int>(Zarn::LevelList::instance().size());
    for (bool complete : {false, true}) {
        ZUIElevatorSideBar* bar = sideBar(complete);
        Sprite* plate = bar->getNumberPlate();
        Label* label = bar->getFloorLabel();
        for (int floor = 0; floor < floors; ++floor) {
            label->setString(std::to_string(floor));
            for (const Vec2& p : cornersIn(label, pixels.ink(label), plate))
                EXPECT_GE(pixels.alpha(plate, p), 200)
                    << (complete ? "wide" : "narrow") << " bar, floor " << floor << ": the number leaves "
                    << plate->getSpriteFrame()->getName() << " at " << p.x << "," << p.y;
        }
        // The plate lies in the bar, under its top edge.
        const Rect onBar = plate->getBoundingBox();
        EXPECT_GE(onBar.getMinX(), 0.0f);
        EXPECT_LE(onBar.getMaxX(), bar->getContentSize().width * 0.9f);
        EXPECT_LE(onBar.getMaxY(), ZUIElevatorSideBar::kHeight);
    }
}

TEST_F(ElevatorArt, TheSideBarsDiscsAndBadgesLieInTheirSlotsAndSwitches) {
    ZUIElevatorSideBar* narrow = sideBar(false);
    const auto discs = spritesOf(narrow, "ele_button_circle_center.png");
    const auto locks = spritesOf(narrow, "ele_lock.png");
    ASSERT_EQ(discs.size(), 6u);  // each slot's shadow and disc
    ASSERT_EQ(locks.size(), 3u);
    for (const Sprite* s : discs) {
        const Vec2 centre = s->getPosition();
        bool inSlot = false;
        for (const auto& slot : ZUIElevatorSideBar::kLockedSlots)
            inSlot = inSlot ||
                     (zarn_test::insideQuad(slot, s->getBoundingBox().origin) &&
                      zarn_test::insideQuad(slot, s->getBoundingBox().origin + Vec2(s->getContentSize())));
        EXPECT_TRUE(inSlot) << "a disc at " << centre.x << "," << centre.y << " leaves its slot";
    }
    for (const Sprite* lock : locks) {
        bool onDisc = false;
        for (const Sprite* disc : discs) onDisc = onDisc || liesOn(lock, disc, narrow);
        EXPECT_TRUE(onDisc) << "a lock leaves its disc";
    }

    ZUIElevatorSideBar* wide = sideBar(true);
    const std::pair<int, const ZUIElevatorToggleButton*> toggles[] = {
        {0, wide->getTimerToggle()}, {1, wide->getTimeAttackToggle()}, {2, wide->getLimitedLivesToggle()}};
    for (const auto& [id, toggle] : toggles) {
        ASSERT_NE(toggle, nullptr);
        const ZUIElevatorToggleButtonConfig& config = elevatorToggleButtonConfigs[id];
        const Vec2 quad[4] = {config.p0, config.p1, config.p2, config.p3};
        const Sprite* badge = toggle->getBadge();
        for (const Vec2& p : cornersIn(badge, box(badge), toggle->getContainer()))
            EXPECT_TRUE(zarn_test::insideQuad(quad, p)) << config.caption << ": the badge leaves the switch";
        EXPECT_TRUE(liesOn(toggle->getIcon(), badge, toggle->getContainer())) << config.caption;
        const Label* caption = toggle->getCaption();
        for (const Vec2& p : cornersIn(caption, pixels.ink(caption), toggle->getContainer()))
            EXPECT_TRUE(zarn_test::insideQuad(quad, p))
                << config.caption << ": the caption leaves the switch";
        EXPECT_FALSE(boundsOf(cornersIn(caption, pixels.ink(caption), toggle->getContainer()))
                         .intersectsRect(badge->getBoundingBox()))
            << config.caption << ": the caption runs into the badge";
    }
}

TEST_F(ElevatorArt, TheMedalsLieInTheirBox) {
    Zarn::LevelStatus status;
    status.fewestDeaths = 0;
    status.bestTime = 9000;
    status.timeAttackDone = 1;
    ZUIMedalBar* bar = keep(ZUIMedalBar::create(0, &status));
    bar->initBoxedMedals();
    for (const Sprite* medal : {bar->getDeathMedal(), bar->getTimerMedal(), bar->getTimeAttackMedal()})
        EXPECT_TRUE(liesOn(medal, bar->getBox(), bar)) << medal->getSpriteFrame()->getName();
}

}  // namespace
