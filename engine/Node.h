#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "engine/Ref.h"
#include "engine/Types.h"
#include "engine/Vector.h"

namespace cocos2d {

class Action;
class ActionManager;
class Scheduler;
class EventDispatcher;
class Scene;
struct DrawContext;
struct DrawCommand;

// Flags handed down the tree while drawing.
enum : uint32_t { FLAGS_TRANSFORM_DIRTY = 1, FLAGS_CONTENT_SIZE_DIRTY = 2 };

// A node of the scene graph. Children are ordered by local z order, ties by
// order of arrival (the order in which they were added or last reordered);
// children with a negative z are drawn before the node itself, the others
// after it. Position is where the anchor point sits in the parent's space;
// rotation is in degrees, clockwise.
//
// Main thread only. A node holds one reference to each child; the scheduler and
// the action manager hold the node while they have work for it.
class Node : public Ref {
public:
    static const int INVALID_TAG = -1;

    static Node* create();
    ~Node() override;

    virtual bool init();

    // --- tree ---
    virtual void addChild(Node* child);
    virtual void addChild(Node* child, int localZOrder);
    virtual void addChild(Node* child, int localZOrder, int tag);
    virtual void addChild(Node* child, int localZOrder, const std::string& name);
    virtual void removeChild(Node* child, bool cleanup = true);
    virtual void removeChildByTag(int tag, bool cleanup = true);
    virtual void removeChildByName(const std::string& name, bool cleanup = true);
    virtual void removeAllChildren();
    virtual void removeAllChildrenWithCleanup(bool cleanup);
    virtual void removeFromParent();
    virtual void removeFromParentAndCleanup(bool cleanup);
    virtual void reorderChild(Node* child, int localZOrder);
    // Sorts the children by (local z, arrival) when the order is stale.
    virtual void sortAllChildren();

    Node* getChildByTag(int tag) const;
    Node* getChildByName(const std::string& name) const;
    template <typename T>
    T getChildByName(const std::string& name) const {
        return static_cast<T>(getChildByName(name));
    }
    Vector<Node*>& getChildren() { return children_; }
    const Vector<Node*>& getChildren() const { return children_; }
    std::size_t getChildrenCount() const { return children_.size(); }
    Node* getParent() const { return parent_; }
    virtual void setParent(Node* parent);
    // The scene this node is in, or null.
    Scene* getScene() const;

    // --- identity ---
    int getTag() const { return tag_; }
    virtual void setTag(int tag) { tag_ = tag; }
    const std::string& getName() const { return name_; }
    virtual void setName(const std::string& name) { name_ = name; }
    void* getUserData() const { return userData_; }
    void setUserData(void* data) { userData_ = data; }

    // --- ordering ---
    // A new z puts the node behind the siblings that already have that z; the
    // z it already has changes nothing.
    virtual void setLocalZOrder(int z);
    virtual void setZOrder(int z) { setLocalZOrder(z); }
    int getLocalZOrder() const { return localZOrder_; }
    int getZOrder() const { return localZOrder_; }
    virtual void setGlobalZOrder(float z);
    float getGlobalZOrder() const { return globalZOrder_; }
    unsigned int getOrderOfArrival() const { return orderOfArrival_; }

    // --- geometry ---
    virtual void setPosition(const Vec2& position);
    virtual void setPosition(float x, float y) { setPosition(Vec2(x, y)); }
    const Vec2& getPosition() const { return position_; }
    void getPosition(float* x, float* y) const;
    virtual void setPositionX(float x) { setPosition(Vec2(x, position_.y)); }
    virtual void setPositionY(float y) { setPosition(Vec2(position_.x, y)); }
    float getPositionX() const { return position_.x; }
    float getPositionY() const { return position_.y; }
    virtual void setPositionZ(float z);
    float getPositionZ() const { return positionZ_; }
    virtual void setPosition3D(const Vec3& position);
    Vec3 getPosition3D() const { return {position_.x, position_.y, positionZ_}; }
    // Position as a fraction of the parent's content size.
    virtual void setNormalizedPosition(const Vec2& position);

    virtual void setAnchorPoint(const Vec2& anchor);
    const Vec2& getAnchorPoint() const { return anchorPoint_; }
    const Vec2& getAnchorPointInPoints() const { return anchorPointInPoints_; }
    virtual void setIgnoreAnchorPointForPosition(bool ignore);
    bool isIgnoreAnchorPointForPosition() const { return ignoreAnchorPointForPosition_; }

    virtual void setContentSize(const Size& size);
    const Size& getContentSize() const { return contentSize_; }

    virtual void setScale(float scale);
    virtual void setScale(float scaleX, float scaleY);
    virtual void setScaleX(float scaleX);
    virtual void setScaleY(float scaleY);
    virtual void setScaleZ(float scaleZ) { scaleZ_ = scaleZ; }
    // The x scale; meaningful as "the" scale when both are equal.
    float getScale() const { return scaleX_; }
    float getScaleX() const { return scaleX_; }
    float getScaleY() const { return scaleY_; }
    float getScaleZ() const { return scaleZ_; }

    virtual void setRotation(float degrees);
    float getRotation() const { return rotation_; }
    // x and y turn a 3D node about its own axes (kept for 3D nodes; the 2D
    // transform uses z only).
    virtual void setRotation3D(const Vec3& rotation);
    Vec3 getRotation3D() const { return {rotationX_, rotationY_, rotation_}; }
    virtual void setSkewX(float degrees);
    virtual void setSkewY(float degrees);
    float getSkewX() const { return skewX_; }
    float getSkewY() const { return skewY_; }

    virtual void setVisible(bool visible) { visible_ = visible; }
    bool isVisible() const { return visible_; }

    // --- colour and opacity ---
    virtual void setOpacity(uint8_t opacity);
    uint8_t getOpacity() const { return realOpacity_; }
    uint8_t getDisplayedOpacity() const { return displayedOpacity_; }
    virtual void updateDisplayedOpacity(uint8_t parentOpacity);
    virtual void setCascadeOpacityEnabled(bool enabled);
    bool isCascadeOpacityEnabled() const { return cascadeOpacityEnabled_; }
    virtual void setColor(const Color3B& color);
    const Color3B& getColor() const { return realColor_; }
    const Color3B& getDisplayedColor() const { return displayedColor_; }
    virtual void updateDisplayedColor(const Color3B& parentColor);
    virtual void setCascadeColorEnabled(bool enabled);
    bool isCascadeColorEnabled() const { return cascadeColorEnabled_; }
    // Called whenever the displayed colour or opacity changed.
    virtual void updateColor() {}

    // --- transforms ---
    virtual const Mat4& getNodeToParentTransform() const;
    Mat4 getParentToNodeTransform() const { return getNodeToParentTransform().getInversed(); }
    Mat4 getNodeToWorldTransform() const;
    Mat4 getWorldToNodeTransform() const { return getNodeToWorldTransform().getInversed(); }
    Vec2 convertToNodeSpace(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpace(const Vec2& nodePoint) const;
    Vec2 convertToNodeSpaceAR(const Vec2& worldPoint) const;
    Vec2 convertToWorldSpaceAR(const Vec2& nodePoint) const;
    // The content box in the parent's space (the axis-aligned box around it).
    virtual Rect getBoundingBox() const;

    // --- life cycle (the director and parents call these) ---
    virtual void onEnter();
    virtual void onEnterTransitionDidFinish();
    virtual void onExitTransitionDidStart();
    virtual void onExit();
    // Stops the node's actions and scheduled callbacks, recursively.
    virtual void cleanup();
    bool isRunning() const { return running_; }
    void setOnEnterCallback(std::function<void()> callback) { onEnterCallback_ = std::move(callback); }
    void setOnExitCallback(std::function<void()> callback) { onExitCallback_ = std::move(callback); }

    // --- drawing ---
    // Walks this node and its children into the draw list.
    virtual void visit(DrawContext& context, const Mat4& parentTransform, uint32_t parentFlags);
    // Adds this node's own entries (nothing for a plain node).
    virtual void draw(DrawContext& context, const Mat4& transform, uint32_t flags) {}

    // --- actions ---
    Action* runAction(Action* action);
    void stopAllActions();
    void stopAction(Action* action);
    void stopActionByTag(int tag);
    void stopAllActionsByTag(int tag);
    Action* getActionByTag(int tag);
    std::size_t getNumberOfRunningActions() const;
    ActionManager* getActionManager() const { return actionManager_; }

    // --- scheduling ---
    // Calls update(dt) every frame while the node is running.
    void scheduleUpdate();
    void scheduleUpdateWithPriority(int priority);
    void unscheduleUpdate();
    virtual void update(float dt) {}
    void schedule(const std::function<void(float)>& callback, const std::string& key);
    void schedule(const std::function<void(float)>& callback, float interval, const std::string& key);
    void schedule(const std::function<void(float)>& callback, float interval, unsigned int repeat,
                  float delay, const std::string& key);
    void scheduleOnce(const std::function<void(float)>& callback, float delay, const std::string& key);
    void schedule(SEL_SCHEDULE selector);
    void schedule(SEL_SCHEDULE selector, float interval);
    void schedule(SEL_SCHEDULE selector, float interval, unsigned int repeat, float delay);
    void scheduleOnce(SEL_SCHEDULE selector, float delay);
    bool isScheduled(const std::string& key) const;
    bool isScheduled(SEL_SCHEDULE selector) const;
    void unschedule(const std::string& key);
    void unschedule(SEL_SCHEDULE selector);
    void unscheduleAllCallbacks();
    // Pauses or resumes this node's actions, callbacks and event listeners.
    virtual void pause();
    virtual void resume();
    Scheduler* getScheduler() const { return scheduler_; }
    EventDispatcher* getEventDispatcher() const { return eventDispatcher_; }

public:
    Node();

protected:
    void childrenAltered() { reorderChildDirty_ = true; }
    void markTransformDirty() { transformDirty_ = true; }
    void insertChild(Node* child, int z);
    // Adds a child without going through the (overridable) addChild calls.
    void addChildHelper(Node* child, int localZOrder, const std::string& name);
    void updateCascadeOpacity();
    void updateCascadeColor();
    void disableCascadeOpacity();
    void disableCascadeColor();
    void detachChild(Node* child, std::ptrdiff_t index, bool cleanup);

    Vector<Node*> children_;
    // The parent keeps this node alive while it is a child.
    Node* parent_ = nullptr;
    int tag_ = INVALID_TAG;
    std::string name_;
    void* userData_ = nullptr;

    int localZOrder_ = 0;
    float globalZOrder_ = 0.0f;
    unsigned int orderOfArrival_ = 0;
    unsigned int childArrivalCounter_ = 0;
    bool reorderChildDirty_ = false;

    Vec2 position_;
    float positionZ_ = 0.0f;
    bool usingNormalizedPosition_ = false;
    Vec2 normalizedPosition_;
    Vec2 anchorPoint_;
    Vec2 anchorPointInPoints_;
    bool ignoreAnchorPointForPosition_ = false;
    Size contentSize_;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    float scaleZ_ = 1.0f;
    float rotation_ = 0.0f;
    float rotationX_ = 0.0f;
    float rotationY_ = 0.0f;
    float skewX_ = 0.0f;
    float skewY_ = 0.0f;
    bool visible_ = true;

    uint8_t realOpacity_ = 255;
    uint8_t displayedOpacity_ = 255;
    Color3B realColor_ = Color3B::WHITE;
    Color3B displayedColor_ = Color3B::WHITE;
    bool cascadeOpacityEnabled_ = false;
    bool cascadeColorEnabled_ = false;

    mutable Mat4 transform_;
    mutable bool transformDirty_ = true;

    bool running_ = false;
    bool transitionFinished_ = false;
    std::function<void()> onEnterCallback_;
    std::function<void()> onExitCallback_;

    // The director's services, taken at construction; the director outlives
    // every node.
    Scheduler* scheduler_ = nullptr;
    ActionManager* actionManager_ = nullptr;
    EventDispatcher* eventDispatcher_ = nullptr;
};

}  // namespace cocos2d
