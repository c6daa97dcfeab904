#include "app/start/PlatformServices.h"

#include "simulation/achievements/AchievementTracker.h"
#include "simulation/achievements/LocalAchievementService.h"

PlatformServices* PlatformServiceHook = nullptr;
Zarn::AchievementTracker* AchievementTrackerHook = nullptr;

namespace {

// The platform services of the local layer: achievements go to the local
// service; there is nothing to do each frame (every record is answered at
// once) and no leaderboard to upload to.
class LocalPlatformServices : public PlatformServices {
public:
    explicit LocalPlatformServices(Zarn::LocalAchievementService& achievements)
        : achievements_(achievements) {}

    void update(float) override {}
    void shutdown() override { achievements_.store(); }
    void unlockAchievement(const std::string& id) override {
        ThirdParty::Achievement record;
        record.id = id;
        achievements_.unlock(record);
    }
    void storeAchievements() override { achievements_.store(); }
    void uploadLeaderboardScore(const std::string&, int) override {}

private:
    Zarn::LocalAchievementService& achievements_;  // owned by PlatformAchievements, which outlives this
};

}  // namespace

struct PlatformAchievements {
    explicit PlatformAchievements(const std::string& folder) : service(folder) {}

    Zarn::LocalAchievementService service;
    Zarn::AchievementCache cache;
    // The service is both platform interfaces; the scene of each level gives
    // the tracker its trigger factory.
    Zarn::AchievementTracker tracker{service, service, nullptr, cache};
};

struct PlatformCallbacks {
    explicit PlatformCallbacks(PlatformAchievements& achievements)
        : services(achievements.service), trackerHook(AchievementTrackerHook, achievements.tracker) {}

    LocalPlatformServices services;
    PlatformCallback<PlatformServices> servicesHook{PlatformServiceHook, services};
    PlatformCallback<Zarn::AchievementTracker> trackerHook;
};

std::unique_ptr<PlatformAchievements> platformAchievements;
std::unique_ptr<PlatformCallbacks> platformCallbacks;

void installPlatformServices(const std::string& folder) {
    uninstallPlatformServices();
    platformAchievements = std::make_unique<PlatformAchievements>(folder);
    platformCallbacks = std::make_unique<PlatformCallbacks>(*platformAchievements);
}

void uninstallPlatformServices() {
    // The registrations point into the achievements: they go first.
    platformCallbacks.reset();
    platformAchievements.reset();
}
