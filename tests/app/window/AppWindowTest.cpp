#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "app/ingame/DialogWindowImpl.h"
#include "app/menus/ZUIMainMenu.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/menus/ZUISettingsMenu.h"
#include "app/play/CocosPlayTestScene.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/start/AppDelegate.h"
#include "app/start/Settings.h"
#include "app/story/ZUIElevatorButton.h"
#include "app/story/ZUIElevatorButtonsPanel.h"
#include "app/story/ZUIElevatorPanel.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/ZUIButton.h"
#include "app/widgets/ZUICoreButton.h"
#include "app/widgets/ZUISkewedRectButton.h"
#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "foundation/SaveFiles.h"
#include "map/import/GameMap.h"
#include "presentation/mediators/MediatedSprite.h"
#include "sdl/support/VirtualDisplay.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/state/GameState.h"
#include "simulation/sync/GameStateBuffer.h"
#include "world/units/SteerableUnitManager.h"

using namespace cocos2d;

namespace {

// The real application object; the test process has its log already.
class WindowedApp : public AppDelegate {
protected:
    void startLog() override {}
};

struct Rgb {
    int r, g, b;
};

::testing::AssertionResult near(Rgb got, Rgb want, int tolerance = 10) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b << ") want ("
                                         << want.r << "," << want.g << "," << want.b << ")";
}

std::string settingsPath() {
    return Convinience::writablePath() + kSettingsFileName;
}

std::string settingsOnDisk() {
    std::ifstream in(settingsPath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Starts the program's application object in a window, then walks it like a
// player: a key on the splash, the settings icon, the music slider, back, the
// exit icon. Each step is checked in the pixels read back from the window, in
// the draw list and, at the end, in the settings file.
class ProgramWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = zarn_test::startVirtualDisplay();
        if (!why.empty()) GTEST_SKIP() << "no virtual display: " << why;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        // Xvfb's GL driver keeps a resized window's drawable at its old size
        // for a while; the software renderer follows the resize at once.
        setenv("SDL_RENDER_DRIVER", "software", 1);
        FileUtils::getInstance()->setDefaultResourceRootPath(ZARN_ASSETS_DIR);
        std::filesystem::remove(settingsPath());
        resetSettingsForTests();
        Director::getInstance()->reset();
    }
    void TearDown() override {
        zarn_test::DriverAllocations driver;
        Director::getInstance()->reset();
        experimental::AudioEngine::end();
        PoolManager::getInstance()->getCurrentPool()->clear();
        resetSettingsForTests();
        std::filesystem::remove(settingsPath());
    }

    // The program started in its window; null when start-up failed (a
    // failure is recorded) or the display opened no window (noWindow set).
    std::unique_ptr<WindowedApp> launch() {
        auto app = std::make_unique<WindowedApp>();
        {
            zarn_test::DriverAllocations driver;
            if (!app->applicationDidFinishLaunching()) {
                ADD_FAILURE() << "start-up failed";
                return nullptr;
            }
        }
        if (window() == nullptr) {
            ADD_FAILURE() << "start-up made no view";
            return nullptr;
        }
        if (!window()->hasWindow()) {
            noWindow = true;
            return nullptr;
        }
        return app;
    }

    GLViewImpl* window() const { return static_cast<GLViewImpl*>(Director::getInstance()->getOpenGLView()); }

    // Frames of dt seconds through the program's frame step, then the pixels.
    void run(int count, float dt = 0.1f) {
        zarn_test::DriverAllocations driver;
        for (int i = 0; i < count; ++i) {
            window()->pollEvents();
            Application::stepFrame(dt);
            if (Director::getInstance()->isEnded()) return;
        }
        ASSERT_TRUE(window()->getSdlRenderBackend()->readPixels(pixels, width, height));
        // Keeps the frame as a PNG in $ZARN_SDL_SCREENSHOT_DIR, when set, to look at.
        if (const char* dir = std::getenv("ZARN_SDL_SCREENSHOT_DIR"))
            window()->getSdlRenderBackend()->saveFrame(std::string(dir) + "/program-" +
                                                       std::to_string(++shots) + ".png");
    }

    // Frames of 0.03 s, 30 ms apart (the level's server runs on its own
    // thread in real time), until `done` holds or ten seconds have passed;
    // says whether it held.
    bool framesUntil(const std::function<bool()>& done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            if (std::chrono::steady_clock::now() >= deadline || Director::getInstance()->isEnded())
                return false;
            run(1, 0.03f);
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
        }
        return true;
    }

    // The pixel at a design point (the design area fills the 1280 x 720 window).
    Rgb at(float x, float y) const {
        const Vec2 p = designToWindow(Vec2(x, y));
        const std::size_t i = (static_cast<std::size_t>(p.y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(p.x)) *
                              4;
        return Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
    }

    Vec2 designToWindow(const Vec2& d) const {
        GLView* v = window();
        const Rect port = v->getViewPortRect();
        return Vec2(port.origin.x + d.x * v->getScaleX(),
                    port.origin.y + (v->getDesignResolutionSize().height - d.y) * v->getScaleY());
    }

    // Real SDL input events, as the window's event loop receives them.
    void push(SDL_Event event) { SDL_PushEvent(&event); }
    void mouse(Uint32 type, const Vec2& design) {
        const Vec2 p = designToWindow(design);
        SDL_Event e{};
        if (type == SDL_MOUSEMOTION) {
            e.type = SDL_MOUSEMOTION;
            e.motion.x = static_cast<Sint32>(p.x);
            e.motion.y = static_cast<Sint32>(p.y);
        } else {
            e.type = type;
            e.button.button = SDL_BUTTON_LEFT;
            e.button.x = static_cast<Sint32>(p.x);
            e.button.y = static_cast<Sint32>(p.y);
        }
        push(e);
    }
    void click(const Vec2& design) {
        mouse(SDL_MOUSEMOTION, design);
        mouse(SDL_MOUSEBUTTONDOWN, design);
        mouse(SDL_MOUSEBUTTONUP, design);
    }
    void key(SDL_Keycode code) {
        keyEdge(code, true);
        keyEdge(code, false);
    }
    // One key going down or up (a key held over frames gets one of each).
    void keyEdge(SDL_Keycode code, bool down) {
        SDL_Event e{};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.keysym.sym = code;
        push(e);
    }
    static Vec2 centreOf(const Node* node) {
        const Size s = node->getContentSize();
        return node->convertToWorldSpace(Vec2(s.width / 2, s.height / 2));
    }
    static bool drawn(const std::string& frame) {
        return !Director::getInstance()->getDrawList().findByFrame(frame).empty();
    }
    static bool textDrawn(const std::u32string& text) {
        for (const DrawCommand& c : Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr && c.glyphs->text == text) return true;
        return false;
    }

    std::vector<uint8_t> pixels;
    bool noWindow = false;
    int shots = 0;
    int width = 0;
    int height = 0;
};

TEST_F(ProgramWindow, KeySettingsSliderBackAndExit) {
    const Rgb menuBackground{241, 198, 153};
    {
        auto app = launch();
        if (noWindow) GTEST_SKIP() << "the virtual display would not open a window";
        ASSERT_NE(app, nullptr);
        EXPECT_EQ(window()->getViewName(), AppDelegate::kTitle);
        EXPECT_EQ(window()->getFrameSize().width, 1280);  // resized from 1024 x 576 by the settings
        EXPECT_EQ(window()->getFrameSize().height, 720);

        // The splash: logo in the list, the menu's background in the corner.
        run(10);
        EXPECT_TRUE(drawn("splash_logo.png"));
        EXPECT_TRUE(near(at(10, 566), menuBackground));
        auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
        ASSERT_NE(menu, nullptr);
        ZUIMainMenuLayer* layer = menu->getLayer();

        // A key slides the menu in.
        key(SDLK_RETURN);
        run(15);
        EXPECT_EQ(layer->splash, nullptr);
        EXPECT_FALSE(drawn("splash_logo.png"));
        EXPECT_TRUE(drawn("silhouette_zizad.png"));
        EXPECT_TRUE(textDrawn(U"STORY"));
        EXPECT_TRUE(near(at(10, 566), menuBackground));
        // The big circle, drawn in white and tinted once, bottom right.
        EXPECT_TRUE(near(at(1000, 20), Rgb{251, 224, 197}));

        // The settings icon opens the settings page in place of the buttons.
        click(centreOf(layer->settingsIcon));
        run(3);
        ASSERT_NE(layer->settingsMenu, nullptr);
        EXPECT_TRUE(textDrawn(U"Music Volume"));
        EXPECT_FALSE(textDrawn(U"STORY"));
        EXPECT_TRUE(drawn("Slider_Back.png"));

        // Drag the music slider's ball to the middle of its bar.
        ui::Slider* slider = layer->settingsMenu->musicSlider;
        const Rect bar = slider->getBoundingBox();
        const Vec2 from = layer->settingsMenu->convertToWorldSpace(Vec2(bar.getMaxX() - 1, bar.getMidY()));
        const Vec2 to = layer->settingsMenu->convertToWorldSpace(Vec2(bar.getMidX(), bar.getMidY()));
        mouse(SDL_MOUSEMOTION, from);
        mouse(SDL_MOUSEBUTTONDOWN, from);
        mouse(SDL_MOUSEMOTION, to);
        mouse(SDL_MOUSEBUTTONUP, to);
        run(2);
        EXPECT_GT(Settings.MUSIC_VOLUME, 25);
        EXPECT_LT(Settings.MUSIC_VOLUME, 75);
        EXPECT_EQ(slider->getPercent(), Settings.MUSIC_VOLUME);

        // Back writes the file and brings the buttons back.
        click(centreOf(layer->settingsMenu->backButton));
        run(3);
        EXPECT_EQ(layer->settingsMenu, nullptr);
        EXPECT_TRUE(textDrawn(U"STORY"));
        EXPECT_FALSE(textDrawn(U"Music Volume"));
        EXPECT_NE(settingsOnDisk().find("MUSIC_VOLUME=" + std::to_string(Settings.MUSIC_VOLUME) + "\n"),
                  std::string::npos);
        std::filesystem::remove(settingsPath());

        // The exit icon ends the loop; the program then shuts down.
        click(centreOf(layer->exitIcon));
        run(2);
        EXPECT_TRUE(Director::getInstance()->isEnded());
        zarn_test::DriverAllocations driver;
        app.reset();
    }
    // Leaving wrote the settings once more, with the changed volume.
    const std::string text = settingsOnDisk();
    EXPECT_NE(text.find("MUSIC_VOLUME=" + std::to_string(Settings.MUSIC_VOLUME) + "\n"), std::string::npos);
    EXPECT_NE(text.find("RES_INDEX=1\n"), std::string::npos);
}

// The story path in the window: the splash, STORY, floor 0, and the first
// level on screen; a click walks the rat and the room is drawn, not a
// black screen.
TEST_F(ProgramWindow, StoryPlaysTheFirstLevelInTheWindow) {
    auto app = launch();
    if (noWindow) GTEST_SKIP() << "the virtual display would not open a window";
    ASSERT_NE(app, nullptr);
    run(10);
    auto* menu = dynamic_cast<ZUIMainMenuScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(menu, nullptr);
    key(SDLK_RETURN);
    run(15);
    click(centreOf(menu->getLayer()->mainMenu->storyButton));
    run(10);
    auto* story = dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(story, nullptr);
    // Floor 0; the column takes off for two seconds before the level fades in.
    click(centreOf(story->getElevatorPanel()->getButtonsPanel()->buttonOf(0)));
    run(35);
    auto* level = dynamic_cast<PlayTestSceneNode*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(level, nullptr);
    EXPECT_EQ(level->getInGameScene()->getMapName(), "DEMO_EmptyRoomWithWalls.map");

    // A click two cells right of the spawn: the rat walks there.
    Zarn::SteerableUnit& rat = level->getClient().getSteerableUnitManager().getUnit(0);
    const float startX = rat.body().position.x;
    const float cell = static_cast<float>(level->getClient().getGameMap().grid.getCellSize());
    click(level->getInGameScene()->getWorldSprite()->convertToWorldSpace(Vec2(3.5f * cell, 1.5f * cell)));
    EXPECT_TRUE(framesUntil([&] { return rat.body().position.x > startX + 1.5f * cell; }));

    // The up arrow held down walks the rat up the free column; let go, it
    // stands: two states of the server at different ticks hold it in one
    // place, where the window shows it.
    const float startY = rat.body().position.y;
    keyEdge(SDLK_UP, true);
    EXPECT_TRUE(framesUntil([&] { return rat.body().position.y > startY + cell; }));
    keyEdge(SDLK_UP, false);
    const auto& states = level->getClient().getCore().stateBuffer().states();
    std::optional<std::pair<u32, GeometryLib::FPoint>> seen;  // the newest state a frame before
    ASSERT_TRUE(framesUntil([&] {
        if (states.empty()) return false;
        const auto& [tick, state] = *states.rbegin();
        const Zarn::ClientState* rats = state.findClient(0);
        if (rats == nullptr) return false;
        const bool held = seen && seen->first < tick && seen->second == rats->position;
        seen.emplace(tick, rats->position);
        return held && rat.body().position == rats->position;
    }));
    EXPECT_GT(rat.body().position.y, startY + cell);
    EXPECT_LT(rat.body().position.y, 4.0f * cell) << "the wall above stops it";
    const GeometryLib::FPoint stood = rat.body().position;
    run(5, 0.03f);
    EXPECT_EQ(rat.body().position, stood);

    // The room is drawn: its tiles (art, or the engine's stand-in boxes
    // while the art is missing) light thousands of pixels, not a black screen.
    std::size_t lit = 0;
    for (std::size_t i = 0; i + 3 < pixels.size(); i += 4)
        lit += pixels[i] + pixels[i + 1] + pixels[i + 2] > 60;
    EXPECT_GT(lit, 3000u) << lit << " pixels lit";

    key(SDLK_ESCAPE);
    run(10);
    EXPECT_NE(dynamic_cast<ZUISinglePlayerScene*>(Director::getInstance()->getRunningScene()), nullptr);
    zarn_test::DriverAllocations driver;
    app.reset();
}

// Full screen on the virtual display's 1280 x 800 screen: the design area
// fills the width and leaves bands of 40 pixels above and below. The first
// level's room lies in the middle of it, its greeting inside.
TEST_F(ProgramWindow, FullScreenFramesTheFirstLevelAndItsGreeting) {
    Settings.FULLSCREEN = true;
    auto app = launch();
    if (noWindow) GTEST_SKIP() << "the virtual display would not open a window";
    ASSERT_NE(app, nullptr);
    run(2);
    ASSERT_EQ(window()->getFrameSize().width, 1280);
    ASSERT_EQ(window()->getFrameSize().height, 800);
    EXPECT_EQ(window()->getViewPortRect(), Rect(0, 40, 1280, 720));

    Director::getInstance()->replaceScene(PlayTestSceneNode::create("DEMO_EmptyRoomWithWalls.map", nullptr));
    run(1, 0.03f);
    auto* level = dynamic_cast<PlayTestSceneNode*>(Director::getInstance()->getRunningScene());
    ASSERT_NE(level, nullptr);
    auto* dialog = dynamic_cast<DialogWindowImpl*>(level->getInGameScene()->getDialogWindow());
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 300 && !(dialog->isOpen() && !dialog->isOpening() && !dialog->isTyping()); ++i) {
        run(1, 0.03f);
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(dialog->isOpen() && !dialog->isTyping());
    run(1, 0.03f);

    // Black bands above and below; on the room's second row from the top,
    // black beyond the room and its walls 40 pixels in from either side
    // (the room is 11 cells, 1100 pixels, wide).
    const auto pixel = [&](int x, int y) {
        const std::size_t i =
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) * 4;
        return Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
    };
    const auto lit = [](Rgb c) { return c.r + c.g + c.b > 60; };
    ASSERT_EQ(width, 1280);
    ASSERT_EQ(height, 800);
    EXPECT_TRUE(near(pixel(640, 20), Rgb{0, 0, 0}));
    EXPECT_TRUE(near(pixel(640, 780), Rgb{0, 0, 0}));
    const int row = static_cast<int>(designToWindow(Vec2(0, 8 + 5.5f * 80)).y);
    EXPECT_TRUE(near(pixel(25, row), Rgb{0, 0, 0}));
    EXPECT_TRUE(near(pixel(75, row), Rgb{0, 0, 0}));
    EXPECT_TRUE(lit(pixel(130, row)));
    EXPECT_TRUE(lit(pixel(1150, row)));
    EXPECT_TRUE(near(pixel(1205, row), Rgb{0, 0, 0}));
    EXPECT_TRUE(near(pixel(1255, row), Rgb{0, 0, 0}));

    // The box is drawn white (nothing dims a room without camera regions),
    // here between its left edge and its lines, halfway down.
    const DialogQuad& corners = dialog->getBoxCorners();
    const Vec2 inBox =
        designToWindow(dialog->getBox()->convertToWorldSpace(Vec2(0, (corners[0].y + corners[1].y) / 2)));
    EXPECT_TRUE(near(pixel(static_cast<int>(inBox.x), static_cast<int>(inBox.y)), Rgb{255, 255, 255}));

    // The greeting's box and the speaker's name lie inside the shown area.
    const Rect port = window()->getViewPortRect();
    for (const Node* part :
         {static_cast<const Node*>(dialog->getBox()), static_cast<const Node*>(dialog->getNameLabel())}) {
        const std::vector<const DrawCommand*> drawn = Director::getInstance()->getDrawList().findByNode(part);
        ASSERT_FALSE(drawn.empty());
        for (const DrawCommand* c : drawn) {
            std::vector<Vec2> points;
            if (c->shapes != nullptr)
                for (const ShapeVertex& v : c->shapes->triangles) points.push_back(v.position);
            if (c->glyphs != nullptr)
                for (const Glyph& g : c->glyphs->glyphs) points.push_back(g.origin);
            for (const Vec2& p : points) {
                const Vec2 w = designToWindow(c->transform.transformPoint(p));
                EXPECT_TRUE(port.containsPoint(w)) << w.x << ", " << w.y;
            }
        }
    }
    zarn_test::DriverAllocations driver;
    app.reset();
}

}  // namespace
