#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "foundation/Serializable.h"
#include "simulation/managers/PlayerInfo.h"

namespace Zarn {

// One running game as the lobby hands it to a client, and as a server keeps
// it. Copy-assignable; used by one thread at a time (its owner's).
//
// | instanceID   | u32                                   |
// | fromID       | u32 (the game server's client ID)      |
// | mapHash      | u32                                   |
// | instanceFlag | u8                                    |
// | endpoint     | string (host:port)                    |
// | players      | u32 count + count x u32 client IDs     |
// | playerInfos  | u32 count + count x PlayerInfo         |
// | spawnSeed    | u32 (last; bytes that end before it: 0)  |
class GameInstance : public Convinience::Serializable {
public:
    GameInstance() = default;
    // Throws Convinience::ReadPastEndError for short or lying bytes. Bytes
    // that end right after the player infos (the layout without a seed) give
    // spawnSeed 0; the instance is therefore always the last record of a
    // payload.
    explicit GameInstance(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    u32 instanceID = 0;
    u32 fromID = 0;
    u32 mapHash = 0;
    u8 instanceFlag = 0;
    std::string endpoint;
    std::unordered_set<u32> players;
    std::vector<PlayerInfo> playerInfos;
    // What the trap spawners of every copy of the game's world draw from, so
    // that the server and its clients spawn the same traps; 0: no shared
    // seed (each spawner draws from the random device). Set by the server.
    u32 spawnSeed = 0;
};

}  // namespace Zarn
