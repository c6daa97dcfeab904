#include "engine/FileUtils.h"

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

}  // namespace

FileUtils* FileUtils::getInstance() {
    static FileUtils instance;
    return &instance;
}

FileUtils::FileUtils() : writablePath_(withSlash(defaultWritablePath())) {}

std::string FileUtils::getWritablePath() const {
    std::error_code ignored;
    fs::create_directories(writablePath_, ignored);
    return writablePath_;
}

void FileUtils::setWritablePath(const std::string& path) { writablePath_ = withSlash(path); }

void FileUtils::setSearchPaths(const std::vector<std::string>& paths) {
    searchPaths_.clear();
    for (const auto& p : paths) searchPaths_.push_back(withSlash(p));
}

void FileUtils::addSearchPath(const std::string& path, bool front) {
    const std::string p = withSlash(path);
    if (front) {
        searchPaths_.insert(searchPaths_.begin(), p);
    } else {
        searchPaths_.push_back(p);
    }
}

std::string FileUtils::fullPathForFilename(const std::string& filename) const {
    if (filename.empty()) return {};
    std::error_code ec;
    if (filename.front() == '/') return fs::is_regular_file(filename, ec) ? filename : std::string();
    for (const auto& dir : searchPaths_) {
        std::string candidate = dir + filename;
        if (fs::is_regular_file(candidate, ec)) return candidate;
    }
    if (fs::is_regular_file(filename, ec)) return filename;
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

}  // namespace cocos2d
