#pragma once

#include <memory>

#include "presentation/scene/SceneVisualFactories.h"

// The trap and element visual factories of a level, over the scene's parts.
std::unique_ptr<SceneVisualFactories> makeLevelVisualFactories(const SceneVisualContext& context);
