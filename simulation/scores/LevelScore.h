#pragma once

#include "foundation/Types.h"

namespace Zarn {

// One player's values of a level as the client sees them (parsed from the
// score block of each state synchronisation).
struct LevelScore {
    u32 deaths = 0;
    u32 lives = 0;
    u64 time = 0;  // milliseconds
    u32 money = 0;

    bool operator==(const LevelScore&) const = default;
};

// Stored and sent as a byte; the numbers are part of the progress rules.
enum class Medal : u8 { Gold = 0, Silver = 1, Bronze = 2, None = 3 };

// A value earns a medal when it is at most that medal's goal; the best medal
// earned wins. Comparisons are inclusive.
template <typename T>
Medal medalFor(T value, T goldGoal, T silverGoal, T bronzeGoal) {
    if (value <= goldGoal) return Medal::Gold;
    if (value <= silverGoal) return Medal::Silver;
    if (value <= bronzeGoal) return Medal::Bronze;
    return Medal::None;
}

}  // namespace Zarn
