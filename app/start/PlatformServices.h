#pragma once

#include <string>

// The hooks of a platform's services (store overlay, leaderboards,
// achievements). Nothing in this program installs one: every caller tests
// PlatformServiceHook first and skips the call when it is empty, so the game
// runs fully without it. Main thread only.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    // Once a frame, from the main menu scene; dt in seconds.
    virtual void update(float dt) = 0;
    // Once, at exit.
    virtual void shutdown() = 0;
    virtual void unlockAchievement(const std::string& id) = 0;
    virtual void storeAchievements() = 0;
    virtual void uploadLeaderboardScore(const std::string& board, int score) = 0;
};

// Not owned; empty unless a platform layer installs one.
extern PlatformServices* PlatformServiceHook;
