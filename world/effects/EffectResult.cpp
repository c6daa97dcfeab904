#include "world/effects/EffectResult.h"

namespace Zarn {

std::unique_ptr<EffectResult> makeEffectResult(u32 kind, u32 unitHandle) {
    return std::make_unique<EffectResult>(1, kind, unitHandle);
}

std::unique_ptr<EffectResult> makeUnappliedEffectResult(u32 kind, u32 unitHandle) {
    return std::make_unique<EffectResult>(0, kind, unitHandle);
}

std::unique_ptr<NumberEffectResult> makeNumberEffectResult(u32 kind, u32 unitHandle, u32 number) {
    return std::make_unique<NumberEffectResult>(1, kind, unitHandle, number);
}

std::unique_ptr<NumberEffectResult> makeUnappliedNumberEffectResult(u32 kind, u32 unitHandle, u32 number) {
    return std::make_unique<NumberEffectResult>(0, kind, unitHandle, number);
}

std::unique_ptr<LeverEffectResult> makeLeverEffectResult(u32 unitHandle, InteractiveMapElement* lever) {
    return std::make_unique<LeverEffectResult>(1, EffectKind::lever, unitHandle, lever);
}

std::unique_ptr<LeverEffectResult> makeUnappliedLeverEffectResult(u32 unitHandle,
                                                                  InteractiveMapElement* lever) {
    return std::make_unique<LeverEffectResult>(0, EffectKind::lever, unitHandle, lever);
}

std::unique_ptr<CheckpointEffectResult> makeCheckpointEffectResult(u32 unitHandle, u32 number,
                                                                   u8 newlyReached) {
    return std::make_unique<CheckpointEffectResult>(1, unitHandle, number, newlyReached);
}

std::unique_ptr<CheckpointEffectResult> makeUnappliedCheckpointEffectResult(u32 unitHandle, u32 number,
                                                                            u8 newlyReached) {
    return std::make_unique<CheckpointEffectResult>(0, unitHandle, number, newlyReached);
}

}  // namespace Zarn
