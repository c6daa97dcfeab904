#include <gtest/gtest.h>

#include "visuals/traps/TrapAnimations.h"

namespace {

TEST(TrapDoorTimings, SwingAndWaitFillHalfTheRestTime) {
    const TrapDoorTimings t = trapDoorTimings(2.0f, 1.0f);
    EXPECT_FLOAT_EQ(t.swing, 0.1f);
    EXPECT_FLOAT_EQ(t.wait, 0.9f);
}

}  // namespace
