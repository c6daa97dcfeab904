#pragma once

#include "foundation/Geometry.h"
#include "foundation/Serializable.h"
#include "simulation/managers/PlayerInfo.h"

namespace Zarn {

// Data of the server command 8: a player joins.
//
// | spawnMode | u8                 | 1 near another player, 2 at `point`,
// |           |                    | 3 no spawn step, else the default spawn
// | point     | GeometryLib::Point |
// | player    | PlayerInfo         |
class AddPlayerHeader : public Convinience::Serializable {
public:
    static constexpr u8 kNearPlayer = 1;
    static constexpr u8 kAtPoint = 2;
    static constexpr u8 kNoSpawn = 3;

    AddPlayerHeader() = default;
    AddPlayerHeader(u8 spawnMode, GeometryLib::Point point, PlayerInfo player)
        : spawnMode(spawnMode), point(point), player(std::move(player)) {}
    // Throws Convinience::ReadPastEndError or InvalidCommandDataException for
    // short or lying bytes.
    explicit AddPlayerHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return 1 + point.serializedSize() + player.serializedSize(); }

    u8 spawnMode = 0;
    GeometryLib::Point point;
    PlayerInfo player;
};

// Data of the client command 8: the joining player and where its unit stands.
//
// | player   | PlayerInfo         |
// | position | GeometryLib::Point |
class ClientAddPlayerHeader : public Convinience::Serializable {
public:
    ClientAddPlayerHeader() = default;
    ClientAddPlayerHeader(PlayerInfo player, GeometryLib::Point position)
        : player(std::move(player)), position(position) {}
    // Throws Convinience::ReadPastEndError or InvalidCommandDataException for
    // short or lying bytes.
    explicit ClientAddPlayerHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return player.serializedSize() + position.serializedSize(); }

    PlayerInfo player;
    GeometryLib::Point position;
};

}  // namespace Zarn
