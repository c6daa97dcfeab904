#include <gtest/gtest.h>

#include <vector>

#include "foundation/Error.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using namespace Zarn;

TEST(PerClientManagers, SecondAddKeepsTheFirstEntry) {
    SteerableUnitManager units;
    units.addClient(3);
    units.getUnit(3).body().position = {5.0f, 6.0f};
    units.addClient(3);
    EXPECT_EQ(units.getUnit(3).body().position, GeometryLib::FPoint(5.0f, 6.0f));

    PlayerInfoManager infos(true);
    infos.addClient(3);
    EXPECT_EQ(infos.getInfo(3).name, "Player#3");
    infos.getInfo(3).name = "Ada";
    infos.addClient(3);
    EXPECT_EQ(infos.getInfo(3).name, "Ada");

    InputManager inputs;
    inputs.addClient(3);
    inputs.pushInput(3, InputData(4, {}));
    inputs.addClient(3);
    EXPECT_TRUE(inputs.hasInput(3));
}

TEST(PerClientManagers, UnknownClients) {
    PlayerInfoManager infos;
    infos.addClient(1);
    EXPECT_EQ(infos.getInfo(1).name, "");
    EXPECT_THROW(
        {
            try {
                infos.getInfo(2);
            } catch (const Convinience::Error& e) {
                EXPECT_STREQ(e.what(), "no such player info");
                throw;
            }
        },
        Convinience::Error);

    InputManager inputs;
    EXPECT_FALSE(inputs.hasInput(9));
    EXPECT_THROW(inputs.pushInput(9, InputData()), NonexistantInputClientIDException);
    EXPECT_THROW(inputs.clearInput(9), NonexistantInputClientIDException);

    SteerableUnitManager units;
    EXPECT_THROW(units.getUnit(4), Convinience::ClientIDNotFoundException);
    units.removeClient(4);  // ignored
}

TEST(PerClientManagers, InputQueuesInOrderUntilCleared) {
    InputManager inputs;
    inputs.addClient(1);
    inputs.pushInput(1, InputData(4, {1.0f, 0.0f}));
    inputs.pushInput(1, InputData(5, {2.0f, 0.0f}));
    std::vector<u8> kinds;
    inputs.forEachClient([&](u32, InputManager::InputList& list) {
        for (const InputData& d : list) kinds.push_back(d.kind);
    });
    EXPECT_EQ(kinds, (std::vector<u8>{4, 5}));
    inputs.clearInput(1);
    EXPECT_FALSE(inputs.hasInput(1));
    inputs.removeClient(1);
    EXPECT_FALSE(inputs.hasClient(1));
}

TEST(PerClientManagers, PlayerInfoWireCapsTheName) {
    PlayerInfo info(7, 2, std::string(50, 'x'));
    const std::vector<u8> bytes = info.toBytes();
    ASSERT_EQ(bytes.size(), 4u + 1 + 4 + 36);
    EXPECT_EQ(info.serializedSize(), bytes.size());
    Convinience::ByteReader reader(bytes);
    const PlayerInfo read(reader);
    EXPECT_EQ(read.clientID, 7u);
    EXPECT_EQ(read.number, 2);
    EXPECT_EQ(read.name, std::string(36, 'x'));

    std::vector<u8> lying = bytes;
    lying[5] = 0xFF;  // name length far past the bytes
    Convinience::ByteReader bad(lying);
    EXPECT_THROW(PlayerInfo{bad}, Convinience::InvalidCommandDataException);
}

}  // namespace

namespace {

using Zarn::lowestFreePlayerNumber;

// A newcomer takes the lowest number no live player holds, so a leaver's
// number comes free and never doubles a live player's.
TEST(PlayerNumbers, ANewcomerTakesTheLowestNumberNoLivePlayerHolds) {
    struct Case {
        std::vector<u8> taken;
        u8 expected;
    };
    std::vector<u8> all;
    for (u32 n = 0; n < 256; ++n) all.push_back(static_cast<u8>(n));
    const Case cases[] = {
        {{}, 0},        {{0}, 1},   {{0, 1, 2}, 3}, {{1, 2}, 0},  // player 0 left
        {{0, 2, 3}, 1},  // player 1 left: not 3 (the count), which player 3 holds
        {{3, 1, 0}, 2},  // any order
        {{0, 0, 1}, 2}, {all, 255},
    };
    for (const Case& c : cases) EXPECT_EQ(lowestFreePlayerNumber(c.taken), c.expected) << c.taken.size();
}

}  // namespace
