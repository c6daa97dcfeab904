#include "support/net/LogWatch.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/Logger.h"
#include "support/TestEnvironment.h"

namespace zarn_test {

namespace {

// Every log file of the test process, oldest first.
std::string allLogText() {
    Convinience::Logger::flush();
    std::string all;
    for (int n = 0;; ++n) {
        const auto path = std::filesystem::path(tempDir()) / ("server_" + std::to_string(n) + ".log");
        if (!std::filesystem::exists(path)) break;
        std::ifstream in(path);
        std::stringstream s;
        s << in.rdbuf();
        all += s.str();
    }
    return all;
}

}  // namespace

LogWatch::LogWatch() : start_(allLogText().size()) {}

std::string LogWatch::text() const {
    const std::string all = allLogText();
    return start_ < all.size() ? all.substr(start_) : std::string();
}

std::size_t LogWatch::count(const std::string& needle) const {
    const std::string t = text();
    std::size_t n = 0;
    for (auto at = t.find(needle); at != std::string::npos; at = t.find(needle, at + needle.size())) ++n;
    return n;
}

}  // namespace zarn_test
