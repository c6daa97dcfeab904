#include <gtest/gtest.h>

#include "world/units/MoneyTally.h"

namespace Zarn {
namespace {

TEST(MoneyTallyTest, PaysIntoExistingRowsOnly) {
    MoneyTally tally;
    tally.addRow(3);
    EXPECT_TRUE(tally.add(3, 5));
    EXPECT_TRUE(tally.add(3, 7));
    EXPECT_FALSE(tally.add(4, 5));
    EXPECT_EQ(tally.moneyOf(3), 12u);
    EXPECT_FALSE(tally.hasRow(4));
    tally.addRow(3);
    EXPECT_EQ(tally.moneyOf(3), 12u);
    tally.removeRow(3);
    EXPECT_EQ(tally.moneyOf(3), 0u);
}

}  // namespace
}  // namespace Zarn
