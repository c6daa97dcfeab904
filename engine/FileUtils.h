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

    // The folder that relative search paths are taken from: the game's
    // assets/ folder, found beside the executable or in the working directory
    // at first use. Always ends in '/'.
    const std::string& getDefaultResourceRootPath() const { return defaultResRootPath_; }
    void setDefaultResourceRootPath(const std::string& path);

    // Relative paths are rooted at the default resource root; the root itself
    // is always searched last.
    void setSearchPaths(const std::vector<std::string>& paths);
    void addSearchPath(const std::string& path, bool front = false);
    const std::vector<std::string>& getSearchPaths() const { return searchPaths_; }

    // Absolute paths are returned as they are when the file exists; a relative
    // name is looked up in each search path in order, then in the resource
    // root. A ".mp3" name that no folder holds is looked up again as ".ogg",
    // then as ".wav" (the forms the game's sounds are made in). Answers ""
    // when none holds it.
    std::string fullPathForFilename(const std::string& filename) const;

    bool isFileExist(const std::string& filename) const;
    // The whole file, or an empty vector when it cannot be read.
    std::vector<unsigned char> getDataFromFile(const std::string& filename) const;
    std::string getStringFromFile(const std::string& filename) const;

    // Writing (full paths, typically under the writable directory). False on
    // failure.
    bool writeStringToFile(const std::string& data, const std::string& fullPath) const;
    bool writeDataToFile(const std::vector<unsigned char>& data, const std::string& fullPath) const;
    bool isDirectoryExist(const std::string& path) const;
    bool createDirectory(const std::string& path) const;
    bool removeFile(const std::string& path) const;
    // Lower-case extension with its dot ("" when none).
    std::string getFileExtension(const std::string& filePath) const;
    // A path beside another file: "dir/sheet.plist" + "sheet.png" ->
    // "dir/sheet.png".
    std::string fullPathFromRelativeFile(const std::string& filename, const std::string& relativeFile) const;

private:
    FileUtils();
    std::string rooted(const std::string& path) const;
    std::string defaultResRootPath_;
    std::vector<std::string> searchPaths_;
    std::string writablePath_;
};

}  // namespace cocos2d
