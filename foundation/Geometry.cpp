#include "foundation/Geometry.h"

#include <algorithm>

namespace GeometryLib {

namespace {

// Truncates toward zero and keeps the low 16 bits. Values beyond the 32-bit
// range (and NaN) would make the conversion undefined; they are clamped
// first (NaN becomes 0).
i16 truncateTo16(float v) {
    if (!(v == v)) return 0;
    const float clamped = std::clamp(v, -2147483520.0f, 2147483520.0f);
    return static_cast<i16>(static_cast<i32>(clamped));
}

}  // namespace

Point::Point(const FPoint& p) : Point(truncateTo16(p.x), truncateTo16(p.y)) {}

float clampToPointRange(float v) {
    if (!(v == v)) return 0.0f;
    return std::clamp(v, -32768.0f, 32767.0f);
}

i16 clampedPointCoordinate(float v) {
    return static_cast<i16>(clampToPointRange(v));
}

Point operator+(const Point& a, const Point& b) {
    return Point(static_cast<i16>(static_cast<u16>(a.x) + static_cast<u16>(b.x)),
                 static_cast<i16>(static_cast<u16>(a.y) + static_cast<u16>(b.y)));
}

Point operator-(const Point& a, const Point& b) {
    return Point(static_cast<i16>(static_cast<u16>(a.x) - static_cast<u16>(b.x)),
                 static_cast<i16>(static_cast<u16>(a.y) - static_cast<u16>(b.y)));
}

}  // namespace GeometryLib
