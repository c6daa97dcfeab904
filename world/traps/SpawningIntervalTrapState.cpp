#include "world/traps/SpawningIntervalTrapState.h"

namespace Zarn {

void SpawnedIntervalTrapState::serialize(Convinience::Buffer& buffer) const {
    position.serialize(buffer);
    buffer.appendU32(trapType);
    buffer.appendU32(trapNumber);
    trapState.serialize(buffer);
}

bool SpawnedIntervalTrapState::operator==(const SpawnedIntervalTrapState& other) const {
    return position == other.position && trapType == other.trapType && trapNumber == other.trapNumber &&
           trapState == other.trapState;
}

SpawningIntervalTrapState::SpawningIntervalTrapState(Convinience::ByteReader& reader)
    : InteractiveMapElementState(reader) {
    const u32 count = reader.readCount(SpawnedIntervalTrapState::kSize);
    spawned.reserve(count);
    for (u32 i = 0; i < count; ++i) spawned.emplace_back(reader);
}

std::unique_ptr<SpawningIntervalTrapState> SpawningIntervalTrapState::fromRaw(const u8* bytes,
                                                                              std::size_t length) {
    Convinience::ByteReader reader(bytes, length);
    return std::make_unique<SpawningIntervalTrapState>(reader);
}

void SpawningIntervalTrapState::serialize(Convinience::Buffer& buffer) const {
    InteractiveMapElementState::serialize(buffer);
    buffer.appendU32(static_cast<u32>(spawned.size()));
    for (const SpawnedIntervalTrapState& s : spawned) s.serialize(buffer);
}

u32 SpawningIntervalTrapState::serializedSize() const {
    u32 size = InteractiveMapElementState::serializedSize() + 4;
    for (const SpawnedIntervalTrapState& s : spawned) size += s.serializedSize();
    return size;
}

bool SpawningIntervalTrapState::operator==(const InteractiveMapElementState& other) const {
    const auto* o = dynamic_cast<const SpawningIntervalTrapState*>(&other);
    return o && hidden == o->hidden && spawned == o->spawned;
}

}  // namespace Zarn
