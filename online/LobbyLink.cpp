#include "online/LobbyLink.h"

#include <exception>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "foundation/Error.h"
#include "net/Packet.h"

namespace ZarnOnline {

namespace {

using Convinience::InvalidCommandDataException;

std::string readBoundedString(Convinience::ByteReader& reader, std::size_t limit, const char* what) {
    std::string text = reader.readString();
    if (text.size() > limit) throw InvalidCommandDataException(std::string("link: ") + what + " too long");
    return text;
}

void writeBody(Convinience::Buffer& buffer, const LinkMessage& message) {
    switch (message.kind) {
        case link::hello:
            buffer.appendU32(message.version);
            break;
        case link::welcome:
            buffer.appendU32(message.version);
            buffer.appendU32(message.players);
            break;
        case link::grant:
            buffer.appendU32(message.instance.instanceID);
            buffer.appendU32(message.instance.mapHash);
            buffer.appendU32(message.instance.capacity);
            buffer.appendU8(message.instance.instanceFlag);
            Convinience::writeString(buffer, message.instance.endpoint);
            message.player.serialize(buffer);
            Convinience::writeString(buffer, message.address);
            break;
        case link::revoke:
        case link::playerLeft:
        case link::placed:
            buffer.appendU32(message.instance.instanceID);
            buffer.appendU32(message.player.clientID);
            break;
        case link::gameEnded:
            buffer.appendU32(message.instance.instanceID);
            break;
        default:
            throw Convinience::Error("not a link message");
    }
}

void readBody(Convinience::ByteReader& reader, LinkMessage& message) {
    switch (message.kind) {
        case link::hello:
            message.version = reader.readU32();
            break;
        case link::welcome:
            message.version = reader.readU32();
            message.players = reader.readU32();
            break;
        case link::grant: {
            message.instance.instanceID = reader.readU32();
            message.instance.mapHash = reader.readU32();
            message.instance.capacity = reader.readU32();
            message.instance.instanceFlag = reader.readU8();
            message.instance.endpoint = readBoundedString(reader, link::kMaxEndpointBytes, "endpoint");
            message.player = Zarn::PlayerInfo(reader);
            message.address = readBoundedString(reader, link::kMaxAddressBytes, "address");
            if (message.player.name.size() > Zarn::PlayerInfo::kMaxNameBytes)
                throw InvalidCommandDataException("link: name too long");
            if (message.instance.capacity < 1 || message.instance.capacity > link::kMaxCapacity)
                throw InvalidCommandDataException("link: capacity out of range");
            break;
        }
        case link::revoke:
        case link::playerLeft:
        case link::placed:
            message.instance.instanceID = reader.readU32();
            message.player.clientID = reader.readU32();
            break;
        case link::gameEnded:
            message.instance.instanceID = reader.readU32();
            break;
        default:
            throw InvalidCommandDataException("link: command " + std::to_string(message.kind));
    }
}

}  // namespace

std::vector<u8> encodeLinkMessage(u32 senderID, u32 number, const LinkMessage& message) {
    Convinience::Buffer body(64);
    Corvel::CommandHeader command(senderID, message.kind, 0, true);
    command.commandNumber = number;
    command.serialize(body);
    writeBody(body, message);
    Ferro::Packet1337 packet;
    packet.header.applicationId = Ferro::kApplicationId;
    packet.header.senderClientId = senderID;
    packet.header.destinationClientId = senderID == link::kLobbyId ? link::kGameServerId : link::kLobbyId;
    packet.header.reliable = 1;
    packet.payload = body.takeBytes();
    packet.header.payloadLength = static_cast<u32>(packet.payload.size());
    return packet.bytes();
}

LinkMessage decodeLinkMessage(const u8* bytes, std::size_t size) {
    try {
        Convinience::ByteReader reader(bytes, size);
        const Ferro::Packet1337Header header(reader);
        if (header.applicationId != Ferro::kApplicationId)
            throw InvalidCommandDataException("link: application ID");
        if (header.payloadLength != reader.remaining())
            throw InvalidCommandDataException("link: packet length");
        const Corvel::CommandHeader command(reader);
        if (command.clientId != header.senderClientId) throw InvalidCommandDataException("link: sender");
        LinkMessage message;
        message.kind = command.commandId;
        message.number = command.commandNumber;
        readBody(reader, message);
        if (!reader.atEnd()) throw InvalidCommandDataException("link: bytes left over");
        return message;
    } catch (const InvalidCommandDataException&) {
        throw;
    } catch (const std::exception& e) {
        throw InvalidCommandDataException(std::string("link: ") + e.what());
    }
}

}  // namespace ZarnOnline
