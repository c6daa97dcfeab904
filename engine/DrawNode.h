#pragma once

#include <memory>
#include <vector>

#include "engine/DrawList.h"
#include "engine/Node.h"

namespace cocos2d {

// A node that draws shapes given in its own space: dots, lines, rectangles,
// polygons, circles. Shapes accumulate until `clear`. Each vertex keeps the
// colour it was drawn in, and that is the colour drawn: the node's colour and
// opacity do not tint it (a subclass that wants them recolours its vertices).
class DrawNode : public Node {
public:
    static DrawNode* create(float defaultLineWidth = 2.0f);
    explicit DrawNode(float lineWidth = 2.0f);
    bool init() override;

    void drawPoint(const Vec2& point, float pointSize, const Color4F& color);
    void drawPoints(const Vec2* points, unsigned int count, float pointSize, const Color4F& color);
    void drawLine(const Vec2& origin, const Vec2& destination, const Color4F& color);
    void drawRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
    void drawRect(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Vec2& p4, const Color4F& color);
    void drawPoly(const Vec2* points, unsigned int count, bool closePolygon, const Color4F& color);
    void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                    bool drawLineToCenter, float scaleX, float scaleY, const Color4F& color);
    void drawCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                    bool drawLineToCenter, const Color4F& color);
    void drawSolidRect(const Vec2& origin, const Vec2& destination, const Color4F& color);
    void drawSolidPoly(const Vec2* points, unsigned int count, const Color4F& color);
    void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments, float scaleX,
                         float scaleY, const Color4F& color);
    void drawSolidCircle(const Vec2& center, float radius, float angle, unsigned int segments,
                         const Color4F& color);
    void drawDot(const Vec2& position, float radius, const Color4F& color);
    void drawSegment(const Vec2& from, const Vec2& to, float radius, const Color4F& color);
    // A filled polygon with an outline of `borderWidth` (none when 0).
    void drawPolygon(const Vec2* vertices, int count, const Color4F& fillColor, float borderWidth,
                     const Color4F& borderColor);
    void drawPolygon(const std::vector<Vec2>& vertices, int count, const Color4F& fillColor,
                     float borderWidth, const Color4F& borderColor) {
        drawPolygon(vertices.data(), count, fillColor, borderWidth, borderColor);
    }
    void drawTriangle(const Vec2& p1, const Vec2& p2, const Vec2& p3, const Color4F& color);
    void clear();

    void setLineWidth(float width) {
        lineWidth_ = width;
        dirtyLines_ = true;
    }
    float getLineWidth() const { return lineWidth_; }

    void draw(DrawContext& context, const Mat4& transform, uint32_t flags) override;
    // Hands the node's shapes to the draw list; an override may adjust the
    // buffers first (setting the matching dirty flag) and then call this.
    virtual void onDraw(DrawContext& context, const Mat4& transform, uint32_t flags);

protected:
    // Gives every vertex drawn so far (triangles, lines and points) the one
    // colour, marking the buffers that changed: for subclasses whose shapes
    // take the node's own colour (the draw list carries the vertices' colours
    // and nothing tints them again).
    void paintVertices(const Color4F& color);

    // Vertex buffers in node space: three per triangle, two per line, one per
    // point. Whoever changes one sets its dirty flag (dirty_ for triangles),
    // so that the next frame hands on a fresh copy; unchanged buffers are
    // shared with the draw list as they are, frame after frame.
    std::vector<ShapeVertex> triangles_;
    std::vector<ShapeVertex> lines_;
    std::vector<ShapeVertex> points_;
    std::vector<float> pointSizes_;
    bool dirty_ = false;
    bool dirtyLines_ = false;
    bool dirtyPoints_ = false;
    float lineWidth_ = 2.0f;
    float defaultLineWidth_ = 2.0f;

private:
    // The buffers as last handed to the draw list.
    std::shared_ptr<ShapeBatch> batch_;
};

}  // namespace cocos2d
