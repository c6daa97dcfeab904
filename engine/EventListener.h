#pragma once

#include <functional>
#include <string>
#include <vector>

#include "engine/Event.h"
#include "engine/Ref.h"

namespace cocos2d {

class Node;

// Something that reacts to events of one kind. A listener is registered with
// the event dispatcher either for a node (scene-graph priority: the node drawn
// on top hears first, and only while the node is running) or with a fixed
// priority (lower numbers first; negative ones before every node, positive
// ones after).
class EventListener : public Ref {
public:
    enum class Type { UNKNOWN, TOUCH_ONE_BY_ONE, TOUCH_ALL_AT_ONCE, KEYBOARD, MOUSE, CUSTOM };

    Type getType() const { return type_; }
    virtual bool checkAvailable() = 0;
    virtual EventListener* clone() = 0;
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }
    bool isPaused() const { return paused_; }
    bool isRegistered() const { return registered_; }
    Node* getAssociatedNode() const { return node_; }
    int getFixedPriority() const { return fixedPriority_; }

protected:
    explicit EventListener(Type type) : type_(type) {}

private:
    friend class EventDispatcher;
    Type type_;
    bool enabled_ = true;
    bool paused_ = true;
    bool registered_ = false;
    // The node this listener belongs to; the node removes its listeners when
    // it is destroyed.
    Node* node_ = nullptr;
    int fixedPriority_ = 0;
    uint64_t sequence_ = 0;
};

class EventListenerTouchOneByOne : public EventListener {
public:
    static EventListenerTouchOneByOne* create();
    bool checkAvailable() override { return static_cast<bool>(onTouchBegan); }
    EventListenerTouchOneByOne* clone() override;
    // A swallowing listener that claims a touch (onTouchBegan true, and still
    // registered after answering) keeps it from the listeners after it.
    void setSwallowTouches(bool swallow) { swallowTouches_ = swallow; }
    bool isSwallowTouches() const { return swallowTouches_; }

    std::function<bool(Touch*, Event*)> onTouchBegan;
    std::function<void(Touch*, Event*)> onTouchMoved;
    std::function<void(Touch*, Event*)> onTouchEnded;
    std::function<void(Touch*, Event*)> onTouchCancelled;

private:
    friend class EventDispatcher;
    EventListenerTouchOneByOne() : EventListener(Type::TOUCH_ONE_BY_ONE) {}
    std::vector<Touch*> claimedTouches_;
    bool swallowTouches_ = false;
};

class EventListenerTouchAllAtOnce : public EventListener {
public:
    static EventListenerTouchAllAtOnce* create();
    bool checkAvailable() override;
    EventListenerTouchAllAtOnce* clone() override;

    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesBegan;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesMoved;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesEnded;
    std::function<void(const std::vector<Touch*>&, Event*)> onTouchesCancelled;

private:
    EventListenerTouchAllAtOnce() : EventListener(Type::TOUCH_ALL_AT_ONCE) {}
};

class EventListenerMouse : public EventListener {
public:
    static EventListenerMouse* create();
    bool checkAvailable() override { return true; }
    EventListenerMouse* clone() override;

    std::function<void(EventMouse*)> onMouseDown;
    std::function<void(EventMouse*)> onMouseUp;
    std::function<void(EventMouse*)> onMouseMove;
    std::function<void(EventMouse*)> onMouseScroll;

private:
    EventListenerMouse() : EventListener(Type::MOUSE) {}
};

class EventListenerKeyboard : public EventListener {
public:
    static EventListenerKeyboard* create();
    bool checkAvailable() override { return onKeyPressed || onKeyReleased; }
    EventListenerKeyboard* clone() override;

    std::function<void(EventKeyboard::KeyCode, Event*)> onKeyPressed;
    std::function<void(EventKeyboard::KeyCode, Event*)> onKeyReleased;

private:
    EventListenerKeyboard() : EventListener(Type::KEYBOARD) {}
};

}  // namespace cocos2d
