#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/cocos2d.h"
#include "engine/sdl/GLViewImpl.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "sdl/support/VirtualDisplay.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace {

// A sheet of `w` x `h` pixels: blue, with a red block of 256 x 256 at
// (x, y).
std::string sheetWithRedBlock(const std::string& name, int w, int h, int x, int y) {
    const std::string path = zarn_test::tempDir() + "/" + name;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 0, 0, 255, 255));
    const SDL_Rect block{x, y, 256, 256};
    SDL_FillRect(s, &block, SDL_MapRGBA(s->format, 255, 0, 0, 255));
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

// An image of `w` x `h` pixels in vertical stripes 100 px wide, green and
// red by turns from the left.
std::string stripedImage(const std::string& name, int w, int h) {
    const std::string path = zarn_test::tempDir() + "/" + name;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, SDL_PIXELFORMAT_RGBA32);
    for (int x = 0; x < w; x += 100) {
        const SDL_Rect stripe{x, 0, 100, h};
        const bool green = (x / 100) % 2 == 0;
        SDL_FillRect(s, &stripe, SDL_MapRGBA(s->format, green ? 0 : 255, green ? 255 : 0, 0, 255));
    }
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

// A 200 x 200 image, blue with its top-left quarter red.
std::string imageWithRedCorner(const std::string& name) {
    const std::string path = zarn_test::tempDir() + "/" + name;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormat(0, 200, 200, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_FillRect(s, nullptr, SDL_MapRGBA(s->format, 0, 0, 255, 255));
    const SDL_Rect corner{0, 0, 100, 100};
    SDL_FillRect(s, &corner, SDL_MapRGBA(s->format, 255, 0, 0, 255));
    IMG_SavePNG(s, path.c_str());
    SDL_FreeSurface(s);
    return path;
}

// SDL's software renderer, the one a machine without GL drivers gets.
class SdlSoftwareSheetTest : public ::testing::Test {
protected:
    void SetUp() override {
        const std::string why = zarn_test::startVirtualDisplay();
        if (!why.empty()) GTEST_SKIP() << "no virtual display: " << why;
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
        director = Director::getInstance();
        director->reset();
        {
            zarn_test::DriverAllocations driver;
            view = GLViewImpl::createWithRect("sheet test", Rect(0, 0, 1024, 576));
        }
        director->setOpenGLView(view);
        if (!view->hasWindow()) GTEST_SKIP() << "the virtual display would not open a window";
        if (view->getRendererName() != "software") GTEST_SKIP() << "no software renderer";
        view->setDesignResolutionSize(1024, 576, ResolutionPolicy::SHOW_ALL);
        scene = Scene::create();
        director->runWithScene(scene);
    }

    void TearDown() override {
        SDL_ResetHint(SDL_HINT_RENDER_DRIVER);
        if (director == nullptr) return;
        zarn_test::DriverAllocations driver;
        director->reset();
        experimental::AudioEngine::end();
        PoolManager::getInstance()->getCurrentPool()->clear();
    }

    // Draws one frame and keeps its pixels.
    void draw() {
        {
            zarn_test::DriverAllocations driver;
            director->mainLoop(0.0f);
        }
        if (!view->getSdlRenderBackend()->readPixels(pixels, width, height)) pixels.clear();
    }
    // The colour of the last frame drawn at a design point, as 0xRRGGBB.
    uint32_t colourAt(float x, float y) const {
        const std::size_t i = (static_cast<std::size_t>(576.0f - y) * static_cast<std::size_t>(width) +
                               static_cast<std::size_t>(x)) *
                              4;
        if (i + 2 >= pixels.size()) return 0xffffffffu;
        return (uint32_t{pixels[i]} << 16) | (uint32_t{pixels[i + 1]} << 8) | pixels[i + 2];
    }
    uint32_t drawAndRead(float x, float y) {
        draw();
        return colourAt(x, y);
    }

    std::vector<uint8_t> pixels;
    int width = 0;
    int height = 0;
    Director* director = nullptr;
    GLViewImpl* view = nullptr;  // held by the director
    Scene* scene = nullptr;
};

// Frames far into a sheet wider or taller than 2048 px, turned and scaled so
// that their triangles reach past the window: SDL 2.26's software renderer
// read outside the sheet and crashed here.
TEST_F(SdlSoftwareSheetTest, DrawsTurnedScaledFramesFromFarInsideLargeSheets) {
    struct Case {
        const char* name;
        int w, h, x, y;
        bool rotated;
    } const cases[] = {
        {"wide.png", 4096, 512, 3000, 100, false},
        {"tall.png", 512, 4096, 100, 3000, false},
        {"wide_rotated.png", 4096, 512, 3000, 100, true},
        {"small.png", 2048, 512, 1700, 100, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = sheetWithRedBlock(c.name, c.w, c.h, c.x, c.y);
        Sprite* sprite = Sprite::create(path, Rect(c.x + 28, c.y + 28, 200, 200));
        ASSERT_NE(sprite, nullptr);
        if (c.rotated) {
            sprite->setSpriteFrame(SpriteFrame::createWithTexture(
                sprite->getTexture(), Rect(c.x + 28, c.y + 28, 200, 200), true, Vec2::ZERO, Size(200, 200)));
        }
        sprite->setPosition(300, 288);
        sprite->setRotation(17.0f);
        sprite->setScale(2.5f);
        scene->addChild(sprite);
        EXPECT_EQ(drawAndRead(300, 288), 0xff0000u);
        scene->removeChild(sprite);
    }
}

// A large frame drawn at half size, still and turned a little (as the result
// panel's monitor is): every stripe lands where it should. SDL 2.26's
// software renderer misplaced texels across a triangle this large.
TEST_F(SdlSoftwareSheetTest, DrawsALargeFrameWithEveryTexelInItsPlace) {
    Sprite* sprite = Sprite::create(stripedImage("stripes.png", 1700, 930));
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(512, 288);
    sprite->setScale(0.5f);
    scene->addChild(sprite);
    for (const float turn : {0.0f, 0.01f}) {
        SCOPED_TRACE(turn);
        sprite->setRotation(turn);
        draw();
        // Stripe k covers design x from 87 + 50k to 137 + 50k.
        for (int k = 0; k < 17; ++k) {
            const uint32_t expected = k % 2 == 0 ? 0x00ff00u : 0xff0000u;
            for (const float y : {70.0f, 288.0f, 500.0f})
                EXPECT_EQ(colourAt(112.0f + 50.0f * static_cast<float>(k), y), expected)
                    << "stripe " << k << " at y " << y;
        }
    }
}

// A picture turned by quarter turns (a conveyor lane, a wall piece) shows
// turned: its red corner goes round clockwise. SDL 2.26's software renderer
// takes two triangles that make an upright rectangle for a plain copy and
// drew a quarter-turned picture mirrored instead.
TEST_F(SdlSoftwareSheetTest, DrawsQuarterTurnedPicturesTurned) {
    Sprite* sprite = Sprite::create(imageWithRedCorner("corner.png"));
    ASSERT_NE(sprite, nullptr);
    sprite->setPosition(512, 288);
    scene->addChild(sprite);
    struct Case {
        float rotation;
        bool flippedX;
        float redX, redY;  // the centre of the red quarter on screen (design units, y up)
    } const cases[] = {
        {0.0f, false, 462, 338},   {90.0f, false, 562, 338},  {180.0f, false, 562, 238},
        {270.0f, false, 462, 238}, {-90.0f, false, 462, 238}, {90.0f, true, 562, 238},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "rotation " << c.rotation << (c.flippedX ? " flipped" : ""));
        sprite->setRotation(c.rotation);
        sprite->setFlippedX(c.flippedX);
        draw();
        for (const float dx : {-50.0f, 50.0f}) {
            for (const float dy : {-50.0f, 50.0f}) {
                const float x = 512.0f + dx;
                const float y = 288.0f + dy;
                const bool red = x == c.redX && y == c.redY;
                EXPECT_EQ(colourAt(x, y), red ? 0xff0000u : 0x0000ffu) << "at " << x << ", " << y;
            }
        }
    }
}

}  // namespace
