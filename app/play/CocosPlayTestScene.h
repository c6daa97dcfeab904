#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "foundation/Command.h"
#include "presentation/scene/CocosInGameScene.h"
#include "simulation/scores/LevelEntry.h"

namespace Zarn {
class LimitedLivesSK;
class SinglePlayerData;
class SinglePlayerZarn;
}  // namespace Zarn
class InGameHUD;

// The in-game scene of single play: the engine-side scene plus the score
// keepers of the story's play modes with their heads-up display, the
// passive achievements' triggers when an achievement service is installed,
// and the start of the in-process server once the level is up.
//
// Keepers are made on the main thread before the server starts and then
// handed to the server, which owns them and updates them on its thread; the
// scene keeps only the limited-lives keeper's address, to run what it
// reported on the main thread (runReportedCommands, once a frame, from the
// host). The client, the host scene, the level list and the progress outlive
// the scene. Main thread only.
class CocosPlayTestScene : public CocosInGameScene {
public:
    // progress may be null (a play test: no keepers, no display).
    // showGameOver is run when the last life is lost.
    CocosPlayTestScene(CocosNodeMediator& root, cocos2d::Scene* hostScene, Zarn::SinglePlayerZarn& client,
                       std::string mapName, const SceneVisualFactoryMaker& makeFactories,
                       const Zarn::LevelList& levels, Zarn::SinglePlayerData* progress,
                       std::function<void()> showGameOver = {});
    ~CocosPlayTestScene() override;

    // The base set-up (loads the map; its errors pass through), the keepers
    // and the display, the achievement triggers, then the server's thread.
    // Throws "no such level score" when play modes are active and the
    // current level is past the level list.
    void initScene() override;
    // Nothing until the server has started.
    void update(float dt) override;
    // Runs the game-over and life-lost commands that the limited-lives
    // keeper reported since the last call.
    void runReportedCommands();

    // Null without a display.
    InGameHUD* getHUD() const { return hud_; }
    const std::vector<u8>& getKeeperKinds() const { return kinds_; }
    // Null in a play test.
    const Zarn::LevelEntry* getLevelEntry() const { return levelEntry_; }
    u32 getCurrentLevel() const { return currentLevel_; }
    Zarn::SinglePlayerZarn& getClient() { return singlePlayer_; }

    // The display's drawing order in the host scene (above the region
    // overlay).
    static constexpr int kHUDZOrder = kOverlayZOrder + 1;

private:
    void setupScoreKeeping();
    // With progress and an installed tracker: gives the tracker a trigger
    // factory over the progress, the passive achievements' triggers, and
    // hands it to the client core.
    void setupAchievements();
    std::unique_ptr<Convinience::Command> makeTimeAttackKill();

    Zarn::SinglePlayerZarn& singlePlayer_;
    // A child of the host scene.
    InGameHUD* hud_ = nullptr;
    // Owned by the in-process server, which lives as long as the client.
    Zarn::LimitedLivesSK* livesKeeper_ = nullptr;
    u32 currentLevel_ = 0;
    const Zarn::LevelEntry* levelEntry_ = nullptr;
    std::vector<u8> kinds_;
    const Zarn::LevelList& levels_;
    Zarn::SinglePlayerData* progress_;
    std::function<void()> showGameOver_;
};
