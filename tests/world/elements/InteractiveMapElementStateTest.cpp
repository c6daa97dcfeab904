#include <gtest/gtest.h>

#include <vector>

#include "world/elements/InteractiveMapElementState.h"

namespace Zarn {
namespace {

using Bytes = std::vector<u8>;

TEST(InteractiveMapElementStateTest, ByteLayoutsOfFreshStates) {
    EXPECT_EQ(InteractiveMapElementState().toBytes(), (Bytes{0}));
    EXPECT_EQ(OnOffIMEState().toBytes(), (Bytes{0, 1}));
    EXPECT_EQ(IntervalTrapIMEState().toBytes(), (Bytes{0, 3}));
    EXPECT_EQ(DoorIMEState().toBytes(), (Bytes{0, 1}));
    EXPECT_EQ(RatTrapIMEState().toBytes(), (Bytes{0, 0}));
    EXPECT_EQ(CollectableIMEState().toBytes(), (Bytes{0, 0}));
    EXPECT_EQ(BossState().toBytes(), (Bytes{0, 0, 0}));

    BossState boss;
    boss.hidden = 1;
    boss.state = 7;
    boss.health = 9;
    EXPECT_EQ(boss.toBytes(), (Bytes{1, 7, 9}));
    EXPECT_EQ(boss.serializedSize(), 3u);
    IntervalTrapIMEState trap(EIntervalTrapState::intercepted);
    trap.hidden = 1;
    EXPECT_EQ(trap.toBytes(), (Bytes{1, 5}));
}

TEST(InteractiveMapElementStateTest, RawMakersReadTheirBytesAndRefuseShortInput) {
    const Bytes raw{1, 7, 9};
    EXPECT_EQ(InteractiveMapElementState::fromRaw(raw.data(), raw.size())->hidden, 1);
    auto boss = BossState::fromRaw(raw.data(), raw.size());
    EXPECT_EQ(boss->hidden, 1);
    EXPECT_EQ(boss->state, 7);
    EXPECT_EQ(boss->health, 9);
    auto door = DoorIMEState::fromRaw(raw.data(), 2);
    EXPECT_EQ(door->hidden, 1);
    EXPECT_EQ(static_cast<u8>(door->value), 7);

    EXPECT_THROW(InteractiveMapElementState::fromRaw(raw.data(), 0), Convinience::ReadPastEndError);
    EXPECT_THROW(DoorIMEState::fromRaw(raw.data(), 1), Convinience::ReadPastEndError);
    EXPECT_THROW(BossState::fromRaw(raw.data(), 2), Convinience::ReadPastEndError);
}

TEST(InteractiveMapElementStateTest, EqualityNeedsTheSameClassAndFields) {
    const DoorIMEState door;
    const OnOffIMEState onOff;
    EXPECT_FALSE(door == onOff);
    EXPECT_TRUE(door != onOff);
    EXPECT_FALSE(InteractiveMapElementState() == door);
    EXPECT_FALSE(door == InteractiveMapElementState());
    EXPECT_TRUE(InteractiveMapElementState() == InteractiveMapElementState());

    BossState a, b;
    b.health = 1;
    EXPECT_TRUE(a != b);
    b.health = 0;
    EXPECT_TRUE(a == b);
    b.hidden = 1;
    EXPECT_FALSE(a == b);

    auto copy = b.clone();
    EXPECT_TRUE(*copy == b);
    EXPECT_NE(dynamic_cast<BossState*>(copy.get()), nullptr);
    auto doorCopy = door.clone();
    EXPECT_TRUE(*doorCopy == door);
    EXPECT_FALSE(*doorCopy == onOff);
}

}  // namespace
}  // namespace Zarn
