#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>

#include "foundation/Buffer.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "simulation/achievements/AchievementTracker.h"
#include "simulation/achievements/LocalAchievementService.h"
#include "simulation/core/ClientGameCore.h"
#include "support/TestEnvironment.h"

namespace {

using namespace Zarn;

SinglePlayerData progressWithLevels(u32 levels) {
    SinglePlayerData data;
    data.setLevelCount(levels);
    data.resetLevels();
    data.resetAll();
    return data;
}

void beat(SinglePlayerData& data, u32 level, u32 deaths, u64 time = LevelStatus::kNoTime,
          bool timeAttack = false) {
    data.levelStatuses[level].fewestDeaths = deaths;
    data.levelStatuses[level].bestTime = time;
    data.levelStatuses[level].timeAttackDone = timeAttack ? 1 : 0;
}

LevelList levelList(u32 n) {
    LevelEntry entry;
    entry.mapName = "room";
    entry.deathGoldGoal = 0;
    entry.deathSilverGoal = 2;
    entry.deathBronzeGoal = 4;
    entry.timeGoldGoal = 10000;
    entry.timeSilverGoal = 15000;
    entry.timeBronzeGoal = 30000;
    entry.timeAttackLimit = 30000;
    return LevelList(n, entry);
}

std::string logText() {
    Convinience::Logger::flush();
    std::string all;
    for (const auto& e : std::filesystem::directory_iterator(zarn_test::tempDir())) {
        if (e.path().extension() != ".log") continue;
        std::ifstream in(e.path());
        std::stringstream s;
        s << in.rdbuf();
        all += s.str();
    }
    return all;
}

class FakeService : public ThirdParty::AchievementService {
public:
    bool ready() override { return isReady; }
    void request(const std::string& id) override { requested.push_back(id); }
    void unlock(const ThirdParty::Achievement& a) override { unlocked.push_back(a.id); }
    void store() override { ++stores; }

    void report(const std::string& id, u8 achieved) {
        ThirdParty::Achievement a;
        a.id = id;
        a.achieved = achieved;
        onAchievement(a);
    }

    bool isReady = true;
    std::vector<std::string> requested;
    std::vector<std::string> unlocked;
    int stores = 0;
};

class FakeStore : public ThirdParty::AchievementStore {
public:
    bool ready() override { return isReady; }
    bool isReady = true;
};

class Achievements : public ::testing::Test {
protected:
    SinglePlayerData data = progressWithLevels(12);
    LevelList levels = levelList(12);
    AchievementCache cache;
    PassiveAchievementTriggerFactory factory{data, levels, cache};
};

}  // namespace

TEST_F(Achievements, LevelsBeatenCountsLevelsWithADeathRecord) {
    for (u32 i = 0; i < 10; ++i) beat(data, i, 7);
    auto triggers = factory.create({"BEAT_1_LEVEL", "BEAT_10_LEVELS", "BEAT_50_LEVELS", "BEAT_100_LEVELS"});
    ASSERT_EQ(triggers.size(), 4u);
    EXPECT_EQ(triggers[1]->id, "BEAT_10_LEVELS");
    EXPECT_TRUE(triggers[0]->compute());
    EXPECT_TRUE(triggers[1]->compute());
    EXPECT_FALSE(triggers[2]->compute());
    EXPECT_FALSE(triggers[3]->compute());

    // With fewer than 50 levels, 50 can never be beaten.
    for (u32 i = 0; i < 12; ++i) beat(data, i, 0);
    EXPECT_FALSE(triggers[2]->compute());
}

TEST_F(Achievements, FactoryKnowsOnlyTheFourBeatIds) {
    auto triggers = factory.create({"DEATH_GOLD_1", "BEAT_1_LEVEL", "NOT_AN_ID"});
    ASSERT_EQ(triggers.size(), 1u);
    EXPECT_EQ(triggers[0]->id, "BEAT_1_LEVEL");
    const std::string log = logText();
    EXPECT_NE(log.find("No such passive achievement id for creation: DEATH_GOLD_1"), std::string::npos);
    EXPECT_NE(log.find("No such passive achievement id for creation: NOT_AN_ID"), std::string::npos);

    struct Number {
        u32 number;
        const char* id;
    };
    const Number numbers[] = {{0, "BEAT_1_LEVEL"},
                              {3, "BEAT_100_LEVELS"},
                              {4, "DEATH_GOLD_1"},
                              {7, "DEATH_GOLD_100"},
                              {8, "TIMER_GOLD_1"},
                              {11, "TIMER_GOLD_100"},
                              {12, nullptr},
                              {15, nullptr},
                              {16, "TIME_ATTACK_GOLD_1"},
                              {19, "TIME_ATTACK_GOLD_100"},
                              {20, "BEAT_SINGLE_PLAYER"},
                              {23, "BEAT_WITH_ALL_MODES"},
                              {26, "BEAT_WITH_LIMITED_LIVES_1"},
                              {27, nullptr}};
    for (const Number& n : numbers) {
        auto trigger = factory.createByNumber(n.number);
        if (n.id == nullptr) {
            EXPECT_EQ(trigger, nullptr) << n.number;
        } else {
            ASSERT_NE(trigger, nullptr) << n.number;
            EXPECT_EQ(trigger->id, n.id);
        }
    }
}

TEST_F(Achievements, MedalCountsUseTheLevelGoalsOfEachMode) {
    beat(data, 0, 0, 10000, true);   // death gold, timer gold (equal to the goal)
    beat(data, 1, 2, 10001, false);  // death silver, timer silver
    beat(data, 2, 0, 30001, true);   // death gold, no timer medal
    // Level 3 is not beaten: no deaths record, no medal.
    struct Case {
        u8 mode;
        Medal medal;
        u32 expected;
    };
    const Case cases[] = {
        {playMode::deaths, Medal::Gold, 2},       {playMode::deaths, Medal::Silver, 1},
        {playMode::deaths, Medal::None, 9},       {playMode::timer, Medal::Gold, 1},
        {playMode::timer, Medal::Silver, 1},      {playMode::timeAttack, Medal::Gold, 2},
        {playMode::timeAttack, Medal::Bronze, 2},
    };
    for (const Case& c : cases) {
        MedalCountAch exact("m", data, cache, levels, c.mode, c.medal, c.expected);
        MedalCountAch oneMore("m", data, cache, levels, c.mode, c.medal, c.expected + 1);
        EXPECT_TRUE(exact.compute()) << int(c.mode) << " " << int(c.medal);
        EXPECT_FALSE(oneMore.compute()) << int(c.mode) << " " << int(c.medal);
    }
    // Limited lives: the lives at completion give one medal to every level.
    const std::pair<u32, Medal> lives[] = {{1, Medal::Gold}, {2, Medal::Silver}, {3, Medal::Bronze},
                                           {0, Medal::None}, {4, Medal::None},   {0xFFFFFFFF, Medal::None}};
    for (const auto& [left, medal] : lives) {
        data.livesAtCompletion = left;
        MedalCountAch all("m", data, cache, levels, playMode::limitedLives, medal, 12);
        EXPECT_TRUE(all.compute()) << left;
    }
}

TEST_F(Achievements, GameCompletionSelectors) {
    for (u32 i = 0; i < 12; ++i) beat(data, i, 1, 5000, true);
    struct Case {
        u32 livesAtCompletion;
        bool reached[7];
    };
    const Case cases[] = {
        {2, {true, true, true, false, true, false, true}},
        {3, {true, true, true, true, false, false, true}},
        {1, {true, true, true, false, false, true, true}},
        {0xFFFFFFFF, {true, true, true, false, false, false, false}},
    };
    for (const Case& c : cases) {
        data.livesAtCompletion = c.livesAtCompletion;
        for (u32 selector = 0; selector < 7; ++selector) {
            GameCompleteAch trigger("g", data, cache, selector);
            EXPECT_EQ(trigger.compute(), c.reached[selector])
                << c.livesAtCompletion << " selector " << selector;
        }
    }
    data.livesAtCompletion = 2;
    data.levelStatuses[5].bestTime = LevelStatus::kNoTime;
    data.levelStatuses[6].timeAttackDone = 0;
    EXPECT_TRUE(GameCompleteAch("g", data, cache, 0).compute());
    EXPECT_FALSE(GameCompleteAch("g", data, cache, 1).compute());
    EXPECT_FALSE(GameCompleteAch("g", data, cache, 2).compute());
    EXPECT_FALSE(GameCompleteAch("g", data, cache, 6).compute());
    // An unbeaten level ends the scan: nothing is complete.
    data.levelStatuses[0].fewestDeaths = LevelStatus::kNoDeaths;
    EXPECT_FALSE(GameCompleteAch("g", data, cache, 0).compute());
}

TEST_F(Achievements, TriggersOfOneKindComputeOnceUntilTheCacheIsCleared) {
    for (u32 i = 0; i < 10; ++i) beat(data, i, 0);
    auto triggers = factory.create({"BEAT_1_LEVEL", "BEAT_10_LEVELS"});
    EXPECT_TRUE(triggers[0]->isReached());
    for (u32 i = 0; i < 10; ++i) data.levelStatuses[i].fewestDeaths = LevelStatus::kNoDeaths;
    EXPECT_TRUE(triggers[1]->isReached());  // from the cache: still 10 beaten
    cache.clear();
    EXPECT_FALSE(triggers[1]->isReached());
}

TEST_F(Achievements, TrackerAsksUntilTheFirstRecordArrivesThenFiltersTriggers) {
    FakeService service;
    FakeStore store;
    auto tracker = std::make_unique<AchievementTracker>(
        service, store, std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache), cache);
    EXPECT_TRUE(tracker->platformReady());
    store.isReady = false;
    EXPECT_FALSE(tracker->platformReady());

    tracker->requestAchievements();
    tracker->requestAchievements();
    EXPECT_EQ(service.requested.size(), 80u);
    service.report("BEAT_1_LEVEL", 1);
    service.report("BEAT_10_LEVELS", 0);
    service.report("BEAT_10_LEVELS", 0);
    tracker->requestAchievements();
    EXPECT_EQ(service.requested.size(), 80u);
    EXPECT_EQ(tracker->known().size(), 2u);

    // Already unlocked, or unknown to the platform: no trigger.
    tracker->addTriggers({"BEAT_1_LEVEL", "BEAT_10_LEVELS", "BEAT_50_LEVELS"});
    EXPECT_EQ(tracker->pendingCount(), 1u);
    EXPECT_TRUE(tracker->isPending("BEAT_10_LEVELS"));

    tracker->checkUnlocked();
    EXPECT_TRUE(service.unlocked.empty());
    EXPECT_EQ(service.stores, 0);

    for (u32 i = 0; i < 10; ++i) beat(data, i, 3);
    tracker->checkUnlocked();
    EXPECT_EQ(service.unlocked, std::vector<std::string>{"BEAT_10_LEVELS"});
    EXPECT_EQ(service.stores, 1);
    EXPECT_EQ(tracker->pendingCount(), 0u);
    tracker->checkUnlocked();
    EXPECT_EQ(service.stores, 1);

    tracker.reset();
    EXPECT_FALSE(static_cast<bool>(service.onAchievement));
}

TEST_F(Achievements, TrackerWithoutRecordsTracksEveryGivenId) {
    FakeService service;
    FakeStore store;
    AchievementTracker tracker(
        service, store, std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache), cache);
    tracker.addTriggers({"BEAT_1_LEVEL", "BEAT_10_LEVELS", "BEAT_50_LEVELS", "BEAT_100_LEVELS"});
    EXPECT_EQ(tracker.pendingCount(), 4u);
    beat(data, 3, 0);
    tracker.checkUnlocked();
    EXPECT_EQ(service.unlocked, std::vector<std::string>{"BEAT_1_LEVEL"});
    EXPECT_EQ(service.stores, 1);
    EXPECT_EQ(tracker.pendingCount(), 3u);
}

TEST_F(Achievements, TheClientCoreAsksOnlyOnceThePlatformIsReady) {
    FakeService service;
    FakeStore store;
    store.isReady = false;
    AchievementTracker tracker(
        service, store, std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache), cache);
    Corvel::MessageQueue in(8), out(8);
    ClientGameCore core(in, out);
    core.update(0.01f);  // nothing attached: nothing asked
    core.setAchievementTracker(&tracker);
    core.update(0.01f);
    EXPECT_TRUE(service.requested.empty()) << "the store is not ready";
    store.isReady = true;
    core.update(0.01f);
    EXPECT_EQ(service.requested.size(), 40u);
    core.update(0.01f);
    EXPECT_EQ(service.requested.size(), 80u) << "asked again each frame until a record arrives";
    service.report("BEAT_1_LEVEL", 1);
    core.update(0.01f);
    EXPECT_EQ(service.requested.size(), 80u);
    core.setAchievementTracker(nullptr);
}

namespace {

ThirdParty::Achievement record(const std::string& id) {
    ThirdParty::Achievement a;
    a.id = id;
    return a;
}

std::vector<u8> fileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<u8>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const std::filesystem::path& path, const std::vector<u8>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::size_t occurrences(const std::string& text, const std::string& needle) {
    std::size_t n = 0;
    for (auto at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++n;
    return n;
}

// Each test keeps its achievements in a fresh folder of its own.
class LocalAchievements : public ::testing::Test {
protected:
    void SetUp() override {
        folder =
            std::filesystem::path(zarn_test::tempDir()) /
            (std::string("achievements-") + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    std::filesystem::path file() const { return folder / LocalAchievementService::kFileName; }

    std::filesystem::path folder;
};

}  // namespace

TEST_F(LocalAchievements, UnlocksAreLoggedOnceStoredAndSeenByANewServiceOverTheSameFolder) {
    const std::size_t logged = occurrences(logText(), "Achievement unlocked: BEAT_10_LEVELS");
    {
        LocalAchievementService service(folder.string());
        EXPECT_TRUE(service.ready());
        EXPECT_TRUE(service.unlocked().empty());
        service.unlock(record("BEAT_10_LEVELS"));
        service.unlock(record("BEAT_10_LEVELS"));
        service.unlock(record("BEAT_1_LEVEL"));
        EXPECT_TRUE(service.hasUnstoredUnlocks());
        EXPECT_FALSE(std::filesystem::exists(file())) << "unlocked, not yet stored";
        service.store();
        EXPECT_FALSE(service.hasUnstoredUnlocks());
    }
    EXPECT_EQ(occurrences(logText(), "Achievement unlocked: BEAT_10_LEVELS"), logged + 1);

    LocalAchievementService restarted(folder.string());
    EXPECT_EQ(restarted.unlocked(), (std::set<std::string>{"BEAT_10_LEVELS", "BEAT_1_LEVEL"}));
    // A request is answered at once with the record.
    std::vector<std::pair<std::string, int>> answers;
    restarted.onAchievement = [&](const ThirdParty::Achievement& a) {
        answers.emplace_back(a.id, a.achieved);
    };
    restarted.request("BEAT_1_LEVEL");
    restarted.request("BEAT_50_LEVELS");
    EXPECT_EQ(answers,
              (std::vector<std::pair<std::string, int>>{{"BEAT_1_LEVEL", 1}, {"BEAT_50_LEVELS", 0}}));
    // What the file holds is not unlocked again; what it could not hold is refused.
    for (const std::string& id :
         std::vector<std::string>{"BEAT_1_LEVEL", "", "TWO WORDS", "LINE\nBREAK", std::string(65, 'A')})
        restarted.unlock(record(id));
    EXPECT_EQ(restarted.unlocked().size(), 2u);
    EXPECT_FALSE(restarted.hasUnstoredUnlocks());
    restarted.unlock(record(std::string(64, 'A')));
    EXPECT_TRUE(restarted.hasUnstoredUnlocks());
}

TEST_F(LocalAchievements, StoringReplacesTheFileWholeAndAFailedStoreIsKeptForTheNext) {
    {
        LocalAchievementService first(folder.string());
        first.unlock(record("BEAT_1_LEVEL"));
        first.store();
    }
    const std::vector<u8> before = fileBytes(file());
    std::ifstream held(file(), std::ios::binary);  // a reader that opened the old file
    LocalAchievementService service(folder.string());
    service.unlock(record("BEAT_10_LEVELS"));
    service.store();
    // A new file took the old one's place; the old one was never rewritten.
    EXPECT_EQ(std::vector<u8>(std::istreambuf_iterator<char>(held), std::istreambuf_iterator<char>()),
              before);
    EXPECT_EQ(parseAchievementFile(fileBytes(file())),
              (std::set<std::string>{"BEAT_10_LEVELS", "BEAT_1_LEVEL"}));
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"achievements.bin"});

    // The folder is gone: the store fails, says so, and the next one writes.
    std::filesystem::remove_all(folder);
    service.unlock(record("BEAT_50_LEVELS"));
    service.store();
    EXPECT_TRUE(service.hasUnstoredUnlocks());
    EXPECT_NE(logText().find("Could not store the achievements in " + file().string()), std::string::npos);
    std::filesystem::create_directories(folder);
    service.store();
    EXPECT_FALSE(service.hasUnstoredUnlocks());
    EXPECT_EQ(LocalAchievementService(folder.string()).unlocked().size(), 3u);
}

TEST_F(LocalAchievements, ADamagedFileIsLoggedKeptAsideAndLeavesAnEmptyStart) {
    const auto fileOf = [](u32 magic, u32 version, u32 count, const std::vector<std::string>& ids) {
        Convinience::Buffer b;
        b.appendU32(magic);
        b.appendU32(version);
        b.appendU32(count);
        for (const std::string& id : ids) Convinience::writeString(b, id);
        return b.takeBytes();
    };
    const std::vector<u8> good = achievementFileBytes({"BEAT_10_LEVELS", "BEAT_1_LEVEL"});
    ASSERT_EQ(parseAchievementFile(good).size(), 2u);
    struct Case {
        std::string name;
        std::vector<u8> bytes;
    };
    std::vector<Case> cases = {
        {"empty", {}},
        {"other magic", fileOf(0x12345678, 1, 0, {})},
        {"newer version", fileOf(kAchievementFileMagic, 2, 0, {})},
        {"count beyond the bytes", fileOf(kAchievementFileMagic, 1, 1000, {"BEAT_1_LEVEL"})},
        {"empty ID", fileOf(kAchievementFileMagic, 1, 1, {""})},
        {"ID with a space", fileOf(kAchievementFileMagic, 1, 1, {"BEAT 1"})},
        {"ID with a control byte", fileOf(kAchievementFileMagic, 1, 1, {std::string("BEAT\0", 5)})},
        {"ID too long", fileOf(kAchievementFileMagic, 1, 1, {std::string(65, 'A')})},
        {"IDs out of order", fileOf(kAchievementFileMagic, 1, 2, {"B", "A"})},
        {"one ID twice", fileOf(kAchievementFileMagic, 1, 2, {"A", "A"})},
    };
    std::vector<u8> lengthPastEnd = fileOf(kAchievementFileMagic, 1, 1, {});
    for (const u8 b : std::vector<u8>{200, 0, 0, 0, 'B', 'E', 'A', 'T', '_', '1'}) lengthPastEnd.push_back(b);
    cases.push_back({"length beyond the bytes", lengthPastEnd});
    std::vector<u8> trailing = good;
    trailing.push_back(0);
    cases.push_back({"a byte after the last ID", trailing});
    std::vector<u8> huge = fileOf(kAchievementFileMagic, 1, 0, {});
    huge.resize(kAchievementFileMaxBytes + 1, 0);
    cases.push_back({"larger than any achievements file", huge});
    for (std::size_t cut = 0; cut < good.size(); ++cut)
        cases.push_back({"cut after " + std::to_string(cut) + " bytes",
                         std::vector<u8>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut))});

    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        const std::filesystem::path own = folder / std::to_string(i);
        std::filesystem::create_directories(own);
        const std::filesystem::path path = own / LocalAchievementService::kFileName;
        writeBytes(path, c.bytes);

        LocalAchievementService service(own.string());
        EXPECT_TRUE(service.unlocked().empty()) << c.name;
        const std::string log = logText();
        EXPECT_NE(log.find("The achievements file " + path.string() + " is damaged ("), std::string::npos)
            << c.name;
        EXPECT_NE(log.find("kept as " + path.string() + ".bad; starting with no achievement unlocked"),
                  std::string::npos)
            << c.name;
        EXPECT_EQ(fileBytes(path.string() + ".bad"), c.bytes) << c.name;
        // The next store writes a sound file of what was unlocked since.
        service.unlock(record("BEAT_50_LEVELS"));
        service.store();
        EXPECT_EQ(LocalAchievementService(own.string()).unlocked(), std::set<std::string>{"BEAT_50_LEVELS"})
            << c.name;
    }
}

TEST_F(LocalAchievements, TheTrackerOverTheServiceUnlocksEachAchievementOnceAcrossLevels) {
    SinglePlayerData data = progressWithLevels(12);
    const LevelList levels = levelList(12);
    AchievementCache cache;
    const std::vector<std::string> passive = {"BEAT_1_LEVEL", "BEAT_10_LEVELS", "BEAT_50_LEVELS",
                                              "BEAT_100_LEVELS"};
    {
        LocalAchievementService service(folder.string());
        AchievementTracker tracker(service, service, nullptr, cache);
        tracker.addTriggers(passive);
        EXPECT_EQ(tracker.pendingCount(), 0u) << "no factory yet";
        tracker.requestAchievements();
        EXPECT_EQ(tracker.known().size(), achievementIdSet().size());

        // A level's scene: a factory over its progress, the four triggers.
        tracker.setTriggerFactory(std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache));
        tracker.addTriggers(passive);
        EXPECT_EQ(tracker.pendingCount(), 4u);
        for (u32 i = 0; i < 10; ++i) beat(data, i, 1);
        tracker.checkUnlocked();
        EXPECT_EQ(service.unlocked(), (std::set<std::string>{"BEAT_10_LEVELS", "BEAT_1_LEVEL"}));
        EXPECT_FALSE(service.hasUnstoredUnlocks()) << "the check stores";

        // The next level's scene: what was unlocked gets no trigger again.
        tracker.setTriggerFactory(std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache));
        EXPECT_EQ(tracker.pendingCount(), 0u) << "the old factory's triggers went with it";
        tracker.addTriggers(passive);
        EXPECT_EQ(tracker.pendingCount(), 2u);
        EXPECT_FALSE(tracker.isPending("BEAT_10_LEVELS"));
    }
    // A restart: the service reports them unlocked, so no trigger is made.
    LocalAchievementService service(folder.string());
    AchievementTracker tracker(
        service, service, std::make_unique<PassiveAchievementTriggerFactory>(data, levels, cache), cache);
    tracker.requestAchievements();
    tracker.addTriggers(passive);
    EXPECT_EQ(tracker.pendingCount(), 2u);
    EXPECT_TRUE(tracker.isPending("BEAT_50_LEVELS"));
}
