#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/start/AppDelegate.h"
#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "presentation/effects/VisualRandom.h"
#include "sdl/support/VirtualDisplay.h"
#include "support/RoomView.h"

using namespace cocos2d;

namespace {

class QuietApp : public AppDelegate {
protected:
    void startLog() override {}
};

GLViewImpl* window() {
    return static_cast<GLViewImpl*>(Director::getInstance()->getOpenGLView());
}

// A room's first frame at the design size, every second pixel of every second
// row, as RGB.
struct FirstFrame {
    std::string room;
    std::vector<u8> rgb;
};

// The share of sampled pixels that differ clearly (by more than a shade in a
// channel) between two frames of one size.
double differingShare(const FirstFrame& a, const FirstFrame& b) {
    const std::size_t pixels = std::min(a.rgb.size(), b.rgb.size()) / 3;
    if (pixels == 0) return 0.0;
    std::size_t differing = 0;
    for (std::size_t i = 0; i < pixels * 3; i += 3) {
        for (std::size_t c = 0; c < 3; ++c) {
            if (std::abs(static_cast<int>(a.rgb[i + c]) - static_cast<int>(b.rgb[i + c])) > 24) {
                ++differing;
                break;
            }
        }
    }
    return static_cast<double>(differing) / static_cast<double>(pixels);
}

// Every room the game ships, shown in the window at the design size as a
// player first sees it, looks like itself: between any two rooms at least a
// tenth of the picture differs, so no room reads as another one again.
TEST(ShippedRoomFirstFrames, NoTwoRoomsLookAlike) {
    const std::string why = zarn_test::startVirtualDisplay();
    if (!why.empty()) GTEST_SKIP() << "no virtual display: " << why;
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("SDL_RENDER_DRIVER", "software", 1);
    FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
    Director::getInstance()->reset();

    std::vector<FirstFrame> frames;
    {
        auto app = std::make_unique<QuietApp>();
        {
            zarn_test::DriverAllocations driver;
            ASSERT_TRUE(app->applicationDidFinishLaunching());
        }
        ASSERT_NE(window(), nullptr);
        if (!window()->hasWindow()) GTEST_SKIP() << "the display opened no window";
        window()->setWindowed(1024, 576);

        std::vector<std::filesystem::path> maps;
        for (const auto& entry : std::filesystem::directory_iterator(std::string(ZARN_ASSETS_DIR) + "/maps"))
            if (entry.path().extension() == ".map") maps.push_back(entry.path());
        std::sort(maps.begin(), maps.end());
        ASSERT_GE(maps.size(), 30u);
        seedVisualRandomEngine(5489);
        for (const std::filesystem::path& map : maps) {
            zarn_test::RoomView view(map.string());
            for (int i = 0; i < 3; ++i) {
                window()->pollEvents();
                Application::stepFrame(0.0f);
            }
            std::vector<uint8_t> rgba;
            int width = 0;
            int height = 0;
            ASSERT_TRUE(window()->getSdlRenderBackend()->readPixels(rgba, width, height));
            ASSERT_EQ(width, 1024) << map;
            FirstFrame frame{map.stem().string(), {}};
            for (int y = 0; y < height; y += 2) {
                for (int x = 0; x < width; x += 2) {
                    const std::size_t at = (static_cast<std::size_t>(y) * width + x) * 4;
                    frame.rgb.insert(frame.rgb.end(), rgba.begin() + at, rgba.begin() + at + 3);
                }
            }
            frames.push_back(std::move(frame));
        }
    }
    {
        zarn_test::DriverAllocations driver;
        Director::getInstance()->reset();
        experimental::AudioEngine::end();
        PoolManager::getInstance()->getCurrentPool()->clear();
    }

    for (std::size_t a = 0; a < frames.size(); ++a) {
        for (std::size_t b = a + 1; b < frames.size(); ++b) {
            const double share = differingShare(frames[a], frames[b]);
            EXPECT_GE(share, 0.10) << frames[a].room << " and " << frames[b].room << " differ in only "
                                   << std::lround(share * 100.0) << " % of their first frames";
        }
    }
}

}  // namespace
