#pragma once

#include <string>
#include <vector>

namespace cocos2d {

// File access by name: resource look-up through search paths, and the
// writable directory where the game keeps its settings, progress and logs.
//
// One instance per process (getInstance). Search paths and the writable path
// are set on the main thread at start-up (or by a test's main before any test
// runs); afterwards every thread may read files through it.
class FileUtils {
public:
    static FileUtils* getInstance();

    // The writable directory, always ending in '/'. By default the user's data
    // directory ($XDG_DATA_HOME, else ~/.local/share) plus "/zarn/"; created on
    // first use.
    std::string getWritablePath() const;
    // Points the writable directory elsewhere (tests use a temporary folder).
    void setWritablePath(const std::string& path);

    void setSearchPaths(const std::vector<std::string>& paths);
    void addSearchPath(const std::string& path, bool front = false);
    const std::vector<std::string>& getSearchPaths() const { return searchPaths_; }

    // Absolute paths are returned as they are; a relative name is looked up in
    // each search path in order. Answers "" when no search path holds it.
    std::string fullPathForFilename(const std::string& filename) const;

    bool isFileExist(const std::string& filename) const;
    // The whole file, or an empty vector when it cannot be read.
    std::vector<unsigned char> getDataFromFile(const std::string& filename) const;
    std::string getStringFromFile(const std::string& filename) const;

private:
    FileUtils();
    std::vector<std::string> searchPaths_;
    std::string writablePath_;
};

}  // namespace cocos2d
