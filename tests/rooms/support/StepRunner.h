#pragma once

#include <optional>
#include <string>
#include <vector>

#include "foundation/Geometry.h"
#include "simulation/state/InputState.h"
#include "tools/SolutionScript.h"

namespace zarn_test {

// A tick's time as the run logs write it: "t=1.20" (0.03 s ticks).
std::string timeOfTick(u32 tick);

// Plays one player's steps of a recorded solution. Told the unit's state as
// the server sent it, tick by tick, it answers the input to send before the
// next tick (at most one per tick).
class StepRunner {
public:
    StepRunner(std::vector<Zarn::SolutionStep> steps, u32 cellSize);

    std::optional<Zarn::InputData> next(u32 tick, const GeometryLib::FPoint& position, u32 state);
    bool finished() const { return index_ >= steps_.size(); }
    // What the runner did, one line per step: "t=1.20 move 5 2 (line 7)".
    const std::vector<std::string>& log() const { return log_; }

private:
    GeometryLib::FPoint centreOf(float x, float y) const;

    std::vector<Zarn::SolutionStep> steps_;
    float cellSize_;
    std::size_t index_ = 0;
    bool issued_ = false;
    u32 startTick_ = 0;
    std::vector<std::string> log_;
};

}  // namespace zarn_test
