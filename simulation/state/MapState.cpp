#include "simulation/state/MapState.h"

#include <functional>

#include "simulation/state/RecordRead.h"

namespace Zarn {

namespace {

// The least bytes of one entry: its number and a state's hidden byte.
constexpr u64 kMinEntrySize = 5;

void readEntries(
    Convinience::ByteReader& reader, u32 count, ElementStateTable& table,
    const std::function<std::unique_ptr<InteractiveMapElementState>(u32, Convinience::ByteReader&)>& make,
    const char* kind) {
    for (u32 i = 0; i < count; ++i) {
        const u32 number = reader.readU32();
        if (table.contains(number)) {
            throw Convinience::InvalidCommandDataException(std::string("map state names ") + kind + " " +
                                                           std::to_string(number) + " twice");
        }
        table.put(number, make(number, reader));
    }
}

void writeEntries(Convinience::Buffer& buffer, const ElementStateTable& table) {
    for (const auto& [number, state] : table) {
        buffer.appendU32(number);
        state->serialize(buffer);
    }
}

u32 entriesSize(const ElementStateTable& table) {
    u32 size = 0;
    for (const auto& entry : table) size += 4 + entry.second->serializedSize();
    return size;
}

void diffTable(const ElementStateTable& base, const ElementStateTable& current, ElementStateTable& out) {
    for (const auto& [number, state] : current) {
        const InteractiveMapElementState* old = base.find(number);
        if (!old || *state != *old) out.put(number, state->clone());
    }
}

}  // namespace

MapStateHeader::MapStateHeader(Convinience::ByteReader& reader) {
    readReceived([&] {
        trapStateCount = reader.readU32();
        elementStateCount = reader.readU32();
        baseTick = reader.readU32();
        dialogPlaying = reader.readU8();
    });
}

void MapStateHeader::serialize(Convinience::Buffer& buffer) const {
    buffer.appendU32(trapStateCount);
    buffer.appendU32(elementStateCount);
    buffer.appendU32(baseTick);
    buffer.appendU8(dialogPlaying);
}

MapState::MapState(Convinience::ByteReader& reader, const StateFactories& factories) {
    const MapStateHeader header(reader);
    readReceived([&] {
        const u64 entries = u64{header.trapStateCount} + header.elementStateCount;
        if (entries * kMinEntrySize > reader.remaining()) {
            throw Convinience::InvalidCommandDataException("map state counts exceed the bytes that remain");
        }
        if (header.trapStateCount > 0 && !factories.traps) {
            throw Convinience::InvalidCommandDataException("map state with trap entries but no loaded map");
        }
        if (header.elementStateCount > 0 && !factories.elements) {
            throw Convinience::InvalidCommandDataException(
                "map state with element entries but no loaded map");
        }
        baseTick = header.baseTick;
        dialogPlaying = header.dialogPlaying;
        readEntries(
            reader, header.trapStateCount, trapStates,
            [&](u32 n, Convinience::ByteReader& r) { return factories.traps->create(n, r); }, "trap");
        readEntries(
            reader, header.elementStateCount, elementStates,
            [&](u32 n, Convinience::ByteReader& r) { return factories.elements->create(n, r); }, "element");
        if (dialogPlaying != 0) dialogNumber = reader.readU32();
    });
}

void MapState::serialize(Convinience::Buffer& buffer) const {
    MapStateHeader header;
    header.trapStateCount = static_cast<u32>(trapStates.size());
    header.elementStateCount = static_cast<u32>(elementStates.size());
    header.baseTick = baseTick;
    header.dialogPlaying = dialogPlaying;
    header.serialize(buffer);
    writeEntries(buffer, trapStates);
    writeEntries(buffer, elementStates);
    if (dialogPlaying != 0) buffer.appendU32(dialogNumber);
}

u32 MapState::serializedSize() const {
    return MapStateHeader::kSize + entriesSize(trapStates) + entriesSize(elementStates) +
           (dialogPlaying != 0 ? 4 : 0);
}

MapState MapState::diffAgainst(const MapState* base, const MapState& current) {
    MapState delta;
    delta.dialogPlaying = current.dialogPlaying;
    delta.dialogNumber = current.dialogNumber;
    if (!base) return delta;
    diffTable(base->trapStates, current.trapStates, delta.trapStates);
    diffTable(base->elementStates, current.elementStates, delta.elementStates);
    return delta;
}

MapState MapState::layOver(const MapState* base, const MapState& delta) {
    MapState result = base ? *base : MapState();
    for (const auto& [number, state] : delta.trapStates) result.trapStates.put(number, state->clone());
    for (const auto& [number, state] : delta.elementStates) result.elementStates.put(number, state->clone());
    result.dialogPlaying = delta.dialogPlaying;
    result.dialogNumber = delta.dialogNumber;
    result.baseTick = delta.baseTick;
    return result;
}

bool MapState::operator==(const MapState& o) const {
    if (dialogPlaying != o.dialogPlaying || baseTick != o.baseTick) return false;
    if (dialogPlaying != 0 && dialogNumber != o.dialogNumber) return false;
    return trapStates == o.trapStates && elementStates == o.elementStates;
}

}  // namespace Zarn
