#include "simulation/server/GameInstance.h"

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"

namespace Zarn {

GameInstance::GameInstance(Convinience::ByteReader& reader)
    : instanceID(reader.readU32()),
      fromID(reader.readU32()),
      mapHash(reader.readU32()),
      instanceFlag(reader.readU8()),
      endpoint(reader.readString()) {
    const u32 playerCount = reader.readCount(4);
    for (u32 i = 0; i < playerCount; ++i) players.insert(reader.readU32());
    const u32 infoCount = reader.readCount(9);
    playerInfos.reserve(infoCount);
    for (u32 i = 0; i < infoCount; ++i) playerInfos.emplace_back(reader);
    if (!reader.atEnd()) spawnSeed = reader.readU32();
}

void GameInstance::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(instanceID);
    buffer.appendU32(fromID);
    buffer.appendU32(mapHash);
    buffer.appendU8(instanceFlag);
    Convinience::writeString(buffer, endpoint);
    buffer.appendU32(static_cast<u32>(players.size()));
    for (u32 id : players) buffer.appendU32(id);
    buffer.appendU32(static_cast<u32>(playerInfos.size()));
    for (const PlayerInfo& info : playerInfos) info.serialize(buffer);
    buffer.appendU32(spawnSeed);
}

u32 GameInstance::serializedSize() const {
    u32 size = 21 + static_cast<u32>(endpoint.size()) + 4 * static_cast<u32>(players.size()) + 4 + 4;
    for (const PlayerInfo& info : playerInfos) size += info.serializedSize();
    return size;
}

}  // namespace Zarn
