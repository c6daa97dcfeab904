#pragma once

// The asset names the game asks for, as the manifests of assets/ list them
// and as the code's string literals name them. Header-only.

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace zarn_test {

// "<kind> <name>" lines of a manifest ("#" lines and blank lines skipped).
inline std::vector<std::pair<std::string, std::string>> kindManifest(const std::string& path) {
    std::vector<std::pair<std::string, std::string>> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto space = line.find(' ');
        if (space == std::string::npos) continue;
        entries.emplace_back(line.substr(0, space), line.substr(space + 1));
    }
    return entries;
}

inline std::vector<std::pair<std::string, std::string>> assetManifests() {
    auto all = kindManifest(std::string(ZARN_SOURCE_DIR) + "/assets/ui.manifest");
    const auto more = kindManifest(std::string(ZARN_SOURCE_DIR) + "/assets/sounds.manifest");
    all.insert(all.end(), more.begin(), more.end());
    return all;
}

inline std::set<std::string> namesOfKind(const std::string& kind) {
    std::set<std::string> names;
    for (const auto& [k, name] : assetManifests())
        if (k == kind) names.insert(name);
    return names;
}

// Every string literal of the game's source folders that matches `pattern`
// (its first group is the name), with the file it stands in.
inline std::vector<std::pair<std::string, std::string>> literalsInCode(const std::regex& pattern) {
    std::vector<std::pair<std::string, std::string>> found;
    for (const char* folder : {"engine", "foundation", "net", "grid", "map", "world", "level", "simulation",
                               "presentation", "visuals", "online", "app"}) {
        const std::filesystem::path root = std::filesystem::path(ZARN_SOURCE_DIR) / folder;
        if (!std::filesystem::is_directory(root)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator();
                 ++it)
                found.emplace_back((*it)[1].str(), entry.path().lexically_relative(ZARN_SOURCE_DIR).string());
        }
    }
    return found;
}

// The lines of a generator's report file (names it could not make).
inline std::vector<std::string> reportLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line))
        if (!line.empty()) lines.push_back(line);
    return lines;
}

}  // namespace zarn_test
