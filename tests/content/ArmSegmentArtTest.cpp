#include <gtest/gtest.h>

#include "AssetNames.h"
#include "SheetPixels.h"
#include "engine/FileUtils.h"
#include "engine/SpriteFrameCache.h"
#include "engine/Texture2D.h"
#include "visuals/elements/ConveyorMachine.h"
#include "visuals/elements/DeliveryDrone.h"

using namespace cocos2d;

namespace {

// The jointed arms of the delivery drone and of the conveyor machine, built
// over the generated sheets: each segment turns about a pivot at 0.93 of its
// width and half its height, so its picture must lie along x; the forearm
// hangs from the upper segment's far end at the height the code gives it,
// which must be the upper segment's middle, or the arm draws as bars that
// cross instead of one limb.
class ArmSegmentArt : public ::testing::Test {
protected:
    zarn_test::LoadedSheets sheets;

    // The segments of one arm: lying along x, the forearm on the upper
    // segment's axis at its far end.
    static void expectOneLimb(const Sprite* upper, const Sprite* forearm, const char* arm) {
        for (const Sprite* segment : {upper, forearm}) {
            const Size size = segment->getContentSize();
            EXPECT_GE(size.width, 2.5f * size.height)
                << arm << ": a segment lies along the axis it turns about";
        }
        EXPECT_EQ(forearm->getParent(), upper) << arm;
        EXPECT_FLOAT_EQ(forearm->getPositionX(), 0.0f) << arm << ": the forearm hangs from the far end";
        EXPECT_FLOAT_EQ(forearm->getPositionY(), upper->getContentSize().height / 2.0f)
            << arm << ": on the upper segment's axis";
    }
};

TEST_F(ArmSegmentArt, TheDroneAndTheMachineBendTheirArmsAsOneLimb) {
    DeliveryDrone* drone = DeliveryDrone::create();
    ASSERT_NE(drone, nullptr);
    drone->retain();
    for (const DeliveryDroneArm* arm : {drone->getArm1(), drone->getArm2()}) {
        expectOneLimb(arm->getUpperArm(), arm->getForearm(), "drone");
        // Both segments are long enough to reach with (width - 10, width - 30).
        EXPECT_GT(arm->upperArmLength(), 0.0f);
        EXPECT_GT(arm->forearmLength(), 0.0f);
    }
    drone->release();

    HydrolicArm* machine = HydrolicArm::create();
    ASSERT_NE(machine, nullptr);
    machine->retain();
    expectOneLimb(machine->getBackArm(), machine->getForearm(), "machine");
    machine->release();
}

}  // namespace
