#pragma once

// Reads assets/frames.manifest: "[family]" lines open a family, "#" lines
// and blank lines are skipped, every other line is one frame name of the
// current family. Header-only.

#include <fstream>
#include <map>
#include <set>
#include <string>

namespace zarn_test {

struct FrameManifest {
    // Names by family; an unreadable file gives no families.
    std::map<std::string, std::set<std::string>> families;

    static FrameManifest read(const std::string& path) {
        FrameManifest manifest;
        std::ifstream in(path);
        std::string line, family;
        while (std::getline(in, line)) {
            while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) line.pop_back();
            if (line.empty() || line[0] == '#') continue;
            if (line.front() == '[' && line.back() == ']') {
                family = line.substr(1, line.size() - 2);
                manifest.families[family];
                continue;
            }
            manifest.families[family].insert(line);
        }
        return manifest;
    }

    bool contains(const std::string& name) const {
        for (const auto& [family, names] : families)
            if (names.count(name) != 0) return true;
        return false;
    }
};

}  // namespace zarn_test
