#include <gtest/gtest.h>

#include "map/records/CoinElement.h"
#include "world/elements/Collectable.h"
#include "world/units/MoneyTally.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {
namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class CollectableTest : public testing::Test {
protected:
    CollectableTest() {
        record.position = Point(100, 100);
        record.radius = 16;
        record.value = 25;
        units.addClient(1);
        units.addClient(2);
        tally.addRow(1);
    }
    std::unique_ptr<Collectable> makeCoin() {
        return std::make_unique<Collectable>(record, std::make_unique<MoneyEffect>(tally, record.value));
    }
    SteerableUnit& at(u32 client, FPoint p) {
        SteerableUnit& u = units.getUnit(client);
        u.body().position = p;
        return u;
    }

    CoinElement record;
    MoneyTally tally;
    SteerableUnitManager units;
};

TEST_F(CollectableTest, TakenByTheFirstUnitWithinItsRadiusOnly) {
    struct Case {
        FPoint at;
        bool taken;
    };
    const Case cases[] = {{{110, 110}, true}, {{112, 112}, false}, {{116, 100}, true}, {{100, 83.9f}, false}};
    for (const Case& c : cases) {
        auto coin = makeCoin();
        EXPECT_EQ(coin->touches(Point(0, 0), &at(1, c.at)), c.taken) << c.at.x << "," << c.at.y;
        EXPECT_EQ(coin->isTaken(), c.taken);
    }
}

TEST_F(CollectableTest, IsTakenOnceUntilReset) {
    auto coin = makeCoin();
    EXPECT_TRUE(coin->touches(Point(3, 3), &at(1, {100, 100})));
    EXPECT_FALSE(coin->touches(Point(3, 3), &at(1, {100, 100})));
    EXPECT_FALSE(coin->touches(Point(3, 3), &at(2, {100, 100})));
    coin->reset();
    EXPECT_TRUE(coin->touches(Point(3, 3), &at(2, {100, 100})));
}

TEST_F(CollectableTest, NeedsAUnitAndAnEnabledCoin) {
    auto coin = makeCoin();
    EXPECT_FALSE(coin->touches(Point(3, 3), nullptr));
    coin->disable();
    EXPECT_FALSE(coin->touches(Point(3, 3), &at(1, {100, 100})));
    EXPECT_FALSE(coin->isTaken());
}

TEST_F(CollectableTest, PaysIntoTheUnitsRowOnly) {
    auto coin = makeCoin();
    auto r = coin->effect->apply(&at(1, {100, 100}));
    EXPECT_EQ(r->applied, 1);
    EXPECT_EQ(r->kind, EffectKind::money);
    EXPECT_EQ(r->ids, std::vector<u32>{1});
    EXPECT_EQ(tally.moneyOf(1), 25u);
    coin->effect->apply(&at(1, {100, 100}));
    EXPECT_EQ(tally.moneyOf(1), 50u);

    auto none = coin->effect->apply(&at(2, {100, 100}));
    EXPECT_EQ(none->applied, 1);
    EXPECT_FALSE(tally.hasRow(2));
}

}  // namespace
}  // namespace Zarn
