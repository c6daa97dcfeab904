#include "online/support/ServerProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

namespace zarn_test {

namespace {

// The port of a line "<name> listening on port N", or 0.
u16 portOf(const std::string& text) {
    const std::string marker = " listening on port ";
    const auto at = text.find(marker);
    if (at == std::string::npos) return 0;
    const unsigned long port = std::strtoul(text.c_str() + at + marker.size(), nullptr, 10);
    return port > 0 && port < 65536 ? static_cast<u16>(port) : 0;
}

}  // namespace

std::string ServerProcess::lobbyProgram() {
    return ZARN_LOBBY_PROGRAM;
}

std::string ServerProcess::gameServerProgram() {
    return ZARN_SERVER_PROGRAM;
}

ServerProcess::ServerProcess(Launch launch) {
    char folder[] = "/tmp/zarn-server-test-XXXXXX";
    if (::mkdtemp(folder) == nullptr) return;
    logDir_ = folder;
    std::vector<std::string> words = {launch.program};
    words.insert(words.end(), launch.arguments.begin(), launch.arguments.end());
    words.push_back("--log-dir");
    words.push_back(logDir_);
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        // The child: only calls that are safe after a fork, then the program.
        if (launch.maxFiles != 0) {
            rlimit limit{launch.maxFiles, launch.maxFiles};
            ::setrlimit(RLIMIT_NOFILE, &limit);
        }
        if (launch.cpu >= 0) {
            cpu_set_t set;
            CPU_ZERO(&set);
            CPU_SET(launch.cpu, &set);
            ::sched_setaffinity(0, sizeof set, &set);
        }
        const int null = ::open("/dev/null", O_WRONLY);
        ::dup2(out[1], 1);
        ::dup2(null, 2);
        ::close(out[0]);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(out[1]);
    std::string text;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (port_ == 0 && std::chrono::steady_clock::now() < deadline) {
        pollfd wait{out[0], POLLIN, 0};
        if (::poll(&wait, 1, 100) <= 0) continue;
        char chunk[256];
        const ssize_t n = ::read(out[0], chunk, sizeof chunk);
        if (n <= 0) break;
        text.append(chunk, static_cast<std::size_t>(n));
        port_ = portOf(text);
    }
    ::close(out[0]);
}

ServerProcess::~ServerProcess() {
    stop();
    std::error_code ignored;
    if (!logDir_.empty()) std::filesystem::remove_all(logDir_, ignored);
}

std::string ServerProcess::endpoint() const {
    return "127.0.0.1:" + std::to_string(port_);
}

int ServerProcess::stop() {
    if (pid_ <= 0 || stopped_) return 0;
    stopped_ = true;
    ::kill(pid_, SIGTERM);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int status = 0;
    while (std::chrono::steady_clock::now() < deadline) {
        if (::waitpid(pid_, &status, WNOHANG) == pid_) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, &status, 0);
    return -1;
}

double ServerProcess::cpuSeconds() const {
    std::ifstream file("/proc/" + std::to_string(pid_) + "/stat");
    std::string text((std::istreambuf_iterator<char>(file)), {});
    // The fields after the command's closing parenthesis: state is field 3,
    // utime field 14 and stime field 15.
    const auto close = text.rfind(')');
    if (close == std::string::npos) return 0;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    unsigned long long user = 0, system = 0;
    for (int index = 3; fields >> field; ++index) {
        if (index == 14) user = std::stoull(field);
        if (index == 15) {
            system = std::stoull(field);
            break;
        }
    }
    return static_cast<double>(user + system) / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

u64 ServerProcess::residentKiB() const {
    std::ifstream file("/proc/" + std::to_string(pid_) + "/status");
    std::string line;
    while (std::getline(file, line)) {
        if (line.rfind("VmRSS:", 0) == 0) return std::strtoull(line.c_str() + 6, nullptr, 10);
    }
    return 0;
}

u64 ServerProcess::logBytes() const {
    u64 bytes = 0;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(logDir_, ignored))
        if (entry.is_regular_file(ignored)) bytes += entry.file_size(ignored);
    return bytes;
}

std::string ServerProcess::logText() const {
    std::string text;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(logDir_, ignored)) {
        std::ifstream file(entry.path());
        text.append((std::istreambuf_iterator<char>(file)), {});
    }
    return text;
}

}  // namespace zarn_test
