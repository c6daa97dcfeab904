#pragma once

#include <vector>

#include "engine/RefPtr.h"
#include "world/adapters/NodeMediator.h"
#include "world/adapters/VisualNodeMediator.h"

namespace cocos2d {
class Node;
class Sprite;
class Sprite3D;
}  // namespace cocos2d

// The engine side of every node mediator: the wrapped node and the lists of
// nodes that move up into the parent when this mediator's node is added to
// another mediator's node.
//
// The wrapped node is not retained (the scene graph owns it; it usually owns
// its mediator). Nodes in the two lists are retained while listed. Owners
// delete mediators through any of their bases. Main thread only.
class CocosNodeBase {
public:
    explicit CocosNodeBase(cocos2d::Node* node) : node_(node) {}
    virtual ~CocosNodeBase();
    CocosNodeBase(const CocosNodeBase&) = delete;
    CocosNodeBase& operator=(const CocosNodeBase&) = delete;

    cocos2d::Node* getNode() const { return node_; }

    // Nodes put on this mediator's node before it has a parent that should
    // move up into that parent, keeping their place on screen and their
    // apparent size, when this mediator is added as a child.
    std::vector<cocos2d::RefPtr<cocos2d::Node>> liftList;
    // Nodes lifted so far; they leave the parent with this mediator.
    std::vector<cocos2d::RefPtr<cocos2d::Node>> liftedList;

    // The engine side of a world mediator; throws Convinience::Error("Cannot
    // add child of wrong derivied mediator!") for any other implementation.
    static CocosNodeBase& engineSide(Zarn::NodeMediator* mediator);

protected:
    // Adds the child's node to this node and lifts the child's lift list.
    void addChildLifting(Zarn::NodeMediator* child);
    // Removes the child's lifted nodes from their parents and the child's
    // node from this node, with clean-up.
    void removeChildWithLifted(Zarn::NodeMediator* child);
    // Removes only the child's node, with clean-up.
    void removeChildOnly(Zarn::NodeMediator* child);

    cocos2d::Node* node_;
};

// The node operations of the world's interface over any engine node, shared
// by the three mediators; Interface is Zarn::NodeMediator or one of its
// variadic forms.
template <class Interface>
class CocosNodeOps : public CocosNodeBase, public Interface {
public:
    using CocosNodeBase::CocosNodeBase;

    GeometryLib::FPoint getVisibleSize() override;
    GeometryLib::FPoint getVisibleOrigin() override;
    void setContentSize(float width, float height) override;
    void setAnchorPoint(float x, float y) override;
    void setPosition(float x, float y) override;
    void setZOrder(int z) override;
    void setGlobalZOrder(int z) override;
    void setRotation(float degrees) override;
    void setOpacity(u8 opacity) override;
    void setScale(float scale) override;
    void setVisible(bool visible) override;
    // Scale x becomes minus its absolute value when flipped, else its
    // absolute value (y likewise).
    void setFlippedX(bool flipped) override;
    void setFlippedY(bool flipped) override;
    GeometryLib::FPoint getPosition() override;
    GeometryLib::FPoint getContentSize() override;
    GeometryLib::FPoint convertToNodeSpace(const GeometryLib::FPoint& worldPoint) override;
    float getScale() override;
    GeometryLib::FRect getRect() override;
    void scheduleUpdate() override;
    void addChild(Zarn::NodeMediator* child) override { addChildLifting(child); }
    void removeChild(Zarn::NodeMediator* child) override { removeChildWithLifted(child); }
};

extern template class CocosNodeOps<Zarn::NodeMediator>;
extern template class CocosNodeOps<
    Zarn::VariadicNodeMediator<Zarn::SpriteNodeMediator, Zarn::VisualNodeMediator>>;
extern template class CocosNodeOps<
    Zarn::VariadicNodeMediator<Zarn::Sprite3DNodeMediator, Zarn::VisualNodeMediator>>;

// The mediator of a plain node.
class CocosNodeMediator final : public CocosNodeOps<Zarn::NodeMediator> {
public:
    explicit CocosNodeMediator(cocos2d::Node* node) : CocosNodeOps(node) {}
};

// The mediator of a 2D sprite: node handle and visual reactions in one
// object. The visual operations go to the delegate, which outlives the
// mediator (not owned).
class CocosNode1Mediator final
    : public CocosNodeOps<Zarn::VariadicNodeMediator<Zarn::SpriteNodeMediator, Zarn::VisualNodeMediator>> {
public:
    CocosNode1Mediator(cocos2d::Sprite* sprite, Zarn::VisualNodeMediator* delegate);

    // The sprite's own mirroring (x shows the current frame again).
    void setFlippedX(bool flipped) override;
    void setFlippedY(bool flipped) override;

    void onVisibilityChanged(u8 state) override { delegate_->onVisibilityChanged(state); }
    void onStateChanged(u32 oldState, u32 newState) override {
        delegate_->onStateChanged(oldState, newState);
    }
    void onShowHide(u32 value, u8 state) override { delegate_->onShowHide(value, state); }

    Zarn::VisualNodeMediator* getDelegate() const { return delegate_; }

private:
    cocos2d::Sprite* sprite_;
    Zarn::VisualNodeMediator* delegate_;
};

// The mediator of a 3D model. Drawing orders move the model along its z axis;
// a rotation turns it about its vertical axis; children are added and removed
// without lifting. Visual operations go to the delegate (not owned).
class Cocos3DNode1Mediator final
    : public CocosNodeOps<Zarn::VariadicNodeMediator<Zarn::Sprite3DNodeMediator, Zarn::VisualNodeMediator>> {
public:
    Cocos3DNode1Mediator(cocos2d::Sprite3D* model, Zarn::VisualNodeMediator* delegate);

    // Position z = z.
    void setZOrder(int z) override;
    void setGlobalZOrder(int z) override;
    // 3D rotation (x kept, y = degrees, z = 0).
    void setRotation(float degrees) override;
    void addChild(Zarn::NodeMediator* child) override;
    void removeChild(Zarn::NodeMediator* child) override { removeChildOnly(child); }

    void onVisibilityChanged(u8 state) override { delegate_->onVisibilityChanged(state); }
    void onStateChanged(u32 oldState, u32 newState) override {
        delegate_->onStateChanged(oldState, newState);
    }
    void onShowHide(u32 value, u8 state) override { delegate_->onShowHide(value, state); }

private:
    Zarn::VisualNodeMediator* delegate_;
};
