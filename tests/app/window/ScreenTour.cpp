// The screen tour behind scripts/screenshots: starts the game's application
// object in a window on a virtual display, walks it through its screens like
// a player from a first visit (the story's first level with its dialog and
// result panel among them, its dialog also in the smallest window and a
// 16:10 one, then the elevator and a result of a player who has finished
// the story) and saves one PNG per screen; shows the first frame of every
// shipped room (its floors, walls, elements, traps and the local player, as
// the in-game scene builds them); then lays every frame family out on
// gallery pages, at the size the game shows them, to review the art.
//
//     zarn_screen_tour OUT_DIR
//
// Not a test: it passes or fails nothing, it only takes pictures.

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/online/MultiplayerInGameScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/start/AppDelegate.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIElevatorButtonsPanel.h"
#include "app/story/ZUIElevatorPanel.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/NoticeLabel.h"
#include "app/widgets/ZUIButton.h"
#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "presentation/effects/VisualRandom.h"
#include "sdl/support/VirtualDisplay.h"
#include "simulation/progress/SinglePlayerData.h"
#include "support/FrameManifest.h"
#include "support/RoomView.h"

using namespace cocos2d;

namespace {

class TourApp : public AppDelegate {
protected:
    void startLog() override {}
};

GLViewImpl* window() {
    return static_cast<GLViewImpl*>(Director::getInstance()->getOpenGLView());
}

std::string outDir;
int shots = 0;

void run(int frames, float dt = 0.1f) {
    for (int i = 0; i < frames; ++i) {
        window()->pollEvents();
        Application::stepFrame(dt);
    }
}

void shoot(const std::string& name) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d-", ++shots);
    const std::string path = outDir + "/" + number + name + ".png";
    if (!window()->getSdlRenderBackend()->saveFrame(path))
        std::fprintf(stderr, "could not save %s\n", path.c_str());
}

void key(SDL_Keycode code) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = code;
    SDL_PushEvent(&e);
    e.type = SDL_KEYUP;
    SDL_PushEvent(&e);
}

// A left click at a point of the design resolution.
void click(const Vec2& design) {
    GLView* view = window();
    const Rect port = view->getViewPortRect();
    const int x = static_cast<int>(port.origin.x + design.x * view->getScaleX());
    const int y = static_cast<int>(port.origin.y +
                                   (view->getDesignResolutionSize().height - design.y) * view->getScaleY());
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = x;
    e.motion.y = y;
    SDL_PushEvent(&e);
    for (Uint32 type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
        SDL_Event b{};
        b.type = type;
        b.button.button = SDL_BUTTON_LEFT;
        b.button.x = x;
        b.button.y = y;
        SDL_PushEvent(&b);
    }
}

// One page of frames on a floor-coloured ground, each scaled to fit a cell.
Scene* gallery(const std::vector<std::string>& names, float cell) {
    Scene* scene = Scene::create();
    scene->addChild(LayerColor::create(Color4B(213, 222, 226, 255)));
    const Size visible = Director::getInstance()->getVisibleSize();
    const int columns = static_cast<int>(visible.width / cell);
    for (std::size_t i = 0; i < names.size(); ++i) {
        Sprite* sprite = Sprite::createWithSpriteFrameName(names[i]);
        const Size s = sprite->getContentSize();
        const float fit = std::min(1.0f, (cell - 6) / std::max(s.width, s.height));
        sprite->setScale(fit);
        const int column = static_cast<int>(i) % columns;
        const int row = static_cast<int>(i) / columns;
        sprite->setPosition(Vec2(cell * (column + 0.5f), visible.height - cell * (row + 0.5f)));
        scene->addChild(sprite);
    }
    return scene;
}

void galleries(const std::string& family, float cell) {
    const auto manifest = zarn_test::FrameManifest::read(ZARN_FRAME_MANIFEST);
    auto it = manifest.families.find(family);
    if (it == manifest.families.end()) return;
    const std::vector<std::string> names(it->second.begin(), it->second.end());
    const Size visible = Director::getInstance()->getVisibleSize();
    const std::size_t perPage =
        static_cast<std::size_t>(visible.width / cell) * static_cast<std::size_t>(visible.height / cell);
    for (std::size_t first = 0, page = 1; first < names.size(); first += perPage, ++page) {
        const std::vector<std::string> part(
            names.begin() + static_cast<long>(first),
            names.begin() + static_cast<long>(std::min(names.size(), first + perPage)));
        Director::getInstance()->replaceScene(gallery(part, cell));
        run(2);
        shoot("gallery-" + family + "-" + std::to_string(page));
    }
}

// The story's first level from the level select: its opening dialog and,
// when asked, its result panel. The names end in `suffix`.
void firstLevel(const std::string& suffix, bool result) {
    auto* story = dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene());
    if (story == nullptr) return;
    // Floor 0; the column takes off for two seconds before the level fades in.
    const Node* floor = story->getElevatorPanel()->getButtonsPanel()->buttonOf(0);
    click(floor->convertToWorldSpace(
        Vec2(floor->getContentSize().width / 2, floor->getContentSize().height / 2)));
    run(70);
    shoot("level-dialog" + suffix);
    if (!result) return;
    if (auto* level = dynamic_cast<PlayTestSceneNode*>(Director::getInstance()->getRunningScene())) {
        level->onLevelFinished();
        run(30);
        shoot("level-result" + suffix);
    }
}

// The elevator of a player who has finished the story once: the wide side
// bar with the challenge modes on, a medal box under every floor; then the
// first floor's result panel with a card for every mode.
void storyComplete() {
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    progress.runComplete = 1;
    for (std::size_t i = 0; i < progress.levelStatuses.size(); ++i) {
        Zarn::LevelStatus& status = progress.levelStatuses[i];
        status.locked = 0;
        status.fewestDeaths = static_cast<u32>(i % 6);
        status.bestTime = 8000 + 4000 * (i % 7);
        status.timeAttackDone = i % 3 == 0 ? 1 : 0;
    }
    for (Zarn::PlayMode mode :
         {Zarn::playMode::timer, Zarn::playMode::timeAttack, Zarn::playMode::limitedLives})
        progress.enableMode(mode);
    progress.restartLives();
    writeSinglePlayerProgress(progress);
    Director::getInstance()->replaceScene(ZUISinglePlayerScene::create());
    run(10);
    shoot("story-complete");
    firstLevel("-all-modes", true);
}

// The first frame of every room the build compiled, by name.
void rooms() {
    std::vector<std::filesystem::path> maps;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(ZARN_ASSETS_DIR) + "/maps"))
        if (entry.path().extension() == ".map") maps.push_back(entry.path());
    std::sort(maps.begin(), maps.end());
    seedVisualRandomEngine(5489);
    for (const std::filesystem::path& map : maps) {
        try {
            zarn_test::RoomView view(map.string());
            run(3, 0.0f);
            shoot("room-" + map.stem().string());
            // A room with a boss again once the fight is on: the boss risen,
            // its brow in, its bar up.
            const bool boss = std::any_of(view.game.traps.begin(), view.game.traps.end(),
                                          [](const auto& t) { return t->trapRecord->elementId == 133; });
            if (!boss) continue;
            for (int tick = 0; tick < 80; ++tick) {
                view.game.stepOnce();
                run(1, 0.03f);
            }
            shoot("room-" + map.stem().string() + "-fight");
        } catch (const std::exception& e) {
            std::fprintf(stderr, "%s: %s\n", map.filename().c_str(), e.what());
        }
    }
}

}  // namespace

// Walks the game's screens in an application object kept in the
// writable folder set up by main.
int tour() {
    TourApp app;
    if (!app.applicationDidFinishLaunching() || window() == nullptr || !window()->hasWindow()) {
        std::fprintf(stderr, "the game's window did not open\n");
        return 1;
    }
    run(10);
    shoot("splash");
    key(SDLK_RETURN);
    run(15);
    shoot("main-menu");
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    if (menu != nullptr) {
        ZUIMainMenuLayer* layer = menu->getLayer();
        layer->openSettings(50);
        run(10);
        shoot("settings");
        Director::getInstance()->replaceScene(ZUIMainMenuScene::create(1));
        run(2);
        key(SDLK_RETURN);
        run(15);
        menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
        if (menu != nullptr) {
            menu->getLayer()->showArcadePanel();
            run(10);
            shoot("arcade-panel");
            menu->getLayer()->showMultiplayerPanel();
            run(10);
            shoot("multiplayer-panel");
        }
    }
    Director::getInstance()->replaceScene(ZUISinglePlayerScene::create());
    run(10);
    shoot("story");
    firstLevel("", true);
    // The same at the smallest window and letterboxed in a 16:10 one.
    for (const Size& size : {Size(1024, 576), Size(1280, 800)}) {
        window()->setWindowed(static_cast<int>(size.width), static_cast<int>(size.height));
        Director::getInstance()->replaceScene(ZUISinglePlayerScene::create());
        run(2);
        firstLevel("-" + std::to_string(static_cast<int>(size.width)) + "x" +
                       std::to_string(static_cast<int>(size.height)),
                   false);
    }
    window()->setWindowed(1280, 720);
    storyComplete();
    Director::getInstance()->replaceScene(ZUICreditsScene::create());
    run(10);
    shoot("credits");
    // What a player whose game server went away sees on the main menu.
    ZUIMainMenuScene* noticed = ZUIMainMenuScene::create(0);
    showNotice(noticed, MultiplayerInGameScene::kServerLostNotice, MultiplayerInGameScene::kNoticeZOrder);
    Director::getInstance()->replaceScene(noticed);
    run(20);
    shoot("menu-notice");
    {
        ZUIBetaEndScene* end = ZUIBetaEndScene::create();
        end->addBonusChallenges();
        Director::getInstance()->replaceScene(end);
        run(10);
        shoot("end-of-levels");
    }
    rooms();
    for (const char* family : {"players", "traps", "elements", "menus", "screens"}) galleries(family, 96.0f);
    Director::getInstance()->end();
    run(1);
    return 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT_DIR\n", argv[0]);
        return 2;
    }
    outDir = argv[1];
    std::filesystem::create_directories(outDir);
    const std::string why = zarn_test::startVirtualDisplay();
    if (!why.empty()) {
        std::fprintf(stderr, "no virtual display: %s\n", why.c_str());
        return 1;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    // A fresh writable folder: the tour starts from a first visit.
    std::string folder = (std::filesystem::temp_directory_path() / "zarn-screen-tour-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const std::filesystem::path home = folder;
    FileUtils::getInstance()->setWritablePath(home.string());
    FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
    const int status = tour();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    if (status == 0) std::printf("%s\n", outDir.c_str());
    return status;
}
