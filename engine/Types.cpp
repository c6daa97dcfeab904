#include "engine/Types.h"

#include <algorithm>
#include <cmath>

namespace cocos2d {

const Vec2 Vec2::ZERO(0, 0);
const Vec2 Vec2::ONE(1, 1);
const Vec2 Vec2::UNIT_X(1, 0);
const Vec2 Vec2::UNIT_Y(0, 1);
const Vec2 Vec2::ANCHOR_MIDDLE(0.5f, 0.5f);
const Vec2 Vec2::ANCHOR_BOTTOM_LEFT(0, 0);
const Vec2 Vec2::ANCHOR_TOP_LEFT(0, 1);
const Vec2 Vec2::ANCHOR_BOTTOM_RIGHT(1, 0);
const Vec2 Vec2::ANCHOR_TOP_RIGHT(1, 1);
const Vec2 Vec2::ANCHOR_MIDDLE_RIGHT(1, 0.5f);
const Vec2 Vec2::ANCHOR_MIDDLE_LEFT(0, 0.5f);
const Vec2 Vec2::ANCHOR_MIDDLE_TOP(0.5f, 1);
const Vec2 Vec2::ANCHOR_MIDDLE_BOTTOM(0.5f, 0);
const Vec3 Vec3::ZERO(0, 0, 0);
const Vec3 Vec3::ONE(1, 1, 1);
const Size Size::ZERO(0, 0);
const Rect Rect::ZERO(0, 0, 0, 0);
const BlendFunc BlendFunc::ALPHA_PREMULTIPLIED{1, 0x0303};
const BlendFunc BlendFunc::ADDITIVE{0x0302, 1};

const Color3B Color3B::WHITE(255, 255, 255);
const Color3B Color3B::YELLOW(255, 255, 0);
const Color3B Color3B::BLUE(0, 0, 255);
const Color3B Color3B::GREEN(0, 255, 0);
const Color3B Color3B::RED(255, 0, 0);
const Color3B Color3B::MAGENTA(255, 0, 255);
const Color3B Color3B::BLACK(0, 0, 0);
const Color3B Color3B::ORANGE(255, 127, 0);
const Color3B Color3B::GRAY(166, 166, 166);

const Color4B Color4B::WHITE(255, 255, 255, 255);
const Color4B Color4B::YELLOW(255, 255, 0, 255);
const Color4B Color4B::BLUE(0, 0, 255, 255);
const Color4B Color4B::GREEN(0, 255, 0, 255);
const Color4B Color4B::RED(255, 0, 0, 255);
const Color4B Color4B::MAGENTA(255, 0, 255, 255);
const Color4B Color4B::BLACK(0, 0, 0, 255);
const Color4B Color4B::ORANGE(255, 127, 0, 255);
const Color4B Color4B::GRAY(166, 166, 166, 255);

const Color4F Color4F::WHITE(1, 1, 1, 1);
const Color4F Color4F::YELLOW(1, 1, 0, 1);
const Color4F Color4F::BLUE(0, 0, 1, 1);
const Color4F Color4F::GREEN(0, 1, 0, 1);
const Color4F Color4F::RED(1, 0, 0, 1);
const Color4F Color4F::MAGENTA(1, 0, 1, 1);
const Color4F Color4F::BLACK(0, 0, 0, 1);
const Color4F Color4F::ORANGE(1, 0.5f, 0, 1);
const Color4F Color4F::GRAY(0.65f, 0.65f, 0.65f, 1);

const Mat4 Mat4::IDENTITY{};

namespace {
uint8_t toByte(float f) {
    return static_cast<uint8_t>(std::clamp(f, 0.0f, 1.0f) * 255.0f);
}
}  // namespace

float Vec2::length() const {
    return std::sqrt(x * x + y * y);
}

Vec2 Vec2::getNormalized() const {
    const float len = length();
    if (len == 0.0f) return *this;
    return {x / len, y / len};
}

float Vec2::getAngle() const {
    return std::atan2(y, x);
}

bool Vec2::fuzzyEquals(const Vec2& o, float variance) const {
    return std::fabs(x - o.x) <= variance && std::fabs(y - o.y) <= variance;
}

float Vec3::length() const {
    return std::sqrt(x * x + y * y + z * z);
}

bool Size::equals(const Size& o) const {
    return std::fabs(width - o.width) <= 1e-5f && std::fabs(height - o.height) <= 1e-5f;
}

bool Rect::containsPoint(const Vec2& p) const {
    return p.x >= getMinX() && p.x <= getMaxX() && p.y >= getMinY() && p.y <= getMaxY();
}

bool Rect::intersectsRect(const Rect& r) const {
    return !(getMaxX() < r.getMinX() || r.getMaxX() < getMinX() || getMaxY() < r.getMinY() ||
             r.getMaxY() < getMinY());
}

bool Rect::equals(const Rect& r) const {
    return origin.fuzzyEquals(r.origin, 1e-5f) && size.equals(r.size);
}

Rect Rect::unionWithRect(const Rect& r) const {
    const float minX = std::min(getMinX(), r.getMinX());
    const float minY = std::min(getMinY(), r.getMinY());
    const float maxX = std::max(getMaxX(), r.getMaxX());
    const float maxY = std::max(getMaxY(), r.getMaxY());
    return {minX, minY, maxX - minX, maxY - minY};
}

Color3B::Color3B(const Color4B& c) : r(c.r), g(c.g), b(c.b) {}
Color3B::Color3B(const Color4F& c) : r(toByte(c.r)), g(toByte(c.g)), b(toByte(c.b)) {}
Color4B::Color4B(const Color4F& c) : r(toByte(c.r)), g(toByte(c.g)), b(toByte(c.b)), a(toByte(c.a)) {}
Color4F::Color4F(const Color3B& c, float aa) : r(c.r / 255.0f), g(c.g / 255.0f), b(c.b / 255.0f), a(aa) {}
Color4F::Color4F(const Color4B& c) : r(c.r / 255.0f), g(c.g / 255.0f), b(c.b / 255.0f), a(c.a / 255.0f) {}

Mat4 Mat4::operator*(const Mat4& o) const {
    Mat4 r;
    // Node transforms are 2D affine with a z translation: multiply just those
    // parts when both sides are of that form.
    auto affine = [](const Mat4& a) {
        return a.m[2] == 0 && a.m[3] == 0 && a.m[6] == 0 && a.m[7] == 0 && a.m[8] == 0 && a.m[9] == 0 &&
               a.m[11] == 0 && a.m[15] == 1;
    };
    if (affine(*this) && affine(o)) {
        r.m[0] = m[0] * o.m[0] + m[4] * o.m[1];
        r.m[1] = m[1] * o.m[0] + m[5] * o.m[1];
        r.m[4] = m[0] * o.m[4] + m[4] * o.m[5];
        r.m[5] = m[1] * o.m[4] + m[5] * o.m[5];
        r.m[10] = m[10] * o.m[10];
        r.m[12] = m[0] * o.m[12] + m[4] * o.m[13] + m[12];
        r.m[13] = m[1] * o.m[12] + m[5] * o.m[13] + m[13];
        r.m[14] = m[10] * o.m[14] + m[14];
        return r;
    }
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += m[k * 4 + row] * o.m[col * 4 + k];
            r.m[col * 4 + row] = sum;
        }
    }
    return r;
}

Vec3 Mat4::transformPoint(const Vec3& p) const {
    return {m[0] * p.x + m[4] * p.y + m[8] * p.z + m[12], m[1] * p.x + m[5] * p.y + m[9] * p.z + m[13],
            m[2] * p.x + m[6] * p.y + m[10] * p.z + m[14]};
}

Mat4 Mat4::getInversed() const {
    const float a = m[0], b = m[1], c = m[4], d = m[5], tx = m[12], ty = m[13];
    const float det = a * d - b * c;
    Mat4 r;
    if (det == 0.0f) {
        r.m[0] = r.m[5] = 0.0f;
        return r;
    }
    const float inv = 1.0f / det;
    r.m[0] = d * inv;
    r.m[1] = -b * inv;
    r.m[4] = -c * inv;
    r.m[5] = a * inv;
    r.m[12] = (c * ty - d * tx) * inv;
    r.m[13] = (b * tx - a * ty) * inv;
    r.m[14] = -m[14];
    return r;
}

bool Mat4::operator==(const Mat4& o) const {
    for (int i = 0; i < 16; ++i)
        if (m[i] != o.m[i]) return false;
    return true;
}

Mat4 Mat4::translation(float x, float y, float z) {
    Mat4 r;
    r.m[12] = x;
    r.m[13] = y;
    r.m[14] = z;
    return r;
}

}  // namespace cocos2d
