#include "ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace zarn_test {

ChildProcess::ChildProcess(std::vector<std::string> argv) {
    int out[2];
    int err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for " + argv.front());
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> args;
    for (std::string& a : argv) args.push_back(a.data());
    args.push_back(nullptr);
    const int started = ::posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    if (started != 0) {
        ::close(out[0]);
        ::close(err[0]);
        throw std::runtime_error("cannot start " + argv.front() + ": " + std::strerror(started));
    }
    outReader_ = std::thread([this, fd = out[0]] { read(fd, true); });
    errReader_ = std::thread([this, fd = err[0]] { read(fd, false); });
}

ChildProcess::~ChildProcess() {
    if (!waitForExit(std::chrono::milliseconds(0))) {
        ::kill(pid_, SIGKILL);
        waitForExit(std::chrono::seconds(10));
    }
    if (outReader_.joinable()) outReader_.join();
    if (errReader_.joinable()) errReader_.join();
}

void ChildProcess::read(int fd, bool lines) {
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        std::lock_guard lock(mutex_);
        if (n <= 0) {
            if (lines && !partial_.empty()) lines_.push_back(partial_);
            if (lines) outOpen_ = false;
            changed_.notify_all();
            break;
        }
        if (!lines) {
            errors_.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        partial_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t end; (end = partial_.find('\n')) != std::string::npos;) {
            lines_.push_back(partial_.substr(0, end));
            partial_.erase(0, end + 1);
        }
        changed_.notify_all();
    }
    ::close(fd);
}

void ChildProcess::signal(int sig) {
    ::kill(pid_, sig);
}

std::optional<std::string> ChildProcess::waitForLine(const std::function<bool(const std::string&)>& match,
                                                     std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::unique_lock lock(mutex_);
    for (std::size_t seen = 0;;) {
        for (; seen < lines_.size(); ++seen)
            if (match(lines_[seen])) return lines_[seen];
        if (!outOpen_) return std::nullopt;  // no line will come
        if (changed_.wait_until(lock, deadline) == std::cv_status::timeout) {
            for (; seen < lines_.size(); ++seen)
                if (match(lines_[seen])) return lines_[seen];
            return std::nullopt;
        }
    }
}

std::optional<std::string> ChildProcess::waitForLineStarting(const std::string& prefix,
                                                             std::chrono::milliseconds timeout) {
    return waitForLine([&](const std::string& line) { return line.rfind(prefix, 0) == 0; }, timeout);
}

std::optional<int> ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    if (exitCode_) return exitCode_;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_) {
            exitCode_ = WIFEXITED(status) ? WEXITSTATUS(status) : -WTERMSIG(status);
            return exitCode_;
        }
        if (std::chrono::steady_clock::now() >= deadline) return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::vector<std::string> ChildProcess::lines() {
    std::lock_guard lock(mutex_);
    return lines_;
}

std::string ChildProcess::errorText() {
    std::lock_guard lock(mutex_);
    return errors_;
}

std::string ChildProcess::transcript() {
    std::string text = "--- stdout\n";
    for (const std::string& line : lines()) text += line + "\n";
    const std::string errors = errorText();
    // The tail of stderr is what tells.
    text += "--- stderr (tail)\n" + (errors.size() > 4000 ? errors.substr(errors.size() - 4000) : errors);
    return text;
}

}  // namespace zarn_test
