#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "foundation/LoggerFiles.h"
#include "support/TestEnvironment.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Convinience::LoggerFiles;

std::string readAll(const fs::path& p) {
    std::ifstream in(p);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

// A fresh folder for one test.
fs::path freshFolder(const std::string& name) {
    const fs::path dir = fs::path(zarn_test::tempDir()) / name;
    fs::remove_all(dir);
    fs::create_directories(dir);
    return dir;
}

// The folder's files "server_N.log" by number, with their text.
std::map<long long, std::string> serverLogs(const fs::path& dir) {
    std::map<long long, std::string> logs;
    for (const auto& entry : fs::directory_iterator(dir)) {
        const long long n = LoggerFiles::numberOf(entry.path().filename().string(), "server");
        if (n >= 0) logs[n] = readAll(entry.path());
    }
    return logs;
}

// Says whether exactly one line of the text ends in the message.
bool holdsOneLine(const std::string& text, const std::string& message) {
    return text.size() > message.size() && text.back() == '\n' && text.find('\n') == text.size() - 1 &&
           text.compare(text.size() - 1 - message.size(), message.size(), message) == 0;
}

// A log writer process (tests/foundation/LogWriterProcess.cpp) with the
// prefix "<dir>/server": it logs one line, says so, and runs until its input
// closes or it is killed.
class LogWriter {
public:
    LogWriter(const fs::path& dir, int kept, const std::string& line) {
        int in[2];
        int out[2];
        if (::pipe2(in, O_CLOEXEC) != 0 || ::pipe2(out, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, in[0], 0);
        posix_spawn_file_actions_adddup2(&actions, out[1], 1);
        const std::string prefix = (dir / "server").string();
        const std::string keptText = std::to_string(kept);
        char* argv[] = {const_cast<char*>(ZARN_LOG_WRITER), const_cast<char*>(prefix.c_str()),
                        const_cast<char*>(keptText.c_str()), const_cast<char*>(line.c_str()), nullptr};
        if (::posix_spawn(&pid_, ZARN_LOG_WRITER, &actions, nullptr, argv, environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(in[0]);
        ::close(out[1]);
        input_ = in[1];
        output_ = out[0];
    }

    ~LogWriter() {
        if (pid_ > 0) crash();
        if (input_ >= 0) ::close(input_);
        if (output_ >= 0) ::close(output_);
    }

    // Waits (10 s at most) until the process says it has logged its line.
    bool logged() {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        std::string said;
        while (said.find("logged\n") == std::string::npos) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd wait{output_, POLLIN, 0};
            if (left.count() <= 0 || ::poll(&wait, 1, static_cast<int>(left.count())) <= 0) return false;
            char buffer[64];
            const ssize_t n = ::read(output_, buffer, sizeof buffer);
            if (n <= 0) return false;
            said.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

    // Ends the process as a crash would: SIGKILL, no clean-up of its own.
    void crash() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    // Closes its input and waits for the exit; says whether it exited with 0.
    bool finish() {
        ::close(input_);
        input_ = -1;
        int status = 0;
        ::waitpid(pid_, &status, 0);
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }

private:
    pid_t pid_ = -1;
    int input_ = -1;
    int output_ = -1;
};

TEST(LoggerFiles, EachProcessWritesItsOwnFileLineByLine) {
    const fs::path dir = freshFolder("two-processes");
    LogWriter first(dir, 5, "first window");
    LogWriter second(dir, 5, "second window");
    ASSERT_TRUE(first.logged());
    ASSERT_TRUE(second.logged());

    // Both still run: what they logged is in their files already.
    const auto logs = serverLogs(dir);
    ASSERT_EQ(logs.size(), 2u);
    const std::string& a = logs.begin()->second;
    const std::string& b = logs.rbegin()->second;
    EXPECT_TRUE((holdsOneLine(a, "first window") && holdsOneLine(b, "second window")) ||
                (holdsOneLine(a, "second window") && holdsOneLine(b, "first window")))
        << a << "---\n"
        << b;
}

TEST(LoggerFiles, ACrashAndTheNextStartKeepTheLog) {
    const fs::path dir = freshFolder("crash");
    LogWriter crashed(dir, 5, "before the crash");
    ASSERT_TRUE(crashed.logged());
    crashed.crash();
    LogWriter next(dir, 5, "the next run");
    ASSERT_TRUE(next.logged());
    ASSERT_TRUE(next.finish());

    const auto logs = serverLogs(dir);
    ASSERT_EQ(logs.size(), 2u);
    EXPECT_TRUE(holdsOneLine(logs.begin()->second, "before the crash")) << logs.begin()->second;
    EXPECT_TRUE(holdsOneLine(logs.rbegin()->second, "the next run")) << logs.rbegin()->second;
}

TEST(LoggerFiles, StartsKeepTheNewestFilesAndThoseStillWritten) {
    const fs::path dir = freshFolder("bound");
    LogWriter running(dir, 3, "still running");
    ASSERT_TRUE(running.logged());
    for (int run = 1; run <= 5; ++run) {
        LogWriter writer(dir, 3, "run " + std::to_string(run));
        ASSERT_TRUE(writer.logged()) << run;
        ASSERT_TRUE(writer.finish()) << run;
    }
    auto logs = serverLogs(dir);
    ASSERT_EQ(logs.size(), 4u);
    EXPECT_TRUE(holdsOneLine(logs.begin()->second, "still running")) << logs.begin()->second;
    int run = 3;
    for (auto it = std::next(logs.begin()); it != logs.end(); ++it, ++run)
        EXPECT_TRUE(holdsOneLine(it->second, "run " + std::to_string(run))) << it->second;

    // Once it has ended the next start drops its file too.
    running.crash();
    LogWriter last(dir, 3, "run 6");
    ASSERT_TRUE(last.logged());
    logs = serverLogs(dir);
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_TRUE(holdsOneLine(logs.begin()->second, "run 4")) << logs.begin()->second;
    EXPECT_TRUE(holdsOneLine(logs.rbegin()->second, "run 6")) << logs.rbegin()->second;
}

TEST(LoggerFiles, RotationKeepsTheNewestFilesAndLeavesOtherFilesAlone) {
    const fs::path dir = freshFolder("rotation");
    for (const char* name :
         {"server_0.log", "server_7.log", "server_x.log", "other_1.log", "server_2.log.old"})
        std::ofstream(dir / name) << "old\n";
    LoggerFiles files((dir / "server").string(), 64, 3);
    const std::string line(29, 'x');  // 30 bytes with its newline: two lines a file
    for (int i = 0; i < 10; ++i) ASSERT_TRUE(files.write(line)) << i;

    const auto logs = serverLogs(dir);
    ASSERT_EQ(logs.size(), 3u);
    EXPECT_EQ(logs.begin()->first, 10);  // files 8 to 12, after the old 7
    EXPECT_EQ(files.currentPath(), (dir / "server_12.log").string());
    for (const auto& [n, text] : logs) EXPECT_EQ(text, line + "\n" + line + "\n") << n;
    for (const char* name : {"server_x.log", "other_1.log", "server_2.log.old"})
        EXPECT_TRUE(fs::exists(dir / name));
}

TEST(LoggerFiles, AFolderThatCannotBeWrittenDropsLinesAndLaterWritesAgain) {
    const fs::path dir = freshFolder("blocked");
    std::ofstream(dir / "not-a-folder") << "a file\n";
    LoggerFiles blocked((dir / "not-a-folder" / "server").string(), 1024, 5);
    EXPECT_FALSE(blocked.write("lost"));
    EXPECT_TRUE(blocked.currentPath().empty());

    fs::remove(dir / "not-a-folder");
    for (int i = 0; i < 300 && blocked.currentPath().empty(); ++i) blocked.write("dropped or kept");
    EXPECT_TRUE(blocked.write("kept"));
    EXPECT_EQ(blocked.currentPath(), (dir / "not-a-folder" / "server_0.log").string());
}

TEST(LoggerFiles, NumbersOnlyTheStemsLogFiles) {
    const struct {
        const char* name;
        long long number;
    } cases[] = {
        {"server_0.log", 0},      {"server_12.log", 12},     {"server_007.log", 7},
        {"server_.log", -1},      {"server_1a.log", -1},     {"servers_1.log", -1},
        {"server_1.log.tmp", -1}, {"zarn-server_3.log", -1}, {"server_3.txt", -1},
        {"server-3.log", -1},     {"server_-3.log", -1},     {"server_1234567890123456789.log", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(LoggerFiles::numberOf(c.name, "server"), c.number) << c.name;
    EXPECT_EQ(LoggerFiles::numberOf("zarn-server_3.log", "zarn-server"), 3);
}

}  // namespace
