#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#include "../support/RoomFixtures.h"
#include "../support/SceneFakes.h"
#include "grid/MapViewport.h"
#include "map/records/MapElement.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/scene/CameraRegionTracker.h"

namespace {

using namespace zarn_test;
using namespace zarn_test::scene;
using namespace std::chrono_literals;

// A spike at (5, 1) armed by the start event; a checkpoint at (1, 5) whose
// touch ends the level.
MapBuilder levelRoom() {
    MapBuilder b = fixtureRoom();
    b.trap(trapAt(43, 1, Point(5, 1), 100.0f, 0.0f));
    Zarn::TileNumberedMapElement exit;
    exit.elementId = 42;
    exit.number = 9;
    exit.cell = Point(1, 5);
    b.element(exit);
    b.event(eventWith(1, 1, 0, oneAction(0, 1)));
    b.event(eventWith(2, 12, 9, oneAction(37, 0)));
    return b;
}

// The scene drives the real single-play client (its server on a thread of
// its own) with fake engine parts: touches on the host scene walk the player
// onto the spike, back out after the respawn and onto the exit.
TEST(InGameSceneSinglePlay, DrivesALevelFromLoadThroughPlayToItsEnd) {
    Zarn::SinglePlayerZarn client;
    FakeNode root{"root"};
    FakeScene scene(root, client);
    FakeSteerables steerables(client);
    FakeElementFactory elements;
    elements.tileAll = true;
    FakeTrapFactory traps;
    scene.steerables = &steerables;
    scene.setSteerableVisuals(&steerables);
    scene.setElementVisualFactory(&elements);
    scene.setTrapVisualFactory(&traps);
    const std::vector<u8> bytes = levelRoom().bytes();
    scene.stream.str(std::string(bytes.begin(), bytes.end()));
    int exits = 0;
    scene.setExitHandler([&] { ++exits; });

    scene.initScene();
    client.startServer();

    EXPECT_EQ(scene.worldNode.content, FPoint(320.0f, 256.0f));
    EXPECT_EQ(scene.worldNode.children.front(), "player0");
    EXPECT_EQ(elements.nodes.size(), client.getGameMap().mapElements.size());
    EXPECT_EQ(traps.made.size(), client.getTraps().size());
    EXPECT_EQ(scene.getZOrderCalculator().rows(), 8);

    // The world root sits at the host scene's origin, scaled 1.25.
    auto touchCell = [&](Point cell) { scene.dispatchInput(cellCentre(cell) * 1.25f); };
    Zarn::SteerableUnit& rat = client.getSteerableUnitManager().getUnit(0);
    bool died = false;
    bool respawned = false;
    touchCell(Point(5, 1));
    for (int frame = 0; frame < 1500 && exits == 0; ++frame) {
        scene.update(0.03f);
        std::this_thread::sleep_for(1ms);
        if (!died && rat.state == 5) died = true;
        if (died && !respawned && rat.state == 0) {
            respawned = true;
            touchCell(Point(1, 5));
        }
    }
    for (int frame = 0; frame < 10; ++frame) scene.update(0.03f);

    EXPECT_TRUE(died);
    EXPECT_TRUE(respawned);
    EXPECT_EQ(exits, 1);
    // The player visual followed the unit, and the camera was reported.
    EXPECT_EQ(steerables.nodes.at(0)->getPosition(), rat.body().position);
    EXPECT_FALSE(scene.cameraCalls.empty());
    client.stopServer();
}

}  // namespace
