#include <gtest/gtest.h>

#include "../support/PresentationFixture.h"
#include "grid/MapViewport.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "simulation/scene/PlayerMarkerLocator.h"
#include "world/units/SteerableUnitManager.h"

using namespace cocos2d;
using GeometryLib::FPoint;

namespace {

// A view of 100 x 80 map units showing x 100..200, y 80..160 at scale 1.25
// (a screen of 125 x 100), with two players: 7 and 9.
class PlayerMarkers : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        camera.setMargins(10000.0f, 10000.0f);
        camera.updateCamera({100.0f, 80.0f});
        units.addClient(7);
        units.addClient(9);
        place(7, {150, 120});
        place(9, {150, 120});
        hud = PlayerMarkersHUD2D::create(locator);
        scene->addChild(hud);
    }
    void place(u32 client, const FPoint& p) { units.getUnit(client).body().position = p; }
    std::vector<const DrawCommand*> markers() const {
        return Director::getInstance()->getDrawList().findByFrame(PlayerMarkersHUD2D::kMarkerFrame);
    }

    Zarn::SteerableUnitManager units;
    Zarn::MapViewport camera{Zarn::MapProperties(1000, 1000, 16), 100.0f, 80.0f};
    Zarn::PlayerMarkerLocator locator{units, camera, FPoint(0.0f, 0.0f)};
    PlayerMarkersHUD2D* hud = nullptr;  // held by the scene
};

TEST_F(PlayerMarkers, AnOffScreenPlayerGetsAnArrowOnTheScreenEdgeTurnedTowardHim) {
    hud->addMarker(7);
    hud->addMarker(9);
    frame(0.0f);
    EXPECT_TRUE(markers().empty()) << "both on screen";

    place(9, {400, 120});  // straight right
    frame(0.016f);
    ASSERT_EQ(markers().size(), 1u);
    const DrawCommand* arrow = markers()[0];
    EXPECT_EQ(arrow->node, hud->getMarker(9));
    // The tip (anchor at the top centre) sits on the right edge, mid height.
    const Vec2 tip = arrow->transform.transformPoint(
        Vec2(arrow->quad.getMidX(), arrow->quad.origin.y + arrow->quad.size.height));
    EXPECT_NEAR(tip.x, 125.0f, 1e-3f);
    EXPECT_NEAR(tip.y, 50.0f, 1e-3f);
    EXPECT_FLOAT_EQ(hud->getMarker(9)->getRotation(), 90.0f);
    EXPECT_FLOAT_EQ(hud->getMarker(9)->getScale(), 0.5f);

    place(9, {150, 0});  // straight below
    frame(0.016f);
    EXPECT_FLOAT_EQ(hud->getMarker(9)->getRotation(), 180.0f);
    EXPECT_FLOAT_EQ(hud->getMarker(9)->getPositionY(), 0.0f);

    place(9, {160, 130});  // walks back into view
    frame(0.016f);
    EXPECT_TRUE(markers().empty()) << "hidden in the same frame";
}

TEST_F(PlayerMarkers, AddingAClientTwiceKeepsOneMarkerAndRemovingForgetsIt) {
    hud->addMarker(7);
    hud->addMarker(7);
    EXPECT_EQ(hud->getMarkerCount(), 1u);
    EXPECT_EQ(hud->getChildrenCount(), 1u);
    EXPECT_NE(hud->getMarker(7), nullptr);
    EXPECT_FALSE(hud->getMarker(7)->isVisible()) << "markers start hidden";

    place(7, {0, 0});
    frame(0.0f);
    EXPECT_EQ(markers().size(), 1u);
    hud->removeMarker(7);
    hud->removeMarker(12);  // never added
    frame(0.0f);
    EXPECT_TRUE(markers().empty());
    EXPECT_EQ(hud->getMarkerCount(), 0u);
    EXPECT_EQ(hud->getChildrenCount(), 0u);
}

}  // namespace
