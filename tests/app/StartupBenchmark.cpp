// Start-up of the program to its first drawn frame of the main menu (with the
// splash): view set-up, settings load and apply, the seven sprite sheets
// parsed, the main menu scene built and one frame walked into the draw list on
// the headless backend.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>
#include <vector>

#include "app/start/AppDelegate.h"
#include "app/start/Settings.h"
#include "engine/cocos2d.h"
#include "engine/headless/HeadlessRenderBackend.h"
#include "support/AppFixture.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace {

class BenchApp : public AppDelegate {
protected:
    void startLog() override {}
};

// Seven sheets of 80 frames each, every frame of the manifest among them, on a
// small PNG header (the engine reads the texture's size only).
void writeSheets() {
    const std::filesystem::path root = std::filesystem::path(zarn_test::tempDir()) / "bench-assets";
    std::filesystem::create_directories(root / "2D");
    const std::set<std::string> menus = zarn_test::menuFrames();
    const std::vector<std::string> frames(menus.begin(), menus.end());
    for (const char* sheet : AppDelegate::kSpriteSheets) {
        const std::string stem = std::filesystem::path(sheet).stem().string();
        std::ofstream png(root / "2D" / (stem + ".png"), std::ios::binary);
        const unsigned char header[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                          'I',  'H', 'D', 'R', 0,    0,    4,    0,    0, 0, 4, 0};
        png.write(reinterpret_cast<const char*>(header), sizeof header);
        std::ofstream plist(root / sheet);
        plist << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist "
                 "version=\"1.0\"><dict><key>frames</key><dict>\n";
        for (int i = 0; i < 80; ++i) {
            const std::string name = stem == "ui_new" && i < static_cast<int>(frames.size())
                                         ? frames[static_cast<std::size_t>(i)]
                                         : stem + "_" + std::to_string(i) + ".png";
            const int x = (i % 8) * 128;
            const int y = (i / 8) * 100;
            plist << "<key>" << name << "</key><dict><key>frame</key><string>{{" << x << "," << y
                  << "},{120,90}}</string><key>offset</key><string>{0,0}</string><key>rotated</key><false/>"
                  << "<key>sourceSize</key><string>{120,90}</string></dict>\n";
        }
        plist << "</dict><key>metadata</key><dict><key>format</key><integer>2</integer><key>textureFileName</"
                 "key>"
              << "<string>" << stem << ".png</string></dict></dict></plist>\n";
    }
    FileUtils::getInstance()->addSearchPath(root.string() + "/", true);
}

void BM_StartupToFirstMenuFrame(benchmark::State& state) {
    writeSheets();
    zarn_test::provideManifestSounds();
    HeadlessRenderBackend backend;
    Director* director = Director::getInstance();
    for (auto _ : state) {
        state.PauseTiming();
        director->reset();
        SpriteFrameCache::getInstance()->removeSpriteFrames();
        resetSettingsForTests();
        director->setOpenGLView(GLView::create("bench", Rect(0, 0, 1024, 576)));
        director->setRenderBackend(&backend);
        state.ResumeTiming();
        {
            BenchApp app;
            app.applicationDidFinishLaunching();
            director->mainLoop(0.0f);
            benchmark::DoNotOptimize(backend.lastList().commands.size());
            state.PauseTiming();
        }
        PoolManager::getInstance()->getCurrentPool()->clear();
        state.ResumeTiming();
    }
    if (!SpriteFrameCache::getInstance()->hasSpriteFrame("core_button.png"))
        state.SkipWithError("sheets not loaded");
    director->reset();
    director->setRenderBackend(nullptr);
}
BENCHMARK(BM_StartupToFirstMenuFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    FileUtils::getInstance()->setWritablePath(zarn_test::tempDir());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(zarn_test::tempDir());
    return 0;
}
