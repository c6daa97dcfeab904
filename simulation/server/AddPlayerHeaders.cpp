#include "simulation/server/AddPlayerHeaders.h"

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"

namespace Zarn {

AddPlayerHeader::AddPlayerHeader(Convinience::ByteReader& reader)
    : spawnMode(reader.readU8()), point(reader), player(reader) {}

void AddPlayerHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU8(spawnMode);
    point.serialize(buffer);
    player.serialize(buffer);
}

ClientAddPlayerHeader::ClientAddPlayerHeader(Convinience::ByteReader& reader)
    : player(reader), position(reader) {}

void ClientAddPlayerHeader::serialize(Convinience::Buffer& buffer) const {
    player.serialize(buffer);
    position.serialize(buffer);
}

}  // namespace Zarn
