#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
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

    // The tree changed in a way that can change the listening order (a node
    // added, removed or reordered, a global z, another running scene). Nodes
    // and the director call it; the order is worked out again at the next
    // event, not at every one.
    void sceneGraphChanged() { ++version_; }

private:
    static constexpr std::size_t kTypeCount = 6;
    // The listeners of one type in dispatch order, kept until the tree or the
    // listeners change.
    struct Order {
        std::vector<EventListener*> listeners;
        uint64_t version = ~uint64_t{0};
    };
    // A retained copy of an order for one dispatch (listeners may come and go
    // from inside their callbacks); buffers are reused from event to event.
    class Snapshot;

    const std::vector<EventListener*>& orderedListeners(EventListener::Type type);
    void dispatchTouchEvent(EventTouch* event);
    static bool listenerLive(const EventListener* listener);
    void unregister(EventListener* listener);
    void purgeRemoved();

    std::vector<EventListener*> listeners_;  // retained
    Order orders_[kTypeCount];
    uint64_t version_ = 0;
    std::deque<std::vector<EventListener*>> snapshotBuffers_;
    std::size_t snapshotsInUse_ = 0;
    int dispatching_ = 0;
    bool removedPending_ = false;
    bool enabled_ = true;
    uint64_t nextSequence_ = 0;
};

}  // namespace cocos2d
