#pragma once

#include "engine/Types.h"

// The rotations (degrees, the engine's clockwise sense) of a two-segment arm
// whose segments point along -x at rotation 0 (anchored near their right
// ends): the upper segment turns about the shoulder, the lower one about the
// elbow. Used by the conveyor machine's hydraulic arms and the delivery
// drone's arms.
struct TwoBoneAngles {
    float upper = 0.0f;
    float lower = 0.0f;
    // The target lies at or beyond the arm's full length: the arm points
    // straight at it (lower 0).
    bool outOfReach = false;
    // A result that is not a number (a target at the shoulder, or closer
    // than |upperLength - lowerLength|): keep the current rotations.
    bool solved = true;
};

// delta: the target minus the shoulder, in the arm's space. Out of reach
// (|delta| >= sum of lengths): upper = 180 - a, lower 0, with a the angle of
// delta. Within reach, with the elbow angle A and the shoulder offset B of
// the triangle: delta.x < 0 gives lower = 180 + A, upper = 180 - (a - B);
// otherwise lower = 180 - A, upper = 180 - (a + B).
TwoBoneAngles solveTwoBoneArm(const cocos2d::Vec2& delta, float upperLength, float lowerLength);
