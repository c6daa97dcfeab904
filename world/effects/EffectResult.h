#pragma once

#include <memory>
#include <vector>

#include "foundation/Types.h"

namespace Zarn {

class InteractiveMapElement;

// Effect kinds: what an effect did (shared with the event triggers and rules).
namespace EffectKind {
inline constexpr u32 nothing = 0;
inline constexpr u32 kill = 1;
inline constexpr u32 checkpoint = 2;
inline constexpr u32 ratTrap = 3;
inline constexpr u32 vortex = 4;
inline constexpr u32 lever = 5;
inline constexpr u32 conveyor = 6;
inline constexpr u32 slow = 7;
inline constexpr u32 zeroFriction = 8;
inline constexpr u32 elevatorPad = 11;
inline constexpr u32 money = 12;
}  // namespace EffectKind

// What applying an effect did. `ids` holds the handle of the unit the effect
// was applied to (exactly one entry for every effect of the world).
struct EffectResult {
    EffectResult() = default;
    EffectResult(u8 applied, u32 kind, u32 unitHandle) : applied(applied), kind(kind), ids{unitHandle} {}
    virtual ~EffectResult() = default;

    // 1 when the effect acted, 0 when it declined.
    u8 applied = 0;
    u32 kind = EffectKind::nothing;
    std::vector<u32> ids;
};

// A result that reports an element number (the elevator pad's).
struct NumberEffectResult : EffectResult {
    NumberEffectResult() = default;
    NumberEffectResult(u8 applied, u32 kind, u32 unitHandle, u32 number)
        : EffectResult(applied, kind, unitHandle), number(number) {}
    u32 number = 0;
};

// The result of touching a lever or multi lever. The lever is owned by the
// world's element list and outlives the result.
struct LeverEffectResult : EffectResult {
    LeverEffectResult() = default;
    LeverEffectResult(u8 applied, u32 kind, u32 unitHandle, InteractiveMapElement* lever)
        : EffectResult(applied, kind, unitHandle), lever(lever) {}
    InteractiveMapElement* lever = nullptr;
};

// The result of touching a checkpoint: number is the checkpoint's; newlyReached
// is 1 when this was the unit's first checkpoint contact after a kill.
struct CheckpointEffectResult : NumberEffectResult {
    CheckpointEffectResult() = default;
    CheckpointEffectResult(u8 applied, u32 unitHandle, u32 number, u8 newlyReached)
        : NumberEffectResult(applied, EffectKind::checkpoint, unitHandle, number),
          newlyReached(newlyReached) {}
    u8 newlyReached = 0;
};

std::unique_ptr<EffectResult> makeEffectResult(u32 kind, u32 unitHandle);
std::unique_ptr<EffectResult> makeUnappliedEffectResult(u32 kind, u32 unitHandle);
std::unique_ptr<NumberEffectResult> makeNumberEffectResult(u32 kind, u32 unitHandle, u32 number);
std::unique_ptr<NumberEffectResult> makeUnappliedNumberEffectResult(u32 kind, u32 unitHandle, u32 number);
std::unique_ptr<LeverEffectResult> makeLeverEffectResult(u32 unitHandle, InteractiveMapElement* lever);
std::unique_ptr<LeverEffectResult> makeUnappliedLeverEffectResult(u32 unitHandle,
                                                                  InteractiveMapElement* lever);
std::unique_ptr<CheckpointEffectResult> makeCheckpointEffectResult(u32 unitHandle, u32 number,
                                                                   u8 newlyReached);
std::unique_ptr<CheckpointEffectResult> makeUnappliedCheckpointEffectResult(u32 unitHandle, u32 number,
                                                                            u8 newlyReached);

}  // namespace Zarn
