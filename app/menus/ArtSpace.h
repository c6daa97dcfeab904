#pragma once

#include "engine/Types.h"

// The menus' art space: 2560 x 1440 units with the origin at the screen's
// centre, shown at 0.4 of its size (2560 x 0.4 = 1024, the design width).
inline constexpr float kArtWidth = 2560.0f;
inline constexpr float kArtHeight = 1440.0f;
inline constexpr float kMenuScale = 0.4f;

// Where a centre-anchored element goes so that its bottom-left corner sits on
// `corner` of the 2560 x 1440 canvas (origin bottom-left): corner - (1280,
// 720) + size / 2.
inline cocos2d::Vec2 artCorner(const cocos2d::Vec2& corner, const cocos2d::Size& size) {
    return cocos2d::Vec2(corner.x - kArtWidth / 2 + size.width / 2,
                         corner.y - kArtHeight / 2 + size.height / 2);
}
