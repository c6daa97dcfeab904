#pragma once

// Reads assets/frames.manifest: "[family]" lines open a family, "#" lines
// and blank lines are skipped, every other line is one frame name of the
// current family. Header-only.

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "engine/EngineLog.h"
#include "engine/SpriteFrameCache.h"

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

// Fails for each name the family lacks, each listed name the code does not
// name, and a code list that names a frame twice.
inline void expectFamilyListsExactly(const std::string& path, const std::string& family,
                                     const std::vector<std::string>& names) {
    const FrameManifest manifest = FrameManifest::read(path);
    ASSERT_EQ(manifest.families.count(family), 1u) << path << " has no [" << family << "]";
    const std::set<std::string>& listed = manifest.families.at(family);
    const std::set<std::string> named(names.begin(), names.end());
    EXPECT_EQ(named.size(), names.size()) << "the code's list holds each name once";
    for (const std::string& name : named)
        EXPECT_EQ(listed.count(name), 1u) << name << " is not in the manifest";
    for (const std::string& name : listed) EXPECT_EQ(named.count(name), 1u) << name << " is named by no code";
}

// While it lives, every sprite frame the engine is asked for is noted: the
// cache is emptied at the start, so each name asked for is missing once and
// reported. Main thread only.
class FrameRequests {
public:
    FrameRequests() {
        cocos2d::SpriteFrameCache::getInstance()->removeSpriteFrames();
        cocos2d::resetMissingAssetLog();
        cocos2d::setEngineLogHook([this](const std::string& line) {
            const std::string tag = "Missing sprite frame: ";
            const std::size_t at = line.find(tag);
            if (at != std::string::npos) requested.insert(line.substr(at + tag.size()));
        });
    }
    ~FrameRequests() { cocos2d::setEngineLogHook(nullptr); }
    FrameRequests(const FrameRequests&) = delete;
    FrameRequests& operator=(const FrameRequests&) = delete;

    std::set<std::string> requested;
};

}  // namespace zarn_test
