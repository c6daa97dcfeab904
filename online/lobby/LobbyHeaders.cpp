#include "online/lobby/LobbyHeaders.h"

#include <algorithm>

namespace ZarnLobby {

u32 lobbyNameSize(const std::string& name) {
    return 4 + std::min<u32>(static_cast<u32>(name.size()), Zarn::PlayerInfo::kMaxNameBytes);
}

u32 writeLobbyName(Convinience::Buffer& buffer, const std::string& name) {
    const u32 n = std::min<u32>(static_cast<u32>(name.size()), Zarn::PlayerInfo::kMaxNameBytes);
    buffer.appendU32(n);
    buffer.append(name.data(), n);
    return 4 + n;
}

ClientQuickJoinHeader::ClientQuickJoinHeader(Convinience::ByteReader& reader)
    : value(reader.readU8()), name(reader.readString()) {}

void ClientQuickJoinHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU8(value);
    writeLobbyName(buffer, name);
}

u32 ClientQuickJoinHeader::serializedSize() const {
    return 1 + lobbyNameSize(name);
}

JoinInstanceHeader::JoinInstanceHeader(Convinience::ByteReader& reader)
    : instanceNumber(reader.readU32()), value(reader.readU8()), name(reader.readString()) {}

void JoinInstanceHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(instanceNumber);
    buffer.appendU8(value);
    writeLobbyName(buffer, name);
}

u32 JoinInstanceHeader::serializedSize() const {
    return 5 + lobbyNameSize(name);
}

QuickJoinHeader::QuickJoinHeader(Convinience::ByteReader& reader)
    : player(reader), text(reader.readString()), instance(reader) {}

void QuickJoinHeader::serialize(Convinience::Buffer& buffer) const {
    player.serialize(buffer);
    Convinience::writeString(buffer, text);
    instance.serialize(buffer);
}

u32 QuickJoinHeader::serializedSize() const {
    return player.serializedSize() + Convinience::stringSize(text) + instance.serializedSize();
}

}  // namespace ZarnLobby
