#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "../support/StateWorld.h"
#include "foundation/Error.h"
#include "simulation/state/GameState.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/SteerableIME.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/SpawningIntervalTrapState.h"

namespace {

using namespace Zarn;
using zarn_test::StateWorld;

std::string toHex(const std::vector<u8>& bytes) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (u8 b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 15];
    }
    return out;
}

std::vector<u8> hex(const std::string& text) {
    std::vector<u8> out;
    std::string digits;
    for (char c : text) {
        if (c != ' ') digits += c;
    }
    for (std::size_t i = 0; i + 1 < digits.size(); i += 2) {
        out.push_back(static_cast<u8>(std::stoul(digits.substr(i, 2), nullptr, 16)));
    }
    return out;
}

// A room whose traps and elements cover every state class.
struct Room {
    Room() {
        world.addTrap(1, 43);       // interval
        world.addTrap(2, 49);       // rat
        world.addTrap(3, 129);      // spawning
        world.addTrap(4, 132);      // follow-hit
        world.addTrap(5, 133);      // boss
        world.addTrap(6, 147);      // plain
        world.addElement(10, 35);   // on/off
        world.addElement(11, 36);   // door
        world.addElement(12, 60);   // elevator pad
        world.addElement(13, 140);  // plain
        world.addElement(14, 300);  // secondary unit
        world.addElement(15, 348);  // collectable
        world.addElement(16, 379);  // musical note
        world.addElement(17, 443);  // level-up mode
    }
    StateWorld world;
};

GameState fullState() {
    GameState s;
    s.tick = 0x0102;
    ClientState c;
    c.clientID = 5;
    c.mainState = 17;
    c.statusValues = {10};
    c.position = {1.0f, 2.0f};
    s.clientStates.push_back(c);
    s.inputStates.push_back(InputState(5, 3, {InputData(4, {1.0f, 2.0f})}));
    s.ackedInputs.push_back(AckedInputTicks(5, {1, 2}));
    s.mapState.trapStates.put(1, std::make_unique<IntervalTrapIMEState>(EIntervalTrapState::active));
    auto boss = std::make_unique<BossState>();
    boss->state = 2;
    boss->health = 3;
    s.mapState.trapStates.put(5, std::move(boss));
    s.mapState.elementStates.put(11, std::make_unique<DoorIMEState>(EDoorState::open));
    s.mapState.dialogPlaying = 1;
    s.mapState.dialogNumber = 9;
    return s;
}

struct RecordCase {
    const char* name;
    std::function<std::vector<u8>()> write;
    std::string expected;
    // Reads the bytes and writes what it read; answers the bytes read too.
    std::function<std::vector<u8>(Convinience::ByteReader&, const StateFactories&)> rewrite;
};

template <class R>
std::vector<u8> rewritePlain(Convinience::ByteReader& reader, const StateFactories&) {
    return R(reader).toBytes();
}

template <class R>
std::vector<u8> rewriteWithMap(Convinience::ByteReader& reader, const StateFactories& f) {
    return R(reader, f).toBytes();
}

TEST(SnapshotRecords, EachRecordWritesItsLayoutAndReadsBackByteExactly) {
    Room room;
    const std::vector<RecordCase> cases = {
        {"InputData",
         [] {
             return InputData(4, {1.0f, 2.0f}).toBytes();
         },
         "04 0000803f 00000040", rewritePlain<InputData>},
        {"InputState",
         [] {
             return InputState(7, 3, {InputData(4, {1.0f, 2.0f})}).toBytes();
         },
         "07000000 03000000 01000000 04 0000803f 00000040", rewritePlain<InputState>},
        {"InputState empty", [] { return InputState(7, 3).toBytes(); }, "07000000 03000000 00000000",
         rewritePlain<InputState>},
        {"AckedInputTicks",
         [] {
             return AckedInputTicks(7, {1, 2}).toBytes();
         },
         "07000000 02000000 01000000 02000000", rewritePlain<AckedInputTicks>},
        {"ClientState statuses first",
         [] {
             ClientState c;
             c.clientID = 5;
             c.mainState = 17;
             c.statusValues = {3, 10};
             c.position = {1.0f, 2.0f};
             c.velocity = {-1.0f, 0.0f};
             c.steering = {0.0f, 1.0f};
             return c.toBytes();
         },
         "02000000 03000000 0a000000 05000000 11000000 0000803f 00000040 000080bf 00000000 00000000 0000803f",
         rewritePlain<ClientState>},
        {"ClientState no statuses", [] { return ClientState().toBytes(); }, std::string(72, '0'),
         rewritePlain<ClientState>},
        {"GameStateHeader",
         [] {
             GameStateHeader h;
             h.tick = 1;
             h.clientStateCount = 2;
             h.inputStateCount = 3;
             h.ackedInputCount = 4;
             return h.toBytes();
         },
         "01000000 02000000 03000000 04000000", rewritePlain<GameStateHeader>},
        {"MapStateHeader",
         [] {
             MapStateHeader h;
             h.trapStateCount = 1;
             h.elementStateCount = 2;
             h.baseTick = 3;
             h.dialogPlaying = 1;
             return h.toBytes();
         },
         "01000000 02000000 03000000 01", rewritePlain<MapStateHeader>},
        {"MapState without dialog", [] { return MapState().toBytes(); }, "00000000 00000000 00000000 00",
         rewriteWithMap<MapState>},
        {"MapState every state class",
         [] {
             MapState m;
             m.baseTick = 4;
             m.trapStates.put(1, std::make_unique<IntervalTrapIMEState>());
             m.trapStates.put(2, std::make_unique<RatTrapIMEState>());
             auto spawning = std::make_unique<SpawningIntervalTrapState>();
             spawning->spawned.emplace_back(GeometryLib::Point(1, 2), 43, 20,
                                            IntervalTrapIMEState(EIntervalTrapState::active));
             m.trapStates.put(3, std::move(spawning));
             auto follow = std::make_unique<FollowHitTrapState>();
             follow->value = 2;
             follow->armPosition = GeometryLib::Point(3, 4);
             m.trapStates.put(4, std::move(follow));
             m.trapStates.put(5, std::make_unique<BossState>());
             m.trapStates.put(6, std::make_unique<InteractiveMapElementState>());
             m.elementStates.put(10, std::make_unique<OnOffIMEState>());
             m.elementStates.put(11, std::make_unique<DoorIMEState>());
             auto pad = std::make_unique<ElevatorPadState>();
             pad->value = 1;
             pad->payload = 0x01020304;
             m.elementStates.put(12, std::move(pad));
             auto plain = std::make_unique<InteractiveMapElementState>();
             plain->hidden = 1;
             m.elementStates.put(13, std::move(plain));
             auto unit = std::make_unique<SecondarySteerableUnitState>();
             unit->number = 14;
             unit->position = {1.0f, 2.0f};
             m.elementStates.put(14, std::move(unit));
             m.elementStates.put(15, std::make_unique<CollectableIMEState>(ECollectableState::taken));
             m.elementStates.put(16, std::make_unique<MusicalNoteIMEState>());
             m.elementStates.put(17, std::make_unique<LevelUpModeIMEState>());
             return m.toBytes();
         },
         "06000000 08000000 04000000 00"
         "01000000 0003"
         "02000000 0000"
         "03000000 00 01000000 02000100 2b000000 14000000 0001"
         "04000000 00 02 04000300"
         "05000000 000000"
         "06000000 00"
         "0a000000 0001"
         "0b000000 0001"
         "0c000000 00 01 04030201"
         "0d000000 01"
         "0e000000 00 00 0e000000 0000803f 00000040 0000000000000000 0000000000000000"
         "0f000000 0003"
         "10000000 0000"
         "11000000 0000",
         rewriteWithMap<MapState>},
        {"GameState empty", [] { return GameState().toBytes(); }, std::string(58, '0'),
         rewriteWithMap<GameState>},
        {"GameState full", [] { return fullState().toBytes(); },
         "02010000 01000000 01000000 01000000"
         "01000000 0a000000 05000000 11000000 0000803f 00000040 0000000000000000 0000000000000000"
         "05000000 03000000 01000000 04 0000803f 00000040"
         "05000000 02000000 01000000 02000000"
         "02000000 01000000 00000000 01"
         "01000000 0001"
         "05000000 000203"
         "0b000000 0000"
         "09000000",
         rewriteWithMap<GameState>},
        {"CommandData",
         [] {
             CommandData d;
             d.header = Corvel::CommandHeader(5, 3, 8, false);
             d.header.commandNumber = 2;
             return d.toBytes();
         },
         "05000000 03000000 02000000 08000000 00" + std::string(58, '0'), rewriteWithMap<CommandData>},
        {"KickPlayersHeader",
         [] {
             return KickPlayersHeader({4, 5}).toBytes();
         },
         "02000000 04000000 05000000", rewritePlain<KickPlayersHeader>},
        {"Uint32Serializable", [] { return Convinience::Uint32Serializable(6).toBytes(); }, "06000000",
         rewritePlain<Convinience::Uint32Serializable>},
    };
    for (const RecordCase& c : cases) {
        SCOPED_TRACE(c.name);
        const std::vector<u8> expected = hex(c.expected);
        EXPECT_EQ(toHex(c.write()), toHex(expected));
        Convinience::ByteReader reader(expected);
        EXPECT_EQ(toHex(c.rewrite(reader, room.world.factories)), toHex(expected));
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(SnapshotRecords, SizesFollowTheLayouts) {
    EXPECT_EQ(GameState().serializedSize(), 29u);
    EXPECT_EQ(InputState(1, 1).serializedSize(), 12u);
    EXPECT_EQ(InputState(1, 1, {InputData(), InputData()}).serializedSize(), 30u);
    EXPECT_EQ(ClientState().serializedSize(), 36u);
    EXPECT_EQ(AckedInputTicks(1, {1, 2, 3}).serializedSize(), 20u);
    MapState m;
    EXPECT_EQ(m.serializedSize(), 13u);
    m.dialogPlaying = 1;
    EXPECT_EQ(m.serializedSize(), 17u);
    const GameState full = fullState();
    EXPECT_EQ(full.serializedSize(), full.toBytes().size());
}

TEST(SnapshotRecords, ReadStateEqualsWrittenStateAndCopiesAreIndependent) {
    Room room;
    const GameState original = fullState();
    const std::vector<u8> bytes = original.toBytes();
    Convinience::ByteReader reader(bytes);
    const GameState read(reader, room.world.factories);
    EXPECT_EQ(read, original);

    GameState copy = read;
    copy.clientStates[0].position.x = 99.0f;
    copy.mapState.trapStates.put(1, std::make_unique<IntervalTrapIMEState>(EIntervalTrapState::idle));
    EXPECT_EQ(read, original);
    EXPECT_FALSE(copy == original);
}

TEST(SnapshotRecords, ReaderExpectingClientIdFirstWouldMisreadTheStatusCount) {
    ClientState c;
    c.clientID = 77;
    c.statusValues = {1, 2};
    const std::vector<u8> bytes = c.toBytes();
    Convinience::ByteReader reader(bytes);
    EXPECT_EQ(reader.readU32(), 2u);  // the status count, not the client ID
}

// Every way a received state can be short or lying ends in
// InvalidCommandDataException; nothing reads past the bytes.
TEST(SnapshotRecords, ShortOrLyingStatesThrowInvalidCommandData) {
    Room room;
    const std::vector<u8> good = fullState().toBytes();
    for (std::size_t n = 0; n < good.size(); ++n) {
        SCOPED_TRACE(n);
        std::vector<u8> cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        Convinience::ByteReader reader(cut);
        EXPECT_THROW(GameState(reader, room.world.factories), Convinience::InvalidCommandDataException);
    }

    struct Lie {
        const char* name;
        std::size_t offset;
        u32 value;
    };
    const std::vector<Lie> lies = {
        {"client state count", 4, 0xFFFFFFFF},
        {"input state count", 8, 0x40000000},
        {"acked count", 12, 0x10000000},
        {"status count", 16, 0xFFFFFFF0},
        {"trap count", 16 + 40 + 21 + 16, 0x7FFFFFFF},
        {"unknown trap number", 16 + 40 + 21 + 16 + 13, 77},
        {"duplicate trap number", 16 + 40 + 21 + 16 + 13 + 6, 1},
        {"unknown element number", 16 + 40 + 21 + 16 + 13 + 6 + 7, 88},
    };
    for (const Lie& lie : lies) {
        SCOPED_TRACE(lie.name);
        std::vector<u8> bad = good;
        for (int i = 0; i < 4; ++i) bad[lie.offset + i] = static_cast<u8>(lie.value >> (8 * i));
        Convinience::ByteReader reader(bad);
        EXPECT_THROW(GameState(reader, room.world.factories), Convinience::InvalidCommandDataException);
    }
}

TEST(SnapshotRecords, MapEntriesNeedTheGamesFactories) {
    const std::vector<u8> bytes = fullState().toBytes();
    Convinience::ByteReader reader(bytes);
    EXPECT_THROW(GameState(reader, StateFactories{}), Convinience::InvalidCommandDataException);

    const std::vector<u8> empty = GameState().toBytes();
    Convinience::ByteReader emptyReader(empty);
    EXPECT_NO_THROW(GameState(emptyReader, StateFactories{}));
}

}  // namespace
