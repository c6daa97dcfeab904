#pragma once

// The asset names the game asks for, as the manifests of assets/ list them
// and as the code's string literals name them. Header-only.

#include <cctype>
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

// The text of a C++ source with its comments blanked out (string and
// character literals kept), so that a name written in a comment is not taken
// for one the code asks for.
inline std::string withoutComments(const std::string& text) {
    std::string out = text;
    enum { code, line, block, string, character } state = code;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const char c = out[i];
        const char next = i + 1 < out.size() ? out[i + 1] : '\0';
        switch (state) {
            case code:
                if (c == '/' && next == '/')
                    state = line;
                else if (c == '/' && next == '*')
                    state = block;
                else if (c == '"')
                    state = string;
                else if (c == '\'')
                    state = character;
                if (state == line || state == block) out[i] = ' ';
                break;
            case line:
                if (c == '\n')
                    state = code;
                else
                    out[i] = ' ';
                break;
            case block:
                if (c == '*' && next == '/') {
                    out[i] = out[i + 1] = ' ';
                    ++i;
                    state = code;
                } else if (c != '\n') {
                    out[i] = ' ';
                }
                break;
            case string:
            case character:
                if (c == '\\')
                    ++i;
                else if ((state == string && c == '"') || (state == character && c == '\''))
                    state = code;
                break;
        }
    }
    return out;
}

// A string literal of the game's code that names an asset.
struct CodeLiteral {
    std::string name;  // the pattern's first group
    std::string file;  // relative to the source root
    // Written after a "+": the end of a name the code builds at run time
    // (prefix + "6.png"), not a whole name.
    bool completes = false;
    // Written after "==" or "!=": a name the code tests for, not one it asks
    // the engine for.
    bool compared = false;
};

// Every string literal outside comments in the game's source folders that
// matches `pattern` (its first group is the name).
inline std::vector<CodeLiteral> literalsInCode(const std::regex& pattern) {
    std::vector<CodeLiteral> found;
    for (const char* folder : {"engine", "foundation", "net", "grid", "map", "world", "level", "simulation",
                               "presentation", "visuals", "online", "app"}) {
        const std::filesystem::path root = std::filesystem::path(ZARN_SOURCE_DIR) / folder;
        if (!std::filesystem::is_directory(root)) continue;
        for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
            const std::string ext = entry.path().extension().string();
            if (ext != ".cpp" && ext != ".h") continue;
            std::ifstream in(entry.path());
            const std::string text = withoutComments(
                std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
            const std::string file = entry.path().lexically_relative(ZARN_SOURCE_DIR).string();
            for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern);
                 it != std::sregex_iterator(); ++it) {
                std::size_t before = static_cast<std::size_t>(it->position(0));
                while (before > 0 && std::isspace(static_cast<unsigned char>(text[before - 1]))) --before;
                const bool compared = before > 1 && text[before - 1] == '=' &&
                                      (text[before - 2] == '=' || text[before - 2] == '!');
                found.push_back({(*it)[1].str(), file, before > 0 && text[before - 1] == '+', compared});
            }
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
