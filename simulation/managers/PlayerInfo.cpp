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
    writePlayerName(buffer, name);
}

u32 PlayerInfo::serializedSize() const {
    return 4 + 1 + playerNameSize(name);
}

u32 writePlayerName(Convinience::Buffer& buffer, const std::string& name) {
    const u32 n = std::min<u32>(static_cast<u32>(name.size()), PlayerInfo::kMaxNameBytes);
    buffer.appendU32(n);
    buffer.append(name.data(), n);
    return 4 + n;
}

u32 playerNameSize(const std::string& name) {
    return 4 + std::min<u32>(static_cast<u32>(name.size()), PlayerInfo::kMaxNameBytes);
}

u8 lowestFreePlayerNumber(const std::vector<u8>& taken) {
    std::vector<bool> used(256, false);
    for (u8 number : taken) used[number] = true;
    for (u32 number = 0; number < 255; ++number)
        if (!used[number]) return static_cast<u8>(number);
    return 255;
}

}  // namespace Zarn
