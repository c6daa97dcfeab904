#pragma once

#include <string>

#include "foundation/Types.h"

namespace Convinience {

// The numbered log files of one program, "<prefix>_N.log" in one folder, of
// which every process writes files of its own.
//
// The first line, and every line that would take the current file past the
// rotation size, opens a new file: the next number above the highest in the
// folder, created exclusively (two processes that start together never share
// a file, and no start empties an earlier run's file). Once it is open the
// oldest files beyond `keptFiles` are deleted, except those another running
// process still writes (each writer holds a shared lock on its file).
//
// Each line goes to the file in one write, without buffering in the process,
// so a crash loses nothing that was logged. Not thread-safe: the logger's
// sink serialises the calls.
class LoggerFiles {
public:
    LoggerFiles(std::string prefix, u64 rotationSize, u32 keptFiles);
    ~LoggerFiles();
    LoggerFiles(const LoggerFiles&) = delete;
    LoggerFiles& operator=(const LoggerFiles&) = delete;

    // Appends the line and a newline. False when no file could be opened or
    // the write failed: the line is lost, and the next line tries again.
    bool write(const std::string& line) noexcept;

    // The file being written; empty before the first line.
    const std::string& currentPath() const { return path_; }

    // The number of a file name "<stem>_N.log" (stem: the prefix's last
    // component); -1 for any other name.
    static i64 numberOf(const std::string& fileName, const std::string& stem);

private:
    bool openNext() noexcept;
    void removeOldest() const noexcept;

    std::string prefix_;
    u64 rotationSize_;
    u32 keptFiles_;
    int fd_ = -1;
    u64 size_ = 0;
    std::string path_;
    u32 failedLines_ = 0;  // lines dropped since the last failed open
};

}  // namespace Convinience
