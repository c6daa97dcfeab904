#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "sdl/support/VirtualDisplay.h"

using namespace cocos2d;

namespace {

std::string writeImage(const std::string& dir) {
    const std::string path = dir + "/bench.png";
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 32, 32, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 200, 120, 40, 255));
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

// One frame of 2,000 moving, turning, fading sprites drawn into a 1024 x 576
// window on a virtual display and presented.
void BM_SdlFrame2000Sprites(benchmark::State& state) {
    const std::string why = zarn_test::startVirtualDisplay();
    if (!why.empty()) {
        state.SkipWithError(("no virtual display: " + why).c_str());
        return;
    }
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    Director* director = Director::getInstance();
    director->reset();
    GLViewImpl* view = nullptr;
    {
        zarn_test::DriverAllocations driver;
        view = GLViewImpl::createWithRect("bench", Rect(0, 0, 1024, 576));
    }
    director->setOpenGLView(view);
    if (!view->hasWindow()) {
        state.SkipWithError("no window");
        return;
    }
    view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
    char dir[] = "/tmp/zarn-sdl-bench-XXXXXX";
    const std::string image = writeImage(mkdtemp(dir));
    Scene* scene = Scene::create();
    for (int i = 0; i < 2000; ++i) {
        Sprite* s = Sprite::create(image);
        s->setPosition(static_cast<float>((i * 37) % 1024), static_cast<float>((i * 53) % 576));
        s->runAction(RepeatForever::create(RotateBy::create(1.0f + (i % 5), 360.0f)));
        s->runAction(RepeatForever::create(Sequence::create(MoveBy::create(0.5f, Vec2(20, 10)),
                                                            MoveBy::create(0.5f, Vec2(-20, -10)), nullptr)));
        s->runAction(RepeatForever::create(
            Sequence::create(FadeTo::create(0.7f, 100), FadeTo::create(0.7f, 255), nullptr)));
        scene->addChild(s);
    }
    director->runWithScene(scene);
    director->mainLoop(0.0f);
    for (auto _ : state) {
        view->pollEvents();
        director->mainLoop(1.0f / 60.0f);
        view->swapBuffers();
    }
    state.counters["drawCalls"] = view->getSdlRenderBackend()->lastFrameDrawCalls();
    state.counters["vsync"] = view->isVsync() ? 1 : 0;
    state.SetLabel(view->getRendererName());
    director->reset();
}
BENCHMARK(BM_SdlFrame2000Sprites)->Unit(benchmark::kMillisecond)->MinTime(3.0)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
