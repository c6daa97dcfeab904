#include <gtest/gtest.h>

#include <sstream>

#include "rooms/support/ShippedRooms.h"
#include "visuals/elements/support/ElementSceneFixture.h"

namespace {

class ShippedRoomScene : public zarn_test::ElementSceneFixture,
                         public ::testing::WithParamInterface<std::string> {};

// Every shipped room, loaded on the headless engine as the in-game scene
// loads it, gets a picture for each of its traps and elements from the visual
// factories (which refuse a kind they cannot show), and ten seconds of ticks
// and frames run without a refusal.
TEST_P(ShippedRoomScene, ShowsEveryTrapAndElementAndRunsTenSeconds) {
    const std::vector<u8> bytes = zarn_test::shippedMap(GetParam());
    ASSERT_FALSE(bytes.empty()) << "maps/" << GetParam() << ".map is not built";
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    ASSERT_NO_THROW(load(in));
    EXPECT_FALSE(layer->getNode()->getChildren().empty());
    ASSERT_NO_THROW(run(10.0f));
    EXPECT_FALSE(seen.empty());
}

INSTANTIATE_TEST_SUITE_P(Rooms, ShippedRoomScene, ::testing::ValuesIn(zarn_test::shippedRooms()),
                         [](const auto& info) { return info.param; });

}  // namespace
