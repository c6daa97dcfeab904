#include "net/Packet.h"

namespace Ferro {

Packet1337Header::Packet1337Header(Convinience::ByteReader& reader) {
    reader.require(kSize);
    applicationId = reader.readU32();
    sequenceNumber = reader.readU32();
    acknowledgedSequenceNumber = reader.readU32();
    acknowledgementMask = reader.readU32();
    unused = reader.readU32();
    senderClientId = reader.readU32();
    destinationClientId = reader.readU32();
    payloadLength = reader.readU32();
    reliable = reader.readU8();
}

void Packet1337Header::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(applicationId);
    buffer.appendU32(sequenceNumber);
    buffer.appendU32(acknowledgedSequenceNumber);
    buffer.appendU32(acknowledgementMask);
    buffer.appendU32(unused);
    buffer.appendU32(senderClientId);
    buffer.appendU32(destinationClientId);
    buffer.appendU32(payloadLength);
    buffer.appendU8(reliable);
}

Packet1337::Packet1337(Convinience::ByteReader& reader) : header(reader) {
    payload = reader.readBytes(header.payloadLength);
}

void Packet1337::serialize(Convinience::Buffer& buffer) const {
    header.serialize(buffer);
    if (!payload.empty()) buffer.append(payload.data(), static_cast<u32>(payload.size()));
}

std::vector<u8> Packet1337::bytes() const {
    Convinience::Buffer buffer(64);
    serialize(buffer);
    return buffer.takeBytes();
}

}  // namespace Ferro
