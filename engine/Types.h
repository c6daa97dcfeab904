#pragma once

#include <cstdint>

namespace cocos2d {

// Plain value types of the engine: points, sizes, rectangles and colours.
// Units are design points (the design resolution is 1024 x 576) unless a name
// says otherwise; y grows upwards; angles given to nodes are degrees, clockwise.

struct Vec2 {
    float x = 0.0f;
    float y = 0.0f;

    constexpr Vec2() = default;
    constexpr Vec2(float xx, float yy) : x(xx), y(yy) {}

    constexpr Vec2 operator+(const Vec2& o) const { return {x + o.x, y + o.y}; }
    constexpr Vec2 operator-(const Vec2& o) const { return {x - o.x, y - o.y}; }
    constexpr Vec2 operator-() const { return {-x, -y}; }
    constexpr Vec2 operator*(float s) const { return {x * s, y * s}; }
    constexpr Vec2 operator/(float s) const { return {x / s, y / s}; }
    Vec2& operator+=(const Vec2& o) {
        x += o.x;
        y += o.y;
        return *this;
    }
    Vec2& operator-=(const Vec2& o) {
        x -= o.x;
        y -= o.y;
        return *this;
    }
    Vec2& operator*=(float s) {
        x *= s;
        y *= s;
        return *this;
    }
    constexpr bool operator==(const Vec2& o) const { return x == o.x && y == o.y; }
    constexpr bool operator!=(const Vec2& o) const { return !(*this == o); }

    void set(float xx, float yy) {
        x = xx;
        y = yy;
    }
    float length() const;
    float lengthSquared() const { return x * x + y * y; }
    float distance(const Vec2& o) const { return (*this - o).length(); }
    float distanceSquared(const Vec2& o) const { return (*this - o).lengthSquared(); }
    float dot(const Vec2& o) const { return x * o.x + y * o.y; }
    Vec2 getNormalized() const;
    void normalize() { *this = getNormalized(); }
    bool isZero() const { return x == 0.0f && y == 0.0f; }
    // Angle of the vector in radians, counter-clockwise from +x.
    float getAngle() const;
    bool fuzzyEquals(const Vec2& o, float variance) const;

    static const Vec2 ZERO;
    static const Vec2 ONE;
    static const Vec2 UNIT_X;
    static const Vec2 UNIT_Y;
    static const Vec2 ANCHOR_MIDDLE;
    static const Vec2 ANCHOR_BOTTOM_LEFT;
    static const Vec2 ANCHOR_TOP_LEFT;
    static const Vec2 ANCHOR_BOTTOM_RIGHT;
    static const Vec2 ANCHOR_TOP_RIGHT;
    static const Vec2 ANCHOR_MIDDLE_RIGHT;
    static const Vec2 ANCHOR_MIDDLE_LEFT;
    static const Vec2 ANCHOR_MIDDLE_TOP;
    static const Vec2 ANCHOR_MIDDLE_BOTTOM;
};

inline Vec2 operator*(float s, const Vec2& v) {
    return v * s;
}

using Point = Vec2;

struct Vec3 {
    float x = 0.0f;
    float y = 0.0f;
    float z = 0.0f;

    constexpr Vec3() = default;
    constexpr Vec3(float xx, float yy, float zz) : x(xx), y(yy), z(zz) {}

    constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
    constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
    constexpr Vec3 operator*(float s) const { return {x * s, y * s, z * s}; }
    constexpr bool operator==(const Vec3& o) const { return x == o.x && y == o.y && z == o.z; }
    constexpr bool operator!=(const Vec3& o) const { return !(*this == o); }
    float length() const;

    static const Vec3 ZERO;
    static const Vec3 ONE;
};

struct Size {
    float width = 0.0f;
    float height = 0.0f;

    constexpr Size() = default;
    constexpr Size(float w, float h) : width(w), height(h) {}
    explicit constexpr Size(const Vec2& v) : width(v.x), height(v.y) {}

    constexpr Size operator+(const Size& o) const { return {width + o.width, height + o.height}; }
    constexpr Size operator-(const Size& o) const { return {width - o.width, height - o.height}; }
    constexpr Size operator*(float s) const { return {width * s, height * s}; }
    constexpr Size operator/(float s) const { return {width / s, height / s}; }
    constexpr bool operator==(const Size& o) const { return width == o.width && height == o.height; }
    constexpr bool operator!=(const Size& o) const { return !(*this == o); }
    constexpr operator Vec2() const { return {width, height}; }
    void setSize(float w, float h) {
        width = w;
        height = h;
    }
    bool equals(const Size& o) const;

    static const Size ZERO;
};

struct Rect {
    Vec2 origin;
    Size size;

    constexpr Rect() = default;
    constexpr Rect(float x, float y, float w, float h) : origin(x, y), size(w, h) {}
    constexpr Rect(const Vec2& o, const Size& s) : origin(o), size(s) {}

    float getMinX() const { return origin.x; }
    float getMidX() const { return origin.x + size.width * 0.5f; }
    float getMaxX() const { return origin.x + size.width; }
    float getMinY() const { return origin.y; }
    float getMidY() const { return origin.y + size.height * 0.5f; }
    float getMaxY() const { return origin.y + size.height; }
    // Edges count as inside.
    bool containsPoint(const Vec2& p) const;
    bool intersectsRect(const Rect& r) const;
    bool equals(const Rect& r) const;
    bool operator==(const Rect& r) const { return origin == r.origin && size == r.size; }
    Rect unionWithRect(const Rect& r) const;
    void setRect(float x, float y, float w, float h) { *this = Rect(x, y, w, h); }

    static const Rect ZERO;
};

struct Color4B;
struct Color4F;

struct Color3B {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;

    constexpr Color3B() = default;
    constexpr Color3B(uint8_t rr, uint8_t gg, uint8_t bb) : r(rr), g(gg), b(bb) {}
    explicit Color3B(const Color4B& c);
    explicit Color3B(const Color4F& c);
    constexpr bool operator==(const Color3B& o) const { return r == o.r && g == o.g && b == o.b; }
    constexpr bool operator!=(const Color3B& o) const { return !(*this == o); }

    static const Color3B WHITE;
    static const Color3B YELLOW;
    static const Color3B BLUE;
    static const Color3B GREEN;
    static const Color3B RED;
    static const Color3B MAGENTA;
    static const Color3B BLACK;
    static const Color3B ORANGE;
    static const Color3B GRAY;
};

struct Color4B {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 0;

    constexpr Color4B() = default;
    constexpr Color4B(uint8_t rr, uint8_t gg, uint8_t bb, uint8_t aa) : r(rr), g(gg), b(bb), a(aa) {}
    explicit constexpr Color4B(const Color3B& c, uint8_t aa = 255) : r(c.r), g(c.g), b(c.b), a(aa) {}
    explicit Color4B(const Color4F& c);
    constexpr bool operator==(const Color4B& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    constexpr bool operator!=(const Color4B& o) const { return !(*this == o); }

    static const Color4B WHITE;
    static const Color4B YELLOW;
    static const Color4B BLUE;
    static const Color4B GREEN;
    static const Color4B RED;
    static const Color4B MAGENTA;
    static const Color4B BLACK;
    static const Color4B ORANGE;
    static const Color4B GRAY;
};

// Channels in 0 .. 1.
struct Color4F {
    float r = 0.0f;
    float g = 0.0f;
    float b = 0.0f;
    float a = 0.0f;

    constexpr Color4F() = default;
    constexpr Color4F(float rr, float gg, float bb, float aa) : r(rr), g(gg), b(bb), a(aa) {}
    explicit Color4F(const Color3B& c, float aa = 1.0f);
    explicit Color4F(const Color4B& c);
    constexpr bool operator==(const Color4F& o) const { return r == o.r && g == o.g && b == o.b && a == o.a; }
    constexpr bool operator!=(const Color4F& o) const { return !(*this == o); }

    static const Color4F WHITE;
    static const Color4F YELLOW;
    static const Color4F BLUE;
    static const Color4F GREEN;
    static const Color4F RED;
    static const Color4F MAGENTA;
    static const Color4F BLACK;
    static const Color4F ORANGE;
    static const Color4F GRAY;
};

// How a drawn image lands on what is below it: the source and destination
// factors as the graphics library numbers them (1: one, 0x0302: source alpha,
// 0x0303: one minus source alpha, and so on). The default draws over what is
// below by the image's alpha.
struct BlendFunc {
    unsigned int src = 1;
    unsigned int dst = 0x0303;
    static const BlendFunc ALPHA_PREMULTIPLIED;
    static const BlendFunc ADDITIVE;
    bool operator==(const BlendFunc& o) const { return src == o.src && dst == o.dst; }
    bool operator!=(const BlendFunc& o) const { return !(*this == o); }
};

// A 4 x 4 transform in column-major order (m[12], m[13], m[14] hold the
// translation). Node transforms are 2D affine maps with a z translation.
struct Mat4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    Mat4 operator*(const Mat4& o) const;
    Vec2 transformPoint(const Vec2& p) const {
        return {m[0] * p.x + m[4] * p.y + m[12], m[1] * p.x + m[5] * p.y + m[13]};
    }
    Vec3 transformPoint(const Vec3& p) const;
    // Inverse of the 2D affine part (the z translation is negated).
    Mat4 getInversed() const;
    bool operator==(const Mat4& o) const;

    static Mat4 translation(float x, float y, float z = 0.0f);
    static const Mat4 IDENTITY;
};

}  // namespace cocos2d
