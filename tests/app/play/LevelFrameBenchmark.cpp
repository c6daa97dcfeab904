// One frame of the busiest level the game ships, the boss fight, with four
// players: the host's update (client tick, the in-process server's records,
// every visual, positional sound, the display) and the walk of the node tree
// into the draw list on the headless backend. Reported beside the time: the
// share of a 60 Hz frame (16.7 ms) it takes.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>

#include "app/play/CocosPlayTestScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "engine/cocos2d.h"
#include "engine/headless/HeadlessRenderBackend.h"
#include "foundation/Logger.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/progress/SinglePlayerData.h"
#include "support/TestEnvironment.h"

namespace {

constexpr float kFrame = 1.0f / 60.0f;
constexpr double kFrameBudgetMs = 16.7;

void BM_BossFightFrame(benchmark::State& state) {
    Convinience::Logger::setEnabled(false);
    cocos2d::Director* director = cocos2d::Director::getInstance();
    director->reset();
    cocos2d::GLView* view = cocos2d::GLView::create("bench", cocos2d::Rect(0, 0, 1024, 576));
    director->setOpenGLView(view);
    cocos2d::HeadlessRenderBackend backend;
    director->setRenderBackend(&backend);
    view->setDesignResolutionSize(1024, 576, cocos2d::ResolutionPolicy::SHOW_ALL);
    cocos2d::FileUtils::getInstance()->addSearchPath(std::string(ZARN_ASSETS_DIR) + "/", false);
    PositionAudioEngine::setInstance(
        std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(512.0f, 288.0f), 750.0f));

    Zarn::LevelEntry boss;
    boss.mapName = "DEMO_BossSinglePhase";
    boss.timeAttackLimit = 30000;
    const Zarn::LevelList levels{boss};
    Zarn::SinglePlayerData progress;
    progress.setLevelCount(1);
    progress.enableMode(Zarn::playMode::deaths);
    progress.enableMode(Zarn::playMode::timer);

    PlayTestSceneNode* host = PlayTestSceneNode::create("DEMO_BossSinglePhase.map", &progress, levels);
    if (host == nullptr) {
        state.SkipWithError("the boss level did not load");
        return;
    }
    director->runWithScene(host);
    director->mainLoop(0.0f);
    // Three more players beside the local one, each with its visual.
    Zarn::SinglePlayerZarn& client = host->getClient();
    for (u32 id = 1; id <= 3; ++id) {
        client.addPlayer(id);
        client.getPlayerInfoManager().addClient(id);
        host->getInGameScene()->getSteerableVisuals().addSteerable3D(id);
    }
    // The fight under way: traps cycling, the boss in its phases.
    for (int i = 0; i < 300; ++i) director->mainLoop(kFrame);
    if (director->getRunningScene() != host || host->getResultPanel() != nullptr) {
        state.SkipWithError("the boss level did not keep running");
        return;
    }

    double totalMs = 0.0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        director->mainLoop(kFrame);
        totalMs +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    }
    const double perFrameMs = totalMs / static_cast<double>(state.iterations());
    state.counters["frame_ms"] = perFrameMs;
    state.counters["share_of_16.7ms_%"] = 100.0 * perFrameMs / kFrameBudgetMs;
    state.counters["draw_commands"] = static_cast<double>(director->getDrawList().commands.size());

    director->reset();
    director->setRenderBackend(nullptr);
    PositionAudioEngine::destroyInstance();
    cocos2d::PoolManager::getInstance()->getCurrentPool()->clear();
    Convinience::Logger::setEnabled(true);
}
BENCHMARK(BM_BossFightFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
    // Progress and logs go to a temporary folder, never the user's.
    cocos2d::FileUtils::getInstance()->setWritablePath(zarn_test::tempDir());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(zarn_test::tempDir());
    return 0;
}
