#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "world/elements/InteractiveMapElementState.h"

namespace Zarn {

// One trap made by a spawning trap, as its spawner's state reports it.
//
// | offset | field      | type                           |
// |--------|------------|--------------------------------|
// | 0      | position   | Point (cell)                   |
// | 4      | trapType   | u32: the spawned record's ID   |
// | 8      | trapNumber | u32                            |
// | 12     | trapState  | u8 hidden, u8 value            |
class SpawnedIntervalTrapState : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 14;

    SpawnedIntervalTrapState() = default;
    SpawnedIntervalTrapState(const GeometryLib::Point& position, u32 trapType, u32 trapNumber,
                             const IntervalTrapIMEState& trapState)
        : position(position), trapType(trapType), trapNumber(trapNumber), trapState(trapState) {}
    explicit SpawnedIntervalTrapState(Convinience::ByteReader& reader)
        : position(reader), trapType(reader.readU32()), trapNumber(reader.readU32()), trapState(reader) {}

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return position.serializedSize() + 8 + trapState.serializedSize(); }
    bool operator==(const SpawnedIntervalTrapState& other) const;

    GeometryLib::Point position;
    u32 trapType = 0;
    u32 trapNumber = 0;
    IntervalTrapIMEState trapState;
};

// The state of a spawning trap: the traps it has made, in its table's order.
// Server and clients exchange these bytes.
//
// | offset | field   | type                                      |
// |--------|---------|-------------------------------------------|
// | 0      | hidden  | u8                                        |
// | 1      | count   | u32                                       |
// | 5      | spawned | count x SpawnedIntervalTrapState (14 each) |
class SpawningIntervalTrapState : public InteractiveMapElementState {
public:
    SpawningIntervalTrapState() = default;
    // Reads the bytes above; throws Convinience::ReadPastEndError when they end
    // early or the count asks for more entries than the bytes hold.
    explicit SpawningIntervalTrapState(Convinience::ByteReader& reader);
    // A state from received bytes (the first `length` bytes at `bytes`).
    static std::unique_ptr<SpawningIntervalTrapState> fromRaw(const u8* bytes, std::size_t length);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;
    // Equal when the other is a SpawningIntervalTrapState with the same hidden
    // byte and pairwise equal entries.
    bool operator==(const InteractiveMapElementState& other) const override;
    std::unique_ptr<InteractiveMapElementState> clone() const override {
        return std::make_unique<SpawningIntervalTrapState>(*this);
    }

    std::vector<SpawnedIntervalTrapState> spawned;
};

}  // namespace Zarn
