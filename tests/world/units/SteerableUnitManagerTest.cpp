#include <gtest/gtest.h>

#include <vector>

#include "foundation/Error.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;

TEST(SteerableUnitManagerTest, AddingTwiceKeepsTheFirstUnit) {
    SteerableUnitManager units;
    units.defaultPosition = {64, 96};
    units.addClient(4);
    SteerableUnit& unit = units.getUnit(4);
    EXPECT_EQ(unit.body().position, FPoint(64, 96));
    EXPECT_EQ(unit.handle(), 4u);
    unit.body().position = {1, 2};
    units.addClient(4);
    EXPECT_EQ(&units.getUnit(4), &unit);
    EXPECT_EQ(unit.body().position, FPoint(1, 2));
}

TEST(SteerableUnitManagerTest, LookupsAndTheirFailures) {
    SteerableUnitManager units;
    units.addClient(3);
    SteerableUnit* unit = &units.getUnit(3);
    EXPECT_EQ(units.getClientID(unit), 3u);
    EXPECT_TRUE(units.isLiveUnit(unit));
    EXPECT_THROW(units.getUnit(9), Convinience::ClientIDNotFoundException);
    SteerableUnit stranger(3);
    try {
        units.getClientID(&stranger);
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "no such unit pointer");
    }
    units.removeClient(3);
    units.removeClient(3);
    EXPECT_FALSE(units.isLiveUnit(unit));
    EXPECT_THROW(units.getClientID(unit), Convinience::Error);
    EXPECT_EQ(units.findUnit(3), nullptr);
}

TEST(SteerableUnitManagerTest, VisitsUnitsInClientIdOrder) {
    SteerableUnitManager units;
    for (u32 id : {40u, 2u, 17u, 1000u, 5u}) units.addClient(id);
    std::vector<u32> seen;
    units.forEachUnit([&](u32 id, SteerableUnit& unit) {
        EXPECT_EQ(unit.handle(), id);
        seen.push_back(id);
    });
    EXPECT_EQ(seen, (std::vector<u32>{2, 5, 17, 40, 1000}));
    EXPECT_THROW(units.forEachUnit({}), std::bad_function_call);
    SteerableUnitManager empty;
    EXPECT_THROW(empty.forEachUnit({}), std::bad_function_call);
}

TEST(WatchedUnitTest, ExpiresWithItsUnit) {
    auto unit = std::make_unique<SteerableUnit>(1);
    WatchedUnit watch(unit.get());
    EXPECT_EQ(watch.get(), unit.get());
    unit.reset();
    EXPECT_EQ(watch.get(), nullptr);
    EXPECT_EQ(WatchedUnit().get(), nullptr);
}

}  // namespace
}  // namespace Zarn
