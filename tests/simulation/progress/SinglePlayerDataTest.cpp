#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/Error.h"
#include "foundation/SaveFiles.h"
#include "simulation/progress/SinglePlayerData.h"

namespace {

using Zarn::LevelStatus;
using Zarn::SinglePlayerData;
namespace playMode = Zarn::playMode;

SinglePlayerData freshProgress(u32 levels) {
    SinglePlayerData data;
    data.setLevelCount(levels);
    data.resetLevels();
    data.resetAll();
    return data;
}

std::string saved(const SinglePlayerData& data) {
    std::ostringstream out;
    EXPECT_TRUE(data.save(out));
    return out.str();
}

u32 u32At(const std::string& bytes, std::size_t offset) {
    u32 v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<u8>(bytes.at(offset + i));
    return v;
}

u64 u64At(const std::string& bytes, std::size_t offset) {
    return (static_cast<u64>(u32At(bytes, offset + 4)) << 32) | u32At(bytes, offset);
}

void putU32(std::string& bytes, std::size_t offset, u32 v) {
    for (int i = 0; i < 4; ++i) bytes.at(offset + i) = static_cast<char>((v >> (8 * i)) & 0xFF);
}

bool loadFrom(SinglePlayerData& data, const std::string& bytes) {
    std::istringstream in(bytes);
    return data.load(in);
}

void expectDefaults(const SinglePlayerData& data) {
    for (u32 i = 0; i < data.levelCount(); ++i) {
        const LevelStatus s = data.getLevelStatus(i);
        EXPECT_EQ(s.locked, i == 0 ? 0 : 1) << "level " << i;
        EXPECT_EQ(s.bestTime, LevelStatus::kNoTime);
        EXPECT_EQ(s.fewestDeaths, LevelStatus::kNoDeaths);
        EXPECT_EQ(s.timeAttackDone, 0);
    }
    EXPECT_EQ(data.lives, 0u);
    EXPECT_EQ(data.livesAtCompletion, 0xFFFFFFFFu);
    EXPECT_EQ(data.normalLevel, 0u);
    EXPECT_EQ(data.limitedLivesLevel, 0u);
    EXPECT_EQ(data.currentLevel, 0u);
    EXPECT_EQ(data.money, 0u);
    EXPECT_EQ(data.runComplete, 0);
    EXPECT_EQ(data.timerMode + data.timeAttackMode + data.limitedLivesMode, 0);
    EXPECT_EQ(data.furthestLevel, 0u);
}

// A progress with every field set to a value of its own, so that a field
// written at the wrong offset shows.
SinglePlayerData distinctiveProgress() {
    SinglePlayerData data = freshProgress(3);
    data.enableMode(playMode::timer);
    data.enableMode(playMode::timeAttack);
    data.selectLevel(2);
    data.currentLevel = 1;
    data.runComplete = 1;
    data.lives = 0x01020304;
    data.livesAtCompletion = 0x0A0B0C0D;
    data.limitedLivesLevel = 1;
    data.money = 0x11223344;
    data.levelStatuses[1] = LevelStatus();
    data.levelStatuses[1].locked = 0;
    data.levelStatuses[1].bestTime = 0x0102030405060708ull;
    data.levelStatuses[1].fewestDeaths = 7;
    data.levelStatuses[1].timeAttackDone = 1;
    return data;
}

}  // namespace

TEST(SinglePlayerData, FreshFileOfThirtyTwoLevelsIs748Bytes) {
    const std::string bytes = saved(freshProgress(32));
    ASSERT_EQ(bytes.size(), 748u);
    EXPECT_EQ(u32At(bytes, 0), 1u);
    EXPECT_EQ(u32At(bytes, 4), 0x13371337u);
    EXPECT_EQ(u32At(bytes, 8), 32u + 14u * 32u);
    for (std::size_t i = 12; i < 268; ++i) ASSERT_EQ(bytes[i], 0) << "reserved byte " << i;
    EXPECT_EQ(u32At(bytes, 268), 32u);
    EXPECT_EQ(u32At(bytes, 288), 0xFFFFFFFFu);  // lives at completion: never
    EXPECT_EQ(static_cast<u8>(bytes[300]), 0);  // level 0 unlocked
    EXPECT_EQ(static_cast<u8>(bytes[314]), 1);  // level 1 locked
}

TEST(SinglePlayerData, FieldsSitAtTheirFileOffsets) {
    const std::string bytes = saved(distinctiveProgress());
    ASSERT_EQ(bytes.size(), 268u + 32u + 3u * 14u);
    EXPECT_EQ(u32At(bytes, 268), 3u);
    EXPECT_EQ(u32At(bytes, 272), 2u);           // normal level
    EXPECT_EQ(u32At(bytes, 276), 1u);           // current level
    EXPECT_EQ(static_cast<u8>(bytes[280]), 1);  // run complete
    EXPECT_EQ(static_cast<u8>(bytes[281]), 0);  // limited lives
    EXPECT_EQ(static_cast<u8>(bytes[282]), 1);  // time attack
    EXPECT_EQ(static_cast<u8>(bytes[283]), 1);  // timer
    EXPECT_EQ(u32At(bytes, 284), 0x01020304u);  // lives
    EXPECT_EQ(u32At(bytes, 288), 0x0A0B0C0Du);  // lives at completion before ...
    EXPECT_EQ(u32At(bytes, 292), 1u);           // ... the limited-lives level
    EXPECT_EQ(u32At(bytes, 296), 0x11223344u);  // money last
    const std::size_t level1 = 300 + 14;
    EXPECT_EQ(static_cast<u8>(bytes[level1]), 0);
    EXPECT_EQ(u64At(bytes, level1 + 1), 0x0102030405060708ull);
    EXPECT_EQ(u32At(bytes, level1 + 9), 7u);
    EXPECT_EQ(static_cast<u8>(bytes[level1 + 13]), 1);
}

TEST(SinglePlayerData, LoadRestoresFieldsModesAndRunPosition) {
    SinglePlayerData original = distinctiveProgress();
    original.enableMode(playMode::deaths);
    original.limitedLivesMode = 1;  // saved flag; the set is rebuilt from the flags
    const std::string bytes = saved(original);

    SinglePlayerData loaded;
    loaded.enableMode(playMode::deaths);
    ASSERT_TRUE(loadFrom(loaded, bytes));
    EXPECT_EQ(loaded.activeModes(),
              (std::vector<u8>{playMode::timer, playMode::limitedLives, playMode::timeAttack}));
    // Limited lives is on, so the limited-lives level (1) is the furthest one.
    EXPECT_EQ(loaded.furthestLevel, 1u);
    EXPECT_EQ(loaded.getLevelStatus(1).locked, 0);
    EXPECT_EQ(loaded.getLevelStatus(2).locked, 1);
    EXPECT_EQ(loaded.money, 0x11223344u);
    EXPECT_EQ(loaded.lives, 0x01020304u);
    EXPECT_EQ(loaded.livesAtCompletion, 0x0A0B0C0Du);
    EXPECT_EQ(loaded.normalLevel, 2u);
    EXPECT_EQ(loaded.getLevelStatus(1).bestTime, 0x0102030405060708ull);
    EXPECT_EQ(loaded.getLevelStatus(1).fewestDeaths, 7u);
    const std::string again = saved(loaded);
    EXPECT_EQ(again.substr(0, 300 + 28), bytes.substr(0, 300 + 28));  // level 2 locks again
}

TEST(SinglePlayerData, SelectingALevelLocksEveryLaterLevel) {
    SinglePlayerData data = freshProgress(10);
    data.selectLevel(9);
    data.selectLevel(5);
    for (u32 i = 0; i < 10; ++i) EXPECT_EQ(data.getLevelStatus(i).locked, i <= 5 ? 0 : 1) << i;
    EXPECT_EQ(data.normalLevel, 5u);
    EXPECT_EQ(data.furthestLevel, 5u);

    data.enableMode(playMode::limitedLives);  // selects the limited-lives level, 0
    data.selectLevel(3);
    EXPECT_EQ(data.limitedLivesLevel, 3u);
    EXPECT_EQ(data.normalLevel, 5u);
    data.disableMode(playMode::limitedLives);
    EXPECT_EQ(data.furthestLevel, 5u);
    EXPECT_EQ(data.getLevelStatus(5).locked, 0);
}

TEST(SinglePlayerData, OutOfRangeLevelsThrowNoSuchLevel) {
    SinglePlayerData data = freshProgress(4);
    for (auto call :
         {+[](SinglePlayerData& d) { d.getLevelStatus(4); }, +[](SinglePlayerData& d) { d.selectLevel(4); },
          +[](SinglePlayerData& d) { d.recordLevelResult(4, {}); }}) {
        try {
            call(data);
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), "no such level");
        }
    }
}

TEST(SinglePlayerData, CompletingAdvancesOnlyFromTheFurthestLevel) {
    SinglePlayerData data = freshProgress(5);
    data.selectLevel(2);
    data.currentLevel = 1;  // replayed from the list
    data.completeLevel();
    EXPECT_EQ(data.furthestLevel, 2u);
    EXPECT_EQ(data.normalLevel, 2u);
    EXPECT_EQ(data.getLevelStatus(3).locked, 1);

    data.currentLevel = 2;
    data.completeLevel();
    EXPECT_EQ(data.furthestLevel, 3u);
    EXPECT_EQ(data.normalLevel, 3u);
    EXPECT_EQ(data.getLevelStatus(3).locked, 0);
    EXPECT_EQ(data.runComplete, 0);
}

TEST(SinglePlayerData, BeatingTheLastLevelStoresLivesOnlyInLimitedLives) {
    struct Case {
        bool limitedLives;
        u32 expectedLivesAtCompletion;
    };
    for (const Case c : {Case{true, 2}, Case{false, 0xFFFFFFFF}}) {
        SinglePlayerData data = freshProgress(3);
        if (c.limitedLives) data.enableMode(playMode::limitedLives);
        data.selectLevel(2);
        data.currentLevel = 2;
        data.lives = 2;
        data.completeLevel();
        EXPECT_EQ(data.runComplete, 1);
        EXPECT_EQ(data.livesAtCompletion, c.expectedLivesAtCompletion) << c.limitedLives;
        EXPECT_EQ(data.furthestLevel, 2u);
    }
}

TEST(SinglePlayerData, RecordingKeepsBestValuesOfActiveModesOnly) {
    SinglePlayerData data = freshProgress(2);
    data.recordLevelResult(0, {.deaths = 4, .lives = 0, .time = 9000, .money = 0});
    EXPECT_EQ(data.getLevelStatus(0).fewestDeaths, 4u);
    EXPECT_EQ(data.getLevelStatus(0).bestTime, LevelStatus::kNoTime);  // timer off
    EXPECT_EQ(data.getLevelStatus(0).timeAttackDone, 0);

    data.enableMode(playMode::timer);
    data.enableMode(playMode::timeAttack);
    data.recordLevelResult(0, {.deaths = 6, .lives = 0, .time = 9000, .money = 0});
    data.recordLevelResult(0, {.deaths = 5, .lives = 0, .time = 12000, .money = 0});
    EXPECT_EQ(data.getLevelStatus(0).fewestDeaths, 4u);
    EXPECT_EQ(data.getLevelStatus(0).bestTime, 9000u);
    EXPECT_EQ(data.getLevelStatus(0).timeAttackDone, 1);
}

TEST(SinglePlayerData, ModesKeepTheirOrderAndFlags) {
    SinglePlayerData data = freshProgress(4);
    data.enableMode(playMode::timeAttack);
    data.enableMode(playMode::deaths);
    data.enableMode(playMode::timeAttack);
    data.enableMode(playMode::timer);
    EXPECT_EQ(data.activeModes(), (std::vector<u8>{2, 0, 1}));
    EXPECT_EQ(data.timeAttackMode, 1);
    EXPECT_EQ(data.timerMode, 1);
    data.disableMode(playMode::timeAttack);
    EXPECT_EQ(data.activeModes(), (std::vector<u8>{0, 1}));
    EXPECT_EQ(data.timeAttackMode, 0);

    data.selectLevel(3);
    data.enableMode(playMode::limitedLives);
    data.limitedLivesLevel = 2;
    data.restartLives();
    EXPECT_EQ(data.lives, 3u);
    EXPECT_EQ(data.limitedLivesLevel, 0u);
    EXPECT_EQ(data.furthestLevel, 0u);
    EXPECT_EQ(data.getLevelStatus(1).locked, 1);
    EXPECT_EQ(data.normalLevel, 3u);
}

TEST(SinglePlayerData, WrongMagicLoadsAsDefaults) {
    std::string bytes = saved(distinctiveProgress());
    putU32(bytes, 4, 0x13371338);
    SinglePlayerData data = distinctiveProgress();
    EXPECT_FALSE(loadFrom(data, bytes));
    expectDefaults(data);
}

TEST(SinglePlayerData, SavedPositionPastTheLevelListLoadsAsDefaults) {
    struct Case {
        const char* name;
        u8 limitedLivesFlag;
        u32 normalLevel;
        u32 limitedLivesLevel;
        u32 currentLevel;
        bool loads;
    };
    const Case cases[] = {
        {"normal level past the list", 0, 3, 0, 0, false},
        {"limited-lives level past the list", 1, 0, 3, 0, false},
        {"normal level ignored in limited lives", 1, 7, 2, 0, true},
        {"last level", 0, 2, 9, 2, true},
        {"current level past the list", 0, 0, 0, 3, false},
        {"current level all bits set", 1, 0, 0, 0xFFFFFFFF, false},
    };
    for (const Case& c : cases) {
        std::string bytes = saved(freshProgress(3));
        bytes[281] = static_cast<char>(c.limitedLivesFlag);
        putU32(bytes, 272, c.normalLevel);
        putU32(bytes, 276, c.currentLevel);
        putU32(bytes, 292, c.limitedLivesLevel);
        SinglePlayerData data = freshProgress(3);
        EXPECT_EQ(loadFrom(data, bytes), c.loads) << c.name;
        if (!c.loads) expectDefaults(data);
    }
}

TEST(SinglePlayerData, TruncatedOrLyingFilesLoadAsDefaultsWithoutReadingPastTheEnd) {
    const std::string good = saved(distinctiveProgress());
    // Every proper prefix of a good file.
    for (std::size_t n = 0; n < good.size(); ++n) {
        SinglePlayerData data = distinctiveProgress();
        ASSERT_FALSE(loadFrom(data, good.substr(0, n))) << "prefix " << n;
        expectDefaults(data);
    }
    struct Case {
        const char* name;
        std::size_t offset;
        u32 value;
    };
    const Case lies[] = {
        {"body size past the end", 8, 32 + 14 * 3 + 1}, {"huge body size", 8, 0xFFFFFFFF},
        {"level count past the body", 268, 4},          {"huge level count", 268, 0xFFFFFFFF},
        {"body too short for its fixed part", 8, 31},
    };
    for (const Case& c : lies) {
        std::string bytes = good;
        putU32(bytes, c.offset, c.value);
        SinglePlayerData data = distinctiveProgress();
        EXPECT_FALSE(loadFrom(data, bytes)) << c.name;
        expectDefaults(data);
    }
}

TEST(SinglePlayerData, StartUpWithABadFileStillOpensTheFirstLevel) {
    // The application loads into the empty record, then sizes it to the list.
    SinglePlayerData data;
    EXPECT_FALSE(loadFrom(data, "not a progress file"));
    data.setLevelCount(32);
    expectDefaults(data);
    EXPECT_EQ(data.levelCount(), 32u);
}

TEST(SinglePlayerData, SetLevelCountKeepsExistingLevels) {
    SinglePlayerData data = freshProgress(3);
    data.selectLevel(2);
    data.setLevelCount(5);
    EXPECT_EQ(data.getLevelStatus(2).locked, 0);
    EXPECT_EQ(data.getLevelStatus(4).locked, 1);
    data.setLevelCount(1);
    EXPECT_EQ(data.levelCount(), 1u);
    EXPECT_EQ(saved(data).size(), 268u + 32u + 14u);
}

TEST(SinglePlayerData, BadSaveFileIsKeptAsideAndGoodOnesRoundTrip) {
    const std::string name = "progress-test.bin";
    const std::string path = Convinience::writablePath() + name;
    // Whatever an earlier run left behind (this test repeated, or stopped midway).
    const auto clean = [&] {
        std::filesystem::remove(path);
        std::filesystem::remove(path + ".bad");
    };
    clean();

    SinglePlayerData data;
    EXPECT_FALSE(data.loadFromSaveFile(name));  // missing: no backup
    EXPECT_FALSE(std::filesystem::exists(path + ".bad"));

    const std::string corrupt = saved(distinctiveProgress()).substr(0, 290);
    std::ofstream(path, std::ios::binary) << corrupt;
    data = distinctiveProgress();
    EXPECT_FALSE(data.loadFromSaveFile(name));
    expectDefaults(data);
    std::ifstream backup(path + ".bad", std::ios::binary);
    std::stringstream kept;
    kept << backup.rdbuf();
    EXPECT_EQ(kept.str(), corrupt);

    const SinglePlayerData original = distinctiveProgress();
    ASSERT_TRUE(original.writeToSaveFile(name));
    EXPECT_EQ(std::filesystem::file_size(path), 268u + 32u + 3u * 14u);
    ASSERT_TRUE(data.loadFromSaveFile(name));
    EXPECT_EQ(saved(data), saved(original));
    clean();
}
