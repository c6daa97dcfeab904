#include "foundation/LoggerFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/uio.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace Convinience {

namespace {

// After a failed open, lines are dropped without a new try until this many
// have gone by: a folder that cannot be written costs no scan per line.
constexpr u32 kLinesBetweenOpenTries = 256;

// Numbers taken by other processes between our scan and our open are skipped;
// past this many the folder is not one we can write in.
constexpr int kOpenAttempts = 64;

fs::path folderOf(const std::string& prefix) {
    const fs::path parent = fs::path(prefix).parent_path();
    return parent.empty() ? fs::path(".") : parent;
}

// The numbered files of the stem in the folder, newest (highest) first.
std::vector<std::pair<i64, fs::path>> numberedFiles(const fs::path& folder, const std::string& stem) {
    std::vector<std::pair<i64, fs::path>> files;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const i64 n = LoggerFiles::numberOf(it->path().filename().string(), stem);
        if (n >= 0) files.emplace_back(n, it->path());
    }
    std::sort(files.begin(), files.end(), std::greater<>());
    return files;
}

bool writeAll(int fd, const std::string& line) {
    char newline = '\n';
    iovec parts[2] = {{const_cast<char*>(line.data()), line.size()}, {&newline, 1}};
    iovec* next = parts;
    int count = 2;
    while (count > 0) {
        const ssize_t written = ::writev(fd, next, count);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        auto left = static_cast<std::size_t>(written);
        while (count > 0 && left >= next->iov_len) {
            left -= next->iov_len;
            ++next;
            --count;
        }
        if (count > 0) {
            next->iov_base = static_cast<char*>(next->iov_base) + left;
            next->iov_len -= left;
        }
    }
    return true;
}

}  // namespace

LoggerFiles::LoggerFiles(std::string prefix, u64 rotationSize, u32 keptFiles)
    : prefix_(std::move(prefix)), rotationSize_(rotationSize), keptFiles_(std::max<u32>(keptFiles, 1)) {}

LoggerFiles::~LoggerFiles() {
    if (fd_ >= 0) ::close(fd_);
}

i64 LoggerFiles::numberOf(const std::string& fileName, const std::string& stem) {
    static const std::string suffix = ".log";
    const std::size_t digitsAt = stem.size() + 1;
    if (fileName.size() <= digitsAt + suffix.size() || fileName.compare(0, stem.size(), stem) != 0 ||
        fileName[stem.size()] != '_' ||
        fileName.compare(fileName.size() - suffix.size(), suffix.size(), suffix) != 0)
        return -1;
    const std::string digits = fileName.substr(digitsAt, fileName.size() - suffix.size() - digitsAt);
    if (digits.size() > 18 ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return -1;
    return std::stoll(digits);
}

bool LoggerFiles::write(const std::string& line) noexcept {
    if (fd_ < 0 && failedLines_ > 0) {
        if (++failedLines_ <= kLinesBetweenOpenTries) return false;
        failedLines_ = 0;
    }
    const u64 bytes = line.size() + 1;
    if (fd_ < 0 || (size_ > 0 && size_ + bytes > rotationSize_)) {
        if (!openNext()) {
            failedLines_ = 1;
            return false;
        }
    }
    if (!writeAll(fd_, line)) return false;
    size_ += bytes;
    return true;
}

bool LoggerFiles::openNext() noexcept {
    try {
        const fs::path folder = folderOf(prefix_);
        const std::string stem = fs::path(prefix_).filename().string();
        std::error_code ec;
        fs::create_directories(folder, ec);
        const auto existing = numberedFiles(folder, stem);
        const i64 next = existing.empty() ? 0 : existing.front().first + 1;
        for (int attempt = 0; attempt < kOpenAttempts; ++attempt) {
            const std::string path = prefix_ + "_" + std::to_string(next + attempt) + ".log";
            const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_APPEND | O_CLOEXEC, 0644);
            if (fd < 0) {
                if (errno == EEXIST) continue;
                return false;
            }
            ::flock(fd, LOCK_SH);
            if (fd_ >= 0) ::close(fd_);
            fd_ = fd;
            size_ = 0;
            path_ = path;
            removeOldest();
            return true;
        }
    } catch (...) {
        // A path the folder cannot hold: no file, the line is dropped.
    }
    return false;
}

void LoggerFiles::removeOldest() const noexcept {
    try {
        const auto files = numberedFiles(folderOf(prefix_), fs::path(prefix_).filename().string());
        for (std::size_t i = keptFiles_; i < files.size(); ++i) {
            const int fd = ::open(files[i].second.c_str(), O_RDONLY | O_CLOEXEC);
            if (fd < 0) continue;
            // A file another process still writes keeps its lock: it stays.
            if (::flock(fd, LOCK_EX | LOCK_NB) == 0) ::unlink(files[i].second.c_str());
            ::close(fd);
        }
    } catch (...) {
        // Old files that stay are no harm; the next file tries again.
    }
}

}  // namespace Convinience
