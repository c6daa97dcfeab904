#include <gtest/gtest.h>

#include <sstream>

#include "../support/RoomFixtures.h"
#include "map/records/MapElement.h"
#include "simulation/core/CheckpointFollower.h"
#include "simulation/core/GameWorld.h"
#include "simulation/state/GameState.h"
#include "world/elements/Checkpoint.h"

using namespace Zarn;
using GeometryLib::Point;

namespace {

// The client's world of a room with checkpoints 8 on (3, 1) and 9 on (6, 1);
// states as the server sends them: each checkpoint's value and where units 1
// and 2 stand.
class CheckpointFollowerTest : public ::testing::Test {
protected:
    CheckpointFollowerTest() {
        auto room = zarn_test::fixtureRoom();
        for (auto [number, x] : {std::pair<u32, i16>{8, 3}, {9, 6}}) {
            TileNumberedMapElement checkpoint;
            checkpoint.elementId = 42;
            checkpoint.number = number;
            checkpoint.cell = Point(x, 1);
            room.element(checkpoint);
        }
        std::istringstream in = room.stream();
        world.loadMap(in);
        eight = &world.numbered.get(8);
        nine = &world.numbered.get(9);
    }

    GameState state(EOnOffState eight, EOnOffState nine, Point unit1, Point unit2) const {
        GameState s;
        for (auto [id, cell] : {std::pair<u32, Point>{1, unit1}, {2, unit2}}) {
            ClientState c;
            c.clientID = id;
            c.position = zarn_test::cellCentre(cell);
            s.clientStates.push_back(c);
        }
        s.mapState.elementStates.put(8, std::make_unique<OnOffIMEState>(eight));
        s.mapState.elementStates.put(9, std::make_unique<OnOffIMEState>(nine));
        return s;
    }
    InteractiveMapElement* checkpointOf(u32 id) const { return world.spawnPoints.findCheckpoint(id); }

    GameWorld world;
    CheckpointFollower follower{world.numbered, world.spawnPoints, world.map.grid};
    InteractiveMapElement* eight = nullptr;
    InteractiveMapElement* nine = nullptr;
};

TEST_F(CheckpointFollowerTest, ACheckpointTurningOffBecomesTheCheckpointOfTheUnitsOnItsCell) {
    using enum EOnOffState;
    follower.follow(state(on, on, Point(3, 1), Point(1, 1)));
    EXPECT_EQ(checkpointOf(1), nullptr) << "standing on a checkpoint the server has not recorded";

    follower.follow(state(off, on, Point(3, 1), Point(1, 1)));
    EXPECT_EQ(checkpointOf(1), eight);
    EXPECT_EQ(checkpointOf(2), nullptr);
    EXPECT_EQ(world.spawnPoints.spawnPointFor(1), Point(3, 1));

    follower.follow(state(on, off, Point(6, 1), Point(3, 1)));
    EXPECT_EQ(checkpointOf(1), nine) << "the unit moved on to the next checkpoint";
    EXPECT_EQ(checkpointOf(2), nullptr) << "checkpoint 8 did not turn off in this state";

    follower.follow(state(off, off, Point(6, 2), Point(3, 1)));
    EXPECT_EQ(checkpointOf(2), eight);
    EXPECT_EQ(checkpointOf(1), nine);
}

}  // namespace
