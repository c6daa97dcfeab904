#pragma once
// Pieces shared by the command-line servers (zarn-lobby, zarn-server): the
// port option, the log set-up and the wait for SIGINT or SIGTERM. Main thread.

#include <csignal>
#include <cstdlib>
#include <string>

#include "foundation/Logger.h"
#include "foundation/Types.h"

namespace ZarnOnline {

// A decimal port 0-65535; false for anything else.
inline bool parsePort(const std::string& text, u16& port) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value > 65535) return false;
    port = static_cast<u16>(value);
    return true;
}

// Logs to stderr and to the rotating files "<path>_N.log".
inline void startServiceLog(const std::string& path) {
    Convinience::Logger::initialize();
    Convinience::Logger::addStderrSink();
    Convinience::Logger::addFileSink(path);
    Convinience::Logger::installSeverityFilter();
}

// Blocks SIGINT and SIGTERM; every thread started afterwards inherits the
// block, so only waitForStopSignal takes them.
inline sigset_t blockStopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
    return signals;
}

// Waits for one of the blocked signals and logs it; returns its number.
inline int waitForStopSignal(const sigset_t& signals, Convinience::Logger& logger) {
    int received = 0;
    sigwait(&signals, &received);
    logger.log(Convinience::severity::info, "Signal " + std::to_string(received) + ": stopping");
    return received;
}

}  // namespace ZarnOnline
