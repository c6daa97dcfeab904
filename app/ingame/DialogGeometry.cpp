#include "app/ingame/DialogGeometry.h"

#include <algorithm>
#include <cmath>

using cocos2d::Rect;
using cocos2d::Size;
using cocos2d::Vec2;

DialogQuad dialogBoxCorners(float w, float h, int n) {
    const float bottom = -(static_cast<float>(n) * h + 10.0f);
    return {Vec2(-10.0f, bottom), Vec2(-10.0f, 30.0f), Vec2(w + 30.0f, 30.0f), Vec2(w + 30.0f, bottom)};
}

DialogQuad jitterOutward(const DialogQuad& quad, float amount, const std::function<float()>& unit) {
    // Outward direction of each corner's x and y.
    static constexpr float kSigns[4][2] = {{-1, -1}, {-1, 1}, {1, 1}, {1, -1}};
    DialogQuad moved = quad;
    for (std::size_t i = 0; i < moved.size(); ++i) {
        moved[i].x += kSigns[i][0] * amount * unit();
        moved[i].y += kSigns[i][1] * amount * unit();
    }
    return moved;
}

Size dialogQuadExtent(const DialogQuad& q) {
    return Size(std::max(q[2].x - q[1].x, q[3].x - q[0].x), std::max(q[2].y - q[3].y, q[1].y - q[0].y));
}

DialogQuad dialogAvatarFrame(const DialogQuad& box) {
    const Vec2 lowerRight = box[1] + Vec2(35.0f, -15.0f);
    const Vec2 lowerLeft = lowerRight - Vec2(70.0f, 0.0f);
    return {lowerLeft, lowerLeft + Vec2(0.0f, 70.0f), lowerRight + Vec2(0.0f, 70.0f), lowerRight};
}

DialogQuad dialogNamePlate(const DialogQuad& box, const Size& plate) {
    const Vec2 p0 = box[1] + Vec2(35.0f, 0.0f);
    const Vec2 p1 = p0 + Vec2(0.0f, plate.height);
    const Vec2 p2 = p1 + Vec2(plate.width + 10.0f, 0.0f);
    const Vec2 p3 = p2 - Vec2(10.0f, plate.height);
    return {p0, p1, p2, p3};
}

Vec2 nearestPointOnSegment(const Vec2& a, const Vec2& b, const Vec2& p) {
    const Vec2 ab = b - a;
    const float length2 = ab.x * ab.x + ab.y * ab.y;
    if (length2 <= 0.0f) return a;
    const float t = std::clamp(((p.x - a.x) * ab.x + (p.y - a.y) * ab.y) / length2, 0.0f, 1.0f);
    return a + ab * t;
}

DialogArrowPlacement placeDialogArrow(const DialogQuad& box, const Vec2& speaker) {
    const DialogQuad inner = {box[0] + Vec2(16.0f, 16.0f), box[1] + Vec2(16.0f, -16.0f),
                              box[2] + Vec2(-16.0f, -16.0f), box[3] + Vec2(-16.0f, 16.0f)};
    DialogArrowPlacement best;
    float bestDistance = 0.0f;
    for (std::size_t i = 0; i < inner.size(); ++i) {
        const Vec2 point = nearestPointOnSegment(inner[i], inner[(i + 1) % inner.size()], speaker);
        const float distance = speaker.distance(point);
        if (i == 0 || distance < bestDistance) {
            bestDistance = distance;
            best.position = point;
        }
    }
    const Vec2 toward = speaker - best.position;
    best.rotation = 90.0f - std::atan2(toward.y, toward.x) * 57.29578f;
    return best;
}

Rect dialogArrowFreeRect(const Rect& box) {
    return Rect(box.origin.x - 18.0f, box.origin.y - (box.size.height - 40.0f), box.size.width,
                box.size.height);
}

Rect dialogQuadBounds(std::initializer_list<DialogQuad> quads, float border) {
    bool first = true;
    Vec2 low;
    Vec2 high;
    for (const DialogQuad& quad : quads) {
        for (const Vec2& corner : quad) {
            if (first) {
                low = high = corner;
                first = false;
            }
            low = Vec2(std::min(low.x, corner.x), std::min(low.y, corner.y));
            high = Vec2(std::max(high.x, corner.x), std::max(high.y, corner.y));
        }
    }
    if (first) return Rect();
    return Rect(low.x - border, low.y - border, high.x - low.x + 2.0f * border,
                high.y - low.y + 2.0f * border);
}

Vec2 dialogShiftIntoArea(const Rect& bounds, const Rect& area) {
    Vec2 shift;
    if (bounds.size.width >= area.size.width || bounds.getMinX() < area.getMinX())
        shift.x = area.getMinX() - bounds.getMinX();
    else if (bounds.getMaxX() > area.getMaxX())
        shift.x = area.getMaxX() - bounds.getMaxX();
    if (bounds.size.height >= area.size.height || bounds.getMaxY() > area.getMaxY())
        shift.y = area.getMaxY() - bounds.getMaxY();
    else if (bounds.getMinY() < area.getMinY())
        shift.y = area.getMinY() - bounds.getMinY();
    return shift;
}
