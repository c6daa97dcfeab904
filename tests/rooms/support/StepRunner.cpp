#include "rooms/support/StepRunner.h"

#include <cmath>
#include <cstdio>
#include <sstream>

namespace zarn_test {

using GeometryLib::FPoint;
using Zarn::SolutionStep;

namespace {

constexpr float kTick = 0.03f;
// A move has arrived once the rat is this close to the cell's point (map units).
constexpr float kArrived = 3.0f;

u32 ticksOf(float seconds) {
    return static_cast<u32>(std::lround(seconds / kTick));
}

std::string describe(const SolutionStep& s) {
    std::ostringstream out;
    switch (s.kind) {
        case SolutionStep::Kind::go:
            out << "go " << s.x << " " << s.y;
            break;
        case SolutionStep::Kind::move:
            out << "move " << s.x << " " << s.y;
            break;
        case SolutionStep::Kind::reach:
            out << "reach " << s.x << " " << s.y;
            break;
        case SolutionStep::Kind::wait:
            out << "wait " << s.seconds;
            break;
        case SolutionStep::Kind::until:
            out << "until " << s.seconds;
            break;
        case SolutionStep::Kind::dismiss:
            out << "dismiss";
            break;
    }
    out << " (line " << s.line << ")";
    return out.str();
}

}  // namespace

std::string timeOfTick(u32 tick) {
    char text[32];
    std::snprintf(text, sizeof text, "t=%.2f", tick * kTick);
    return text;
}

StepRunner::StepRunner(std::vector<SolutionStep> steps, u32 cellSize)
    : steps_(std::move(steps)), cellSize_(static_cast<float>(cellSize)) {}

FPoint StepRunner::centreOf(float x, float y) const {
    return FPoint((x + 0.5f) * cellSize_, (y + 0.5f) * cellSize_);
}

std::optional<Zarn::InputData> StepRunner::next(u32 tick, const FPoint& position, u32 state) {
    while (index_ < steps_.size()) {
        const SolutionStep& s = steps_[index_];
        if (!issued_) {
            issued_ = true;
            startTick_ = tick;
            log_.push_back(timeOfTick(tick) + " " + describe(s));
            if (s.kind == SolutionStep::Kind::go || s.kind == SolutionStep::Kind::move)
                return Zarn::InputData(1, centreOf(s.x, s.y));
            if (s.kind == SolutionStep::Kind::dismiss) return Zarn::InputData(2, FPoint());
        }
        bool done = true;
        switch (s.kind) {
            case SolutionStep::Kind::move: {
                const FPoint target = centreOf(s.x, s.y);
                done = std::hypot(position.x - target.x, position.y - target.y) < kArrived;
                break;
            }
            case SolutionStep::Kind::reach:
                done = static_cast<i32>(position.x / cellSize_) == static_cast<i32>(std::floor(s.x)) &&
                       static_cast<i32>(position.y / cellSize_) == static_cast<i32>(std::floor(s.y));
                break;
            case SolutionStep::Kind::wait:
                done = tick >= startTick_ + ticksOf(s.seconds);
                break;
            case SolutionStep::Kind::until:
                done = tick >= ticksOf(s.seconds);
                break;
            default:
                break;
        }
        // A dead or departed rat walks no further.
        if (!done || state != 0) return std::nullopt;
        ++index_;
        issued_ = false;
    }
    return std::nullopt;
}

}  // namespace zarn_test
