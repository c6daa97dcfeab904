#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "foundation/Logger.h"
#include "support/TestEnvironment.h"

namespace fs = std::filesystem;

namespace {

std::string readAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

}  // namespace

// The test main has installed the process's file sink ("server_%N.log" in the
// temporary folder) and the INFO filter, as the program's start-up does. The
// lines are in the file as soon as log() returns, without a flush.
TEST(Logger, DropsDebugAndWritesTheLineFormat) {
    Convinience::Logger logger;
    logger.log(Convinience::severity::debug, "debug-line-never-written");
    logger.log(Convinience::severity::error, "error-line-written");
    logger.log(7, "odd-severity-line");

    std::string text;
    for (const auto& entry : fs::directory_iterator(zarn_test::tempDir()))
        if (entry.path().filename().string().rfind("server_", 0) == 0) text += readAll(entry.path());
    EXPECT_EQ(text.find("debug-line-never-written"), std::string::npos);
    EXPECT_TRUE(std::regex_search(text, std::regex(R"(\[\d+ [^\]]+\]\[ERROR\]: error-line-written\n)")))
        << text;
    EXPECT_NE(text.find("[]: odd-severity-line"), std::string::npos) << text;
}

static_assert(Convinience::Logger::kRotationSize == 10485760, "the game's log files rotate at 10 MiB");

// A sink of its own with a small rotation size; the test main's sink is put
// back afterwards.
TEST(Logger, RotatesPastTheRotationSize) {
    const fs::path dir(zarn_test::tempDir());
    Convinience::Logger::resetForTests();
    Convinience::Logger::addFileSink((dir / "rotating").string(), 4096);
    Convinience::Logger logger;
    const std::string line(100, 'x');
    for (int i = 0; i < 100; ++i) logger.log(Convinience::severity::info, line);
    Convinience::Logger::flush();
    Convinience::Logger::resetForTests();
    Convinience::Logger::addFileSink((dir / "server").string());
    Convinience::Logger::installSeverityFilter();

    ASSERT_TRUE(fs::exists(dir / "rotating_1.log"));
    EXPECT_LE(fs::file_size(dir / "rotating_0.log"), 4096u + 2 * line.size());
}
