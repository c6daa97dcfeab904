#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "engine/headless/HeadlessRenderBackend.h"
#include "support/AllocationCounter.h"
#include "support/EngineFixture.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;

namespace {

class FrameAllocation : public zarn_test::EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        view = GLView::create("test", Rect(0, 0, 1024, 576));
        Director::getInstance()->setOpenGLView(view);
        // A sheet image: the engine reads only its header.
        image = zarn_test::tempDir() + "/frame_allocation_sheet_of_many_frames.png";
        const unsigned char header[24] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13,
                                          'I',  'H', 'D', 'R', 0,    0,    1,    0,    0, 0, 1, 0};
        std::ofstream(image, std::ios::binary).write(reinterpret_cast<const char*>(header), sizeof header);
        Texture2D* texture = TextureCache::getInstance()->addImage(image);
        for (int i = 0; i < 4; ++i) {
            SpriteFrame* f = SpriteFrame::createWithTexture(texture, Rect(i * 64.0f, 0, 64, 64));
            f->setName("frame_allocation_tile_number_" + std::to_string(i) + ".png");
            SpriteFrameCache::getInstance()->addSpriteFrame(f, f->getName());
        }
    }
    void TearDown() override {
        for (int i = 0; i < 4; ++i)
            SpriteFrameCache::getInstance()->removeSpriteFrameByName("frame_allocation_tile_number_" +
                                                                     std::to_string(i) + ".png");
        EngineFixture::TearDown();
        std::error_code ignored;
        std::filesystem::remove(image, ignored);
    }
    GLView* view = nullptr;
    std::string image;
};

// A frame in which nothing is created and nothing changes but positions, z
// orders set to what they are, the mouse and running actions allocates
// nothing: not for sprites, labels, draw nodes, clips, listeners or timers.
TEST_F(FrameAllocation, ASteadyFrameAllocatesNothing) {
    HeadlessRenderBackend backend;
    Director::getInstance()->setRenderBackend(&backend);
    std::vector<Sprite*> actors;
    for (int i = 0; i < 200; ++i) {
        Sprite* s = Sprite::createWithSpriteFrameName("frame_allocation_tile_number_" +
                                                      std::to_string(i % 4) + ".png");
        s->setPosition(static_cast<float>(i % 20 * 50), static_cast<float>(i / 20 * 50));
        scene->addChild(s, i % 3);
        if (i % 10 == 0) actors.push_back(s);
        if (i % 50 == 0) s->runAction(RepeatForever::create(RotateBy::create(1.0f, 90)));
    }
    actors[1]->setGlobalZOrder(2.0f);  // drawn over the rest: the list is sorted
    int hovered = 0;
    for (int i = 0; i < 10; ++i) {
        Label* label = Label::createWithTTF("Label " + std::to_string(i) + " with a longer text",
                                            Label::kFallbackFontFile, 18);
        label->enableOutline(Color4B::BLACK, 1);
        label->enableShadow();
        label->setPosition(100, static_cast<float>(i * 40));
        scene->addChild(label, 5);
        label->getLetter(0)->setScale(1.5f);
        auto* mouse = EventListenerMouse::create();
        mouse->onMouseMove = [label, &hovered](EventMouse* e) {
            if (label->getBoundingBox().containsPoint(e->getLocationInView())) ++hovered;
        };
        Director::getInstance()->getEventDispatcher()->addEventListenerWithSceneGraphPriority(mouse, label);
    }
    DrawNode* shapes = DrawNode::create();
    shapes->drawSolidRect(Vec2(0, 0), Vec2(40, 20), Color4F::RED);
    shapes->drawLine(Vec2(0, 0), Vec2(40, 20), Color4F::WHITE);
    shapes->drawPoint(Vec2(5, 5), 3, Color4F::GREEN);
    scene->addChild(shapes);
    DrawNode* mask = DrawNode::create();
    mask->drawSolidCircle(Vec2::ZERO, 30, 0, 20, Color4F::WHITE);
    ClippingNode* clip = ClippingNode::create(mask);
    clip->addChild(Sprite::createWithSpriteFrameName("frame_allocation_tile_number_0.png"));
    scene->addChild(clip);
    auto* rectClip = ClippingRectangleNode::create(Rect(0, 0, 30, 30));
    rectClip->addChild(LayerColor::create(Color4B(0, 0, 255, 128), 60, 60));
    scene->addChild(rectClip);
    int ticks = 0;
    scene->schedule([&](float) { ++ticks; }, 0.05f, "tick");

    auto steadyFrame = [&](int n) {
        for (Sprite* actor : actors) {
            actor->setPosition(static_cast<float>(n % 100), actor->getPositionY());
            actor->setLocalZOrder(actor->getLocalZOrder());
        }
        view->handleMouseMove(static_cast<float>(n * 3 % 1024), static_cast<float>(n * 5 % 576));
        frame(1.0f / 60.0f);
    };
    for (int n = 0; n < 3; ++n) steadyFrame(n);
    zarn_test::AllocationCounter counter;
    for (int n = 3; n < 13; ++n) steadyFrame(n);
    EXPECT_EQ(counter.count(), 0u) << "allocations in ten steady frames";
    EXPECT_GT(ticks, 0);
    EXPECT_GT(backend.lastList().commands.size(), 200u);
}

}  // namespace
