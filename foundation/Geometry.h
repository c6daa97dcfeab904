#pragma once

#include <cstddef>
#include <functional>

#include "foundation/Serializable.h"

namespace GeometryLib {

// An integer point: pixels or cell coordinates. Written as one u32 word, the
// key, with x in the high 16 bits and y in the low 16 bits.
class Point : public Convinience::Serializable {
public:
    Point() = default;
    Point(i16 x, i16 y) : x(x), y(y), key(makeKey(x, y)) {}
    // Coordinates truncated toward zero and cut to 16 bits.
    explicit Point(const class FPoint& p);
    explicit Point(Convinience::ByteReader& reader) : Point(fromKey(reader.readU32())) {}

    static Point fromKey(u32 key) {
        return Point(static_cast<i16>(key >> 16), static_cast<i16>(key & 0xFFFF));
    }
    static u32 makeKey(i16 x, i16 y) {
        return (static_cast<u32>(static_cast<u16>(x)) << 16) | static_cast<u16>(y);
    }

    void serialize(Convinience::Buffer& buffer) const override { buffer.appendU32(key); }
    u32 serializedSize() const override { return 4; }

    bool operator==(const Point& o) const { return x == o.x && y == o.y; }

    i16 x = 0;
    i16 y = 0;
    u32 key = 0;
};

// A float coordinate brought into the range a Point holds: NaN becomes 0 and
// values past -32768 or 32767 that bound; a fraction stays.
float clampToPointRange(float v);
// clampToPointRange, then truncated toward zero: the Point coordinate nearest
// to v that does not wrap.
i16 clampedPointCoordinate(float v);

// Component-wise, each coordinate wrapping as a 16-bit value.
Point operator+(const Point& a, const Point& b);
Point operator-(const Point& a, const Point& b);

struct PointHash {
    std::size_t operator()(const Point& p) const { return p.key; }
};

// A float point: sub-pixel positions, sizes and velocities.
class FPoint : public Convinience::Serializable {
public:
    FPoint() = default;
    FPoint(float x, float y) : x(x), y(y) {}
    explicit FPoint(const Point& p) : x(static_cast<float>(p.x)), y(static_cast<float>(p.y)) {}
    explicit FPoint(Convinience::ByteReader& reader) : x(reader.readFloat()), y(reader.readFloat()) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendFloat(x);
        buffer.appendFloat(y);
    }
    u32 serializedSize() const override { return 8; }

    bool operator==(const FPoint& o) const { return x == o.x && y == o.y; }
    FPoint operator+(const FPoint& o) const { return {x + o.x, y + o.y}; }
    FPoint operator-(const FPoint& o) const { return {x - o.x, y - o.y}; }
    FPoint operator*(float f) const { return {x * f, y * f}; }
    FPoint operator/(float f) const { return {x / f, y / f}; }
    FPoint& operator+=(const FPoint& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    FPoint& operator-=(const FPoint& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    FPoint& operator*=(float f) {
        x *= f;
        y *= f;
        return *this;
    }

    float x = 0.0f;
    float y = 0.0f;
};

// Integer rectangle; the origin is the top-left corner (y grows upwards).
class Rect : public Convinience::Serializable {
public:
    Rect() = default;
    Rect(u32 width, u32 height, Point origin) : width(width), height(height), origin(origin) {}
    explicit Rect(Convinience::ByteReader& reader)
        : width(reader.readU32()), height(reader.readU32()), origin(reader) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendU32(width);
        buffer.appendU32(height);
        origin.serialize(buffer);
    }
    u32 serializedSize() const override { return 12; }
    bool operator==(const Rect& o) const {
        return width == o.width && height == o.height && origin == o.origin;
    }

    u32 width = 0;
    u32 height = 0;
    Point origin;
};

class FRect : public Convinience::Serializable {
public:
    FRect() = default;
    FRect(float width, float height, FPoint origin) : width(width), height(height), origin(origin) {}
    explicit FRect(Convinience::ByteReader& reader)
        : width(reader.readFloat()), height(reader.readFloat()), origin(reader) {}

    void serialize(Convinience::Buffer& buffer) const override {
        buffer.appendFloat(width);
        buffer.appendFloat(height);
        origin.serialize(buffer);
    }
    u32 serializedSize() const override { return 16; }
    bool operator==(const FRect& o) const {
        return width == o.width && height == o.height && origin == o.origin;
    }

    float width = 0.0f;
    float height = 0.0f;
    FPoint origin;
};

}  // namespace GeometryLib

template <>
struct std::hash<GeometryLib::Point> {
    std::size_t operator()(const GeometryLib::Point& p) const { return p.key; }
};
