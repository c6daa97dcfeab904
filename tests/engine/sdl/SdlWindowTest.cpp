#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "engine/ui/UITextField.h"
#include "sdl/support/VirtualDisplay.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace {

const char* const kFont = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

// Writes a solid-colour PNG and returns its path.
std::string solidImage(const std::string& name, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    const std::string path = zarn_test::tempDir() + "/" + name;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, r, g, b, 255));
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

struct Rgb {
    int r, g, b;
};

class SdlWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = zarn_test::startVirtualDisplay();
        if (!why.empty()) GTEST_SKIP() << "no virtual display: " << why;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        director = Director::getInstance();
        director->reset();
        {
            zarn_test::DriverAllocations driver;
            view = GLViewImpl::createWithRect("sdl test", Rect(0, 0, 1024, 576));
        }
        director->setOpenGLView(view);
        if (!view->hasWindow()) GTEST_SKIP() << "the virtual display would not open a window";
        view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
        scene = Scene::create();
        director->runWithScene(scene);
        {
            zarn_test::DriverAllocations driver;
            director->mainLoop(0.0f);
        }
    }

    void TearDown() override {
        if (director == nullptr) return;
        zarn_test::DriverAllocations driver;  // the window and its GL context go
        director->reset();
        experimental::AudioEngine::end();
        PoolManager::getInstance()->getCurrentPool()->clear();
    }

    // Draws a frame and reads it back. The GL driver sets itself up on first
    // use, keeping what it allocates until exit.
    void drawFrame() {
        {
            zarn_test::DriverAllocations driver;
            director->mainLoop(0.0f);
        }
        ASSERT_TRUE(view->getSdlRenderBackend()->readPixels(pixels, width, height));
    }

    // The pixel at a design point (the window is the design size here).
    Rgb at(float x, float y) const {
        const int px = static_cast<int>(x);
        const int py = static_cast<int>(576.0f - y);
        const std::size_t i = (static_cast<std::size_t>(py) * static_cast<std::size_t>(width) + px) * 4;
        return Rgb{pixels[i], pixels[i + 1], pixels[i + 2]};
    }

    // Keeps the frame as a PNG in $ZARN_SDL_SCREENSHOT_DIR, when set, to look at.
    void keepShot(const std::string& name) const {
        if (const char* dir = std::getenv("ZARN_SDL_SCREENSHOT_DIR"))
            view->getSdlRenderBackend()->saveFrame(std::string(dir) + "/" + name);
    }

    void pushAndPoll(SDL_Event event) {
        SDL_PushEvent(&event);
        view->pollEvents();
    }

    Director* director = nullptr;
    GLViewImpl* view = nullptr;  // held by the director
    Scene* scene = nullptr;
    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
};

::testing::AssertionResult isColour(Rgb got, Rgb want, int tolerance = 12) {
    if (std::abs(got.r - want.r) <= tolerance && std::abs(got.g - want.g) <= tolerance &&
        std::abs(got.b - want.b) <= tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "got (" << got.r << "," << got.g << "," << got.b << ") want ("
                                         << want.r << "," << want.g << "," << want.b << ")";
}

TEST_F(SdlWindowTest, DrawsTheSceneWhereTheNodeTreeSays) {
    const Rgb black{0, 0, 0};
    const Rgb red{255, 0, 0};
    const Rgb green{0, 255, 0};
    const Rgb blue{0, 0, 255};
    const Rgb yellow{255, 255, 0};

    Sprite* redSprite = Sprite::create(solidImage("red.png", 64, 64, 255, 0, 0));
    redSprite->setPosition(200, 400);
    scene->addChild(redSprite);

    // A green square turned 45 degrees through its parent.
    Node* turned = Node::create();
    turned->setPosition(400, 300);
    turned->setRotation(45.0f);
    scene->addChild(turned);
    Sprite* greenSprite = Sprite::create(solidImage("green.png", 80, 80, 0, 255, 0));
    turned->addChild(greenSprite);

    Label* label = Label::createWithTTF("HELLO", kFont, 48);
    label->setPosition(600, 450);
    scene->addChild(label);

    // A blue layer shown only inside a 100 x 100 stencil.
    DrawNode* stencil = DrawNode::create();
    stencil->drawSolidRect(Vec2(700, 100), Vec2(800, 200), Color4F::WHITE);
    ClippingNode* clip = ClippingNode::create(stencil);
    scene->addChild(clip);
    LayerColor* layer = LayerColor::create(Color4B(0, 0, 255, 255), 200, 200);
    layer->setPosition(650, 50);
    clip->addChild(layer);

    Sprite* missing = Sprite::create("no/such/image.png");
    missing->setPosition(100, 100);
    scene->addChild(missing);

    ProgressTimer* timer =
        ProgressTimer::create(Sprite::create(solidImage("yellow.png", 100, 100, 255, 255, 0)));
    timer->setType(ProgressTimer::Type::RADIAL);
    timer->setPercentage(25.0f);
    timer->setPosition(900, 450);
    scene->addChild(timer);

    drawFrame();
    ASSERT_EQ(width, 1024);
    ASSERT_EQ(height, 576);

    EXPECT_TRUE(isColour(at(200, 400), red));
    EXPECT_TRUE(isColour(at(200 + 40, 400), black)) << "right of the red sprite";

    EXPECT_TRUE(isColour(at(400, 300), green));
    EXPECT_TRUE(isColour(at(400 + 50, 300), green)) << "a corner of the turned square";
    EXPECT_TRUE(isColour(at(400 + 35, 300 + 35), black)) << "a corner of the square had it not turned";

    int lit = 0;
    for (int y = 430; y < 470; ++y)
        for (int x = 540; x < 660; ++x)
            if (at(static_cast<float>(x), static_cast<float>(y)).r > 200) ++lit;
    EXPECT_GT(lit, 300) << "the label's glyphs";
    EXPECT_TRUE(isColour(at(520, 450), black)) << "left of the label";

    EXPECT_TRUE(isColour(at(750, 150), blue));
    EXPECT_TRUE(isColour(at(670, 150), black)) << "layer outside the stencil";
    EXPECT_TRUE(isColour(at(750, 230), black)) << "layer outside the stencil";

    const Rgb box = at(100, 100);
    EXPECT_GT(box.r, 40);
    EXPECT_LT(box.g, 20);
    EXPECT_GT(box.b, 40);
    EXPECT_TRUE(isColour(at(100 - 32, 100), Rgb{255, 0, 255}, 40)) << "the stand-in box's outline";

    EXPECT_TRUE(isColour(at(925, 475), yellow)) << "the swept quarter";
    EXPECT_TRUE(isColour(at(875, 475), black)) << "not swept yet";
    EXPECT_TRUE(isColour(at(925, 425), black)) << "not swept yet";

    // Glyph images are made once: H, E, L and O.
    EXPECT_EQ(view->getSdlRenderBackend()->cachedGlyphCount(), 4u);
    const std::size_t images = view->getSdlRenderBackend()->cachedTextureCount();
    drawFrame();
    EXPECT_EQ(view->getSdlRenderBackend()->cachedGlyphCount(), 4u);
    EXPECT_EQ(view->getSdlRenderBackend()->cachedTextureCount(), images);

    const std::string shot = zarn_test::tempDir() + "/smoke.png";
    EXPECT_TRUE(view->getSdlRenderBackend()->saveFrame(shot));
    keepShot("smoke.png");
}

TEST_F(SdlWindowTest, RectangleClipsBarsShapesAndSheetFramesLandWhereTheyShould) {
    const Rgb black{0, 0, 0};
    const Rgb green{0, 255, 0};
    const Rgb blue{0, 0, 255};
    const Rgb white{255, 255, 255};

    // A layer cut to the clipping rectangle (100, 100) .. (200, 150) of its
    // node at (50, 50).
    ClippingRectangleNode* clip = ClippingRectangleNode::create(Rect(100, 100, 100, 50));
    clip->setPosition(50, 50);
    scene->addChild(clip);
    clip->addChild(LayerColor::create(Color4B(255, 255, 255, 255), 400, 400));

    // A bar filling from the left, at 30 percent of 100 units.
    ProgressTimer* bar = ProgressTimer::create(Sprite::create(solidImage("bar.png", 100, 20, 0, 0, 255)));
    bar->setType(ProgressTimer::Type::BAR);
    bar->setMidpoint(Vec2(0, 0.5f));
    bar->setBarChangeRate(Vec2(1, 0));
    bar->setPercentage(30.0f);
    bar->setPosition(500, 100);
    scene->addChild(bar);

    DrawNode* shapes = DrawNode::create();
    shapes->drawTriangle(Vec2(600, 300), Vec2(700, 300), Vec2(650, 400), Color4F::GREEN);
    shapes->drawLine(Vec2(600, 450), Vec2(800, 450), Color4F::WHITE);
    scene->addChild(shapes);

    // A frame packed turned: its 20 x 40 image is stored as 40 x 20 in the
    // sheet, left half green, right half blue; shown upright the blue half is
    // on top.
    const std::string sheet = zarn_test::tempDir() + "/sheet.png";
    {
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 40, 20, 32, SDL_PIXELFORMAT_RGBA32);
        SDL_Rect left{0, 0, 20, 20};
        SDL_Rect right{20, 0, 20, 20};
        SDL_FillRect(s, &left, SDL_MapRGBA(s->format, 0, 255, 0, 255));
        SDL_FillRect(s, &right, SDL_MapRGBA(s->format, 0, 0, 255, 255));
        IMG_SavePNG(s, sheet.c_str());
        SDL_FreeSurface(s);
    }
    Sprite* turned =
        Sprite::createWithTexture(TextureCache::getInstance()->addImage(sheet), Rect(0, 0, 20, 40), true);
    turned->setPosition(300, 300);
    scene->addChild(turned);

    drawFrame();

    EXPECT_TRUE(isColour(at(175, 170), white)) << "inside the clipping rectangle";
    EXPECT_TRUE(isColour(at(140, 170), black)) << "left of it";
    EXPECT_TRUE(isColour(at(175, 210), black)) << "above it";

    EXPECT_TRUE(isColour(at(460, 100), blue)) << "the filled part of the bar";
    EXPECT_TRUE(isColour(at(490, 100), black)) << "past 30 percent";

    EXPECT_TRUE(isColour(at(650, 320), green));
    EXPECT_TRUE(isColour(at(610, 390), black));
    EXPECT_TRUE(isColour(at(700, 450), white, 60)) << "the line";

    EXPECT_TRUE(isColour(at(300, 310), blue)) << "top half of the turned frame";
    EXPECT_TRUE(isColour(at(300, 290), green)) << "bottom half";
}

TEST_F(SdlWindowTest, StencilsCutByTheirShapeAndInvertedOnesCutTheHole) {
    if (view->getRendererName() == "software")
        GTEST_SKIP() << "the software renderer clips to stencil bounds";
    const Rgb black{0, 0, 0};
    const Rgb white{255, 255, 255};
    const Rgb red{255, 0, 0};

    // A round window of radius 50 around (200, 200) onto a white layer.
    DrawNode* circle = DrawNode::create();
    circle->drawSolidCircle(Vec2(200, 200), 50, 0, 50, Color4F::BLACK);
    ClippingNode* round = ClippingNode::create(circle);
    scene->addChild(round);
    round->addChild(LayerColor::create(Color4B(255, 255, 255, 255), 400, 400));

    // A half-dark veil over the right of the window but the rectangle
    // (500, 100) .. (700, 300).
    DrawNode* hole = DrawNode::create();
    hole->drawSolidRect(Vec2(500, 100), Vec2(700, 300), Color4F::WHITE);
    ClippingNode* veil = ClippingNode::create(hole);
    veil->setInverted(true);
    Sprite* below = Sprite::create(solidImage("below.png", 400, 300, 255, 0, 0));
    below->setPosition(600, 200);
    scene->addChild(below);
    scene->addChild(veil);
    LayerColor* shade = LayerColor::create(Color4B(0, 0, 0, 128), 624, 576);
    shade->setPosition(400, 0);
    veil->addChild(shade);

    drawFrame();

    EXPECT_TRUE(isColour(at(200, 200), white)) << "inside the circle";
    EXPECT_TRUE(isColour(at(240, 200), white)) << "inside the circle";
    EXPECT_TRUE(isColour(at(245, 245), black)) << "inside its bounds, outside the circle";
    EXPECT_TRUE(isColour(at(155, 155), black)) << "inside its bounds, outside the circle";

    EXPECT_TRUE(isColour(at(600, 200), red)) << "the hole shows what is below unveiled";
    EXPECT_TRUE(isColour(at(450, 200), Rgb{127, 0, 0}, 6)) << "veiled";
    EXPECT_TRUE(isColour(at(600, 350), Rgb{127, 0, 0}, 6)) << "veiled";
    EXPECT_TRUE(isColour(at(1000, 560), black)) << "veil over the black background";
    keepShot("stencils.png");
}

TEST_F(SdlWindowTest, OpacityColourAndTheDesignScaleReachThePixels) {
    // Half the window: the design area is drawn at half scale.
    view->setWindowed(512, 288);
    Sprite* sprite = Sprite::create(solidImage("white.png", 40, 40, 255, 255, 255));
    sprite->setPosition(512, 288);
    sprite->setColor(Color3B(0, 255, 0));
    sprite->setOpacity(128);
    scene->addChild(sprite);
    drawFrame();
    ASSERT_EQ(width, 512);
    const std::size_t i = (144u * 512u + 256u) * 4;
    EXPECT_TRUE(isColour(Rgb{pixels[i], pixels[i + 1], pixels[i + 2]}, Rgb{0, 128, 0}, 6));
    const std::size_t outside = (144u * 512u + 256u + 12u) * 4;  // 24 design units right
    EXPECT_EQ(pixels[outside + 1], 0);
}

// A sprite's blend function reaches the window: an additive red sprite over
// a green one shows yellow; the usual one hides what is below. A draw node's
// vertices keep their colour whatever the node's colour and opacity.
TEST_F(SdlWindowTest, BlendFunctionsAndDrawNodeColoursReachThePixels) {
    const std::string greenImage = solidImage("under.png", 100, 100, 0, 255, 0);
    const std::string redImage = solidImage("over.png", 40, 40, 255, 0, 0);
    for (float x : {200.0f, 400.0f}) {
        Sprite* under = Sprite::create(greenImage);
        under->setPosition(x, 300);
        scene->addChild(under);
    }
    Sprite* added = Sprite::create(redImage);
    added->setBlendFunc(BlendFunc::ADDITIVE);
    added->setPosition(200, 300);
    scene->addChild(added);
    Sprite* usual = Sprite::create(redImage);
    usual->setPosition(400, 300);
    scene->addChild(usual);

    DrawNode* shape = DrawNode::create();
    shape->drawSolidRect(Vec2(600, 250), Vec2(700, 350), Color4F(1.0f, 1.0f, 0.0f, 1.0f));
    shape->setColor(Color3B(0, 0, 255));
    shape->setOpacity(100);
    scene->addChild(shape);

    drawFrame();
    EXPECT_TRUE(isColour(at(200, 300), Rgb{255, 255, 0})) << "red added onto green";
    EXPECT_TRUE(isColour(at(240, 300), Rgb{0, 255, 0})) << "green beside it";
    EXPECT_TRUE(isColour(at(400, 300), Rgb{255, 0, 0})) << "red over green";
    EXPECT_TRUE(isColour(at(650, 300), Rgb{255, 255, 0})) << "the draw node in its vertices' colour";
    keepShot("blend.png");
}

TEST_F(SdlWindowTest, SdlInputReachesTheListenersInDesignCoordinates) {
    view->setWindowed(512, 288);  // window points are half design units
    view->pollEvents();           // what the display sent while the window opened

    std::vector<Vec2> moves;
    std::vector<std::pair<int, Vec2>> downs;
    std::vector<float> scrolls;
    std::vector<Vec2> touches;
    std::vector<std::pair<EventKeyboard::KeyCode, bool>> keys;

    auto* mouse = EventListenerMouse::create();
    mouse->onMouseMove = [&](EventMouse* e) { moves.push_back(e->getLocation()); };
    mouse->onMouseDown = [&](EventMouse* e) {
        downs.emplace_back(static_cast<int>(e->getMouseButton()), e->getLocation());
    };
    mouse->onMouseScroll = [&](EventMouse* e) { scrolls.push_back(e->getScrollY()); };
    director->getEventDispatcher()->addEventListenerWithFixedPriority(mouse, 1);
    auto* touch = EventListenerTouchOneByOne::create();
    touch->onTouchBegan = [&](Touch* t, Event*) {
        touches.push_back(t->getLocation());
        return true;
    };
    director->getEventDispatcher()->addEventListenerWithFixedPriority(touch, 1);
    auto* keyboard = EventListenerKeyboard::create();
    keyboard->onKeyPressed = [&](EventKeyboard::KeyCode k, Event*) { keys.emplace_back(k, true); };
    keyboard->onKeyReleased = [&](EventKeyboard::KeyCode k, Event*) { keys.emplace_back(k, false); };
    director->getEventDispatcher()->addEventListenerWithFixedPriority(keyboard, 1);

    const Uint32 window = 0;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = window;
    e.motion.x = 256;
    e.motion.y = 144;
    pushAndPoll(e);
    ASSERT_FALSE(moves.empty());
    EXPECT_FLOAT_EQ(moves.back().x, 512.0f);
    EXPECT_FLOAT_EQ(moves.back().y, 288.0f);

    e = SDL_Event{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 100;
    e.button.y = 50;
    pushAndPoll(e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_RIGHT;
    pushAndPoll(e);
    ASSERT_EQ(downs.size(), 2u);
    EXPECT_EQ(downs[0].first, 0);
    EXPECT_FLOAT_EQ(downs[0].second.x, 200.0f);
    EXPECT_FLOAT_EQ(downs[0].second.y, 476.0f);
    EXPECT_EQ(downs[1].first, 1);
    ASSERT_EQ(touches.size(), 1u) << "only the left button touches";
    EXPECT_FLOAT_EQ(touches[0].x, 200.0f);
    EXPECT_FLOAT_EQ(touches[0].y, 476.0f);
    for (Uint8 button : {SDL_BUTTON_RIGHT, SDL_BUTTON_LEFT}) {
        e.type = SDL_MOUSEBUTTONUP;
        e.button.button = button;
        pushAndPoll(e);
    }

    e = SDL_Event{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = 1;  // away from the user
    pushAndPoll(e);
    ASSERT_EQ(scrolls.size(), 1u);
    EXPECT_FLOAT_EQ(scrolls[0], -1.0f);

    e = SDL_Event{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_a;
    pushAndPoll(e);
    e.key.repeat = 1;
    pushAndPoll(e);
    e.type = SDL_KEYUP;
    e.key.repeat = 0;
    pushAndPoll(e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_ESCAPE;
    pushAndPoll(e);
    const std::vector<std::pair<EventKeyboard::KeyCode, bool>> expected = {
        {EventKeyboard::KeyCode::KEY_A, true},
        {EventKeyboard::KeyCode::KEY_A, false},
        {EventKeyboard::KeyCode::KEY_ESCAPE, true},
    };
    EXPECT_EQ(keys, expected);
}

TEST_F(SdlWindowTest, TypedTextGoesToTheFieldThatHasTheKeyboard) {
    ui::TextField* field = ui::TextField::create("name", kFont, 20);
    scene->addChild(field);
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    SDL_strlcpy(e.text.text, "ab", sizeof e.text.text);
    pushAndPoll(e);
    EXPECT_EQ(field->getString(), "") << "no field has the keyboard yet";

    field->attachWithIME();
    SDL_strlcpy(e.text.text, "h\xC3\xA9", sizeof e.text.text);
    pushAndPoll(e);
    EXPECT_EQ(field->getString(), "h\xC3\xA9");

    e = SDL_Event{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_BACKSPACE;
    pushAndPoll(e);
    e.key.repeat = 1;  // a held key deletes again
    pushAndPoll(e);
    EXPECT_EQ(field->getString(), "");
}

TEST_F(SdlWindowTest, TheWindowCanGoFullScreenAndBack) {
    const Size monitor = view->getMonitorSize();
    EXPECT_FLOAT_EQ(monitor.width, 1280.0f);
    EXPECT_FLOAT_EQ(monitor.height, 800.0f);
    view->setFullscreen();
    EXPECT_TRUE(view->isFullscreen());
    EXPECT_FLOAT_EQ(view->getFrameSize().width, 1280.0f);
    // Design 1024 x 576 shown whole on 1280 x 800: scaled by 1.25, bars above
    // and below.
    EXPECT_FLOAT_EQ(view->getScaleX(), 1.25f);
    EXPECT_FLOAT_EQ(view->getViewPortRect().origin.y, 40.0f);
    drawFrame();
    view->swapBuffers();  // the GL driver takes the new window size at a present
    drawFrame();
    ASSERT_EQ(height, 800);
    EXPECT_EQ(pixels[(10u * 1280u + 640u) * 4 + 3], 255) << "the frame covers the whole screen";

    view->setWindowed(800, 450);
    EXPECT_FALSE(view->isFullscreen());
    EXPECT_FLOAT_EQ(view->getFrameSize().width, 800.0f);

    // Text is rasterised at the window's scale (1.25 here) and lands where
    // the design puts it: around window pixel (640, 360) for design point
    // (512, 288).
    view->setWindowed(1280, 720);
    Label* label = Label::createWithTTF("WIDE", kFont, 40);
    label->setPosition(512, 288);
    scene->addChild(label);
    drawFrame();
    view->swapBuffers();  // the GL driver takes the new window size at a present
    drawFrame();
    ASSERT_EQ(width, 1280);
    auto lit = [&](int x0, int y0, int x1, int y1) {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x)
                if (pixels[(static_cast<std::size_t>(y) * 1280u + static_cast<std::size_t>(x)) * 4] > 200)
                    ++n;
        return n;
    };
    EXPECT_GT(lit(560, 330, 720, 390), 600) << "the label around its place";
    EXPECT_EQ(lit(400, 330, 540, 390), 0) << "left of the label";
    EXPECT_EQ(lit(560, 250, 720, 320), 0) << "above the label";
    keepShot("scaled.png");
}

TEST_F(SdlWindowTest, MinimisingAndRestoringTellTheApplicationOnce) {
    struct App : Application {
        bool applicationDidFinishLaunching() override { return true; }
        void applicationDidEnterBackground() override { calls.push_back("background"); }
        void applicationWillEnterForeground() override { calls.push_back("foreground"); }
        std::vector<std::string> calls;
    } app;
    view->pollEvents();
    SDL_Event e{};
    e.type = SDL_WINDOWEVENT;
    for (Uint8 what : {SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_MINIMIZED, SDL_WINDOWEVENT_RESTORED,
                       SDL_WINDOWEVENT_RESTORED}) {
        e.window.event = what;
        pushAndPoll(e);
    }
    EXPECT_EQ(app.calls, (std::vector<std::string>{"background", "foreground"}));
}

TEST_F(SdlWindowTest, TheFrameDriverRunsFramesUntilTheWindowCloses) {
    struct App : Application {
        bool applicationDidFinishLaunching() override { return true; }
        void applicationDidEnterBackground() override {}
        void applicationWillEnterForeground() override {}
    } app;
    int frames = 0;
    director->getScheduler()->schedule(
        [&](float) {
            if (++frames == 3) {
                SDL_Event quit{};
                quit.type = SDL_QUIT;
                SDL_PushEvent(&quit);
            }
        },
        scene, 0.0f, false, "count");
    {
        zarn_test::DriverAllocations driver;  // frames drawn by the driver
        EXPECT_EQ(app.run(), 0);
    }
    EXPECT_TRUE(director->isEnded());
    EXPECT_GE(frames, 3);
    EXPECT_GE(view->getSdlRenderBackend()->framesRendered(), 3u);
}

TEST(SdlWithoutDisplay, TheViewComesUpWithoutAWindowAndFramesStillRun) {
    const char* display = std::getenv("DISPLAY");
    const std::string saved = display != nullptr ? display : "";
    setenv("DISPLAY", ":31999", 1);  // nothing listens there
    setenv("SDL_VIDEODRIVER", "x11", 1);
    Director* director = Director::getInstance();
    director->reset();
    GLViewImpl* view = nullptr;
    {
        zarn_test::DriverAllocations driver;  // SDL's desktop bus connection
        view = GLViewImpl::createWithRect("no display", Rect(0, 0, 800, 450));
    }
    director->setOpenGLView(view);
    EXPECT_FALSE(view->hasWindow());
    EXPECT_EQ(view->getSdlRenderBackend(), nullptr);
    EXPECT_FLOAT_EQ(view->getFrameSize().width, 800.0f);
    view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
    EXPECT_FLOAT_EQ(view->getMonitorSize().width, 800.0f) << "the headless view's own size";
    view->pollEvents();
    director->runWithScene(Scene::create());
    director->mainLoop(0.0f);
    EXPECT_GT(director->getTotalFrames(), 0u);
    director->reset();
    PoolManager::getInstance()->getCurrentPool()->clear();
    if (saved.empty()) {
        unsetenv("DISPLAY");
    } else {
        setenv("DISPLAY", saved.c_str(), 1);
    }
}

}  // namespace
