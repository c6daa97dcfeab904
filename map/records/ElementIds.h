#pragma once

#include <algorithm>
#include <array>
#include <cstddef>

#include "foundation/Types.h"

namespace Zarn {

// A constant set of element type IDs, held sorted.
template <std::size_t N>
class ElementIdSet {
public:
    constexpr explicit ElementIdSet(const std::array<u32, N>& ids) : ids_(ids) {}

    constexpr bool contains(u32 id) const { return std::binary_search(ids_.begin(), ids_.end(), id); }
    // 1 when the set holds the ID, else 0.
    constexpr std::size_t count(u32 id) const { return contains(id) ? 1 : 0; }
    static constexpr std::size_t size() { return N; }
    constexpr auto begin() const { return ids_.begin(); }
    constexpr auto end() const { return ids_.end(); }

    // Sorted and without repeats; checked at compile time below.
    constexpr bool isStrictlyAscending() const {
        for (std::size_t i = 1; i < N; ++i) {
            if (ids_[i - 1] >= ids_[i]) return false;
        }
        return true;
    }

private:
    std::array<u32, N> ids_;
};

namespace detail {
template <u32 First, u32 Last>
constexpr std::array<u32, Last - First + 1> idRange() {
    std::array<u32, Last - First + 1> ids{};
    for (u32 i = 0; i < ids.size(); ++i) ids[i] = First + i;
    return ids;
}

template <std::size_t... Ns>
constexpr auto joinIds(const std::array<u32, Ns>&... parts) {
    std::array<u32, (Ns + ...)> ids{};
    std::size_t at = 0;
    ((std::copy(parts.begin(), parts.end(), ids.begin() + at), at += Ns), ...);
    return ids;
}

template <u32... Ids>
constexpr std::array<u32, sizeof...(Ids)> ids() {
    return {Ids...};
}
}  // namespace detail

// The element type IDs the game knows, by family. A map element record is read
// as a tile, free or logical record by the set that holds its ID (tile first,
// then free, then logical); an ID in none is refused. The element visual
// tables are keyed by exactly the tile and free sets: they attach a picture to
// each of these IDs and add no ID of their own.

// Whole-tile elements: floors, walls, conveyors, checkpoints, musical notes,
// entrances and exits (66 IDs).
inline constexpr ElementIdSet tileElementIds{
    detail::joinIds(detail::ids<29>(), detail::idRange<31, 34>(), detail::ids<42, 54>(),
                    detail::idRange<137, 140>(), detail::idRange<148, 153>(), detail::idRange<155, 158>(),
                    detail::ids<379, 383>(), detail::idRange<402, 442>(), detail::ids<444, 445>())};

// Free elements placed at a point in map units: doors, levers, the coin,
// furniture, windows, cameras, signs, the roomba, the drone, the cats, PART,
// the conveyor machine's arm base (101 IDs).
inline constexpr ElementIdSet freeElementIds{detail::joinIds(
    detail::idRange<35, 37>(), detail::ids<59, 135>(), detail::idRange<164, 167>(),
    detail::idRange<172, 174>(), detail::idRange<176, 178>(), detail::idRange<180, 190>(),
    detail::idRange<192, 194>(), detail::idRange<204, 206>(), detail::idRange<208, 210>(),
    detail::ids<212, 236, 237, 240, 241>(), detail::idRange<244, 251>(), detail::idRange<268, 270>(),
    detail::ids<276>(), detail::idRange<284, 286>(), detail::idRange<288, 290>(), detail::idRange<300, 302>(),
    detail::idRange<316, 324>(), detail::ids<328, 332, 336>(), detail::idRange<340, 348>(),
    detail::ids<358, 374>(), detail::idRange<387, 401>(), detail::ids<446, 447>())};

// Elements that exist in the game world only and are never shown.
inline constexpr ElementIdSet logicalElementIds{detail::ids<141, 142, 443>()};

static_assert(tileElementIds.size() == 66 && tileElementIds.isStrictlyAscending());
static_assert(freeElementIds.size() == 101 && freeElementIds.isStrictlyAscending());
static_assert(logicalElementIds.isStrictlyAscending());

}  // namespace Zarn
