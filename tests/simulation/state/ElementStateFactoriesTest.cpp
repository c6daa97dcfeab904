#include <gtest/gtest.h>

#include <typeindex>

#include "../support/StateWorld.h"
#include "foundation/Error.h"
#include "simulation/state/ElementStateFactories.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/SteerableIME.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/SpawningIntervalTrapState.h"

namespace {

using namespace Zarn;

const std::vector<u8> kZeros(64, 0);

std::string throwText(const std::function<void()>& fn) {
    try {
        fn();
    } catch (const std::exception& e) {
        return e.what();
    }
    return "";
}

TEST(ElementStateFactories, TrapTypesPickTheirStateClass) {
    const std::vector<std::pair<std::vector<u32>, std::type_index>> table = {
        {{43, 44, 45, 46, 55, 56, 121, 124, 128, 131, 134, 143, 356}, typeid(IntervalTrapIMEState)},
        {{47, 48, 49}, typeid(RatTrapIMEState)},
        {{129, 130}, typeid(SpawningIntervalTrapState)},
        {{50, 51, 132, 136}, typeid(FollowHitTrapState)},
        {{133}, typeid(BossState)},
        {{147}, typeid(InteractiveMapElementState)},
    };
    zarn_test::StateWorld world;
    u32 number = 1;
    for (const auto& [types, cls] : table) {
        for (u32 type : types) {
            SCOPED_TRACE(type);
            world.addTrap(number, type);
            Convinience::ByteReader reader(kZeros);
            auto state = world.trapFactory.create(number, reader);
            EXPECT_EQ(std::type_index(typeid(*state)), cls);
            EXPECT_EQ(reader.position(), state->serializedSize());
            ++number;
        }
    }
    for (u32 bad : {0u, 42u, 52u, 120u, 135u, 148u, 355u, 357u}) {
        SCOPED_TRACE(bad);
        Convinience::ByteReader reader(kZeros);
        EXPECT_EQ(throwText([&] { world.trapFactory.createForType(bad, reader); }), "Invalid trapID");
    }
}

TEST(ElementStateFactories, ElementTypesPickTheirStateClass) {
    const std::vector<std::pair<std::vector<u32>, std::type_index>> table = {
        {{35, 42, 59, 135, 440, 441, 442}, typeid(OnOffIMEState)},
        {{36, 37, 38, 164, 165, 166, 167}, typeid(DoorIMEState)},
        {{60}, typeid(ElevatorPadState)},
        {{138, 139, 140, 141, 142}, typeid(InteractiveMapElementState)},
        {{300, 301, 302, 358}, typeid(SecondarySteerableUnitState)},
        {{348, 351, 355}, typeid(CollectableIMEState)},
        {{379, 383, 384, 385, 386}, typeid(MusicalNoteIMEState)},
        {{443}, typeid(LevelUpModeIMEState)},
    };
    zarn_test::StateWorld world;
    u32 number = 1;
    for (const auto& [types, cls] : table) {
        for (u32 type : types) {
            SCOPED_TRACE(type);
            world.addElement(number, type);
            Convinience::ByteReader reader(kZeros);
            auto state = world.elementFactory.create(number, reader);
            EXPECT_EQ(std::type_index(typeid(*state)), cls);
            EXPECT_EQ(reader.position(), state->serializedSize());
            ++number;
        }
    }
    for (u32 bad : {0u, 34u, 39u, 61u, 137u, 143u, 347u, 356u, 380u, 444u}) {
        SCOPED_TRACE(bad);
        Convinience::ByteReader reader(kZeros);
        EXPECT_EQ(throwText([&] { NumberedElementStateFactoryImpl::createForType(bad, reader); }),
                  "invalid numbered element id");
    }
}

TEST(ElementStateFactories, LookupFailuresCarryTheirTexts) {
    zarn_test::StateWorld world;
    world.addGroupOnly(7, 43);
    world.numbered.add(9, nullptr);
    Convinience::ByteReader reader(kZeros);
    EXPECT_EQ(throwText([&] { world.trapFactory.create(7, reader); }), "invalid trap number");
    EXPECT_EQ(throwText([&] { world.trapFactory.create(8, reader); }), "invalid trap number");
    EXPECT_EQ(throwText([&] { world.elementFactory.create(1, reader); }), "No such element number");
    EXPECT_EQ(throwText([&] { world.elementFactory.create(9, reader); }),
              "numbered element is of wrong type");
}

TEST(ElementStateFactories, DefaultsAndShortBytes) {
    EXPECT_EQ(IntervalTrapIMEState().value, EIntervalTrapState::idle);
    EXPECT_EQ(static_cast<int>(OnOffIMEState().value), 1);
    EXPECT_EQ(static_cast<int>(DoorIMEState().value), 1);
    EXPECT_EQ(static_cast<int>(RatTrapIMEState().value), 0);
    EXPECT_EQ(static_cast<int>(CollectableIMEState().value), 0);
    const std::vector<u8> one = {0};
    Convinience::ByteReader reader(one);
    EXPECT_THROW(NumberedElementStateFactoryImpl::createForType(60, reader), Convinience::ReadPastEndError);
}

// Two games in one process read with their own maps: a number that is a
// door in one room and a lever in the other is rebuilt by each game's table.
TEST(ElementStateFactories, EachGameReadsWithItsOwnMap) {
    zarn_test::StateWorld client;
    zarn_test::StateWorld server;
    client.addElement(4, 36);
    server.addElement(4, 35);
    const std::vector<u8> bytes = {0, 0};
    Convinience::ByteReader a(bytes);
    Convinience::ByteReader b(bytes);
    EXPECT_EQ(std::type_index(typeid(*client.elementFactory.create(4, a))),
              std::type_index(typeid(DoorIMEState)));
    EXPECT_EQ(std::type_index(typeid(*server.elementFactory.create(4, b))),
              std::type_index(typeid(OnOffIMEState)));
}

}  // namespace
