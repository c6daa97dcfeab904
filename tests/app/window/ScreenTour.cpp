// The screen tour behind scripts/screenshots: starts the game's application
// object in a window on a virtual display, walks it through its screens like
// a player and saves one PNG per screen; then lays every frame family out on
// gallery pages, at the size the game shows them, to review the art.
//
//     zarn_screen_tour OUT_DIR
//
// Not a test: it passes or fails nothing, it only takes pictures.

#include <SDL.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/start/AppDelegate.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "sdl/support/VirtualDisplay.h"
#include "support/FrameManifest.h"

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

}  // namespace

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
    const std::filesystem::path home = std::filesystem::temp_directory_path() / "zarn-screen-tour";
    std::filesystem::create_directories(home);
    FileUtils::getInstance()->setWritablePath(home.string());
    FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);

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
    Director::getInstance()->replaceScene(ZUICreditsScene::create());
    run(10);
    shoot("credits");
    for (const char* family : {"players", "traps", "elements", "menus"}) galleries(family, 96.0f);
    Director::getInstance()->end();
    run(1);
    std::printf("%s\n", outDir.c_str());
    return 0;
}
