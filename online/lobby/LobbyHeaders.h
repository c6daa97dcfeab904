#pragma once

#include <string>

#include "foundation/Serializable.h"
#include "map/records/MultiplayerMapList.h"
#include "simulation/managers/PlayerInfo.h"
#include "simulation/server/GameInstance.h"

namespace ZarnLobby {

// The payloads of the lobby commands. Little-endian; a name is written by
// Zarn::writePlayerName (a u32 length and at most 36 bytes). Reading throws
// Convinience::ReadPastEndError (or InvalidCommandDataException from a nested
// PlayerInfo) for short or lying bytes.

// A one-u32 payload: the room to join (5), the room entered (2), the player
// who is ready (13).
class RoomIDHeader : public Convinience::Serializable {
public:
    RoomIDHeader() = default;
    explicit RoomIDHeader(u32 value) : value(value) {}
    explicit RoomIDHeader(Convinience::ByteReader& reader) : value(reader.readU32()) {}

    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU32(value); }
    u32 serializedSize() const override { return 4; }

    u32 value = 0;
};
using JoinRoomHeader = RoomIDHeader;
using RoomEnteredHeader = RoomIDHeader;
using PlayerReadyHeader = RoomIDHeader;

// The map identity the server asks the client to check (12 bytes).
class VerifyMapHeader : public Convinience::Serializable {
public:
    VerifyMapHeader() = default;
    explicit VerifyMapHeader(const Zarn::MapMetadata& metadata) : metadata(metadata) {}
    explicit VerifyMapHeader(Convinience::ByteReader& reader) : metadata(reader) {}

    void serialize(Convinience::Buffer& buffer) const override { metadata.serialize(buffer); }
    u32 serializedSize() const override { return 12; }

    Zarn::MapMetadata metadata;
};

// u8 value, then the name: a quick join (20).
class ClientQuickJoinHeader : public Convinience::Serializable {
public:
    ClientQuickJoinHeader() = default;
    ClientQuickJoinHeader(u8 value, std::string name) : value(value), name(std::move(name)) {}
    explicit ClientQuickJoinHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    u8 value = 1;
    std::string name;
};

// u32 instance number, u8 value, then the name: join an instance (28).
class JoinInstanceHeader : public Convinience::Serializable {
public:
    JoinInstanceHeader() = default;
    JoinInstanceHeader(u32 instanceNumber, u8 value, std::string name)
        : instanceNumber(instanceNumber), value(value), name(std::move(name)) {}
    explicit JoinInstanceHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    u32 instanceNumber = 0;
    u8 value = 1;
    std::string name;
};

// The identity the server gives this client, a text the client does not use,
// and the game to load: a quick load (21).
class QuickJoinHeader : public Convinience::Serializable {
public:
    QuickJoinHeader() = default;
    explicit QuickJoinHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    Zarn::PlayerInfo player;
    std::string text;
    Zarn::GameInstance instance;
};

}  // namespace ZarnLobby
