#pragma once

#include <sys/types.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace zarn_test {

// A program run as a child process for a process test: its stdout is read
// line by line and its stderr kept as text, each by a thread of its own, so
// that the test waits on what the child says with a deadline. The child is
// killed (SIGKILL) and reaped when this goes, unless it has ended. Used from
// the test's thread; the readers only append under the lock.
class ChildProcess {
public:
    // argv[0] is the program's path. Throws std::runtime_error when it cannot
    // be started.
    explicit ChildProcess(std::vector<std::string> argv);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    void signal(int sig);

    // The first line (counted from the start) that `match` accepts, waiting
    // until one comes, the output ends or the time is up.
    std::optional<std::string> waitForLine(const std::function<bool(const std::string&)>& match,
                                           std::chrono::milliseconds timeout);
    // The first line starting with `prefix`.
    std::optional<std::string> waitForLineStarting(const std::string& prefix,
                                                   std::chrono::milliseconds timeout);
    // The exit code once the child has ended (-signal when killed), waiting
    // at most `timeout`.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);

    std::vector<std::string> lines();
    std::string errorText();
    // Everything it said, for a failure's message.
    std::string transcript();

private:
    void read(int fd, bool lines);

    pid_t pid_ = -1;
    std::optional<int> exitCode_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> lines_;
    std::string partial_;
    std::string errors_;
    bool outOpen_ = true;
    std::thread outReader_;
    std::thread errReader_;
};

}  // namespace zarn_test
