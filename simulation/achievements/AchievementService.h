#pragma once

#include <functional>
#include <string>

#include "foundation/Types.h"

namespace ThirdParty {

// A platform's record of one achievement.
struct Achievement {
    std::string id;
    std::string name;
    std::string description;
    u8 achieved = 0;
};

// A platform's achievement service, as the achievement tracker uses it. The
// game installs none; a platform layer may. Called on the main thread.
class AchievementService {
public:
    virtual ~AchievementService() = default;
    virtual bool ready() = 0;
    // Asks for the record of one achievement; it arrives through onAchievement.
    virtual void request(const std::string& id) = 0;
    virtual void unlock(const Achievement& achievement) = 0;
    // Persists the unlocks made so far.
    virtual void store() = 0;

    // Set by whoever asks for records; the service calls it on the main thread
    // once per record.
    std::function<void(const Achievement&)> onAchievement;
};

// The second platform interface that must report ready before achievements
// are asked for.
class AchievementStore {
public:
    virtual ~AchievementStore() = default;
    virtual bool ready() = 0;
};

}  // namespace ThirdParty
