#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "../support/PresentationFixture.h"
#include "engine/DrawList.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/effects/ClickCursor.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/MediatedSprite.h"
#include "presentation/scene/CocosInGameScene.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/scene/CameraRegionTracker.h"
#include "support/map/MapBuilder.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

class NoTraps final : public Zarn::SceneTrapVisualFactory {
public:
    void setWorldRoot(Zarn::NodeMediator*) override {}
    void createTrapVisual(Zarn::Trap&) override {}
};
class NoElements final : public Zarn::SceneElementVisualFactory {
public:
    bool isSkipped(const Zarn::MapElement&) override { return true; }
    bool isTileElement(u32) override { return false; }
    bool isFreeElement(u32) override { return false; }
    Zarn::NodeMediator* createTileElement2D(const Zarn::MapElement&) override { return nullptr; }
    Zarn::NodeMediator* createFreeElement2D(const Zarn::MapElement&) override { return nullptr; }
};
class NoVisuals final : public SceneVisualFactories {
public:
    Zarn::SceneTrapVisualFactory& trapFactory() override { return traps; }
    Zarn::SceneElementVisualFactory& elementFactory() override { return elements; }
    NoTraps traps;
    NoElements elements;
};

// A 10 x 10 room of 64-unit cells with one camera region from (100, 250) to
// (300, 400); the rat spawns inside it. Shown in a 1024 x 576 view.
class CocosInGameSceneTest : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        view = cocos2d::GLView::create("test", cocos2d::Rect(0, 0, 1024, 576));
        cocos2d::Director::getInstance()->setOpenGLView(view);
        view->setDesignResolutionSize(1024, 576, cocos2d::ResolutionPolicy::SHOW_ALL);
        PositionAudioEngine::setInstance(
            std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(512.0f, 288.0f), 750.0f));
        const std::string root = zarn_test::tempDir() + "/scene-maps/";
        std::filesystem::create_directories(root + "maps");
        zarn_test::MapBuilder b("regions", Point(200, 320));
        b.grid(64, std::vector<std::string>(10, ".........."));
        b.cameraRegion(GeometryLib::Rect(200, 150, Point(100, 400)));
        const std::vector<u8> bytes = b.bytes();
        std::ofstream(root + "maps/regions.map", std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        cocos2d::FileUtils::getInstance()->addSearchPath(root, true);
        mediator = std::make_unique<CocosNodeMediator>(scene);
    }
    void TearDown() override {
        sceneLogic.reset();
        PositionAudioEngine::destroyInstance();
        PresentationFixture::TearDown();
    }
    void make(const std::string& map) {
        sceneLogic = std::make_unique<CocosInGameScene>(
            *mediator, scene, client, map,
            [](const SceneVisualContext&) { return std::make_unique<NoVisuals>(); });
    }

    cocos2d::GLView* view = nullptr;
    std::unique_ptr<CocosNodeMediator> mediator;
    Zarn::SinglePlayerZarn client;
    std::unique_ptr<CocosInGameScene> sceneLogic;
};

TEST_F(CocosInGameSceneTest, TheCurrentRegionIsLeftUndimmed) {
    make("regions.map");
    sceneLogic->initScene();
    for (int i = 0; i < 5; ++i) {
        sceneLogic->update(0.03f);
        frame(0.03f);
    }
    ASSERT_EQ(sceneLogic->getRegionTracker()->current(), 0u);
    EXPECT_EQ(sceneLogic->getRegionOverlayState().last(), 0u);
    // The stencil holds the region's rectangle, in map units.
    const cocos2d::DrawList& list = cocos2d::Director::getInstance()->getDrawList();
    ASSERT_EQ(list.stencils.size(), 1u);
    const std::vector<cocos2d::ShapeVertex>& v = list.stencils[0].shapes->triangles;
    ASSERT_FALSE(v.empty());
    const auto [minX, maxX] =
        std::minmax_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.position.x < b.position.x; });
    const auto [minY, maxY] =
        std::minmax_element(v.begin(), v.end(), [](auto& a, auto& b) { return a.position.y < b.position.y; });
    EXPECT_EQ(minX->position.x, 100.0f);
    EXPECT_EQ(maxX->position.x, 300.0f);
    EXPECT_EQ(minY->position.y, 250.0f);
    EXPECT_EQ(maxY->position.y, 400.0f);
    // The dimming covers the room and shows only outside the stencil.
    ASSERT_EQ(list.clips.size(), 1u);
    EXPECT_TRUE(list.clips[0].inverted);
    EXPECT_EQ(sceneLogic->getRegionOverlay()->getScale(), 1.25f);
}

TEST_F(CocosInGameSceneTest, WithoutARegionNothingIsDimmedAndNoClipIsDrawn) {
    const std::string root = zarn_test::tempDir() + "/scene-maps/";
    zarn_test::MapBuilder b("open", Point(200, 320));
    b.grid(64, std::vector<std::string>(10, ".........."));
    const std::vector<u8> bytes = b.bytes();
    std::ofstream(root + "maps/open.map", std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    make("open.map");
    sceneLogic->initScene();
    for (int i = 0; i < 5; ++i) {
        sceneLogic->update(0.03f);
        frame(0.03f);
    }
    ASSERT_EQ(sceneLogic->getRegionTracker()->current(), Zarn::CameraRegionTracker::kNoRegion);
    // Not a clip that hides its dimming everywhere (which a backend that
    // cannot cut stencils would draw over the whole room), but none at all.
    const cocos2d::DrawList& list = cocos2d::Director::getInstance()->getDrawList();
    EXPECT_TRUE(list.clips.empty());
    for (const cocos2d::DrawCommand& c : list.commands)
        EXPECT_NE(c.node != nullptr ? c.node->getParent() : nullptr, sceneLogic->getRegionOverlay());
}

TEST_F(CocosInGameSceneTest, ATakenTouchShowsTheClickCursorThere) {
    make("regions.map");
    sceneLogic->initScene();
    MediatedSprite* world = sceneLogic->getWorldSprite();
    const auto cursors = [&] {
        std::vector<ClickCursor*> found;
        for (cocos2d::Node* child : world->getChildren())
            if (auto* c = dynamic_cast<ClickCursor*>(child)) found.push_back(c);
        return found;
    };
    // Far outside the room: not taken, no cursor.
    EXPECT_FALSE(sceneLogic->onInput(FPoint(-500.0f, -500.0f)).taken);
    EXPECT_TRUE(cursors().empty());

    const cocos2d::Vec2 inside = world->convertToWorldSpace(cocos2d::Vec2(128.0f, 96.0f));
    const auto answer = sceneLogic->onInput(FPoint(inside.x, inside.y));
    ASSERT_TRUE(answer.taken);
    ASSERT_EQ(cursors().size(), 1u);
    ClickCursor* cursor = cursors()[0];
    EXPECT_NEAR(cursor->getPosition().x, 128.0f, 0.01f);
    EXPECT_NEAR(cursor->getPosition().y, 96.0f, 0.01f);
    EXPECT_EQ(cursor->getScale(), CocosInGameScene::kCursorScale);
    EXPECT_EQ(cursor->getLocalZOrder(), CocosInGameScene::kCursorZOrder);
}

TEST_F(CocosInGameSceneTest, AMissingMapIsReportedBeforeAnythingIsBuilt) {
    make("nowhere.map");
    try {
        sceneLogic->initScene();
        FAIL() << "no error";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "could not open map file");
    }
    EXPECT_EQ(sceneLogic->getWorldSprite(), nullptr);
}

}  // namespace
