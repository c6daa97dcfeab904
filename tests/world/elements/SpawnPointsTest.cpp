#include <gtest/gtest.h>

#include "map/records/MapElement.h"
#include "world/elements/InteractiveMapElement.h"
#include "world/elements/SpawnPoints.h"

namespace Zarn {
namespace {

using GeometryLib::Point;

class CheckpointLike : public InteractiveMapElement {
public:
    explicit CheckpointLike(const MapElement& record) : InteractiveMapElement(record, nullptr) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return true; }
    bool touches(const Point&, SteerableUnit*) override { return false; }
    void reset() override {}
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState&) override {}
    OnOffIMEState state;
};

TEST(SpawnPointsTest, FallbackCellIsRecordedOnFirstUse) {
    SpawnPoints spawns;
    spawns.setDefaultSpawnCell(Point(2, 3));
    EXPECT_EQ(spawns.spawnPointFor(5), Point(2, 3));
    spawns.setDefaultSpawnCell(Point(8, 8));
    EXPECT_EQ(spawns.spawnPointFor(5), Point(2, 3));
    EXPECT_EQ(spawns.spawnPointFor(6), Point(8, 8));
    spawns.setSpawnPoint(5, Point(1, 1));
    EXPECT_EQ(spawns.spawnCellFor(5), Point(1, 1));
}

TEST(SpawnPointsTest, CheckpointsComeFirst) {
    TileNumberedMapElement recordA, recordB;
    recordA.cell = Point(4, 6);
    recordB.cell = Point(9, 1);
    CheckpointLike a(recordA), b(recordB);
    SpawnPoints spawns;
    spawns.setSpawnPoint(8, Point(1, 1));
    spawns.setCheckpoint(7, &a);
    EXPECT_EQ(spawns.findCheckpoint(7), &a);
    EXPECT_EQ(spawns.findCheckpoint(8), nullptr);
    EXPECT_EQ(spawns.spawnPointFor(7), Point(4, 6));
    EXPECT_EQ(spawns.spawnPointFor(8), Point(1, 1));
    spawns.setDefaultCheckpoint(&b);
    EXPECT_EQ(spawns.spawnPointFor(8), Point(9, 1));
    EXPECT_EQ(spawns.spawnPointFor(7), Point(4, 6));

    EXPECT_FALSE(spawns.isReached(7));
    spawns.markReached(7);
    EXPECT_TRUE(spawns.isReached(7));
    spawns.markUnreached(7);
    EXPECT_TRUE(spawns.hasReachedEntry(7));
    EXPECT_FALSE(spawns.isReached(7));
}

}  // namespace
}  // namespace Zarn
