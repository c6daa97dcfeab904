#pragma once

#include "foundation/Geometry.h"

namespace Zarn {

// The world's handle on one engine node. The engine side implements it; the
// world keeps the pointers it is given and calls them from the main thread
// only. Sizes are FPoints (x width, y height), angles degrees, rectangles have
// their origin at the lower-left corner in the parent's space.
//
// The creator owns each mediator and may delete it through this interface.
class NodeMediator {
public:
    virtual ~NodeMediator() = default;

    virtual GeometryLib::FPoint getVisibleSize() = 0;
    virtual GeometryLib::FPoint getVisibleOrigin() = 0;
    virtual void setContentSize(float width, float height) = 0;
    virtual void setAnchorPoint(float x, float y) = 0;
    virtual void setPosition(float x, float y) = 0;
    virtual void setZOrder(int z) = 0;
    virtual void setGlobalZOrder(int z) = 0;
    virtual void setRotation(float degrees) = 0;
    virtual void setOpacity(u8 opacity) = 0;
    virtual void setScale(float scale) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setFlippedX(bool flipped) = 0;
    virtual void setFlippedY(bool flipped) = 0;
    virtual GeometryLib::FPoint getPosition() = 0;
    virtual GeometryLib::FPoint getContentSize() = 0;
    virtual GeometryLib::FPoint convertToNodeSpace(const GeometryLib::FPoint& worldPoint) = 0;
    virtual float getScale() = 0;
    // The rectangle the node covers in its parent's space.
    virtual GeometryLib::FRect getRect() = 0;
    virtual void scheduleUpdate() = 0;
    // Only mediators of the same engine side are accepted; others are refused
    // with "Cannot add child of wrong derivied mediator!".
    virtual void addChild(NodeMediator* child) = 0;
    virtual void removeChild(NodeMediator* child) = 0;
};

// Markers without operations that tell a 2D sprite's mediator from a 3D
// model's.
class SpriteNodeMediator {
protected:
    ~SpriteNodeMediator() = default;
};

class Sprite3DNodeMediator {
protected:
    ~Sprite3DNodeMediator() = default;
};

// One object that is the node handle and the further interfaces at once, so
// that a visual hands out a single pointer for its node and its reactions
// (VariadicNodeMediator<SpriteNodeMediator, VisualNodeMediator> for sprites,
// <Sprite3DNodeMediator, VisualNodeMediator> for 3D models). Owned by its
// creator, like NodeMediator.
template <typename... Interfaces>
class VariadicNodeMediator : public NodeMediator, public Interfaces... {};

}  // namespace Zarn
