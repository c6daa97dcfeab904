#include <gtest/gtest.h>

#include "ElementTestSupport.h"
#include "map/records/MapElement.h"
#include "world/effects/Kill.h"
#include "world/elements/SpawnPoints.h"
#include "world/elements/SteerableIME.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

// A prop of radius 10 at (100, 100).
class SteerableIMETest : public testing::Test {
protected:
    SteerableIMETest() : prop(kFirstSecondaryUnitHandle) {
        zarn_test::openRoom(grid, 10, 10, 32);
        prop.radius = 10.0f;
        prop.cellSize = 32;
        prop.unit.body().position = FPoint(100, 100);
        units.addClient(1);
        player = &units.getUnit(1);
        player->body().position = FPoint(111, 100);
    }

    CellGrid grid;
    SpawnPoints spawns;
    SteerableUnitManager units;
    SteerableUnit* player;
    CombinedElement<FreeNumberedMapElement, CircleSubElement> record;
    SecondarySteerableUnit prop;
};

TEST_F(SteerableIMETest, ALivingPlayerWithinTwoUnitsOfTheRimTouches) {
    SteerableIME element(record, prop);
    EXPECT_FALSE(element.reactsOnEnterOnly());
    EXPECT_TRUE(element.touches(Point(0, 0), player)) << "11 < 12";
    SteerableIME other(record, prop);
    player->body().position = FPoint(112.5f, 100);
    EXPECT_FALSE(other.touches(Point(3, 3), player));
    EXPECT_FALSE(other.touches(Point(3, 3), nullptr));
}

TEST_F(SteerableIMETest, APlayerTouchesAtMostOnceASecond) {
    SteerableIME element(record, prop);
    EXPECT_TRUE(element.touches(Point(3, 3), player));
    element.update(0.5f);
    EXPECT_FALSE(element.touches(Point(3, 3), player));
    element.update(0.5f);
    EXPECT_TRUE(element.touches(Point(3, 3), player)) << "1.0 s after the first contact";
    EXPECT_EQ(element.touchCount, 2u);

    units.addClient(2);
    units.getUnit(2).body().position = FPoint(100, 105);
    EXPECT_TRUE(element.touches(Point(3, 3), &units.getUnit(2))) << "each player has its own cooldown";

    element.reset();
    EXPECT_EQ(element.touchCount, 0u);
    EXPECT_TRUE(element.touches(Point(3, 3), player)) << "reset forgets the contacts";
}

TEST_F(SteerableIMETest, DeadPlayersAndADisabledPropNeverTouch) {
    SteerableIME element(record, prop);
    for (u32 word : {3u, 4u, 8u, 22u}) {
        player->state = word;
        EXPECT_FALSE(element.touches(Point(3, 3), player)) << word;
    }
    player->state = UnitState::carried;
    EXPECT_TRUE(element.touches(Point(3, 3), player)) << "a carried unit is not dead";
    player->state = 0;
    element.disable();
    element.update(2.0f);
    EXPECT_FALSE(element.touches(Point(3, 3), player));
}

TEST_F(SteerableIMETest, ItsKillEffectKillsTheTouchingPlayer) {
    SteerableIME element(record, prop, std::make_unique<Kill>(spawns, grid, 22, 2.0f));
    ASSERT_TRUE(element.touches(Point(3, 3), player));
    auto r = element.effect->apply(player);
    EXPECT_EQ(r->kind, EffectKind::kill);
    EXPECT_EQ(player->state, 22u);
    element.update(1.5f);
    EXPECT_FALSE(element.touches(Point(3, 3), player)) << "dead";
}

TEST_F(SteerableIMETest, UpdateMirrorsTheBodyAndSetStateMovesIt) {
    SteerableIME element(record, prop);
    prop.unit.body().setSteeringVelocity({6, 8});
    element.update(0.03f);
    EXPECT_EQ(element.state.position, FPoint(100, 100));
    EXPECT_EQ(element.state.velocity, FPoint(6, 8));
    EXPECT_EQ(element.state.steeringVelocity, FPoint(6, 8));

    SecondarySteerableUnitState received;
    received.hidden = 1;
    received.value = 4;
    received.number = 9;
    received.position = FPoint(50, 60);
    received.velocity = FPoint(1, 1);
    received.steeringVelocity = FPoint(0, 20);
    element.setState(received);
    EXPECT_TRUE(element.state == received);
    EXPECT_EQ(element.state.number, 9u);
    EXPECT_EQ(prop.unit.body().position, FPoint(50, 60));
    EXPECT_EQ(prop.unit.body().steeringVelocity, FPoint(0, 20));

    element.setState(OnOffIMEState(EOnOffState::off));
    EXPECT_EQ(element.state.value, 4);
}

TEST_F(SteerableIMETest, StateBytesAndPointTolerance) {
    SecondarySteerableUnitState state;
    state.hidden = 1;
    state.value = 3;
    state.number = 0xA0B0C0D0;
    state.position = FPoint(1.5f, -2);
    state.velocity = FPoint(3, 4);
    state.steeringVelocity = FPoint(-5, 6);
    Convinience::Buffer buffer;
    state.serialize(buffer);
    ASSERT_EQ(buffer.size(), 30u);
    EXPECT_EQ(state.serializedSize(), 30u);
    auto back = SecondarySteerableUnitState::fromRaw(buffer.bytes().data(), buffer.size());
    EXPECT_TRUE(*back == state);
    EXPECT_EQ(back->number, 0xA0B0C0D0u);
    EXPECT_EQ(back->steeringVelocity, FPoint(-5, 6));
    EXPECT_THROW(SecondarySteerableUnitState::fromRaw(buffer.bytes().data(), 29),
                 Convinience::ReadPastEndError);

    auto moved = [&](FPoint delta) {
        SecondarySteerableUnitState other = state;
        other.velocity += delta;
        return other;
    };
    EXPECT_TRUE(moved({0.1f, -0.1f}) == state);
    EXPECT_FALSE(moved({0.25f, 0}) == state);
    EXPECT_TRUE(moved({0, 0.25f}) != state);
    SecondarySteerableUnitState exact;
    exact.position = FPoint(0.2f, 0);
    EXPECT_FALSE(exact == SecondarySteerableUnitState()) << "exactly 0.2 counts as a change";
    EXPECT_FALSE(state == InteractiveMapElementState());
    EXPECT_TRUE(*state.clone() == state);
}

}  // namespace
}  // namespace Zarn
