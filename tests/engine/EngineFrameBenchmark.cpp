#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/cocos2d.h"
#include "support/AllocationCounter.h"
#include "support/TestEnvironment.h"

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
    std::size_t allocations = 0;
    for (auto _ : state) {
        zarn_test::AllocationCounter counter;
        director->mainLoop(1.0f / 60.0f);
        allocations += counter.count();
        benchmark::DoNotOptimize(director->getDrawList().commands.data());
    }
    state.counters["drawn"] = static_cast<double>(director->getDrawList().commands.size());
    state.counters["allocs/frame"] = static_cast<double>(allocations) / static_cast<double>(state.iterations());
    director->reset();
    SpriteFrameCache::getInstance()->removeSpriteFrameByName("bench_tile.png");
}
BENCHMARK(BM_FrameOf10000AnimatedNodes)->Arg(10000)->Unit(benchmark::kMillisecond);

// A sheet of 16 frames of 64 x 64 in a 256 x 256 image. The engine reads only
// the image's header, which is all the file holds.
std::string writeSheet() {
    const std::string image = zarn_test::tempDir() + "/bench_sheet_with_a_long_enough_name.png";
    const unsigned char header[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                      'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 1, 0};
    std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof header);
    std::string plist = "<plist><dict><key>frames</key><dict>";
    for (int i = 0; i < 16; ++i) {
        plist += "<key>bench_sheet_frame_" + std::to_string(i) +
                 ".png</key><dict><key>frame</key><string>{{" + std::to_string(i % 4 * 64) + "," +
                 std::to_string(i / 4 * 64) +
                 "},{64,64}}</string><key>offset</key><string>{0,0}</string><key>rotated</key><false/>"
                 "<key>sourceSize</key><string>{64,64}</string></dict>";
    }
    plist += "</dict><key>metadata</key><dict><key>format</key><integer>2</integer></dict></dict></plist>";
    SpriteFrameCache::getInstance()->addSpriteFramesWithFileContent(plist, image);
    return image;
}

// A steady frame of a busy screen: 3,000 sheet sprites in rooms of 100 (30 of
// them actors that set their position and unchanged z every frame, as players
// do), 100 labels that listen to the mouse as buttons do, 10 draw nodes and
// a mouse move. Nothing is created or changed but positions.
void BM_SteadyFrameOfSheetSpritesLabelsAndAMouseMove(benchmark::State& state) {
    Director* director = Director::getInstance();
    director->reset();
    writeSheet();
    GLView* view = GLView::create("bench", Rect(0, 0, 1024, 576));
    director->setOpenGLView(view);
    Scene* scene = Scene::create();
    director->runWithScene(scene);

    std::vector<Sprite*> actors;
    for (int room = 0; room < 30; ++room) {
        Node* layer = Node::create();
        scene->addChild(layer, room);
        for (int i = 0; i < 100; ++i) {
            Sprite* s = Sprite::createWithSpriteFrameName("bench_sheet_frame_" +
                                                          std::to_string((room + i) % 16) + ".png");
            s->setPosition(static_cast<float>(i * 10), static_cast<float>(room * 19));
            layer->addChild(s, i % 5);
            if (i == 0) actors.push_back(s);
        }
    }
    int hovered = 0;
    for (int i = 0; i < 100; ++i) {
        Label* label =
            Label::createWithTTF("Button number " + std::to_string(i), Label::kFallbackFontFile, 20);
        if (i % 2 == 0) label->enableOutline(Color4B::BLACK, 1);
        label->setPosition(static_cast<float>(i % 10 * 100 + 50), static_cast<float>(i / 10 * 50 + 25));
        scene->addChild(label, 40);
        auto* mouse = EventListenerMouse::create();
        mouse->onMouseMove = [label, &hovered](EventMouse* e) {
            if (label->getBoundingBox().containsPoint(e->getLocationInView())) ++hovered;
        };
        director->getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, label);
    }
    for (int i = 0; i < 10; ++i) {
        DrawNode* face = DrawNode::create();
        face->drawSolidRect(Vec2(-50, -20), Vec2(50, 20), Color4F(0.7f, 0.3f, 0.1f, 1.0f));
        face->drawRect(Vec2(-50, -20), Vec2(50, 20), Color4F::BLACK);
        face->setPosition(static_cast<float>(i * 100 + 50), 540);
        scene->addChild(face, 39);
    }
    auto frame = [&](int n) {
        for (std::size_t a = 0; a < actors.size(); ++a) {
            Sprite* actor = actors[a];
            actor->setPosition(static_cast<float>((n + static_cast<int>(a) * 7) % 1000),
                               actor->getPositionY());
            actor->setLocalZOrder(actor->getLocalZOrder());
        }
        view->handleMouseMove(static_cast<float>(n % 1024), static_cast<float>(n * 7 % 576));
        director->mainLoop(1.0f / 60.0f);
    };
    for (int n = 0; n < 3; ++n) frame(n);  // warm-up: the first frames size the buffers

    int n = 3;
    std::size_t allocations = 0;
    for (auto _ : state) {
        zarn_test::AllocationCounter counter;
        frame(n++);
        allocations += counter.count();
        benchmark::DoNotOptimize(director->getDrawList().commands.data());
    }
    state.counters["drawn"] = static_cast<double>(director->getDrawList().commands.size());
    state.counters["allocs/frame"] =
        static_cast<double>(allocations) / static_cast<double>(state.iterations());
    benchmark::DoNotOptimize(hovered);
    director->reset();
    SpriteFrameCache::getInstance()->removeSpriteFrames();
    std::error_code ignored;
    std::filesystem::remove_all(zarn_test::tempDir(), ignored);
}
BENCHMARK(BM_SteadyFrameOfSheetSpritesLabelsAndAMouseMove)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
