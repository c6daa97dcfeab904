#include <gtest/gtest.h>

#include "tools/RoomText.h"
#include "tools/SolutionScript.h"

using namespace Zarn;

namespace {

TEST(SolutionScript, ReadsStepsPerPlayerAndTheMedal) {
    const Solution s = parseSolution(R"(# a co-op run
medal silver
move 3 2.5
until 1.5
player 1
go 4 4
reach 6 4   # carried there
wait 0.3
dismiss
)");
    EXPECT_EQ(s.medal, Solution::Medal::silver);
    ASSERT_EQ(s.players.size(), 2u);
    ASSERT_EQ(s.players[0].size(), 2u);
    EXPECT_EQ(s.players[0][0].kind, SolutionStep::Kind::move);
    EXPECT_EQ(s.players[0][0].y, 2.5f);
    EXPECT_EQ(s.players[0][0].line, 3);
    EXPECT_EQ(s.players[0][1].seconds, 1.5f);
    ASSERT_EQ(s.players[1].size(), 4u);
    EXPECT_EQ(s.players[1][0].kind, SolutionStep::Kind::go);
    EXPECT_EQ(s.players[1][1].kind, SolutionStep::Kind::reach);
    EXPECT_EQ(s.players[1][3].kind, SolutionStep::Kind::dismiss);
}

TEST(SolutionScript, RefusesFaultyStepsWithTheirLine) {
    const std::vector<std::pair<std::string, int>> faults = {
        {"move 3\n", 1},   {"wait -1\n", 1},     {"# fine\nfly 2 3\n", 2}, {"medal bronze\n", 1},
        {"player 7\n", 1}, {"dismiss now\n", 1}, {"until soon\n", 1}};
    for (const auto& [text, line] : faults) {
        SCOPED_TRACE(text);
        try {
            parseSolution(text);
            ADD_FAILURE() << "parsed";
        } catch (const RoomSourceError& e) {
            EXPECT_EQ(e.line(), line) << e.what();
        }
    }
}

}  // namespace
