#include <gtest/gtest.h>

#include "engine/Scene.h"
#include "map/records/ScheduledTrapElement.h"
#include "support/TrapSceneFixture.h"
#include "visuals/traps/TrapVisualTemplates.h"

namespace {

using cocos2d::Vec2;
using GeometryLib::Point;
using zarn_test::MapBuilder;
using zarn_test::trapAt;

using IntervalDoor = FPTDCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D, FPTDVisualMediator>;
using ScheduledDoor = FPTDCocos2D<Zarn::ScheduledTrap, Zarn::ScheduledTrap2D, FPTDScheduledVisualMediator>;

class FourPanelDoorVisualTest : public zarn_test::TrapSceneFixture {
protected:
    template <class Door>
    Door* doorOn(Point cell) {
        for (Door* door : childrenOf<Door>())
            if (door->getDoorRecord()->position == cell) return door;
        return nullptr;
    }
    // Where a panel has moved from its closed place, in panel sizes.
    static Vec2 step(cocos2d::Sprite* panel, const Vec2& closed) {
        const cocos2d::Size size = panel->getContentSize();
        const Vec2 d = panel->getPosition() - closed;
        return Vec2(d.x / size.width, d.y / size.height);
    }
};

// Trap door 43 (an interval record: its door runs on a stand-by record with
// panel mode 0) and a four-panel door 356 in panel mode 2, through warning,
// armed and resting: the panels slide out by the mode's table while the
// trap warns, stay open while it is armed and slide back while it rests.
TEST_F(FourPanelDoorVisualTest, PanelsOpenByTheirModeWhileTheTrapWarnsAndCloseWhileItRests) {
    MapBuilder b = room();
    b.trap(trapAt(43, 1, Point(2, 3), 0.6f, 1.0f));
    auto four = trapAt<Zarn::FourPanelTrapDoorElement>(356, 2, Point(5, 3), 0.6f, 1.0f);
    four.panelFlag = 2;
    b.trap(four);
    enableAtStart(b, {1, 2});
    load(b);

    IntervalDoor* plain = doorOn<IntervalDoor>(Point(2, 3));
    IntervalDoor* moded = doorOn<IntervalDoor>(Point(5, 3));
    ASSERT_NE(plain, nullptr);
    ASSERT_NE(moded, nullptr);
    EXPECT_EQ(plain->getDoorRecord()->panelFlag, 0);
    EXPECT_EQ(plain->getDoorRecord()->restTime, 1.0f);
    EXPECT_EQ(moded->getDoorRecord(), trapNumbered(2).trapRecord) << "a four-panel record is used as it is";
    EXPECT_EQ(frameOf(plain), "fp_trap_door_base.png");
    EXPECT_EQ(plain->getLocalZOrder(), roomZOrder->rowBase(3));

    // The panel layer has moved up beside the door, at the top of the row's
    // base band: over the row's floor, under the walls of the rows in front.
    MediatedSprite* layerOfPlain = plain->getPanelLayer();
    EXPECT_EQ(layerOfPlain->getParent(), world);
    EXPECT_EQ(layerOfPlain->getLocalZOrder(), roomZOrder->rowTop(3) - 5);
    EXPECT_FLOAT_EQ(layerOfPlain->getScale(), 0.4f);
    const auto panels = plain->getPanels();
    const auto modedPanels = moded->getPanels();
    std::array<Vec2, 4> closed, modedClosed;
    for (std::size_t i = 0; i < 4; ++i) {
        closed[i] = panels[i]->getPosition();
        modedClosed[i] = modedPanels[i]->getPosition();
    }
    EXPECT_TRUE(shows(panels[0]));
    EXPECT_EQ(frameOf(panels[0]), "fp_trap_door_top_left.png");
    EXPECT_EQ(frameOf(panels[3]), "fp_trap_door_bottom_right.png");

    Zarn::Trap& trap = trapNumbered(1);
    // Warning: for the whole of it the panels show the warning (amber,
    // striped) and shake in place; they open in its last 0.15 s with the
    // open sound.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 1.0f));
    EXPECT_EQ(step(panels[0], closed[0]), Vec2(0, 0)) << "the door waits before it opens";
    const Vec2 layerAt = layerOfPlain->getPosition();
    bool shook = false;
    tick();
    while (valueOf(trap) == 0) {
        EXPECT_EQ(frameOf(panels[0]), "fp_trap_door_warn_top_left.png");
        EXPECT_EQ(frameOf(modedPanels[3]), "fp_trap_door_warn_bottom_right.png");
        shook = shook || layerOfPlain->getPosition() != layerAt;
        tick();
    }
    EXPECT_TRUE(shook) << "the warning shakes the panels";
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    // The opening runs from the frame after the change: done within 0.1 s.
    run(0.1f);
    const std::array<Vec2, 4> mode0{Vec2(0, 1), Vec2(0, 1), Vec2(0, -1), Vec2(0, -1)};
    const std::array<Vec2, 4> mode2{Vec2(-1, 1), Vec2(1, 1), Vec2(-1, -1), Vec2(1, -1)};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(step(panels[i], closed[i]), mode0[i]) << "panel " << i;
        EXPECT_EQ(step(modedPanels[i], modedClosed[i]), mode2[i]) << "panel " << i;
    }
    // Both doors open in one frame: the positional engine starts the file once.
    EXPECT_EQ(audio.count("sound/trapdoor/open.mp3"), 1u);

    // Armed: open all along.
    run(0.4f);
    EXPECT_EQ(valueOf(trap), 1);
    EXPECT_EQ(step(panels[0], closed[0]), Vec2(0, 1));

    // Resting: closed again, with the close sound (active time above 0.5).
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 2; }, 1.0f));
    run(0.3f);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(panels[i]->getPosition(), closed[i]) << "panel " << i;
    EXPECT_EQ(audio.count("sound/trapdoor/close.mp3"), 1u);
    EXPECT_EQ(frameOf(panels[0]), "fp_trap_door_top_left.png") << "shut, it rests grey again";
    EXPECT_EQ(layerOfPlain->getPosition(), layerAt) << "the shake ends where it began";

    // Stopped while opening: the opening stops and the panels close from
    // where they stand.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 2.0f));
    ASSERT_TRUE(runUntil([&] { return panels[0]->getPosition() != closed[0]; }, 1.0f));
    trap.disable();
    run(0.4f);
    EXPECT_EQ(valueOf(trap), 3);
    for (std::size_t i = 0; i < 4; ++i) EXPECT_EQ(panels[i]->getPosition(), closed[i]) << "panel " << i;
}

// A door whose record starts it active opens as soon as its visual exists.
TEST_F(FourPanelDoorVisualTest, ADoorThatStartsActiveOpensAtOnce) {
    MapBuilder b = room();
    auto open = trapAt(43, 1, Point(2, 3), 0.6f, 0.2f);
    open.startsActive = 1;
    b.trap(open);
    load(b);
    IntervalDoor* door = childrenOf<IntervalDoor>().front();
    const Vec2 closed(0, 0);
    run(0.3f);
    EXPECT_EQ(door->getPanels()[0]->getPosition().y - closed.y,
              door->getPanels()[0]->getContentSize().height);
}

// A door taken off the world while it opens gives up its panel layer, and
// the layer its four panels: once the door is gone only the test holds them.
TEST_F(FourPanelDoorVisualTest, AGoneDoorLeavesNoPanelBehind) {
    MapBuilder b = room();
    b.trap(trapAt<Zarn::FourPanelTrapDoorElement>(356, 1, Point(2, 3), 0.6f, 1.0f));
    enableAtStart(b, {1});
    load(b);
    cocos2d::RefPtr<IntervalDoor> door(childrenOf<IntervalDoor>().front());
    cocos2d::RefPtr<cocos2d::Node> panelLayer(door->getPanelLayer());
    std::vector<cocos2d::RefPtr<cocos2d::Sprite>> panels;
    for (cocos2d::Sprite* panel : door->getPanels()) panels.emplace_back(panel);
    Zarn::Trap& trap = trapNumbered(1);
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 2.0f));
    run(0.05f);

    world->removeAllChildren();
    door.reset();
    frame(0.0f);
    EXPECT_EQ(panelLayer->getParent(), nullptr);
    EXPECT_EQ(panelLayer->getReferenceCount(), 1u);
    panelLayer.reset();
    for (const auto& panel : panels) EXPECT_EQ(panel->getReferenceCount(), 1u);
}

// An exploding door (134): bombed, it is armed half a second and then
// destroyed (4), which bursts into the explosion beside it, shakes the screen
// and plays the explosion and the fire.
TEST_F(FourPanelDoorVisualTest, ABombedExplodingDoorBurstsWithAShake) {
    MapBuilder b = room();
    b.trap(trapAt(134, 1, Point(4, 4), 1.5f, 1.0f));
    enableAtStart(b, {1});
    load(b);
    IntervalDoor* door = childrenOf<IntervalDoor>().front();
    ASSERT_NE(door->getVisualMediator()->getExplosionAction(), nullptr);
    run(0.1f);
    auto& bombable = static_cast<Zarn::BombableIntervalTrap&>(trapNumbered(1));
    bombable.bombed = 1;
    ASSERT_TRUE(runUntil([&] { return valueOf(bombable) == 4; }, 1.0f));
    tick();
    EXPECT_EQ(countVisible("Explosion_Trap_"), 1u);
    EXPECT_EQ(audio.count("sound/boss/bomb/explosion.mp3"), 1u);
    EXPECT_EQ(audio.count("sound/boss/bomb/fire_burst.mp3"), 1u);
    bool shaken = false;
    for (int i = 0; i < 8; ++i) {
        tick();
        shaken = shaken || scene->getPosition() != Vec2(0, 0);
    }
    EXPECT_TRUE(shaken);
    run(1.5f);
    EXPECT_EQ(scene->getPosition(), Vec2(0, 0)) << "the shake ends where it began";
    EXPECT_EQ(countVisible("Explosion_Trap_"), 0u) << "the explosion ends hidden";
}

// A scheduled door (121): opens on the warning, closes when harmless; it
// never opens by itself.
TEST_F(FourPanelDoorVisualTest, AScheduledDoorOpensOnItsWarningAndClosesWhenHarmless) {
    MapBuilder b = room();
    b.trap(scheduledAt(121, 1, Point(6, 6)));
    enableAtStart(b, {1});
    load(b);
    ScheduledDoor* door = childrenOf<ScheduledDoor>().front();
    cocos2d::Sprite* topLeft = door->getPanels()[0];
    const Vec2 closed = topLeft->getPosition();
    const float ph = topLeft->getContentSize().height;
    Zarn::Trap& trap = trapNumbered(1);

    int opened = 0, closedAgain = 0;
    watchPhases(trap, 150, [&](u8 now, u8, float heldFor) {
        if (heldFor < 0.2f) return;
        if (now == 1 && topLeft->getPosition() == closed + Vec2(0, ph)) ++opened;
        if (now == 2 && topLeft->getPosition() == closed) ++closedAgain;
    });
    EXPECT_GT(opened, 0);
    EXPECT_GT(closedAgain, 0);
}

}  // namespace
