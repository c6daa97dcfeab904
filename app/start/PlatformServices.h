#pragma once

#include <memory>
#include <string>

namespace Zarn {
class AchievementTracker;
}

// The hooks of a platform's services (store overlay, leaderboards,
// achievements). The game installs its own small platform layer at start-up
// (installPlatformServices): achievements kept in a file of the writable
// directory; it has no leaderboards and no store overlay. Every caller tests
// the hook first and skips the call when it is empty, so the game also runs
// without it. Main thread only.
class PlatformServices {
public:
    virtual ~PlatformServices() = default;
    // Once a frame, from the main menu scene and the single-play host; dt in
    // seconds.
    virtual void update(float dt) = 0;
    // Once, at exit.
    virtual void shutdown() = 0;
    virtual void unlockAchievement(const std::string& id) = 0;
    virtual void storeAchievements() = 0;
    virtual void uploadLeaderboardScore(const std::string& board, int score) = 0;
};

// Not owned; empty unless a platform layer is installed.
extern PlatformServices* PlatformServiceHook;
// The achievement tracker over the installed achievement service; not owned;
// empty when none is installed, and then no achievement is tracked.
extern Zarn::AchievementTracker* AchievementTrackerHook;

// A hook set to one of the platform layer's objects for as long as the
// registration lives. Destroying a registration that is still registered
// (the hook names its object) empties the hook; one that another object
// has replaced since leaves the hook alone.
template <typename T>
class PlatformCallback {
public:
    PlatformCallback(T*& hook, T& target) : hook_(hook), target_(target) { hook_ = &target_; }
    ~PlatformCallback() {
        if (registered()) hook_ = nullptr;
    }
    PlatformCallback(const PlatformCallback&) = delete;
    PlatformCallback& operator=(const PlatformCallback&) = delete;

    bool registered() const { return hook_ == &target_; }

private:
    T*& hook_;
    T& target_;
};

// The two holders of the platform layer, process-wide and empty until
// installPlatformServices: PlatformAchievements owns the local achievement
// service (over the folder given), the triggers' cache and the tracker;
// PlatformCallbacks owns the services object that PlatformServiceHook calls
// and the registrations of both hooks.
struct PlatformAchievements;
struct PlatformCallbacks;
extern std::unique_ptr<PlatformAchievements> platformAchievements;
extern std::unique_ptr<PlatformCallbacks> platformCallbacks;

// Fills both holders (emptying them first when they are set): achievements
// are kept in folder + "achievements.bin". Start-up calls it with the
// writable directory.
void installPlatformServices(const std::string& folder);
// Empties both holders, the hooks' registrations first; shut-down calls it.
void uninstallPlatformServices();
