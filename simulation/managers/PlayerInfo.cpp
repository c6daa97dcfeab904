#include "simulation/managers/PlayerInfo.h"

#include <algorithm>

#include "simulation/state/RecordRead.h"

namespace Zarn {

PlayerInfo::PlayerInfo(Convinience::ByteReader& reader) {
    readReceived([&] {
        clientID = reader.readU32();
        number = reader.readU8();
        name = reader.readString();
    });
}

void PlayerInfo::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(clientID);
    buffer.appendU8(number);
    const u32 n = std::min<u32>(static_cast<u32>(name.size()), kMaxNameBytes);
    buffer.appendU32(n);
    buffer.append(name.data(), n);
}

u32 PlayerInfo::serializedSize() const {
    return 4 + 1 + 4 + std::min<u32>(static_cast<u32>(name.size()), kMaxNameBytes);
}

}  // namespace Zarn
