#include <gtest/gtest.h>

#include <map>
#include <stdexcept>

#include "world/triggers/DialogPlayer.h"

using Zarn::DialogEntry;
using Zarn::DialogPlayer;
using Zarn::DialogTable;

namespace {

DialogTable tableOf(std::initializer_list<u32> numbers) {
    DialogTable table;
    for (u32 n : numbers) table.emplace(n, DialogEntry("text " + std::to_string(n), "PART", n, {}));
    return table;
}

}  // namespace

TEST(DialogPlayer, PlaysOnlyNumbersInTheTable) {
    DialogTable table = tableOf({3, 7});
    DialogPlayer player(table, 1);
    EXPECT_EQ(player.isPlaying(), 0);
    EXPECT_FALSE(player.play(99));
    EXPECT_EQ(player.isPlaying(), 0);
    EXPECT_TRUE(player.play(7));
    EXPECT_EQ(player.getCurrent(), 7u);
    EXPECT_EQ(player.isPlaying(), 1);
    player.play(99);
    EXPECT_EQ(player.getCurrent(), 7u);
    player.stop();
    EXPECT_EQ(player.isPlaying(), 0);
    EXPECT_EQ(player.getCurrent(), 7u);
}

TEST(DialogPlayer, SequencedListsPlayInOrderThenNothingPerListObject) {
    DialogTable table = tableOf({1, 2, 3});
    DialogPlayer player(table, 1);
    const std::vector<u32> list{1, 2, 3};
    const std::vector<u32> sameContent{1, 2, 3};
    std::vector<u32> played;
    for (int i = 0; i < 4; ++i) {
        player.stop();
        player.playSequenced(list);
        played.push_back(player.isPlaying() ? player.getCurrent() : 0);
    }
    EXPECT_EQ(played, (std::vector<u32>{1, 2, 3, 0}));
    // Another list with equal content has its own progress.
    player.playSequenced(sameContent);
    EXPECT_EQ(player.getCurrent(), 1u);
    EXPECT_EQ(player.isPlaying(), 1);
}

TEST(DialogPlayer, SequencedListSkipsMissingNumbersButAdvances) {
    DialogTable table = tableOf({1, 3});
    DialogPlayer player(table, 1);
    const std::vector<u32> list{1, 2, 3};
    player.playSequenced(list);
    player.stop();
    player.playSequenced(list);  // 2 is missing: nothing plays
    EXPECT_EQ(player.isPlaying(), 0);
    player.playSequenced(list);
    EXPECT_EQ(player.getCurrent(), 3u);
}

TEST(DialogPlayer, EmptyListsThrowOutOfRange) {
    DialogTable table = tableOf({1});
    DialogPlayer player(table, 1);
    const std::vector<u32> empty;
    EXPECT_THROW(player.playSequenced(empty), std::out_of_range);
    EXPECT_THROW(player.playRandom(empty), std::out_of_range);
    EXPECT_EQ(player.isPlaying(), 0);
}

TEST(DialogPlayer, RandomIsSeededAndCoversTheList) {
    DialogTable table = tableOf({10, 20, 30});
    const std::vector<u32> list{10, 20, 30};
    DialogPlayer a(table, 42);
    DialogPlayer b(table, 42);
    std::map<u32, int> counts;
    for (int i = 0; i < 3000; ++i) {
        a.playRandom(list);
        b.playRandom(list);
        ASSERT_EQ(a.getCurrent(), b.getCurrent());
        ++counts[a.getCurrent()];
    }
    ASSERT_EQ(counts.size(), 3u);
    for (const auto& [number, count] : counts) {
        EXPECT_GT(count, 850) << number;
        EXPECT_LT(count, 1150) << number;
    }
    const std::vector<u32> single{20};
    a.playRandom(single);
    EXPECT_EQ(a.getCurrent(), 20u);
}
