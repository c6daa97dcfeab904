#pragma once

#include <functional>

#include "engine/Node.h"

namespace cocos2d {

class EventListenerTouchOneByOne;
class Event;
class Sprite;
class Touch;

namespace ui {

// Where a widget's images come from: image files or sprite frames of loaded
// sheets.
enum class TextureResType { LOCAL = 0, PLIST = 1 };

// Base of the engine's touchable widgets: a node with a swallowing one-by-one
// touch listener (scene-graph priority) that hit-tests its content box, keeps
// a highlighted (pressed) state while the touch stays inside, and reports the
// touch and a click (a press released inside). Main thread only.
class Widget : public Node {
public:
    enum class TouchEventType { BEGAN, MOVED, ENDED, CANCELED };
    using ccWidgetTouchCallback = std::function<void(Ref*, TouchEventType)>;
    using ccWidgetClickCallback = std::function<void(Ref*)>;

    static Widget* create();
    Widget();
    ~Widget() override;
    bool init() override;

    virtual void setEnabled(bool enabled);
    bool isEnabled() const { return enabled_; }
    void setBright(bool bright) { bright_ = bright; }
    bool isBright() const { return bright_; }
    virtual void setTouchEnabled(bool enabled);
    bool isTouchEnabled() const { return touchEnabled_; }
    void setSwallowTouches(bool swallow);
    bool isSwallowTouches() const;
    virtual void setHighlighted(bool highlighted);
    bool isHighlighted() const { return highlighted_; }

    void addTouchEventListener(const ccWidgetTouchCallback& callback) { touchCallback_ = callback; }
    void addClickEventListener(const ccWidgetClickCallback& callback) { clickCallback_ = callback; }

    // A design point (world space) inside the content box.
    virtual bool hitTest(const Vec2& worldPoint) const;
    const Vec2& getTouchBeganPosition() const { return touchBeganPosition_; }
    const Vec2& getTouchMovePosition() const { return touchMovePosition_; }
    const Vec2& getTouchEndPosition() const { return touchEndPosition_; }

    virtual bool onTouchBegan(Touch* touch, Event* event);
    virtual void onTouchMoved(Touch* touch, Event* event);
    virtual void onTouchEnded(Touch* touch, Event* event);
    virtual void onTouchCancelled(Touch* touch, Event* event);

protected:
    // The look of the three states; subclasses swap their images.
    virtual void onPressStateChangedToNormal() {}
    virtual void onPressStateChangedToPressed() {}
    virtual void onPressStateChangedToDisabled() {}
    void releaseUpEvent();
    void cancelUpEvent();
    bool ancestorsVisible() const;
    // Loads an image node for a widget part (never null: missing art is a
    // placeholder).
    static Sprite* makeImage(const std::string& name, TextureResType type);

    bool enabled_ = true;
    bool bright_ = true;
    bool touchEnabled_ = false;
    bool highlighted_ = false;
    bool hitted_ = false;
    Vec2 touchBeganPosition_;
    Vec2 touchMovePosition_;
    Vec2 touchEndPosition_;
    EventListenerTouchOneByOne* touchListener_ = nullptr;  // retained while touch is enabled
    ccWidgetTouchCallback touchCallback_;
    ccWidgetClickCallback clickCallback_;
};

}  // namespace ui
}  // namespace cocos2d
