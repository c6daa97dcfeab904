#include "engine/DrawNode.h"

#include <cmath>

namespace cocos2d {

namespace {
constexpr float kPi = 3.14159265358979f;
}

DrawNode* DrawNode::create(float defaultLineWidth) {
    auto* node = new DrawNode(defaultLineWidth);
    if (node->init()) {
        node->autorelease();
        return node;
    }
    delete node;
    return nullptr;
}

DrawNode::DrawNode(float lineWidth) : lineWidth_(lineWidth), defaultLineWidth_(lineWidth) {}

bool DrawNode::init() {
    return Node::init();
}

void DrawNode::drawPoint(const Vec2& point, float pointSize, const Color4F& color) {
    points_.push_back({point, color});
    pointSizes_.push_back(pointSize);
    dirtyPoints_ = true;
}

void DrawNode::drawPoints(const Vec2* points, unsigned int count, float pointSize, const Color4F& color) {
    for (unsigned int i = 0; i < count; ++i) drawPoint(points[i], pointSize, color);
}

void DrawNode::drawLine(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    lines_.push_back({origin, color});
    lines_.push_back({destination, color});
    dirtyLines_ = true;
}

void DrawNode::drawRect(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    drawRect(origin, Vec2(destination.x, origin.y), destination, Vec2(origin.x, destination.y), color);
}

void DrawNode::drawRect(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Vec2& p4,
                        const Color4F& color) {
    drawLine(p1, p2, color);
    drawLine(p2, p3, color);
    drawLine(p3, p4, color);
    drawLine(p4, p1, color);
}

void DrawNode::drawPoly(const Vec2* points, unsigned int count, bool closePolygon, const Color4F& color) {
    if (count < 2) return;
    for (unsigned int i = 0; i + 1 < count; ++i) drawLine(points[i], points[i + 1], color);
    if (closePolygon) drawLine(points[count - 1], points[0], color);
}

void DrawNode::drawCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                          bool drawLineToCenter, float scaleX, float scaleY, const Color4F& color) {
    if (segments == 0) return;
    std::vector<Vec2> v;
    const float step = 2.0f * kPi / static_cast<float>(segments);
    for (unsigned int i = 0; i < segments; ++i) {
        const float a = step * static_cast<float>(i) + angle;
        v.emplace_back(center.x + radius * std::cos(a) * scaleX, center.y + radius * std::sin(a) * scaleY);
    }
    drawPoly(v.data(), segments, true, color);
    if (drawLineToCenter) drawLine(v[0], center, color);
}

void DrawNode::drawCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                          bool drawLineToCenter, const Color4F& color) {
    drawCircle(center, radius, angle, segments, drawLineToCenter, 1.0f, 1.0f, color);
}

void DrawNode::drawTriangle(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Color4F& color) {
    triangles_.push_back({p1, color});
    triangles_.push_back({p2, color});
    triangles_.push_back({p3, color});
    dirty_ = true;
}

void DrawNode::drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color) {
    drawPolygon(points, static_cast<int>(count), color, 0.0f, Color4F());
}

void DrawNode::drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color) {
    const Vec2 v[4] = {origin, Vec2(destination.x, origin.y), destination, Vec2(origin.x, destination.y)};
    drawSolidPoly(v, 4, color);
}

void DrawNode::drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                               float scaleX, float scaleY, const Color4F& color) {
    if (segments < 3) return;
    std::vector<Vec2> v;
    const float step = 2.0f * kPi / static_cast<float>(segments);
    for (unsigned int i = 0; i < segments; ++i) {
        const float a = step * static_cast<float>(i) + angle;
        v.emplace_back(center.x + radius * std::cos(a) * scaleX, center.y + radius * std::sin(a) * scaleY);
    }
    drawSolidPoly(v.data(), segments, color);
}

void DrawNode::drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                               const Color4F& color) {
    drawSolidCircle(center, radius, angle, segments, 1.0f, 1.0f, color);
}

void DrawNode::drawDot(const Vec2& position, float radius, const Color4F& color) {
    drawSolidCircle(position, radius, 0.0f, 32, color);
}

void DrawNode::drawSegment(const Vec2& from, const Vec2& to, float radius, const Color4F& color) {
    const Vec2 d = to - from;
    const Vec2 n = Vec2(-d.y, d.x).getNormalized() * radius;
    const Vec2 quad[4] = {from + n, to + n, to - n, from - n};
    drawSolidPoly(quad, 4, color);
    drawDot(from, radius, color);
    drawDot(to, radius, color);
}

void DrawNode::drawPolygon(const Vec2* vertices, int count, const Color4F& fillColor, float borderWidth,
                           const Color4F& borderColor) {
    if (vertices == nullptr || count < 3) return;
    // A fan from the first vertex: fine for the convex shapes drawn here.
    if (fillColor.a > 0.0f) {
        for (int i = 1; i + 1 < count; ++i)
            drawTriangle(vertices[0], vertices[i], vertices[i + 1], fillColor);
    }
    if (borderWidth > 0.0f && borderColor.a > 0.0f) {
        // The outline as quads of the border width around each edge.
        const float half = borderWidth * 0.5f;
        for (int i = 0; i < count; ++i) {
            const Vec2 a = vertices[i];
            const Vec2 b = vertices[(i + 1) % count];
            const Vec2 d = b - a;
            const Vec2 n = Vec2(-d.y, d.x).getNormalized() * half;
            drawTriangle(a + n, b + n, b - n, borderColor);
            drawTriangle(a + n, b - n, a - n, borderColor);
        }
    }
}

void DrawNode::paintVertices(const Color4F& color) {
    auto paint = [&color](std::vector<ShapeVertex>& buffer) {
        bool changed = false;
        for (ShapeVertex& v : buffer) {
            if (v.color == color) continue;
            v.color = color;
            changed = true;
        }
        return changed;
    };
    if (paint(triangles_)) dirty_ = true;
    if (paint(lines_)) dirtyLines_ = true;
    if (paint(points_)) dirtyPoints_ = true;
}

void DrawNode::clear() {
    triangles_.clear();
    lines_.clear();
    points_.clear();
    pointSizes_.clear();
    dirty_ = dirtyLines_ = dirtyPoints_ = true;
    lineWidth_ = defaultLineWidth_;
}

void DrawNode::draw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    if (triangles_.empty() && lines_.empty() && points_.empty()) return;
    onDraw(context, transform, flags);
}

void DrawNode::onDraw(DrawContext& context, const Mat4& transform, uint32_t flags) {
    if (batch_ == nullptr || dirty_ || dirtyLines_ || dirtyPoints_) {
        ShapeBatch& batch = refillablePayload(batch_);
        batch.triangles = triangles_;
        batch.lines = lines_;
        batch.lineWidth = lineWidth_;
        batch.points = points_;
        batch.pointSizes = pointSizes_;
        dirty_ = dirtyLines_ = dirtyPoints_ = false;
    }
    DrawCommand& c = context.add(DrawKind::Shapes, this, transform);
    c.color = Color3B::WHITE;
    c.opacity = 255;
    c.shapes = batch_;
}

}  // namespace cocos2d
