#include "visuals/elements/ArmSolver.h"

#include <cmath>

namespace {
constexpr float kDegrees = 180.0f / 3.14159265f;
}

TwoBoneAngles solveTwoBoneArm(const cocos2d::Vec2& delta, float upperLength, float lowerLength) {
    TwoBoneAngles out;
    const float d = std::sqrt(delta.x * delta.x + delta.y * delta.y);
    const float a = std::atan2(delta.y, delta.x);
    if (d >= upperLength + lowerLength) {
        out.outOfReach = true;
        out.upper = 180.0f - a * kDegrees;
        out.lower = 0.0f;
        return out;
    }
    const float l1 = upperLength;
    const float l2 = lowerLength;
    const float elbow = std::acos((l1 * l1 + l2 * l2 - d * d) / (2.0f * l1 * l2));
    const float shoulder = std::acos((d * d + l1 * l1 - l2 * l2) / (2.0f * l1 * d));
    if (delta.x < 0.0f) {
        out.lower = 180.0f + elbow * kDegrees;
        out.upper = 180.0f - (a - shoulder) * kDegrees;
    } else {
        out.lower = 180.0f - elbow * kDegrees;
        out.upper = 180.0f - (a + shoulder) * kDegrees;
    }
    out.solved = !std::isnan(out.upper) && !std::isnan(out.lower);
    return out;
}
