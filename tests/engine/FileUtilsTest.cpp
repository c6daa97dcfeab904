#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/FileUtils.h"
#include "support/TestEnvironment.h"

TEST(FileUtils, SearchPathsFindFilesInOrder) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(zarn_test::tempDir()) / "assets";
    fs::create_directories(root / "a");
    fs::create_directories(root / "b");
    std::ofstream(root / "b" / "only-in-b.txt") << "b";
    std::ofstream(root / "a" / "both.txt") << "from a";
    std::ofstream(root / "b" / "both.txt") << "from b";

    auto* fu = cocos2d::FileUtils::getInstance();
    const auto saved = fu->getSearchPaths();
    fu->setSearchPaths({(root / "a").string(), (root / "b").string()});
    EXPECT_EQ(fu->getStringFromFile("both.txt"), "from a");
    EXPECT_EQ(fu->getStringFromFile("only-in-b.txt"), "b");
    EXPECT_FALSE(fu->isFileExist("nowhere.txt"));
    EXPECT_TRUE(fu->getDataFromFile("nowhere.txt").empty());
    EXPECT_EQ(fu->fullPathForFilename("nowhere.txt"), "");
    fu->setSearchPaths(saved);
}

// A sound asked for as ".mp3" resolves to the form the build made it in: the
// exact name first, then ".ogg", then ".wav"; other extensions get no stand-in.
TEST(FileUtils, AnMp3NameResolvesToItsOggOrWavStandIn) {
    namespace fs = std::filesystem;
    const fs::path root = fs::path(zarn_test::tempDir()) / "sounds";
    fs::create_directories(root / "sound");
    for (const char* file : {"music.ogg", "music.wav", "effect.wav", "both.mp3", "both.ogg", "picture.wav"})
        std::ofstream(root / "sound" / file) << file;

    auto* fu = cocos2d::FileUtils::getInstance();
    const auto saved = fu->getSearchPaths();
    fu->setSearchPaths({root.string()});
    const struct {
        const char* asked;
        const char* found;  // "" when nothing resolves
    } cases[] = {
        {"sound/music.mp3", "music.ogg"},  {"sound/effect.mp3", "effect.wav"},
        {"sound/both.mp3", "both.mp3"},    {"sound/none.mp3", ""},
        {"sound/picture.png", ""},         {"sound/effect.MP3", "effect.wav"},
    };
    for (const auto& c : cases) {
        const std::string full = fu->fullPathForFilename(c.asked);
        if (c.found[0] == '\0') {
            EXPECT_EQ(full, "") << c.asked;
        } else {
            EXPECT_EQ(full, (root / "sound" / c.found).string()) << c.asked;
            EXPECT_EQ(fu->getStringFromFile(c.asked), c.found) << c.asked;
        }
    }
    fu->setSearchPaths(saved);
}
