#pragma once

#include <cstddef>
#include <string>

namespace zarn_test {

// Reads what the process's log files gained since the watch was made (the
// test main writes the log into the temporary folder). For tests that check
// a log line: make the watch, act, then ask.
class LogWatch {
public:
    LogWatch();
    // The log text written since construction (flushes the log first).
    std::string text() const;
    // How many times `needle` occurs in that text.
    std::size_t count(const std::string& needle) const;

private:
    std::size_t start_;
};

}  // namespace zarn_test
