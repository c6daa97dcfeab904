#include <gtest/gtest.h>

#include "../support/SceneFakes.h"
#include "grid/MapViewport.h"
#include "simulation/scene/CameraRegionTracker.h"

namespace {

using namespace zarn_test::scene;

struct SceneWorld {
    SceneWorld() {
        client.traps.push_back(std::make_unique<StubTrap>(trapRecord));
        client.traps.push_back(std::make_unique<StubTrap>(trapRecord));
        scene.steerables = &steerables;
        scene.setSteerableVisuals(&steerables);
        scene.setElementVisualFactory(&elements);
        scene.setTrapVisualFactory(&trapFactory);
        scene.setExitHandler([this] { ++exits; });
    }

    Zarn::TrapElement trapRecord;
    FakeNode root{"root"};
    FakeClient client;
    FakeSteerables steerables{client};
    FakeElementFactory elements;
    FakeTrapFactory trapFactory;
    FakeScene scene{root, client};
    int exits = 0;
};

struct SceneFixture : ::testing::Test, SceneWorld {};

TEST_F(SceneFixture, BringsTheLevelUpInOrder) {
    client.units.getUnit(0).body().position = FPoint(100.0f, 100.0f);
    scene.initScene();

    EXPECT_EQ(scene.steps, (std::vector<std::string>{"loadMap", "worldRoot", "dialog"}));
    EXPECT_EQ(client.loadedBytes, "ROOM");
    EXPECT_EQ(root.content, FPoint(1000.0f, 500.0f));
    EXPECT_TRUE(root.scheduled);
    EXPECT_EQ(root.children, std::vector<std::string>{"world"});

    FakeNode& world = scene.worldNode;
    EXPECT_EQ(world.content, FPoint(1600.0f, 800.0f));
    EXPECT_EQ(world.anchor, FPoint(0.0f, 0.0f));
    EXPECT_EQ(world.scale, 1.25f);
    // Player, then the elements (3 skipped), then the dialog window.
    EXPECT_EQ(world.children, (std::vector<std::string>{"player0", "tile0", "free1", "tile2", "dialog"}));
    EXPECT_EQ(scene.dialogNode.zOrder, 1500000);
    EXPECT_EQ(scene.dialogNode.anchor, FPoint(0.0f, 0.0f));
    EXPECT_EQ(trapFactory.worldRoot, &world);
    ASSERT_EQ(trapFactory.made.size(), 2u);
    EXPECT_EQ(trapFactory.made[0], client.traps[0].get());

    // View 800 x 400 map units; the room is larger on both axes.
    Zarn::MapViewport* camera = scene.getCamera();
    ASSERT_NE(camera, nullptr);
    EXPECT_EQ(camera->getViewWidth(), 800.0f);
    EXPECT_EQ(camera->getViewHeight(), 400.0f);
    EXPECT_EQ(camera->getMarginX(), 10000.0f);
    EXPECT_EQ(camera->getMarginY(), 10000.0f);
    EXPECT_TRUE(camera->smoothCamera);
    EXPECT_EQ(client.notifier, scene.getGameNotifier());
    EXPECT_EQ(scene.extraCalls, 1);
    // The drawing orders follow the loaded room's 25 rows, not the empty grid's.
    EXPECT_EQ(scene.getZOrderCalculator().rows(), 25);
}

TEST_F(SceneFixture, SetUpFailuresNameWhatIsMissing) {
    struct Case {
        const char* what;
        std::function<void(SceneWorld&)> breakIt;
        const char* message;
    };
    const Case cases[] = {
        {"no stream", [](SceneWorld& f) { f.scene.provideStream = false; }, "map file stream no loaded"},
        {"no player visuals", [](SceneWorld& f) { f.scene.setSteerableVisuals(nullptr); },
         "Steerable3DManager is null, cannot initialize steerables"},
        {"no element factory", [](SceneWorld& f) { f.scene.setElementVisualFactory(nullptr); },
         "map element 2D factory is null"},
        {"unknown element",
         [](SceneWorld& f) {
             f.client.elementIDs = {1, 9};
         },
         "no such map element id"},
        {"no trap factory", [](SceneWorld& f) { f.scene.setTrapVisualFactory(nullptr); },
         "trap factory is null"},
        {"map error passes through", [](SceneWorld& f) { f.scene.stream.str("JUNK"); }, "bad map header"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneWorld f;
        c.breakIt(f);
        try {
            f.scene.initScene();
            ADD_FAILURE() << "no throw";
        } catch (const Convinience::Error& e) {
            EXPECT_STREQ(e.what(), c.message);
        }
    }
}

TEST_F(SceneFixture, PlaysFramesThroughTheLevelEnd) {
    client.units.getUnit(0).body().position = FPoint(100.0f, 400.0f);
    scene.initScene();
    client.velocity = FPoint(300.0f, 0.0f);

    for (int frame = 0; frame < 200; ++frame) scene.update(1.0f / 60.0f);
    EXPECT_EQ(client.frames.size(), 200u);
    EXPECT_FLOAT_EQ(scene.getLastDelta(), 1.0f / 60.0f);
    // Every frame steps the player visual's sync in order.
    ASSERT_GE(steerables.syncLog.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(steerables.syncLog.begin(), steerables.syncLog.begin() + 4),
              (std::vector<std::string>{"state0", "effects0", "transform0", "move0"}));
    EXPECT_EQ(steerables.syncLog.size(), 800u);

    // The player walked from region 0 into region 1; the camera followed and
    // the scene was told of the new region with its rectangles.
    ASSERT_FALSE(scene.cameraCalls.empty());
    EXPECT_EQ(scene.getRegionTracker()->current(), 1u);
    const CameraCall& last = scene.cameraCalls.back();
    ASSERT_GE(last.rects.size(), 2u);
    EXPECT_EQ(last.rects[0].origin, Point(800, 800));
    EXPECT_EQ(last.rects[1].origin, Point(800, 800));
    EXPECT_EQ(last.rects[1].width, 20u);
    EXPECT_EQ(scene.getLastCameraPosition(), last.position);

    // The level ends: the local unit is carried off (state 17).
    client.velocity = FPoint();
    client.units.getUnit(0).state = 17;
    for (int frame = 0; frame < 12; ++frame) scene.update(0.01f);
    EXPECT_EQ(exits, 1);
    // A confirmed exit reaches the same handler through the notifier.
    client.notifier->gameNotification();
    EXPECT_EQ(exits, 2);
}

TEST(InGameSceneCamera, MovesBelowAFifthOfAUnitAreNotReported) {
    // Without camera regions the camera centres on the player; a player at
    // (400, 200) keeps it at (0, 0), so the first frame's camera position
    // is the visible origin, measured against the start position (0, 0).
    struct Case {
        const char* what;
        FPoint origin;
        bool reported;
    };
    const Case cases[] = {
        {"no move", {0.0f, 0.0f}, false},
        {"just under 0.2 on both axes", {0.19f, -0.19f}, false},
        {"exactly 0.2 on x", {0.2f, 0.0f}, true},
        {"exactly 0.2 on y", {0.0f, -0.2f}, true},
        {"far", {30.0f, 5.0f}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneWorld f;
        f.client.withRegions = false;
        f.client.units.getUnit(0).body().position = FPoint(400.0f, 200.0f);
        f.root.visibleOrigin = c.origin;
        f.scene.initScene();
        f.scene.update(0.0f);
        f.scene.update(0.0f);
        ASSERT_EQ(f.scene.getCamera()->getCameraOffset(), FPoint(0.0f, 0.0f));
        ASSERT_EQ(f.scene.cameraCalls.size(), c.reported ? 1u : 0u);
        if (c.reported) {
            EXPECT_EQ(f.scene.cameraCalls[0].position, c.origin);
            EXPECT_TRUE(f.scene.cameraCalls[0].rects.empty());
            EXPECT_EQ(f.scene.getLastCameraPosition(), c.origin);
        }
    }
}

TEST(InGameSceneCamera, ARoomSmallerThanTheViewIsCentredOnThatAxis) {
    // A visible area of 1000 x 500 at the world scale 1.25 is a view of
    // 800 x 400 room units. On an axis where the room is smaller the world
    // root sits half the spare room in from the visible edge, wherever the
    // player stands; on an axis where it is larger the camera centres the
    // player (there are no camera regions here).
    struct Case {
        const char* what;
        Zarn::MapProperties room;
        FPoint origin;
        FPoint player;
        FPoint root;
    };
    const Case cases[] = {
        {"smaller both ways, player left", {640, 320, 32}, {}, {40, 40}, {100, 50}},
        {"smaller both ways, player right", {640, 320, 32}, {}, {600, 280}, {100, 50}},
        {"narrower, taller", {640, 800, 32}, {}, {300, 600}, {100, 250 - 1.25f * 600}},
        {"wider, shorter", {1600, 320, 32}, {}, {900, 100}, {500 - 1.25f * 900, 50}},
        {"beside a visible origin", {640, 320, 32}, {12, 7}, {40, 40}, {112, 57}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SceneWorld f;
        f.client.withRegions = false;
        f.client.room = c.room;
        f.root.visibleOrigin = c.origin;
        f.client.units.getUnit(0).body().position = c.player;
        f.scene.initScene();
        for (int frame = 0; frame < 300; ++frame) f.scene.update(0.0f);
        ASSERT_FALSE(f.scene.cameraCalls.empty());
        EXPECT_NEAR(f.scene.cameraCalls.back().position.x, c.root.x, 0.2f);
        EXPECT_NEAR(f.scene.cameraCalls.back().position.y, c.root.y, 0.2f);
    }
}

TEST_F(SceneFixture, TouchesInsideTheRoomAreTakenEdgesExcluded) {
    scene.initScene();
    FakeNode& world = scene.worldNode;
    world.position = FPoint(-100.0f, -50.0f);
    // Room 1600 x 800 at 1.25: the world root covers 2000 x 1000 of the host
    // scene, from (-100, -50) to (1900, 950).
    struct Case {
        FPoint touch;
        bool taken;
        FPoint answer;
    };
    const Case cases[] = {
        {{-100.0f, -50.0f}, true, {0.0f, 0.0f}},
        {{25.0f, 75.0f}, true, {100.0f, 100.0f}},
        {{-101.0f, 0.0f}, false, {-101.0f, 0.0f}},
        {{1899.0f, 0.0f}, true, {1599.2f, 40.0f}},
        // The right and top edges of the world root (room x 1600, y 800).
        {{1900.0f, 0.0f}, false, {1900.0f, 0.0f}},
        {{0.0f, 950.0f}, false, {0.0f, 950.0f}},
        {{0.0f, 949.0f}, true, {80.0f, 799.2f}},
    };
    for (const Case& c : cases) {
        const auto answer = scene.onInput(c.touch);
        EXPECT_EQ(answer.taken, c.taken) << c.touch.x << ", " << c.touch.y;
        EXPECT_NEAR(answer.point.x, c.answer.x, 1e-3f);
        EXPECT_NEAR(answer.point.y, c.answer.y, 1e-3f);
    }
}

TEST_F(SceneFixture, KeysQueueInputAtThePlayersVisualPosition) {
    client.units.getUnit(0).body().position = FPoint(64.0f, 96.0f);
    scene.initScene();
    scene.update(0.0f);

    scene.sendInput(8);
    scene.sendInput(9);
    bool seen = false;
    client.inputs.forEachClient([&](u32 id, Zarn::InputManager::InputList& list) {
        if (id != 0) return;
        seen = true;
        ASSERT_EQ(list.size(), 2u);
        EXPECT_EQ(list[0], Zarn::InputData(8, FPoint(64.0f, 96.0f)));
        EXPECT_EQ(list[1], Zarn::InputData(9, FPoint(64.0f, 96.0f)));
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(client.nextCommands, (std::vector<u32>{2, 2}));
}

TEST_F(SceneFixture, TheContinueKeyTurnsPagesAndSendsOnlyAfterTheLastOne) {
    client.map.dialogs[5].text = "one&&two&&three";
    scene.initScene();
    scene.sendInput(12);
    EXPECT_FALSE(client.inputs.hasInput(0)) << "no dialog playing";

    client.dialogPlayer.play(5);
    scene.dialog->update();
    ASSERT_EQ(scene.dialog->pages, std::vector<std::size_t>{2});
    scene.sendInput(12);
    EXPECT_FALSE(client.inputs.hasInput(0)) << "a page was left: only turned";
    EXPECT_EQ(scene.dialog->pages, (std::vector<std::size_t>{2, 1}));
    scene.sendInput(12);
    EXPECT_TRUE(client.inputs.hasInput(0));
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});
}

TEST_F(SceneFixture, TouchesGoToTheDialogFirstThenBecomeMoves) {
    scene.initScene();
    // Not playing: the dialog window passes, the scene takes it as a move.
    scene.dispatchInput({10.0f, 20.0f});
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(1, FPoint(8.0f, 16.0f)));
    });
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});

    // Outside the room: nobody takes it.
    scene.dispatchInput({-5.0f, 20.0f});
    EXPECT_EQ(client.nextCommands, std::vector<u32>{2});
    client.inputs.clearInput(0);

    // A dialog over the touch takes it first: a page turn queues nothing, a
    // tap on the last page is the dismiss input (kind 2) at the touch.
    client.map.dialogs[5].text = "one&&two&&three";
    client.dialogPlayer.play(5);
    scene.dialog->update();
    scene.dialogNode.setContentSize(100.0f, 100.0f);
    scene.dispatchInput({10.0f, 20.0f});
    EXPECT_FALSE(client.inputs.hasInput(0));
    scene.dispatchInput({10.0f, 20.0f});
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(2, FPoint(10.0f, 20.0f)));
    });
    EXPECT_EQ(client.nextCommands, (std::vector<u32>{2, 2}));
}

TEST_F(SceneFixture, PlayersJoiningAndLeavingGetVisualsThroughTheNotifier) {
    scene.initScene();
    client.addPlayer(4);
    EXPECT_EQ(scene.worldNode.children.back(), "player4");
    client.notifier->playerLeft(4);
    EXPECT_EQ(steerables.removed, std::vector<u32>{4});
}

TEST_F(SceneFixture, TheLocalPlayerLeavingLeavesTheSceneRunning) {
    client.units.getUnit(0).body().position = FPoint(64.0f, 96.0f);
    scene.initScene();
    scene.update(0.03f);
    // A kick of the local player removes its visual (and frees its node).
    client.notifier->playerLeft(0);
    scene.update(0.03f);
    scene.sendInput(4);
    client.inputs.forEachClient([](u32, Zarn::InputManager::InputList& list) {
        ASSERT_EQ(list.size(), 1u);
        EXPECT_EQ(list[0], Zarn::InputData(4, FPoint(64.0f, 96.0f)));
    });
}

TEST_F(SceneFixture, ADestroyedSceneLeavesNoNotifierWithTheClient) {
    {
        FakeScene other(root, client);
        other.setSteerableVisuals(&steerables);
        other.setElementVisualFactory(&elements);
        other.setTrapVisualFactory(&trapFactory);
        other.initScene();
        EXPECT_NE(client.notifier, nullptr);
    }
    EXPECT_EQ(client.notifier, nullptr);
}

}  // namespace
