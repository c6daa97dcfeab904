#include <gtest/gtest.h>

#include <filesystem>

#include "engine/FileUtils.h"
#include "foundation/Logger.h"
#include "support/TestEnvironment.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    const std::string& dir = zarn_test::tempDir();
    cocos2d::FileUtils::getInstance()->setWritablePath(dir);
    Convinience::Logger::initialize();
    Convinience::Logger::addFileSink(dir + "/server");
    Convinience::Logger::installSeverityFilter();
    const int result = RUN_ALL_TESTS();
    Convinience::Logger::resetForTests();
    std::error_code ignored;
    if (std::getenv("ZARN_KEEP_TEST_FILES") == nullptr) std::filesystem::remove_all(dir, ignored);
    return result;
}
