#include "simulation/state/GameState.h"

#include "simulation/state/RecordRead.h"

namespace Zarn {

GameStateHeader::GameStateHeader(Convinience::ByteReader& reader) {
    readReceived([&] {
        tick = reader.readU32();
        clientStateCount = reader.readU32();
        inputStateCount = reader.readU32();
        ackedInputCount = reader.readU32();
    });
}

void GameStateHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(tick);
    buffer.appendU32(clientStateCount);
    buffer.appendU32(inputStateCount);
    buffer.appendU32(ackedInputCount);
}

GameState::GameState(Convinience::ByteReader& reader, const StateFactories& factories) {
    const GameStateHeader header(reader);
    // Every counted record has a least size; check them all against what
    // remains (with the map state's header) before anything is reserved.
    const u64 least = u64{header.clientStateCount} * ClientState::kMinSize +
                      u64{header.inputStateCount} * 12 + u64{header.ackedInputCount} * 8 +
                      MapStateHeader::kSize;
    if (least > reader.remaining()) {
        throw Convinience::InvalidCommandDataException("game state counts exceed the bytes that remain");
    }
    tick = header.tick;
    clientStates.reserve(header.clientStateCount);
    for (u32 i = 0; i < header.clientStateCount; ++i) clientStates.emplace_back(reader);
    inputStates.reserve(header.inputStateCount);
    for (u32 i = 0; i < header.inputStateCount; ++i) inputStates.emplace_back(reader);
    ackedInputs.reserve(header.ackedInputCount);
    for (u32 i = 0; i < header.ackedInputCount; ++i) ackedInputs.emplace_back(reader);
    mapState = MapState(reader, factories);
}

void GameState::serialize(Convinience::Buffer& buffer) const {
    GameStateHeader header;
    header.tick = tick;
    header.clientStateCount = static_cast<u32>(clientStates.size());
    header.inputStateCount = static_cast<u32>(inputStates.size());
    header.ackedInputCount = static_cast<u32>(ackedInputs.size());
    header.serialize(buffer);
    for (const ClientState& c : clientStates) c.serialize(buffer);
    for (const InputState& i : inputStates) i.serialize(buffer);
    for (const AckedInputTicks& a : ackedInputs) a.serialize(buffer);
    mapState.serialize(buffer);
}

u32 GameState::serializedSize() const {
    u32 size = GameStateHeader::kSize;
    for (const ClientState& c : clientStates) size += c.serializedSize();
    for (const InputState& i : inputStates) size += i.serializedSize();
    for (const AckedInputTicks& a : ackedInputs) size += a.serializedSize();
    return size + mapState.serializedSize();
}

const ClientState* GameState::findClient(u32 clientID) const {
    for (const ClientState& c : clientStates) {
        if (c.clientID == clientID) return &c;
    }
    return nullptr;
}

CommandData::CommandData(Convinience::ByteReader& reader, const StateFactories& factories)
    : header(readReceived([&] { return Corvel::CommandHeader(reader); })), state(reader, factories) {}

void CommandData::serialize(Convinience::Buffer& buffer) const {
    header.serialize(buffer);
    state.serialize(buffer);
}

KickPlayersHeader::KickPlayersHeader(Convinience::ByteReader& reader) {
    readReceived([&] { clientIDs = reader.readU32Vector(); });
}

}  // namespace Zarn
