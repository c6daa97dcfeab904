#include <gtest/gtest.h>

#include <cstring>

#include "grid/MapViewport.h"

using GeometryLib::FPoint;
using Zarn::MapProperties;
using Zarn::MapViewport;

TEST(MapViewport, RefusesNonPositiveViews) {
    for (auto size : {std::pair{0.0f, 576.0f}, std::pair{1024.0f, -1.0f}, std::pair{-5.0f, -5.0f}}) {
        try {
            MapViewport v(MapProperties(640, 384, 16), size.first, size.second);
            FAIL() << "expected a throw";
        } catch (const char* text) {
            EXPECT_STREQ(text, "invalid viewport");
        }
    }
}

TEST(MapViewport, SmallRoomIsCentred) {
    MapViewport v(MapProperties(640, 384, 16), 1024.0f, 576.0f);
    EXPECT_FLOAT_EQ(v.getMarginX(), 192.0f);
    EXPECT_FLOAT_EQ(v.getMarginY(), 96.0f);
    EXPECT_EQ(v.getCameraOffset(), FPoint(-192.0f, -96.0f));
    // Whatever the target, the camera stays centred on both axes.
    for (FPoint target : {FPoint(0, 0), FPoint(-500, -500), FPoint(300, 200), FPoint(5000, 5000)}) {
        v.updateCamera(target);
        EXPECT_EQ(v.getCameraOffset(), FPoint(-192.0f, -96.0f)) << target.x << ", " << target.y;
    }
    v.smoothCamera = true;
    v.updateCamera(FPoint(100, 50));
    EXPECT_EQ(v.getCameraOffset(), FPoint(-192.0f, -96.0f));
}

TEST(MapViewport, LargeRoomClampsTheCamera) {
    MapViewport v(MapProperties(2000, 1000, 16), 1024.0f, 576.0f);
    EXPECT_EQ(v.getCameraOffset(), FPoint(0, 0));
    struct Case {
        FPoint target, offset;
    };
    for (const Case& c : {Case{{1500, 700}, {976, 424}}, Case{{-50, -20}, {0, 0}},
                          Case{{300, 200}, {300, 200}}, Case{{976, 424}, {976, 424}}}) {
        v.updateCamera(c.target);
        EXPECT_EQ(v.getCameraOffset(), c.offset) << c.target.x << ", " << c.target.y;
    }
}

TEST(MapViewport, SmoothingClosesATenthButLimitsSnap) {
    MapViewport v(MapProperties(2000, 1000, 16), 1024.0f, 576.0f);
    v.smoothCamera = true;
    v.updateCamera(FPoint(100, 50));
    EXPECT_FLOAT_EQ(v.getCameraOffset().x, 10.0f);
    EXPECT_FLOAT_EQ(v.getCameraOffset().y, 5.0f);
    v.updateCamera(FPoint(5000, 5000));
    EXPECT_EQ(v.getCameraOffset(), FPoint(976, 424));
    v.updateCamera(FPoint(-1, -1));
    EXPECT_EQ(v.getCameraOffset(), FPoint(0, 0));
}
