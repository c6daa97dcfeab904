#include <benchmark/benchmark.h>

#include "engine/cocos2d.h"

using namespace cocos2d;

namespace {

// One frame of a scene with 10,000 sprites, each running a repeating
// move-and-fade, walked into the draw list.
void BM_FrameOf10000AnimatedNodes(benchmark::State& state) {
    Director* director = Director::getInstance();
    director->reset();
    SpriteFrame* frame = SpriteFrame::createWithTexture(nullptr, Rect(0, 0, 32, 32));
    frame->setName("bench_tile.png");
    SpriteFrameCache::getInstance()->addSpriteFrame(frame, "bench_tile.png");
    Scene* scene = Scene::create();
    director->runWithScene(scene);
    const int count = static_cast<int>(state.range(0));
    for (int i = 0; i < count; ++i) {
        Sprite* s = Sprite::createWithSpriteFrameName("bench_tile.png");
        s->setPosition(static_cast<float>(i % 100) * 10.0f, static_cast<float>(i / 100) * 5.0f);
        s->runAction(RepeatForever::create(
            Sequence::create(Spawn::create(MoveBy::create(0.5f, Vec2(10, 0)), FadeTo::create(0.5f, 100)),
                             Spawn::create(MoveBy::create(0.5f, Vec2(-10, 0)), FadeTo::create(0.5f, 255)))));
        scene->addChild(s, i % 7);
    }
    director->mainLoop(0.0f);
    for (auto _ : state) {
        director->mainLoop(1.0f / 60.0f);
        benchmark::DoNotOptimize(director->getDrawList().commands.data());
    }
    state.counters["drawn"] = static_cast<double>(director->getDrawList().commands.size());
    director->reset();
    SpriteFrameCache::getInstance()->removeSpriteFrameByName("bench_tile.png");
}
BENCHMARK(BM_FrameOf10000AnimatedNodes)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
