#include <gtest/gtest.h>

#include <cmath>

#include "../support/StateWorld.h"
#include "foundation/Error.h"
#include "simulation/state/StateInterpolator.h"
#include "world/triggers/DialogPlayer.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;

ClientState at(u32 id, float x, float y, u32 mainState = 0) {
    ClientState c;
    c.clientID = id;
    c.position = {x, y};
    c.mainState = mainState;
    return c;
}

struct ClientWorld {
    ClientWorld() : dialogs(table, 1), interpolator(units, &world, &world.numbered, &dialogs) {
        units.addClient(1);
        units.addClient(2);
        world.addTrap(5, 43);
        world.addElement(10, 36);
        table[3] = DialogEntry();
        interpolator.secondsPerTick = 0.03f;
    }
    GeometryLib::FPoint pos(u32 id) { return units.getUnit(id).body().position; }

    zarn_test::StateWorld world;
    SteerableUnitManager units;
    DialogTable table;
    DialogPlayer dialogs;
    StateInterpolator interpolator;
};

void expectNear(const GeometryLib::FPoint& p, float x, float y) {
    EXPECT_NEAR(p.x, x, 1e-3f);
    EXPECT_NEAR(p.y, y, 1e-3f);
}

// The server lists units in its own order; a state that lists them in
// another order must still move each unit towards its own next position.
TEST(StateInterpolator, PairsUnitsByClientIdNotByListIndex) {
    ClientWorld c;
    GameState from;
    from.tick = 10;
    from.clientStates = {at(1, 0, 0), at(2, 100, 100)};
    GameState to;
    to.tick = 12;
    to.clientStates = {at(2, 100, 106), at(1, 6, 0)};
    c.interpolator.start(from, to);
    EXPECT_NEAR(c.interpolator.duration, 0.06f, 1e-6f);
    expectNear(c.units.getUnit(1).body().velocity, 100.0f, 0.0f);
    expectNear(c.units.getUnit(2).body().velocity, 0.0f, 100.0f);

    c.interpolator.step(0.03f);
    expectNear(c.pos(1), 3.0f, 0.0f);
    expectNear(c.pos(2), 100.0f, 103.0f);
    c.interpolator.step(0.05f);  // past the end: stops at `to`
    EXPECT_TRUE(c.interpolator.finished());
    expectNear(c.pos(1), 6.0f, 0.0f);
    expectNear(c.pos(2), 100.0f, 106.0f);
    c.interpolator.step(0.03f);
    expectNear(c.pos(1), 6.0f, 0.0f);
}

TEST(StateInterpolator, EqualTicksFinishAtOnceWithoutInfiniteVelocity) {
    ClientWorld c;
    GameState from;
    from.tick = 4;
    from.clientStates = {at(1, 0, 0)};
    GameState to = from;
    to.clientStates = {at(1, 50, 0)};
    c.interpolator.start(from, to);
    EXPECT_TRUE(c.interpolator.finished());
    const GeometryLib::FPoint v = c.units.getUnit(1).body().velocity;
    EXPECT_TRUE(std::isfinite(v.x) && std::isfinite(v.y));
}

TEST(StateInterpolator, StatesOfUnitsTrapsElementsAndDialogFollowTheSegment) {
    ClientWorld c;
    GameState from;
    from.tick = 1;
    from.clientStates = {at(1, 0, 0, 0)};
    from.clientStates[0].statusValues = {10};
    from.mapState.trapStates.put(5, std::make_unique<IntervalTrapIMEState>(EIntervalTrapState::arming));
    from.mapState.trapStates.put(99, std::make_unique<IntervalTrapIMEState>());  // no such trap: skipped
    GameState to;
    to.tick = 2;
    to.clientStates = {at(1, 3, 0, 17)};
    to.mapState.trapStates.put(5, std::make_unique<IntervalTrapIMEState>(EIntervalTrapState::active));
    to.mapState.elementStates.put(10, std::make_unique<DoorIMEState>(EDoorState::open));
    to.mapState.dialogPlaying = 1;
    to.mapState.dialogNumber = 3;

    c.interpolator.start(from, to);
    SteerableUnit& unit = c.units.getUnit(1);
    EXPECT_TRUE(unit.statuses.containsTen());
    EXPECT_EQ(static_cast<IntervalTrapIMEState&>(c.world.findTrap(5)->getState()).value,
              EIntervalTrapState::arming);
    c.interpolator.step(0.03f);
    EXPECT_EQ(unit.state, 17u);
    EXPECT_FALSE(unit.statuses.containsTen());
    EXPECT_EQ(static_cast<IntervalTrapIMEState&>(c.world.findTrap(5)->getState()).value,
              EIntervalTrapState::active);
    EXPECT_EQ(static_cast<DoorIMEState&>(c.world.numbered.get(10).getState()).value, EDoorState::open);
    EXPECT_EQ(c.dialogs.isPlaying(), 1);
    EXPECT_EQ(c.dialogs.getCurrent(), 3u);
}

TEST(StateInterpolator, UnknownElementNumberThrows) {
    ClientWorld c;
    GameState from;
    from.tick = 1;
    from.mapState.elementStates.put(77, std::make_unique<DoorIMEState>());
    GameState to = from;
    to.tick = 2;
    EXPECT_THROW(c.interpolator.start(from, to), Convinience::Error);
}

}  // namespace
