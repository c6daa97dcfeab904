#pragma once

#include <array>
#include <functional>
#include <initializer_list>

#include "engine/Types.h"

// The shapes of the dialog window, engine-free: the box polygon and its
// hand-drawn jitter, the avatar frame, the name plate, the box's size, and
// where the arrow toward the speaking character goes. Units are those of the
// box's own space.

// Four corners in the order lower-left, upper-left, upper-right, lower-right.
using DialogQuad = std::array<cocos2d::Vec2, 4>;

// The box around n lines whose widest line's extent is (w, h), before jitter.
DialogQuad dialogBoxCorners(float w, float h, int n);
// Every coordinate of every corner moved outward (lower-left x-, y-; upper-
// left x-, y+; upper-right x+, y+; lower-right x+, y-) by `amount` times a
// draw of `unit` (a float in [0, 1)); draws in corner order, x before y.
DialogQuad jitterOutward(const DialogQuad& quad, float amount, const std::function<float()>& unit);
// The larger of the top and bottom edges' widths and of the right and left
// edges' heights.
cocos2d::Size dialogQuadExtent(const DialogQuad& quad);
// The 70 x 70 avatar frame whose lower-right corner is the box's upper-left
// corner + (35, -15).
DialogQuad dialogAvatarFrame(const DialogQuad& box);
// The name plate of size `plate` on the box's upper-left corner + (35, 0): a
// parallelogram leaning right.
DialogQuad dialogNamePlate(const DialogQuad& box, const cocos2d::Size& plate);

// The point of the segment a-b nearest to p.
cocos2d::Vec2 nearestPointOnSegment(const cocos2d::Vec2& a, const cocos2d::Vec2& b, const cocos2d::Vec2& p);

// Where the speaker arrow goes for a speaker at `speaker` (box space): on the
// box's inner outline (corners moved 16 inward), at the point nearest the
// speaker (of equally near edges the first of left, top, right, bottom),
// turned to point at the speaker (degrees, 0 up, clockwise).
struct DialogArrowPlacement {
    cocos2d::Vec2 position;
    float rotation = 0.0f;
};
DialogArrowPlacement placeDialogArrow(const DialogQuad& box, const cocos2d::Vec2& speaker);

// The rectangle in which a speaker needs no arrow: the box's rectangle in its
// parent moved by (-18, -(height - 40)).
cocos2d::Rect dialogArrowFreeRect(const cocos2d::Rect& boxInParent);

// The rectangle that holds every corner of the quads, grown by `border` on
// every side (half the width of an outline drawn around them).
cocos2d::Rect dialogQuadBounds(std::initializer_list<DialogQuad> quads, float border);
// How far `bounds` moves to lie inside `area`: not at all when it does; else
// by the least that brings it in. A rectangle wider than the area keeps its
// left edge on the area's, one taller keeps its top edge on the area's (where
// the speaker's name and the first line are).
cocos2d::Vec2 dialogShiftIntoArea(const cocos2d::Rect& bounds, const cocos2d::Rect& area);
