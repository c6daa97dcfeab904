#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "foundation/Types.h"

namespace zarn_test {

// One of the real server programs (zarn-lobby, zarn-server) run as a child
// process for a test: it logs into a folder of its own, its descriptor limit
// may be lowered and its CPU picked in the child before the program starts,
// and the test reads its port from the line it prints, and its CPU time,
// resident memory and log bytes from /proc and the folder. The destructor
// stops it (SIGTERM, then SIGKILL when it does not end within five seconds)
// and removes the folder. Test thread only.
class ServerProcess {
public:
    struct Launch {
        std::string program;
        std::vector<std::string> arguments;  // --log-dir is added
        // The child's RLIMIT_NOFILE (0: as the test's).
        u64 maxFiles = 0;
        // The one CPU the child runs on (-1: any).
        int cpu = -1;
    };

    explicit ServerProcess(Launch launch);
    ~ServerProcess();
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    // Whether it printed "... listening on port N" within ten seconds.
    bool started() const { return port_ != 0; }
    u16 port() const { return port_; }
    pid_t pid() const { return pid_; }
    // "127.0.0.1:port".
    std::string endpoint() const;

    // User and system CPU seconds it has used so far.
    double cpuSeconds() const;
    // Its resident memory in KiB.
    u64 residentKiB() const;
    // Bytes of every file in its log folder.
    u64 logBytes() const;
    const std::string& logFolder() const { return logDir_; }
    // The text of its log files.
    std::string logText() const;

    // SIGTERM and wait; the exit code (-1 when it had to be killed).
    int stop();

    // The path of a program of the build (set by the test's build).
    static std::string lobbyProgram();
    static std::string gameServerProgram();

private:
    pid_t pid_ = -1;
    u16 port_ = 0;
    std::string logDir_;
    bool stopped_ = false;
};

// The CPU seconds a process used over a stretch of wall time.
struct CpuShare {
    double cpuSeconds = 0;
    double wallSeconds = 0;
    double percent() const { return wallSeconds > 0 ? 100.0 * cpuSeconds / wallSeconds : 0; }
};

}  // namespace zarn_test
