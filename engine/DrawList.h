#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/AssetName.h"
#include "engine/Types.h"

namespace cocos2d {

class Node;

// What one frame draws, in drawing order. The director fills it by walking the
// running scene once; a backend turns it into calls (the headless backend
// keeps it for tests). Everything is in world (design) coordinates through
// each command's transform. Nothing here points into the node tree except
// `node`, which is for identification only and may dangle once the tree
// changes. Glyph runs and shape batches are shared with the node that made
// them and never change once shared (a node that changes makes a new one),
// so a frame copies no text, glyphs or vertices of unchanged nodes.

enum class DrawKind : uint8_t {
    Sprite,  // a textured quad: an image file or a sprite frame of a sheet
    Glyphs,  // a run of text glyphs in one font
    Shapes,  // triangles, lines and points of a draw node
    Rect,    // a solid rectangle (colour layers, transition fades)
};

struct ShapeVertex {
    Vec2 position;  // local space of the node
    Color4F color;
};

struct ShapeBatch {
    std::vector<ShapeVertex> triangles;  // three vertices per triangle
    std::vector<ShapeVertex> lines;      // two vertices per segment
    float lineWidth = 1.0f;
    std::vector<ShapeVertex> points;  // one vertex per point
    std::vector<float> pointSizes;
};

struct Glyph {
    char32_t codepoint = 0;
    Vec2 origin;  // pen position on the baseline, local space of the node
};

struct GlyphRun {
    std::string fontFile;  // full path of the font that measured the glyphs
    float fontSize = 0.0f;
    std::u32string text;  // the whole text, for backends that draw lines
    std::vector<Glyph> glyphs;
    Color4B textColor = Color4B::WHITE;
    Color4B outlineColor;
    int outlineSize = 0;  // 0: no outline
    bool shadow = false;
    Color4B shadowColor;
    Vec2 shadowOffset;
    int shadowBlur = 0;
};

// A clipping region: commands drawn inside it carry its index.
struct ClipRegion {
    enum class Kind : uint8_t { Rect, Stencil };
    Kind kind = Kind::Rect;
    int parent = -1;  // the enclosing region, or -1
    Vec2 corners[4];  // Rect: the region's corners in world space
    // Stencil: the commands DrawList::stencils[firstStencil ..
    // firstStencil + stencilCount) form the mask; a pixel shows where the
    // mask's alpha exceeds the threshold (or, inverted, where it does not).
    std::size_t firstStencil = 0;
    std::size_t stencilCount = 0;
    float alphaThreshold = 1.0f;
    bool inverted = false;
};

// One entry of the list. A Sprite entry draws `textureRect` of its texture
// (pixels; when `textureRotated`, the rectangle is stored turned 90 degrees
// clockwise in the texture, as sheet tools pack it) onto `quad` (node space),
// mirrored inside the quad by the flips, and limited to `visibleFraction` of
// the quad (bar progress) or the swept sector (radial progress). Everything
// then goes through `transform` into world space and is tinted by `color`
// and `opacity`, and lands on what is below by `blend`. A placeholder has no
// texture: draw `quad` as a stand-in box. A Shapes entry takes its colours
// from its vertices alone: its `color` is white and its `opacity` 255.
struct DrawCommand {
    DrawKind kind = DrawKind::Sprite;
    const Node* node = nullptr;
    Mat4 transform;  // node space to world space
    float globalZOrder = 0.0f;
    uint32_t order = 0;              // visit order, ties of global z keep it
    int clip = -1;                   // index into DrawList::clips, or -1
    Color3B color = Color3B::WHITE;  // displayed colour of the node
    uint8_t opacity = 255;           // displayed opacity of the node
    BlendFunc blend;

    // Sprite
    AssetName texture;    // full path of the image file ("" for a placeholder)
    AssetName frameName;  // sprite frame name, "" when drawn from a file
    Rect textureRect;     // source rectangle in the texture, pixels
    bool textureRotated = false;
    Rect quad;  // where the image lands, local space
    bool flippedX = false;
    bool flippedY = false;
    bool placeholder = false;  // missing art drawn as a stand-in box
    // Bar and radial progress: the drawn fraction of the quad (0 .. 1 in u and
    // v) and, for radial timers, the swept percentage (negative when unused).
    Rect visibleFraction{0, 0, 1, 1};
    float radialPercentage = -1.0f;
    bool radialCounterClockwise = false;
    Vec2 radialMidpoint;

    // Glyphs: the run of text; Shapes: the draw node's shapes.
    std::shared_ptr<const GlyphRun> glyphs;
    std::shared_ptr<const ShapeBatch> shapes;
};

struct DrawList {
    std::vector<DrawCommand> commands;
    std::vector<DrawCommand> stencils;
    std::vector<ClipRegion> clips;
    Color4B clearColor = Color4B::BLACK;

    void clear();
    // Commands that draw the given sprite frame name, in drawing order.
    std::vector<const DrawCommand*> findByFrame(const std::string& frameName) const;
    std::vector<const DrawCommand*> findByNode(const Node* node) const;
};

// The payload (glyph run, shape batch) that a node fills for this frame: its
// own, refilled in place in the capacity it has, when no draw list holds it
// any more; else a fresh one, so that a list kept from an earlier frame still
// shows what it was given.
template <typename Payload>
Payload& refillablePayload(std::shared_ptr<Payload>& payload) {
    if (payload == nullptr || payload.use_count() > 1) payload = std::make_shared<Payload>();
    return *payload;
}

// State of one walk over the tree.
struct DrawContext {
    explicit DrawContext(DrawList& l) : list(l) {}
    DrawList& list;
    int currentClip = -1;
    bool intoStencil = false;  // commands go to DrawList::stencils
    uint32_t nextOrder = 0;

    // Appends a command with the order and clip filled in; returns it.
    DrawCommand& add(DrawKind kind, const Node* node, const Mat4& transform);
};

}  // namespace cocos2d
