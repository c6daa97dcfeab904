#pragma once
// Pieces shared by the command-line servers (zarn-lobby, zarn-server): the
// port option, the log set-up, the wait for SIGINT or SIGTERM and the run of
// a server between them. Main thread.

#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <utility>

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

// A decimal count 1 to 1,000,000; false for anything else.
inline bool parseCount(const std::string& text, std::size_t& count) {
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || value < 1 || value > 1000000 || text[0] == '-') return false;
    count = static_cast<std::size_t>(value);
    return true;
}

// Whole seconds 1 to 86,400 as milliseconds; false for anything else.
inline bool parseSeconds(const std::string& text, u64& milliseconds) {
    std::size_t seconds = 0;
    if (!parseCount(text, seconds) || seconds > 86400) return false;
    milliseconds = static_cast<u64>(seconds) * 1000;
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

// Runs a server from its options until SIGINT or SIGTERM: logs to stderr and
// "<logDir>/<name>_N.log", makes and starts the server (its threads inherit
// the blocked stop signals), prints "<name> listening on port N", waits for a
// stop signal and stops it. Returns the exit code: 0 after a clean stop, 1
// when making or running the server threw (logged and printed to stderr).
// Server needs a constructor from Options, start(), port() and stop().
template <class Server, class Options>
int runService(const std::string& name, const std::string& logDir, Options options) {
    startServiceLog(logDir + "/" + name);
    Convinience::Logger logger;
    const sigset_t signals = blockStopSignals();
    try {
        Server server(std::move(options));
        server.start();
        std::cout << name << " listening on port " << server.port() << std::endl;
        waitForStopSignal(signals, logger);
        server.stop();
    } catch (const std::exception& e) {
        logger.log(Convinience::severity::critical, std::string("Critical error: ") + e.what());
        Convinience::Logger::flush();
        std::cerr << name << ": " << e.what() << "\n";
        return 1;
    }
    Convinience::Logger::flush();
    return 0;
}

}  // namespace ZarnOnline
