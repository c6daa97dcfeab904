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
