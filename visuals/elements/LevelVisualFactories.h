#pragma once

#include <memory>

#include "presentation/scene/SceneVisualFactories.h"

// The trap and map element visual factories of one level, made over the
// in-game scene's parts: the two share the scene's floor-tile table (the
// element factory fills it, the trap adapters hide and show the floor under
// their traps), its drawing-order calculator and the loaded room's grid. The
// element factory enters the speaking characters into the scene's speaker
// nodes. Called by the in-game scene once the room is loaded; main thread.
std::unique_ptr<SceneVisualFactories> makeLevelVisualFactories(const SceneVisualContext& context);
