#include <gtest/gtest.h>

#include "grid/MapViewport.h"
#include "simulation/scene/CameraRegionTracker.h"

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;
using GeometryLib::Rect;
using Zarn::CameraRegionTracker;
using Zarn::TransitionRegion;

constexpr u32 kNone = CameraRegionTracker::kNoRegion;

// x, y (top-left, y up), width, height.
Rect rect(i16 x, i16 y, u32 w, u32 h) {
    return Rect(w, h, Point(x, y));
}

// A camera that goes straight to its target and never clamps (the margins
// the in-game scene sets for rooms larger than the view), so the world
// root's offset read back is the target the tracker worked out. View
// 100 x 100 map units.
struct Camera {
    Camera() { viewport.setMargins(10000.0f, 10000.0f); }
    FPoint offset() const { return Zarn::rootOffsetForViewCorner(viewport.getCameraOffset(), 1.25f); }
    Zarn::MapViewport viewport{Zarn::MapProperties(800, 200, 16), 100.0f, 100.0f};
};

// Two rooms side by side, A (x 0..400) and B (x 400..800), both y 0..200,
// with a transition at A's right edge leading to B and one at B's left edge
// leading back to A.
struct TwoRooms : ::testing::Test {
    std::vector<Rect> regions{rect(0, 200, 400, 200), rect(400, 200, 400, 200)};
    std::vector<std::vector<TransitionRegion>> transitions{
        {TransitionRegion(1, rect(380, 200, 20, 200))},
        {TransitionRegion(0, rect(400, 200, 20, 200))},
    };
    Camera camera;
    CameraRegionTracker tracker{regions, transitions, camera.viewport};
};

}  // namespace

TEST_F(TwoRooms, WalksThroughItsStatesOnAScriptedPath) {
    struct Step {
        const char* what;
        FPoint position;
        u32 current;
        u32 previous;
        int held;  // index into the transition lists' single entries: 0 A's, 1 B's, -1 none
        bool justSwitched;
        FPoint offset;
    };
    // Scaled view 125 x 125; a room's scaled size is 500 x 250.
    const Step steps[] = {
        {"first frame looks the room up", {50, 100}, 0, kNone, -1, true, {0.0f, -62.5f}},
        {"inside the room: follows the player", {200, 100}, 0, kNone, -1, false, {-187.5f, -62.5f}},
        {"near A's right wall: view's right on the room's edge",
         {379.9f, 199},
         0,
         kNone,
         -1,
         false,
         {-375.0f, -125.0f}},
        {"into A's transition: switches to B at once", {390, 100}, 1, 0, 0, true, {-500.0f, -62.5f}},
        {"still in the held transition, outside B: stays", {395, 100}, 1, 1, 0, true, {-500.0f, -62.5f}},
        {"into B's transition right after switching: held", {410, 100}, 1, 1, 0, true, {-500.0f, -62.5f}},
        {"inside B: follows", {700, 10}, 1, 1, 0, false, {-812.5f, 0.0f}},
        {"into B's transition: back to A", {410, 100}, 0, 1, 1, true, {-375.0f, -62.5f}},
        {"out of every region: centres on the player", {900, 100}, kNone, 0, 1, true, {-1062.5f, -62.5f}},
        {"back into B from outside", {600, 100}, 1, kNone, 1, true, {-687.5f, -62.5f}},
    };
    for (const Step& s : steps) {
        tracker.update(s.position);
        EXPECT_EQ(tracker.current(), s.current) << s.what;
        EXPECT_EQ(tracker.previous(), s.previous) << s.what;
        const TransitionRegion* held = s.held < 0 ? nullptr : &transitions[s.held][0];
        EXPECT_EQ(tracker.heldTransition(), held) << s.what;
        EXPECT_EQ(tracker.justSwitched(), s.justSwitched) << s.what;
        EXPECT_FLOAT_EQ(camera.offset().x, s.offset.x) << s.what;
        EXPECT_FLOAT_EQ(camera.offset().y, s.offset.y) << s.what;
    }
}

TEST(CameraRegionTracker, WithoutRegionsTheCameraCentresThePlayer) {
    const std::vector<Rect> regions;
    const std::vector<std::vector<TransitionRegion>> transitions;
    Camera camera;
    CameraRegionTracker tracker(regions, transitions, camera.viewport);
    for (const FPoint& p : {FPoint(0, 0), FPoint(123.5f, 40.25f), FPoint(-20, 900)}) {
        tracker.update(p);
        EXPECT_EQ(tracker.current(), kNone);
        EXPECT_FLOAT_EQ(camera.offset().x, -1.25f * p.x + 62.5f);
        EXPECT_FLOAT_EQ(camera.offset().y, -1.25f * p.y + 62.5f);
    }
}

TEST(CameraRegionTracker, OverlapsKeepTheCurrentRegionAndMapOrderDecidesFromOutside) {
    // A (x 0..300) and C (x 200..500) overlap in x 200..300.
    const std::vector<Rect> regions{rect(0, 200, 300, 200), rect(200, 200, 300, 200)};
    const std::vector<std::vector<TransitionRegion>> transitions(2);
    Camera camera;
    CameraRegionTracker tracker(regions, transitions, camera.viewport);
    tracker.update(FPoint(250, 100));  // from outside: the first in map order
    EXPECT_EQ(tracker.current(), 0u);
    tracker.update(FPoint(100, 100));
    tracker.update(FPoint(250, 100));  // in the overlap: stays in A
    EXPECT_EQ(tracker.current(), 0u);
    tracker.update(FPoint(400, 100));  // left A: C
    EXPECT_EQ(tracker.current(), 1u);
    tracker.update(FPoint(250, 100));  // in the overlap again: stays in C
    EXPECT_EQ(tracker.current(), 1u);
}

TEST(CameraRegionTracker, TransitionsToTheCurrentOrToNoRegionChangeNothing) {
    const std::vector<Rect> regions{rect(0, 200, 400, 200)};
    const std::vector<std::vector<TransitionRegion>> transitions{
        {TransitionRegion(0, rect(100, 200, 20, 200)), TransitionRegion(7, rect(200, 200, 20, 200))}};
    Camera camera;
    CameraRegionTracker tracker(regions, transitions, camera.viewport);
    tracker.update(FPoint(50, 100));
    tracker.update(FPoint(60, 100));
    const FPoint before = camera.offset();
    tracker.update(FPoint(110, 100));  // a transition to the current region: no change at all
    EXPECT_EQ(tracker.current(), 0u);
    EXPECT_EQ(tracker.heldTransition(), nullptr);
    EXPECT_EQ(camera.offset(), before);
    tracker.update(FPoint(210, 100));  // names a region the map lacks: an ordinary frame
    EXPECT_EQ(tracker.current(), 0u);
    EXPECT_EQ(tracker.heldTransition(), nullptr);
    EXPECT_FLOAT_EQ(camera.offset().x, 62.5f - 1.25f * 210);
}

TEST(CameraRegionTracker, RegionsSmallerThanTheViewAreCentred) {
    // 80 x 60 map units: scaled 100 x 75 inside a scaled view of 125 x 125.
    const std::vector<Rect> regions{rect(40, 100, 80, 60)};
    const std::vector<std::vector<TransitionRegion>> transitions(1);
    Camera camera;
    CameraRegionTracker tracker(regions, transitions, camera.viewport);
    for (const float x : {41.0f, 80.0f, 119.0f}) {
        tracker.update(FPoint(x, 50));
        EXPECT_EQ(tracker.current(), 0u);
        EXPECT_FLOAT_EQ(camera.offset().x, (125.0f - 100.0f) / 2 - 50.0f) << x;
        EXPECT_FLOAT_EQ(camera.offset().y, (125.0f - 75.0f) / 2 - 50.0f) << x;
    }
}

TEST(CameraRegionTracker, RectanglesHoldTheirTopLeftCornerAndExcludeTheFarEdges) {
    const Rect r = rect(10, 50, 20, 30);  // x 10..29, y 20..49
    struct Case {
        Point p;
        bool inside;
    };
    const Case cases[] = {{Point(10, 20), true},  {Point(29, 49), true}, {Point(30, 30), false},
                          {Point(10, 50), false}, {Point(9, 30), false}, {Point(20, 19), false}};
    for (const Case& c : cases) {
        EXPECT_EQ(CameraRegionTracker::rectContainsPoint(r, c.p), c.inside) << c.p.x << "," << c.p.y;
    }
    EXPECT_TRUE(CameraRegionTracker::rectContainsPoint(Rect(0xFFFFFFFFu, 10, Point(-5, 5)), Point(32767, 0)));
}
