#include "engine/FileUtils.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace cocos2d {
namespace fs = std::filesystem;

namespace {

std::string withSlash(std::string path) {
    if (path.empty() || path.back() != '/') path.push_back('/');
    return path;
}

std::string defaultWritablePath() {
    fs::path base;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        base = xdg;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && home[0] != '\0') {
        base = fs::path(home) / ".local" / "share";
    } else {
        base = fs::temp_directory_path();
    }
    return (base / "zarn").string();
}

// The assets/ folder beside the executable (or one or two levels up, for a
// build tree), else in the working directory.
std::string defaultResourceRoot() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec) {
        fs::path dir = exe.parent_path();
        for (int up = 0; up < 3 && !dir.empty(); ++up) {
            if (fs::is_directory(dir / "assets", ec)) return withSlash((dir / "assets").string());
            dir = dir.parent_path();
        }
    }
    const fs::path cwd = fs::current_path(ec);
    if (!ec) return withSlash((cwd / "assets").string());
    return "assets/";
}

// The look-up of one exact, non-empty name: an absolute path as it is, a
// relative one in each search path in order, then in the resource root.
std::string findIn(const std::vector<std::string>& searchPaths, const std::string& root,
                   const std::string& filename) {
    std::error_code ec;
    if (filename.front() == '/') return fs::is_regular_file(filename, ec) ? filename : std::string();
    for (const auto& dir : searchPaths) {
        std::string candidate = dir + filename;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    std::string inRoot = root + filename;
    if (fs::is_regular_file(inRoot, ec)) return inRoot;
    return {};
}

}  // namespace

FileUtils* FileUtils::getInstance() {
    static FileUtils instance;
    return &instance;
}

FileUtils::FileUtils()
    : defaultResRootPath_(defaultResourceRoot()), writablePath_(withSlash(defaultWritablePath())) {}

void FileUtils::setDefaultResourceRootPath(const std::string& path) {
    defaultResRootPath_ = withSlash(path);
}

std::string FileUtils::rooted(const std::string& path) const {
    if (!path.empty() && path.front() == '/') return withSlash(path);
    return withSlash(defaultResRootPath_ + path);
}

std::string FileUtils::getWritablePath() const {
    std::error_code ignored;
    fs::create_directories(writablePath_, ignored);
    return writablePath_;
}

void FileUtils::setWritablePath(const std::string& path) {
    writablePath_ = withSlash(path);
}

void FileUtils::setSearchPaths(const std::vector<std::string>& paths) {
    searchPaths_.clear();
    for (const auto& p : paths) searchPaths_.push_back(rooted(p));
}

void FileUtils::addSearchPath(const std::string& path, bool front) {
    const std::string p = rooted(path);
    if (std::find(searchPaths_.begin(), searchPaths_.end(), p) != searchPaths_.end()) return;
    if (front) {
        searchPaths_.insert(searchPaths_.begin(), p);
    } else {
        searchPaths_.push_back(p);
    }
}

std::string FileUtils::fullPathForFilename(const std::string& filename) const {
    if (filename.empty()) return {};
    std::string found = findIn(searchPaths_, defaultResRootPath_, filename);
    if (!found.empty()) return found;
    // The game names its sounds ".mp3"; the build makes them as OGG (music)
    // or WAV (effects) under the same stem, and this is the one place that
    // maps the name to them.
    if (getFileExtension(filename) == ".mp3") {
        const std::string stem = filename.substr(0, filename.size() - 4);
        for (const char* standIn : {".ogg", ".wav"}) {
            found = findIn(searchPaths_, defaultResRootPath_, stem + standIn);
            if (!found.empty()) return found;
        }
    }
    return {};
}

bool FileUtils::isFileExist(const std::string& filename) const {
    return !fullPathForFilename(filename).empty();
}

std::vector<unsigned char> FileUtils::getDataFromFile(const std::string& filename) const {
    const std::string path = fullPathForFilename(filename);
    if (path.empty()) return {};
    std::ifstream in(path, std::ios::binary);
    if (!in) return {};
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FileUtils::getStringFromFile(const std::string& filename) const {
    const auto data = getDataFromFile(filename);
    return std::string(data.begin(), data.end());
}

bool FileUtils::writeStringToFile(const std::string& data, const std::string& fullPath) const {
    std::ofstream out(fullPath, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(data.data(), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

bool FileUtils::writeDataToFile(const std::vector<unsigned char>& data, const std::string& fullPath) const {
    std::ofstream out(fullPath, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return static_cast<bool>(out);
}

bool FileUtils::isDirectoryExist(const std::string& path) const {
    std::error_code ec;
    return fs::is_directory(path, ec);
}

bool FileUtils::createDirectory(const std::string& path) const {
    std::error_code ec;
    fs::create_directories(path, ec);
    return fs::is_directory(path, ec);
}

bool FileUtils::removeFile(const std::string& path) const {
    std::error_code ec;
    return fs::remove(path, ec);
}

std::string FileUtils::getFileExtension(const std::string& filePath) const {
    std::string ext = fs::path(filePath).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

std::string FileUtils::fullPathFromRelativeFile(const std::string& filename,
                                                const std::string& relativeFile) const {
    const auto slash = relativeFile.find_last_of('/');
    if (slash == std::string::npos) return filename;
    return relativeFile.substr(0, slash + 1) + filename;
}

}  // namespace cocos2d
