#include "foundation/Geometry.h"

namespace GeometryLib {

Point::Point(const FPoint& p) : Point(static_cast<i16>(static_cast<i32>(p.x)), static_cast<i16>(static_cast<i32>(p.y))) {}

Point operator+(const Point& a, const Point& b) {
    return Point(static_cast<i16>(static_cast<u16>(a.x) + static_cast<u16>(b.x)),
                 static_cast<i16>(static_cast<u16>(a.y) + static_cast<u16>(b.y)));
}

Point operator-(const Point& a, const Point& b) {
    return Point(static_cast<i16>(static_cast<u16>(a.x) - static_cast<u16>(b.x)),
                 static_cast<i16>(static_cast<u16>(a.y) - static_cast<u16>(b.y)));
}

}  // namespace GeometryLib
