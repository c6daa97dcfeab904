#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/FakeVisual.h"
#include "grid/CellGrid.h"
#include "simulation/adapters/SpawningTrap2D.h"
#include "simulation/adapters/Trap2DFactory.h"
#include "simulation/adapters/TrapAdapters.h"
#include "world/traps/TrapSpawner.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using Zarn::EIntervalTrapState;
using zarn_test::FakeVisual;

Zarn::IntervalTrapElement intervalRecord(u32 id, Point cell, u32 zOffset = 0) {
    Zarn::IntervalTrapElement r;
    r.elementId = id;
    r.position = cell;
    r.extra = zOffset;
    r.coveredCells = Zarn::PointSet{cell};
    return r;
}

using TrapAdaptersTest = zarn_test::AdapterFixture;

TEST_F(TrapAdaptersTest, HidingReportsToTheVisualAndShowsTheFloorNoStateChangeFollows) {
    const auto record = intervalRecord(43, Point(2, 3), 7);
    Zarn::IntervalTrap trap(record, nullptr);
    FakeVisual& visual = fake("trap");
    floorAt(Point(2, 3), "floor");
    Zarn::IntervalTrap2D adapter(&trap, &visual, &tiles, &zOrder);
    adapter.setupVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"trap: schedule", "trap: size 160 160", "trap: visibility 0",
                                                "trap: z " + std::to_string(zOrder.rowBase(3) + 7),
                                                "floor: visibility 1"}));
    adapter.syncVisual();
    EXPECT_TRUE(take().empty()) << "set-up copied the state";

    trap.hide();
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"trap: showHide 0 1", "floor: showHide 1 0"}));

    // Both bytes in one frame: hidden first, both with the old values.
    trap.show();
    trap.state.value = EIntervalTrapState::arming;
    adapter.syncVisual();
    EXPECT_EQ(take(),
              (std::vector<std::string>{"trap: showHide 1 0", "floor: showHide 0 1", "trap: state 3 0"}));

    // 0 -> 3 -> 0 between two frames: nothing.
    trap.state.value = EIntervalTrapState::idle;
    trap.state.value = EIntervalTrapState::arming;
    adapter.syncVisual();
    EXPECT_TRUE(take().empty());
}

TEST_F(TrapAdaptersTest, TheBandOfTheMainNodeAndTheSecondNode) {
    const auto record = intervalRecord(46, Point(1, 4), 3);
    Zarn::IntervalTrap trap(record, nullptr);
    FakeVisual& visual = fake("trap");
    FakeVisual& second = fake("base");
    Zarn::IntervalTrap2D layered(&trap, &visual, &tiles, &zOrder);
    layered.secondaryNode = &second;
    layered.setupVisual();
    EXPECT_EQ(visual.zOrder, zOrder.rowBase(4) + 3);
    EXPECT_EQ(second.zOrder, zOrder.highRowBase(4) + 3);

    second.zOrder = 0;
    Zarn::IntervalTrap2D raised(&trap, &visual, &tiles, &zOrder);
    raised.secondaryNode = &second;
    raised.layered = false;
    raised.setupVisual();
    EXPECT_EQ(visual.zOrder, zOrder.highRowBase(4) + 3);
    EXPECT_EQ(second.zOrder, 0) << "the second node keeps its order";
}

class FakeRat2D : public Zarn::RatTrap2D {
public:
    FakeRat2D(Zarn::RatTrap* trap, FakeVisual& node, Zarn::TileVisualGroups* tiles,
              const Zarn::ZOrderCalculator* z, const Zarn::CellGrid* grid, FakeVisual& left,
              FakeVisual& right)
        : RatTrap2D(trap, &node, tiles, z, grid), left_(left), right_(right) {}
    Zarn::Sprite2DMediator* createLeftFlip() override { return &left_; }
    Zarn::Sprite2DMediator* createRightFlip() override { return &right_; }

private:
    FakeVisual& left_;
    FakeVisual& right_;
};

TEST_F(TrapAdaptersTest, RatTrapsFlipOneBoardPerPhaseAndOrderPlayersOnTheirCells) {
    Zarn::RatTrapElement record;
    record.elementId = 47;
    record.position = Point(4, 4);
    record.coveredCells = Zarn::PointSet{Point(4, 4), Point(5, 4)};
    Zarn::RatTrap trap(record, nullptr);
    FakeVisual& node = fake("trap");
    FakeVisual& left = fake("left");
    FakeVisual& right = fake("right");
    floorAt(Point(4, 4), "floorL");
    floorAt(Point(5, 4), "floorR");
    FakeRat2D adapter(&trap, node, &tiles, &zOrder, &grid, left, right);
    adapter.setupVisual();
    const int flipZ = zOrder.highRowTop(4);
    EXPECT_EQ(adapter.flipZ(), flipZ);
    take();

    trap.state.value = Zarn::ERatTrapState(1);
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"left: z " + std::to_string(flipZ), "left: state 0 1"}));
    trap.state.value = Zarn::ERatTrapState(3);
    adapter.syncVisual();
    EXPECT_TRUE(take().empty()) << "the later phases move no board";
    trap.state.value = Zarn::ERatTrapState(0);
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"left: z 0", "right: z 0"}));
    trap.state.value = Zarn::ERatTrapState(2);
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"right: z " + std::to_string(flipZ), "right: state 0 2"}));

    trap.hide();
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"trap: showHide 0 1", "floorL: showHide 1 0",
                                                "floorR: showHide 1 0"}));

    // The players' drawing order on the trap's cells, by phase.
    Zarn::RatTrapPlayerZOrderMod& mod = adapter.playerZOrderMod();
    const int base = flipZ - 100;
    struct Row {
        u8 value;
        int own, rightCell;
    };
    const Row rows[] = {{1, base + 3, base + 1}, {2, base + 1, base + 3}, {5, base + 3, base + 1},
                        {7, base + 1, base + 1}, {6, base + 1, base + 3}, {0, 42, 42}};
    for (const Row& r : rows) {
        trap.state.value = Zarn::ERatTrapState(r.value);
        EXPECT_EQ(mod.apply(FPoint(4 * 64 + 10, 4 * 64 + 10), 42), r.own) << int(r.value);
        EXPECT_EQ(mod.apply(FPoint(5 * 64 + 10, 4 * 64 + 10), 42), r.rightCell) << int(r.value);
        EXPECT_EQ(mod.apply(FPoint(6 * 64 + 10, 4 * 64 + 10), 42), 42) << int(r.value);
    }
    EXPECT_EQ(mod.lastZ, 42);
    EXPECT_EQ(mod.cells, (std::vector<Point>{Point(4, 4), Point(5, 4)}));
}

class FakeVortex2D : public Zarn::VortexTrap2D {
public:
    FakeVortex2D(Zarn::BaseIntervalTrap* trap, FakeVisual& node, const Zarn::ZOrderCalculator* z,
                 FakeVisual& a, FakeVisual& b)
        : VortexTrap2D(trap, &node, nullptr, z), a_(a), b_(b) {}
    Zarn::Sprite2DMediator* createSmallVortex() override { return &a_; }
    Zarn::Sprite2DMediator* createLargeVortex() override { return &b_; }

private:
    FakeVisual& a_;
    FakeVisual& b_;
};

TEST_F(TrapAdaptersTest, VortexPartsStartHiddenAtTheTileCentreAndHearEveryChange) {
    Zarn::RadialTrapElement record;
    record.elementId = 55;
    record.position = Point(3, 3);
    Zarn::IntervalTrap trap(record, nullptr);
    FakeVisual& node = fake("trap");
    FakeVisual& small = fake("small");
    FakeVisual& large = fake("large");
    FakeVortex2D adapter(&trap, node, &zOrder, small, large);
    adapter.setupVisual();
    const std::vector<std::string> setUp = take();
    const std::string partZ = std::to_string(zOrder.highRowMiddle(3));
    for (const char* part : {"small", "large"}) {
        for (const std::string& call :
             {std::string(": position 80 80"), std::string(": opacity 0"), ": z " + partZ})
            EXPECT_NE(std::find(setUp.begin(), setUp.end(), part + call), setUp.end()) << part << call;
    }
    EXPECT_EQ(setUp.back(), "trap: z " + std::to_string(zOrder.rowBase(3)));
    trap.state.value = EIntervalTrapState::active;
    adapter.syncVisual();
    EXPECT_EQ(take(), (std::vector<std::string>{"trap: state 3 1", "small: state 3 1", "large: state 3 1"}));
}

TEST_F(TrapAdaptersTest, AnArmKeepsTheTargetOfItsLastFollowingFrame) {
    Zarn::DelayedTrapElement record;
    record.elementId = 132;
    record.position = Point(4, 2);
    Zarn::FollowHitTrap trap(record, nullptr);
    FakeVisual& node = fake("arm");
    Zarn::FollowHitTrap2D adapter(&trap, &node);
    adapter.setupVisual();
    EXPECT_EQ(take(),
              (std::vector<std::string>{"arm: schedule", "arm: visibility 0",
                                        "arm: z " + std::to_string(Zarn::FollowHitTrap2D::kArmZOrder)}));
    trap.state.value = 2;
    trap.state.armPosition = Point(100, 50);
    adapter.syncVisual();
    EXPECT_EQ(adapter.target(), Point(100, 50));
    trap.state.value = 3;
    trap.state.armPosition = Point(300, 300);
    adapter.syncVisual();
    EXPECT_EQ(adapter.target(), Point(100, 50));
    EXPECT_EQ(take(), (std::vector<std::string>{"arm: state 0 2", "arm: state 2 3"}));
}

// A trap factory for the spawning adapters: a fake picture per trap.
class FakeFactory : public Zarn::Trap2DFactory {
public:
    FakeFactory(TrapAdaptersTest* test) : Trap2DFactory(64), test_(test) {}
    Zarn::NodeMediator* createTrap2D(Zarn::Trap* trap) override;

private:
    TrapAdaptersTest* test_;
};

class SpawnerFixture : public TrapAdaptersTest {
public:
    FakeVisual& pictureFor(Zarn::Trap* trap) {
        return fake("child" + std::to_string(trap->trapRecord->position.x) + "/" +
                    std::to_string(
                        static_cast<int>(static_cast<Zarn::IntervalTrapIMEState&>(trap->getState()).value)));
    }
};

Zarn::NodeMediator* FakeFactory::createTrap2D(Zarn::Trap* trap) {
    return &static_cast<SpawnerFixture*>(test_)->pictureFor(trap);
}

// The world's trap spawner in miniature: owns the children it makes.
class OwningSpawner : public Zarn::TrapSpawner {
public:
    Zarn::Trap* spawnTrap(Zarn::TrapElement& record) override {
        auto& interval = dynamic_cast<Zarn::IntervalTrapElement&>(record);
        record.trapNumber = ++next;
        traps[record.trapNumber] = std::make_unique<Zarn::BombableIntervalTrap>(interval, nullptr);
        if (record.flag) traps[record.trapNumber]->hide();
        return traps[record.trapNumber].get();
    }
    void despawnTrap(u32 number) override { traps.erase(number); }
    std::map<u32, std::unique_ptr<Zarn::Trap>> traps;
    u32 next = 0;
};

TEST_F(SpawnerFixture, ChildPicturesFollowTheTrapsChildrenEvenWhileItIsDisabled) {
    Zarn::TrapSpawningTrapElement record;
    record.elementId = 130;
    record.position = Point(2, 2);
    record.coveredCells = Zarn::PointSet{Point(2, 2), Point(3, 2)};
    record.spawnInterval = 1;
    record.minCount = 2;
    record.maxCount = 2;
    record.startDelay = 0.2f;
    OwningSpawner spawner;
    Zarn::TrapSpawningTrap trap(record, nullptr, spawner);
    trap.seedSource = [] { return 7u; };
    FakeFactory factory(this);
    FakeVisual& root = fake("root");
    factory.setWorldRoot(&root);
    FakeVisual& own = fake("spawner");
    tiles[Point(2, 2)].push_back(&own);
    floorAt(Point(2, 2), "floor2");
    floorAt(Point(3, 2), "floor3");
    Zarn::TrapSpawningTrap2D adapter(&factory, &trap, &own, &tiles);
    adapter.setupVisual();

    trap.enable();
    trap.touches(Point(2, 2), nullptr);
    trap.update(0.03f);
    ASSERT_EQ(trap.spawned.size(), 2u);
    take();
    adapter.syncVisual();
    // Each child's picture is made against the state it was made in (hidden,
    // idle), placed on its cell and added under the world root.
    const std::vector<std::string> added = take();
    EXPECT_EQ(std::count_if(added.begin(), added.end(),
                            [](const std::string& s) { return s.rfind("root: add child", 0) == 0; }),
              2);
    EXPECT_NE(std::find(added.begin(), added.end(), "root: add child2/3"), added.end());
    EXPECT_NE(std::find(added.begin(), added.end(), "child2/3: position 160 160"), added.end());
    EXPECT_EQ(adapter.childCount(), 2u);
    adapter.syncVisual();
    EXPECT_TRUE(take().empty()) << "the same children keep their pictures";

    // A reset removes the children and the trap is disabled: the pictures go
    // all the same, and the floors come back (the spawner's own picture is
    // left alone).
    trap.reset();
    trap.disable();
    adapter.syncVisual();
    const std::vector<std::string> removed = take();
    EXPECT_NE(std::find(removed.begin(), removed.end(), "root: remove child2/3"), removed.end());
    EXPECT_NE(std::find(removed.begin(), removed.end(), "floor2: showHide 1 0"), removed.end());
    EXPECT_NE(std::find(removed.begin(), removed.end(), "floor3: showHide 1 0"), removed.end());
    EXPECT_EQ(std::find(removed.begin(), removed.end(), "spawner: showHide 1 0"), removed.end());
    EXPECT_EQ(adapter.childCount(), 0u);
}

}  // namespace
