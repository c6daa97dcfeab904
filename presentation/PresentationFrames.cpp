#include "presentation/PresentationFrames.h"

#include <algorithm>

#include "presentation/effects/DustPuffs.h"
#include "presentation/players/PlayerLooks.h"
#include "simulation/scene/PlayerAssets.h"

const std::vector<std::string>& presentationFrameNames() {
    static const std::vector<std::string> names = [] {
        std::vector<std::string> all;
        auto add = [&all](const std::string& name) {
            if (std::find(all.begin(), all.end(), name) == all.end()) all.push_back(name);
        };
        for (const auto& list : Zarn::makePlayer2DAssets().frames)
            for (const std::string& name : list) add(name);
        for (const std::string& name : dustFrameNames()) add(name);
        for (u8 code : {1, 3, 4, 5, 0}) add(nameTagIconFrame(code));
        add(kBlankFrame);
        add(kSunglassesFrame);
        return all;
    }();
    return names;
}
