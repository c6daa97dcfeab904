#include <gtest/gtest.h>

#include "world/units/ContactCooldown.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

TEST(ContactCooldownTest, AContactCountsOncePerCooldown) {
    ContactCooldown cooldown(1.0f);
    SteerableUnit a(1), b(2);
    EXPECT_TRUE(cooldown.isReady(&a));
    cooldown.touch(&a);
    EXPECT_FALSE(cooldown.isReady(&a));
    EXPECT_TRUE(cooldown.isReady(&b));
    cooldown.advance(0.5f);
    EXPECT_FALSE(cooldown.isReady(&a));
    cooldown.advance(0.5f);
    EXPECT_TRUE(cooldown.isReady(&a));  // cooldown == clock - entry: ready, entry erased
    EXPECT_TRUE(cooldown.contacts.empty());
    cooldown.touch(&a);
    cooldown.touch(&a);
    EXPECT_EQ(cooldown.contacts.size(), 1u);
    EXPECT_EQ(cooldown.contacts.at(1), 1.0f);
}

// A unit that leaves and a new unit that happens to take its memory do not
// share a cooldown entry: entries are keyed by handle.
TEST(ContactCooldownTest, EntriesFollowTheHandleNotTheAddress) {
    ContactCooldown cooldown(1.0f);
    auto first = std::make_unique<SteerableUnit>(1);
    cooldown.touch(first.get());
    first.reset();
    auto second = std::make_unique<SteerableUnit>(2);
    EXPECT_TRUE(cooldown.isReady(second.get()));
    cooldown.clear();
    EXPECT_EQ(cooldown.clock, 0.0f);
    EXPECT_TRUE(cooldown.isReady(1u));
}

}  // namespace
}  // namespace Zarn
