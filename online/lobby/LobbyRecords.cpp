#include "online/lobby/LobbyRecords.h"

#include <string>

namespace ZarnLobby {

ClientStatus::ClientStatus(Convinience::ByteReader& reader)
    : clientID(reader.readU32()), state(reader.readU8()), roomID(reader.readU32()) {}

void ClientStatus::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(clientID);
    buffer.appendU8(state);
    buffer.appendU32(roomID);
}

GameRoomHeader::GameRoomHeader(Convinience::ByteReader& reader)
    : roomID(reader.readU32()),
      capacity(reader.readU32()),
      clientCount(reader.readU32()),
      roomValueA(reader.readU32()),
      roomValueB(reader.readU32()) {}

void GameRoomHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(roomID);
    buffer.appendU32(capacity);
    buffer.appendU32(clientCount);
    buffer.appendU32(roomValueA);
    buffer.appendU32(roomValueB);
}

GameRoom::GameRoom(u32 roomID) : roomID(roomID), statuses(8), index(8) {
    statuses.max_load_factor(1.0f);
    index.max_load_factor(1.0f);
}

std::unique_ptr<GameRoom> GameRoom::read(Convinience::ByteReader& reader) {
    const GameRoomHeader header(reader);
    if (static_cast<u64>(header.clientCount) * ClientStatus::kSize > reader.remaining()) {
        throw Convinience::ReadPastEndError("room of " + std::to_string(header.clientCount) +
                                            " members passes the end of its bytes");
    }
    auto room = std::make_unique<GameRoom>(header.roomID);
    room->capacity = header.capacity;
    room->roomValueA = header.roomValueA;
    room->roomValueB = header.roomValueB;
    for (u32 i = 0; i < header.clientCount; ++i) room->add(ClientStatus(reader));
    return room;
}

void GameRoom::serialize(Convinience::Buffer& buffer) const {
    GameRoomHeader header;
    header.roomID = roomID;
    header.capacity = capacity;
    header.clientCount = static_cast<u32>(index.size());
    header.roomValueA = roomValueA;
    header.roomValueB = roomValueB;
    header.serialize(buffer);
    for (const auto& [id, status] : index) status->serialize(buffer);
}

u32 GameRoom::serializedSize() const {
    return GameRoomHeader::kSize + ClientStatus::kSize * static_cast<u32>(index.size());
}

ClientStatus& GameRoom::add(const ClientStatus& status) {
    auto [it, inserted] = statuses.try_emplace(status.clientID, status);
    index.try_emplace(status.clientID, &it->second);
    return it->second;
}

void GameRoom::remove(u32 clientID) {
    index.erase(clientID);
    statuses.erase(clientID);
}

ClientStatus* GameRoom::find(u32 clientID) {
    auto it = index.find(clientID);
    return it == index.end() ? nullptr : it->second;
}

}  // namespace ZarnLobby
