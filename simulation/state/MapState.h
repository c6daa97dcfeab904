#pragma once

#include "foundation/Serializable.h"
#include "simulation/state/ElementStateFactories.h"
#include "simulation/state/ElementStateTable.h"

namespace Zarn {

// | trapStateCount    | u32 |
// | elementStateCount | u32 |
// | baseTick          | u32 |
// | dialogPlaying     | u8  |
// 13 bytes.
class MapStateHeader : public Convinience::Serializable {
public:
    static constexpr u32 kSize = 13;

    MapStateHeader() = default;
    // Throws Convinience::InvalidCommandDataException when the bytes end early.
    explicit MapStateHeader(Convinience::ByteReader& reader);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override { return kSize; }

    u32 trapStateCount = 0;
    u32 elementStateCount = 0;
    u32 baseTick = 0;
    u8 dialogPlaying = 0;
};

// The traps, numbered elements and playing dialog of a room at one tick.
//
// | header       | MapStateHeader                                    |
// | trap entries | trapStateCount x {u32 trap number, state bytes}   |
// | elements     | elementStateCount x {u32 number, state bytes}     |
// | dialogNumber | u32, only when dialogPlaying is not 0             |
//
// The state bytes carry no class: the reader rebuilds each state with the
// game's factories from the element it names. baseTick 0: the state is
// complete; otherwise it holds only the entries that are new or changed
// against the full map state of the state with that tick.
class MapState : public Convinience::Serializable {
public:
    MapState() = default;
    MapState(const MapState&) = default;
    MapState& operator=(const MapState&) = default;
    MapState(MapState&&) noexcept = default;
    MapState& operator=(MapState&&) noexcept = default;
    // Throws Convinience::InvalidCommandDataException for short or lying
    // bytes, a number that names no element of the loaded map, a number that
    // appears twice, or entries of a kind without a factory.
    MapState(Convinience::ByteReader& reader, const StateFactories& factories);

    void serialize(Convinience::Buffer& buffer) const override;
    u32 serializedSize() const override;

    // The entries of current that base lacks or holds with another state;
    // dialog fields copied from current, baseTick left 0. Without a base
    // (null) the result has no entries. Entries only the base holds are not
    // expressed: the receiver keeps them.
    static MapState diffAgainst(const MapState* base, const MapState& current);
    // base (or an empty state when null) with every entry of delta laid over
    // it; dialog fields and baseTick from delta.
    static MapState layOver(const MapState* base, const MapState& delta);

    // Same scalar fields and same entries, in any order; dialogNumber only
    // counts while a dialog plays.
    bool operator==(const MapState& o) const;

    u8 dialogPlaying = 0;
    u32 dialogNumber = 0;
    u32 baseTick = 0;
    ElementStateTable trapStates;
    ElementStateTable elementStates;
};

}  // namespace Zarn
