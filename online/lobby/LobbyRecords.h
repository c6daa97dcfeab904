#pragma once

#include <memory>
#include <unordered_map>

#include "foundation/ByteReader.h"
#include "foundation/Serializable.h"

namespace ZarnLobby {

// The lobby state byte of a client. 3 and 6 are never held by a client.
enum LobbyState : u8 {
    LOITERING = 0,
    ENTERING_ROOM = 1,
    IN_ROOM = 2,
    MAP_VERIFIED = 4,
    READY = 5,
    GAME_LOADED = 7,
    SIMULATING = 8,
    WAITING_QUICK_JOIN = 9,
};

// One client's place in the lobby (9 bytes).
//
// | clientID | u32 (0 until the server assigns one)   |
// | state    | u8 (a LobbyState)                      |
// | roomID   | u32 (the room it is in or asks to join) |
class ClientStatus : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 9;

    ClientStatus() = default;
    ClientStatus(u32 clientID, u8 state, u32 roomID) : clientID(clientID), state(state), roomID(roomID) {}
    explicit ClientStatus(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 clientID = 0;
    u8 state = LOITERING;
    u32 roomID = 0;
};

// The fixed part of a room record (20 bytes): roomID, capacity, clientCount,
// roomValueA, roomValueB, each u32.
class GameRoomHeader : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 20;

    GameRoomHeader() = default;
    explicit GameRoomHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 roomID = 0;
    u32 capacity = 0;
    u32 clientCount = 0;
    u32 roomValueA = 0;
    u32 roomValueB = 0;
};

// A room with its members' statuses: a GameRoomHeader whose clientCount is
// the member count, then one ClientStatus per member in the index's order.
// Owned by one thread (the lobby client's update, or the lobby server's loop).
class GameRoom : public Convinience::Serializable {
public:
    static constexpr u32 kDefaultCapacity = 4;

    explicit GameRoom(u32 roomID);
    GameRoom(const GameRoom&) = delete;
    GameRoom& operator=(const GameRoom&) = delete;

    // Reads a whole room record. A status whose clientID is already present
    // is skipped (the first one read wins). Throws
    // Convinience::ReadPastEndError when the bytes are short or the count
    // asks for more statuses than remain.
    static std::unique_ptr<GameRoom> read(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    // Adds the member unless its clientID is present; answers its entry.
    ClientStatus& add(const ClientStatus& status);
    void remove(u32 clientID);
    // The member's status, or null.
    ClientStatus* find(u32 clientID);
    u32 memberCount() const { return static_cast<u32>(index.size()); }

    u32 roomID;
    u32 roomValueA = 0;
    u32 capacity = kDefaultCapacity;
    u32 roomValueB = 0;
    // The member statuses by client ID; `index` holds the same keys and
    // points into `statuses` (whose nodes never move).
    std::unordered_map<u32, ClientStatus> statuses;
    std::unordered_map<u32, ClientStatus*> index;
};

}  // namespace ZarnLobby
