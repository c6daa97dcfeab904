#pragma once

#include <memory>
#include <string>

#include "foundation/Types.h"

namespace Convinience {

// Severities, written into the log by their names "DEBUG" to "CRITICAL".
namespace severity {
inline constexpr u32 debug = 0;
inline constexpr u32 info = 1;
inline constexpr u32 warn = 2;
inline constexpr u32 error = 3;
inline constexpr u32 critical = 4;
}  // namespace severity

// A logging handle. Every component that logs holds one; all handles feed the
// one process-wide logging core, so every message ends in the same files.
// Any thread may log through its own handle; log() never throws.
class Logger {
public:
    // The size at which the file sink starts a new file: 10 MiB.
    static constexpr u64 kRotationSize = 10485760;
    // How many of a program's log files stay in its folder (the newest;
    // files that other running processes still write stay as well).
    static constexpr u32 kKeptFiles = 5;

    Logger();
    ~Logger();
    Logger(const Logger&);
    Logger& operator=(const Logger&);

    // Writes one record. Records below INFO are dropped once the severity
    // filter is installed; a severity above 4 is written with an empty name.
    void log(u32 severity, const std::string& text) const noexcept;

    // Start-up, called once each, in this order.
    // Adds the common attributes (line ID, time stamp, process and thread ID).
    static void initialize();
    // Adds the rotating file sink: lines "[%LineID% %TimeStamp%][%Severity%]:
    // %Message%" in files prefix + "_%N.log" of this process alone, each line
    // written out as it comes. A start and every rotationSize bytes take the
    // next free number, so earlier runs' files stay; the keptFiles newest of
    // the prefix are kept (LoggerFiles).
    static void addFileSink(const std::string& prefix, u64 rotationSize = kRotationSize,
                            u32 keptFiles = kKeptFiles);
    // Adds a sink that writes the same lines to standard error (for servers
    // run from a terminal).
    static void addStderrSink();
    // Accepts only records of severity INFO or above.
    static void installSeverityFilter();

    // Writes out what the sinks hold. The file and standard-error sinks
    // write each line before log() returns, so nothing of theirs waits here.
    static void flush();
    // Drops every record from now on (or, with true, writes them again): for
    // benchmarks and fuzz targets, whose inputs would flood the log.
    static void setEnabled(bool enabled);
    // Removes every sink and the filter; for tests that set up their own.
    static void resetForTests();

    static const char* severityName(u32 severity);

private:
    struct Source;
    std::unique_ptr<Source> source_;
};

}  // namespace Convinience
