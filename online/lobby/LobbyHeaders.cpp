#include "online/lobby/LobbyHeaders.h"

namespace ZarnLobby {

using Zarn::playerNameSize;
using Zarn::writePlayerName;

ClientQuickJoinHeader::ClientQuickJoinHeader(Convinience::ByteReader& reader)
    : value(reader.readU8()), name(reader.readString()) {}

void ClientQuickJoinHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU8(value);
    writePlayerName(buffer, name);
}

u32 ClientQuickJoinHeader::serializedSize() const {
    return 1 + playerNameSize(name);
}

JoinInstanceHeader::JoinInstanceHeader(Convinience::ByteReader& reader)
    : instanceNumber(reader.readU32()), value(reader.readU8()), name(reader.readString()) {}

void JoinInstanceHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(instanceNumber);
    buffer.appendU8(value);
    writePlayerName(buffer, name);
}

u32 JoinInstanceHeader::serializedSize() const {
    return 5 + playerNameSize(name);
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
