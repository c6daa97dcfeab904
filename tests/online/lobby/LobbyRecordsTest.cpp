#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ByteReader.h"
#include "map/records/MultiplayerMapList.h"
#include "online/lobby/LobbyRecords.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/server/GameInstance.h"

using namespace ZarnLobby;
using Bytes = std::vector<u8>;

namespace {

Bytes le32(u32 v) {
    return {u8(v), u8(v >> 8), u8(v >> 16), u8(v >> 24)};
}

Bytes cat(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
}

}  // namespace

TEST(LobbyRecordsTest, ClientStatusGoldenBytesRoundTrip) {
    const ClientStatus status(0x0A0B0C0D, READY, 0x01020304);
    const Bytes golden = {0x0D, 0x0C, 0x0B, 0x0A, 0x05, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(status.toBytes(), golden);
    EXPECT_EQ(status.serializedSize(), 9u);
    Convinience::ByteReader reader(golden);
    const ClientStatus back(reader);
    EXPECT_EQ(back.clientID, 0x0A0B0C0Du);
    EXPECT_EQ(back.state, READY);
    EXPECT_EQ(back.roomID, 0x01020304u);
    EXPECT_TRUE(reader.atEnd());

    const ClientStatus zero;
    EXPECT_EQ(zero.toBytes(), Bytes(9, 0));
}

TEST(LobbyRecordsTest, GameRoomHeaderGoldenBytes) {
    GameRoomHeader header;
    header.roomID = 7;
    header.capacity = 4;
    header.clientCount = 2;
    header.roomValueA = 0x11;
    header.roomValueB = 0x22;
    const Bytes golden = cat({le32(7), le32(4), le32(2), le32(0x11), le32(0x22)});
    EXPECT_EQ(header.toBytes(), golden);
    Convinience::ByteReader reader(golden);
    const GameRoomHeader back(reader);
    EXPECT_EQ(back.toBytes(), golden);
}

TEST(LobbyRecordsTest, EmptyRoomIsTwentyBytesWithDefaults) {
    GameRoom room(3);
    EXPECT_EQ(room.capacity, 4u);
    const Bytes golden = cat({le32(3), le32(4), le32(0), le32(0), le32(0)});
    EXPECT_EQ(room.toBytes(), golden);

    Convinience::ByteReader reader(golden);
    auto back = GameRoom::read(reader);
    EXPECT_EQ(back->roomID, 3u);
    EXPECT_TRUE(back->statuses.empty());
    EXPECT_TRUE(back->index.empty());
    EXPECT_TRUE(reader.atEnd());
}

TEST(LobbyRecordsTest, RoomWithMembersGoldenBytesAndFirstDuplicateWins) {
    const Bytes golden = cat({le32(9), le32(2), le32(3), le32(5), le32(6),  //
                              le32(10), Bytes{IN_ROOM}, le32(9),            //
                              le32(11), Bytes{READY}, le32(9),              //
                              le32(10), Bytes{READY}, le32(1)});
    Convinience::ByteReader reader(golden);
    auto room = GameRoom::read(reader);
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(room->roomID, 9u);
    EXPECT_EQ(room->capacity, 2u);
    EXPECT_EQ(room->roomValueA, 5u);
    EXPECT_EQ(room->roomValueB, 6u);
    ASSERT_EQ(room->memberCount(), 2u);
    ASSERT_EQ(room->statuses.size(), 2u);
    EXPECT_EQ(room->find(10)->state, IN_ROOM);
    EXPECT_EQ(room->find(10)->roomID, 9u);
    EXPECT_EQ(room->find(10), &room->statuses.at(10));

    // Written back with the real member count: header, then each member once.
    const Bytes written = room->toBytes();
    ASSERT_EQ(written.size(), 20u + 2 * 9u);
    EXPECT_EQ(Bytes(written.begin(), written.begin() + 20),
              cat({le32(9), le32(2), le32(2), le32(5), le32(6)}));
    Convinience::ByteReader again(written);
    auto copy = GameRoom::read(again);
    EXPECT_EQ(copy->find(11)->state, READY);
    EXPECT_EQ(copy->find(10)->state, IN_ROOM);
}

TEST(LobbyRecordsTest, ShortOrLyingRoomBytesThrowBeforeAllocating) {
    const std::vector<Bytes> cases = {
        {},
        cat({le32(1), le32(4)}),                                       // short header
        cat({le32(1), le32(4), le32(1), le32(0), le32(0), le32(10)}),  // short status
        cat({le32(1), le32(4), le32(0xFFFFFFFF), le32(0), le32(0)}),   // lying count
    };
    for (const Bytes& bytes : cases) {
        Convinience::ByteReader reader(bytes);
        EXPECT_THROW(GameRoom::read(reader), Convinience::ReadPastEndError) << bytes.size();
    }
    const Bytes shortStatus = {1, 2, 3};
    Convinience::ByteReader reader(shortStatus);
    EXPECT_THROW(ClientStatus{reader}, Convinience::ReadPastEndError);
}

TEST(LobbyRecordsTest, PlayerInfoNameIsCutAtThirtySixBytes) {
    const Zarn::PlayerInfo info(12, 2, std::string(40, 'n'));
    const Bytes golden = cat({le32(12), Bytes{2}, le32(36), Bytes(36, 'n')});
    EXPECT_EQ(info.serializedSize(), 45u);
    EXPECT_EQ(info.toBytes(), golden);
    Convinience::ByteReader reader(golden);
    const Zarn::PlayerInfo back(reader);
    EXPECT_EQ(back.name, std::string(36, 'n'));
    EXPECT_EQ(back.number, 2);
}

TEST(LobbyRecordsTest, GameInstanceAndMapMetadataGoldenBytes) {
    Zarn::GameInstance instance;
    instance.instanceID = 5;
    instance.fromID = 1;
    instance.mapHash = 0;
    instance.instanceFlag = 1;
    instance.endpoint = "h:1";
    instance.players = {10};
    instance.playerInfos.emplace_back(10, 0, "ab");
    instance.spawnSeed = 0x01020304;
    const Bytes withoutSeed = cat({le32(5), le32(1), le32(0), Bytes{1}, le32(3), Bytes{'h', ':', '1'},
                                   le32(1), le32(10), le32(1), le32(10), Bytes{0}, le32(2), Bytes{'a', 'b'}});
    const Bytes golden = cat({withoutSeed, le32(0x01020304)});
    EXPECT_EQ(instance.toBytes(), golden);
    EXPECT_EQ(instance.serializedSize(), golden.size());
    Convinience::ByteReader reader(golden);
    const Zarn::GameInstance back(reader);
    EXPECT_EQ(back.spawnSeed, 0x01020304u);
    EXPECT_EQ(back.playerInfos.at(0).name, "ab");
    EXPECT_TRUE(reader.atEnd());

    // The layout without the seed still reads: no shared seed.
    Convinience::ByteReader older(withoutSeed);
    const Zarn::GameInstance old(older);
    EXPECT_EQ(old.spawnSeed, 0u);
    EXPECT_EQ(old.endpoint, "h:1");
    EXPECT_TRUE(older.atEnd());

    instance.players = {10, 11};
    instance.playerInfos.clear();
    EXPECT_EQ(instance.serializedSize(), 21u + 3 + 8 + 4 + 4);
    EXPECT_EQ(instance.toBytes().size(), 21u + 3 + 8 + 4 + 4);

    const Zarn::MapMetadata metadata(1, 117, 128);
    EXPECT_EQ(metadata.toBytes(), cat({le32(1), le32(117), le32(128)}));
}
