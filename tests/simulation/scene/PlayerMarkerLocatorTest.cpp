#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "foundation/Error.h"
#include "grid/MapViewport.h"
#include "simulation/scene/PlayerMarkerLocator.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using GeometryLib::FPoint;
using Zarn::PlayerMarkerLocator;

// View 100 x 80 map units with its corner at (100, 80): the visible
// rectangle is x 100..200, y 80..160, centre (150, 120).
struct MarkerView : ::testing::Test {
    MarkerView() {
        camera.setMargins(10000.0f, 10000.0f);
        camera.updateCamera({100.0f, 80.0f});
        units.addClient(7);
    }
    void placeAt(const FPoint& p) { units.getUnit(7).body().position = p; }

    Zarn::SteerableUnitManager units;
    Zarn::MapViewport camera{Zarn::MapProperties(1000, 1000, 16), 100.0f, 80.0f};
    PlayerMarkerLocator locator{units, camera, FPoint(0.0f, 0.0f)};
};

TEST_F(MarkerView, PlacesMarkersOnTheScreenEdgeTowardsThePlayer) {
    struct Case {
        const char* what;
        FPoint unit;
        bool onScreen;
        FPoint point;
        float angle;
    };
    // Scaled screen 125 x 100; half view 50 x 40.
    const Case cases[] = {
        {"lower-left border counts as on screen", {100, 80}, true, {100, 80}, 0.0f},
        {"upper-right border counts as on screen", {200, 160}, true, {200, 160}, 0.0f},
        {"inside", {150, 100}, true, {150, 100}, 0.0f},
        {"straight above", {150, 300}, false, {62.5f, 100.0f}, 0.0f},
        {"straight below", {150, 0}, false, {62.5f, 0.0f}, 180.0f},
        {"straight right", {400, 120}, false, {125.0f, 50.0f}, 90.0f},
        {"straight left", {0, 120}, false, {0.0f, 50.0f}, -90.0f},
        {"up-right along the diagonal: the corner", {250, 200}, false, {125.0f, 100.0f}, 51.340192f},
        {"steeply up-left leaves through the top", {140, 400}, false, {60.714287f, 100.0f}, -2.0454084f},
        {"shallow down-right leaves through the right", {300, 100}, false, {125.0f, 41.666668f}, 97.594643f},
        {"down-left along the diagonal: the corner", {0, 0}, false, {0.0f, 0.0f}, 231.34019f},
        {"just past the right border", {200.5f, 120}, false, {125.0f, 50.0f}, 90.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        placeAt(c.unit);
        EXPECT_EQ(locator.isOnScreen(7), c.onScreen);
        const PlayerMarkerLocator::EdgePoint e = locator.edgePoint(7);
        EXPECT_NEAR(e.point.x, c.point.x, 1e-3f);
        EXPECT_NEAR(e.point.y, c.point.y, 1e-3f);
        EXPECT_NEAR(e.angle, c.angle, 1e-3f);
    }
}

TEST_F(MarkerView, OffScreenPointsLieOnTheScaledScreenBorder) {
    const float w = 125.0f;
    const float h = 100.0f;
    for (int i = 0; i < 72; ++i) {
        const float a = static_cast<float>(i) * 5.0f * 3.1415927f / 180.0f;
        placeAt({150.0f + 400.0f * std::sin(a), 120.0f + 400.0f * std::cos(a)});
        SCOPED_TRACE(i * 5);
        ASSERT_FALSE(locator.isOnScreen(7));
        const PlayerMarkerLocator::EdgePoint e = locator.edgePoint(7);
        const bool onBorder = std::abs(e.point.x) < 1e-3f || std::abs(e.point.x - w) < 1e-3f ||
                              std::abs(e.point.y) < 1e-3f || std::abs(e.point.y - h) < 1e-3f;
        EXPECT_TRUE(onBorder) << e.point.x << ", " << e.point.y;
        EXPECT_GE(e.point.x, -1e-3f);
        EXPECT_LE(e.point.x, w + 1e-3f);
        EXPECT_GE(e.point.y, -1e-3f);
        EXPECT_LE(e.point.y, h + 1e-3f);
        // The marker points the way the player lies, clockwise from up.
        float expected = static_cast<float>(i * 5);
        float angle = std::fmod(e.angle + 360.0f, 360.0f);
        float diff = std::abs(angle - expected);
        EXPECT_LT(std::min(diff, 360.0f - diff), 15.0f) << e.angle;
    }
}

TEST_F(MarkerView, OffsetShiftsTheVisibleRectangle) {
    PlayerMarkerLocator shifted(units, camera, FPoint(10.0f, -5.0f));
    // Visible x 110..210, y 75..155.
    const std::pair<FPoint, bool> cases[] = {
        {{105, 120}, false}, {{110, 120}, true}, {{210, 120}, true}, {{210.5f, 120}, false},
        {{150, 75}, true},   {{150, 74}, false}, {{150, 155}, true}, {{150, 156}, false},
    };
    for (const auto& [p, on] : cases) {
        placeAt(p);
        EXPECT_EQ(shifted.isOnScreen(7), on) << p.x << ", " << p.y;
    }
}

TEST_F(MarkerView, UnknownClientsAndUnplaceablePositionsThrow) {
    EXPECT_THROW(locator.isOnScreen(8), Convinience::ClientIDNotFoundException);
    EXPECT_THROW(locator.edgePoint(8), Convinience::ClientIDNotFoundException);

    placeAt({std::numeric_limits<float>::quiet_NaN(), 120.0f});
    EXPECT_FALSE(locator.isOnScreen(7));
    try {
        locator.edgePoint(7);
        FAIL() << "no throw";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "not valid points for calucating camera edges");
    }
}

}  // namespace
