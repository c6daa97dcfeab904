#pragma once

#include <vector>

#include "foundation/CommandHeader.h"
#include "foundation/Serializable.h"
#include "simulation/state/ClientState.h"
#include "simulation/state/InputState.h"
#include "simulation/state/MapState.h"

namespace Zarn {

// | tick             | u32 |
// | clientStateCount | u32 |
// | inputStateCount  | u32 |
// | ackedInputCount  | u32 |
// 16 bytes.
class GameStateHeader : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 16;

    GameStateHeader() = default;
    // Throws Convinience::InvalidCommandDataException when the bytes end early.
    explicit GameStateHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 tick = 0;
    u32 clientStateCount = 0;
    u32 inputStateCount = 0;
    u32 ackedInputCount = 0;
};

// The whole simulation at one tick, as the server sends it; also the client's
// state updates and inputs to the server.
//
// | header       | GameStateHeader                      |
// | clientStates | clientStateCount x ClientState       |
// | inputStates  | inputStateCount x InputState         |
// | ackedInputs  | ackedInputCount x AckedInputTicks    |
// | mapState     | MapState                             |
// An empty state is 29 bytes. Copies are independent of their source.
class GameState : public Convinience::Serializable {
public:
    GameState() = default;
    // Reads the bytes above; the map state with the game's factories. Throws
    // Convinience::InvalidCommandDataException for short or lying bytes.
    GameState(Convinience::ByteReader& reader, const StateFactories& factories);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;
    bool operator==(const GameState& o) const {
        return tick == o.tick && clientStates == o.clientStates && inputStates == o.inputStates &&
               ackedInputs == o.ackedInputs && mapState == o.mapState;
    }

    // The client state of a client ID, or null.
    const ClientState* findClient(u32 clientID) const;

    u32 tick = 0;
    std::vector<ClientState> clientStates;
    std::vector<InputState> inputStates;
    std::vector<AckedInputTicks> ackedInputs;
    MapState mapState;
};

// A received state synchronisation: the 17-byte command header immediately
// followed by a GameState. Bytes after the state (the score block) are left
// to the caller.
class CommandData : public Convinience::Serializable {
public:
    CommandData() = default;
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    CommandData(Convinience::ByteReader& reader, const StateFactories& factories);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return Corvel::CommandHeader::kSize + state.serializedSize(); }

    Corvel::CommandHeader header;
    GameState state;
};

// The payload of a kick: | count | u32 |  | clientIDs | count x u32 |
class KickPlayersHeader : public Convinience::Serializable {
public:
    KickPlayersHeader() = default;
    explicit KickPlayersHeader(std::vector<u32> ids) : clientIDs(std::move(ids)) {}
    // Throws Convinience::InvalidCommandDataException for short or lying bytes.
    explicit KickPlayersHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override {
        Convinience::writeU32Vector(buffer, clientIDs);
    }
    u32 serializedSize() const override { return Convinience::u32VectorSize(clientIDs); }

    std::vector<u32> clientIDs;
};

}  // namespace Zarn
