#include "app/play/CocosPlayTestScene.h"

#include "app/ingame/CocosDialogWindow.h"
#include "app/ingame/DialogWindowImpl.h"
#include "app/ingame/InGameHUD.h"
#include "app/play/PlayCommands.h"
#include "app/start/PlatformServices.h"
#include "engine/Scene.h"
#include "foundation/Error.h"
#include "map/import/GameMap.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/achievements/AchievementTracker.h"
#include "simulation/actions/MapActionCommands.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/DeathScoreKeeper.h"
#include "simulation/scores/LimitedLivesSK.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/scores/TimeAttackScoreKeeper.h"
#include "simulation/scores/TimerScoreKeeper.h"
#include "world/effects/Kill.h"
#include "world/units/SteerableUnitManager.h"

namespace {
// The time-attack countdown's rest between two rounds, and the kill's
// death state and wait.
constexpr u64 kTimeAttackPauseMs = 2000;
constexpr u32 kTimeAttackDeathState = 22;
constexpr float kTimeAttackKillWait = 2.0f;
constexpr u32 kLocalPlayer = 0;
}  // namespace

CocosPlayTestScene::CocosPlayTestScene(CocosNodeMediator& root, cocos2d::Scene* hostScene,
                                       Zarn::SinglePlayerZarn& client, std::string mapName,
                                       const SceneVisualFactoryMaker& makeFactories,
                                       const Zarn::LevelList& levels, Zarn::SinglePlayerData* progress,
                                       std::function<void()> showGameOver)
    : CocosInGameScene(root, hostScene, client, std::move(mapName), makeFactories),
      singlePlayer_(client),
      levels_(levels),
      progress_(progress),
      showGameOver_(std::move(showGameOver)) {
    setDialogWindowMaker(cocosDialogWindowMaker());
}

CocosPlayTestScene::~CocosPlayTestScene() = default;

void CocosPlayTestScene::initScene() {
    CocosInGameScene::initScene();
    setupScoreKeeping();
    setupAchievements();
    singlePlayer_.startServer();
}

void CocosPlayTestScene::update(float dt) {
    if (!singlePlayer_.serverStarted()) return;
    CocosInGameScene::update(dt);
}

void CocosPlayTestScene::runReportedCommands() {
    if (livesKeeper_ != nullptr) livesKeeper_->runReportedCommands();
}

void CocosPlayTestScene::setupScoreKeeping() {
    if (progress_ == nullptr) return;
    const std::vector<u8> modes = progress_->activeModes();
    if (modes.empty()) return;

    currentLevel_ = progress_->currentLevel;
    if (currentLevel_ >= levels_.size()) throw Convinience::Error("no such level score");
    levelEntry_ = &levels_[currentLevel_];

    // The keepers run on the server thread: they watch the server's world.
    Zarn::ZarnServer& server = singlePlayer_.server();
    Zarn::SteerableUnit& unit = server.world().units.getUnit(kLocalPlayer);

    hud_ = InGameHUD::create();
    Zarn::ScoreKeeperRegistry& scores = client_.getScoreKeeperRegistry();
    hud_->watch(&scores.scores[localClientID_], &scores.timeAttackRemaining);
    hud_->addScoreHUD(Zarn::scoreKeeperKind::money);
    hostScene_->addChild(hud_, kHUDZOrder);

    for (const u8 mode : modes) {
        std::unique_ptr<Zarn::ScoreKeeper> keeper;
        switch (mode) {
            case Zarn::scoreKeeperKind::deaths: {
                auto deaths = std::make_unique<Zarn::DeathScoreKeeper>(server.world().units);
                deaths->addClient(kLocalPlayer);
                keeper = std::move(deaths);
                break;
            }
            case Zarn::scoreKeeperKind::timer: {
                auto timer = std::make_unique<Zarn::TimerScoreKeeper>(server.stopwatch());
                timer->addRow(kLocalPlayer, unit);
                keeper = std::move(timer);
                break;
            }
            case Zarn::scoreKeeperKind::timeAttack:
                keeper = std::make_unique<Zarn::TimeAttackScoreKeeper>(
                    server.stopwatch(), makeTimeAttackKill(), levelEntry_->timeAttackLimit,
                    kTimeAttackPauseMs);
                break;
            case Zarn::scoreKeeperKind::limitedLives: {
                auto lives = std::make_unique<Zarn::LimitedLivesSK>();
                lives->addRow(kLocalPlayer, unit, progress_->lives);
                lives->setGameOverCommand(std::make_unique<GameOverCommand>(*progress_, showGameOver_));
                lives->setLifeLostCommand(std::make_unique<OnLifeLostCommand>(*progress_, *lives));
                livesKeeper_ = lives.get();
                keeper = std::move(lives);
                break;
            }
            default:
                // The progress knows only these four modes.
                continue;
        }
        hud_->addScoreHUD(mode);
        kinds_.push_back(mode);
        // The client only parses the kind's section; it never updates the
        // keeper, which is the server thread's.
        scores.keepers.insert(mode, keeper.get());
        server.addScoreKeeper(std::move(keeper));
    }
}

void CocosPlayTestScene::setupAchievements() {
    if (progress_ == nullptr || AchievementTrackerHook == nullptr) return;
    Zarn::AchievementTracker& tracker = *AchievementTrackerHook;
    tracker.setTriggerFactory(
        std::make_unique<Zarn::PassiveAchievementTriggerFactory>(*progress_, levels_, tracker.cache()));
    std::vector<std::string> passive;
    for (const auto& [id, number] : Zarn::passiveAchievementIds()) passive.push_back(id);
    tracker.addTriggers(passive);
    singlePlayer_.getCore().setAchievementTracker(&tracker);
}

std::unique_ptr<Convinience::Command> CocosPlayTestScene::makeTimeAttackKill() {
    Zarn::GameWorld& world = singlePlayer_.server().world();
    auto kill = std::make_unique<Zarn::Kill>(world.spawnPoints, world.map.grid, kTimeAttackDeathState,
                                             kTimeAttackKillWait);
    return std::make_unique<Zarn::KillAllCommand>(world.units, std::move(kill));
}
