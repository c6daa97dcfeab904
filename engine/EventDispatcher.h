#pragma once

#include <cstdint>
#include <vector>

#include "engine/EventListener.h"

namespace cocos2d {

class Event;
class EventTouch;
class Node;

// Hands input events to listeners in the engine's order: fixed priorities
// below zero (ascending), then scene-graph listeners from the node drawn last
// (topmost) to the one drawn first (the listeners of one node in the order
// they were added), then fixed priorities above zero. Main
// thread only; listeners may be added or removed from inside a callback (a
// removed listener hears nothing more; an added one hears the next event).
class EventDispatcher {
public:
    EventDispatcher();
    ~EventDispatcher();
    EventDispatcher(const EventDispatcher&) = delete;
    EventDispatcher& operator=(const EventDispatcher&) = delete;

    void addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node);
    // `fixedPriority` must not be 0 (0 is the scene graph's).
    void addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority);
    void removeEventListener(EventListener* listener);
    void removeEventListenersForType(EventListener::Type type);
    void removeEventListenersForTarget(Node* target, bool recursive = false);
    void removeAllEventListeners();
    void pauseEventListenersForTarget(Node* target, bool recursive = false);
    void resumeEventListenersForTarget(Node* target, bool recursive = false);
    void setPriority(EventListener* listener, int fixedPriority);
    void setEnabled(bool enabled) { enabled_ = enabled; }
    bool isEnabled() const { return enabled_; }
    bool hasEventListener(EventListener::Type type) const;

    void dispatchEvent(Event* event);

private:
    std::vector<EventListener*> orderedListeners(EventListener::Type type) const;
    void dispatchTouchEvent(EventTouch* event);
    static bool listenerLive(const EventListener* listener);
    void purgeRemoved();

    std::vector<EventListener*> listeners_;  // retained
    int dispatching_ = 0;
    bool enabled_ = true;
    uint64_t nextSequence_ = 0;
};

}  // namespace cocos2d
