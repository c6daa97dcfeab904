#include "engine/EventDispatcher.h"

#include <algorithm>
#include <exception>
#include <unordered_map>

#include "engine/Director.h"
#include "engine/Node.h"
#include "engine/Scene.h"

namespace cocos2d {

// ---------------------------------------------------------------- listeners

namespace {
template <typename T>
T* finish(T* listener) {
    listener->autorelease();
    return listener;
}
}  // namespace

EventListenerTouchOneByOne* EventListenerTouchOneByOne::create() {
    return finish(new EventListenerTouchOneByOne());
}

EventListenerTouchOneByOne* EventListenerTouchOneByOne::clone() {
    auto* c = create();
    c->onTouchBegan = onTouchBegan;
    c->onTouchMoved = onTouchMoved;
    c->onTouchEnded = onTouchEnded;
    c->onTouchCancelled = onTouchCancelled;
    c->swallowTouches_ = swallowTouches_;
    return c;
}

EventListenerTouchAllAtOnce* EventListenerTouchAllAtOnce::create() {
    return finish(new EventListenerTouchAllAtOnce());
}

bool EventListenerTouchAllAtOnce::checkAvailable() {
    return onTouchesBegan || onTouchesMoved || onTouchesEnded || onTouchesCancelled;
}

EventListenerTouchAllAtOnce* EventListenerTouchAllAtOnce::clone() {
    auto* c = create();
    c->onTouchesBegan = onTouchesBegan;
    c->onTouchesMoved = onTouchesMoved;
    c->onTouchesEnded = onTouchesEnded;
    c->onTouchesCancelled = onTouchesCancelled;
    return c;
}

EventListenerMouse* EventListenerMouse::create() {
    return finish(new EventListenerMouse());
}

EventListenerMouse* EventListenerMouse::clone() {
    auto* c = create();
    c->onMouseDown = onMouseDown;
    c->onMouseUp = onMouseUp;
    c->onMouseMove = onMouseMove;
    c->onMouseScroll = onMouseScroll;
    return c;
}

EventListenerKeyboard* EventListenerKeyboard::create() {
    return finish(new EventListenerKeyboard());
}

EventListenerKeyboard* EventListenerKeyboard::clone() {
    auto* c = create();
    c->onKeyPressed = onKeyPressed;
    c->onKeyReleased = onKeyReleased;
    return c;
}

// ---------------------------------------------------------------- dispatcher

class EventDispatcher::Snapshot {
public:
    Snapshot(EventDispatcher& dispatcher, const std::vector<EventListener*>& order)
        : dispatcher_(dispatcher), listeners_(take(dispatcher)) {
        listeners_.assign(order.begin(), order.end());
        for (EventListener* l : listeners_) l->retain();
    }
    ~Snapshot() {
        for (EventListener* l : listeners_) l->release();
        listeners_.clear();
        --dispatcher_.snapshotsInUse_;
    }
    Snapshot(const Snapshot&) = delete;
    Snapshot& operator=(const Snapshot&) = delete;
    const std::vector<EventListener*>& listeners() const { return listeners_; }
    bool empty() const { return listeners_.empty(); }

private:
    // One buffer per nesting level (an event dispatched from a callback);
    // a deque keeps the outer levels' buffers in place as it grows.
    static std::vector<EventListener*>& take(EventDispatcher& d) {
        if (d.snapshotsInUse_ == d.snapshotBuffers_.size()) d.snapshotBuffers_.emplace_back();
        return d.snapshotBuffers_[d.snapshotsInUse_++];
    }
    EventDispatcher& dispatcher_;
    std::vector<EventListener*>& listeners_;
};

EventDispatcher::EventDispatcher() = default;

EventDispatcher::~EventDispatcher() {
    for (EventListener* l : listeners_) l->release();
}

void EventDispatcher::addEventListenerWithSceneGraphPriority(EventListener* listener, Node* node) {
    if (listener == nullptr || node == nullptr || listener->registered_ || !listener->checkAvailable())
        return;
    listener->node_ = node;
    listener->fixedPriority_ = 0;
    listener->registered_ = true;
    listener->paused_ = !node->isRunning();
    listener->sequence_ = nextSequence_++;
    listener->retain();
    listeners_.push_back(listener);
    ++version_;
}

void EventDispatcher::addEventListenerWithFixedPriority(EventListener* listener, int fixedPriority) {
    if (listener == nullptr || fixedPriority == 0 || listener->registered_ || !listener->checkAvailable())
        return;
    listener->node_ = nullptr;
    listener->fixedPriority_ = fixedPriority;
    listener->registered_ = true;
    listener->paused_ = false;
    listener->sequence_ = nextSequence_++;
    listener->retain();
    listeners_.push_back(listener);
    ++version_;
}

void EventDispatcher::setPriority(EventListener* listener, int fixedPriority) {
    if (listener != nullptr && listener->node_ == nullptr && fixedPriority != 0) {
        listener->fixedPriority_ = fixedPriority;
        ++version_;
    }
}

void EventDispatcher::unregister(EventListener* listener) {
    listener->registered_ = false;
    listener->node_ = nullptr;
    removedPending_ = true;
    ++version_;
}

void EventDispatcher::purgeRemoved() {
    if (dispatching_ > 0 || !removedPending_) return;
    removedPending_ = false;
    std::vector<EventListener*> kept;
    std::vector<EventListener*> gone;
    kept.reserve(listeners_.size());
    for (EventListener* l : listeners_) (l->registered_ ? kept : gone).push_back(l);
    listeners_.swap(kept);
    // Releasing may run destructors that remove further listeners.
    for (EventListener* l : gone) l->release();
}

void EventDispatcher::removeEventListener(EventListener* listener) {
    if (listener == nullptr) return;
    for (EventListener* l : listeners_)
        if (l == listener && l->registered_) unregister(l);
    purgeRemoved();
}

void EventDispatcher::removeEventListenersForType(EventListener::Type type) {
    for (EventListener* l : listeners_)
        if (l->registered_ && l->getType() == type) unregister(l);
    purgeRemoved();
}

namespace {
bool belongsTo(const Node* node, const Node* target, bool recursive) {
    if (node == target) return true;
    if (!recursive || node == nullptr) return false;
    for (const Node* p = node->getParent(); p != nullptr; p = p->getParent())
        if (p == target) return true;
    return false;
}
}  // namespace

void EventDispatcher::removeEventListenersForTarget(Node* target, bool recursive) {
    for (EventListener* l : listeners_)
        if (l->node_ != nullptr && belongsTo(l->node_, target, recursive)) unregister(l);
    purgeRemoved();
}

void EventDispatcher::removeAllEventListeners() {
    for (EventListener* l : listeners_)
        if (l->registered_) unregister(l);
    purgeRemoved();
}

void EventDispatcher::pauseEventListenersForTarget(Node* target, bool recursive) {
    for (EventListener* l : listeners_)
        if (l->node_ != nullptr && belongsTo(l->node_, target, recursive)) l->paused_ = true;
}

void EventDispatcher::resumeEventListenersForTarget(Node* target, bool recursive) {
    for (EventListener* l : listeners_)
        if (l->node_ != nullptr && belongsTo(l->node_, target, recursive)) l->paused_ = false;
}

bool EventDispatcher::hasEventListener(EventListener::Type type) const {
    return std::any_of(listeners_.begin(), listeners_.end(),
                       [type](const EventListener* l) { return l->registered_ && l->getType() == type; });
}

bool EventDispatcher::listenerLive(const EventListener* listener) {
    return listener->registered_ && listener->enabled_ && !listener->paused_;
}

namespace {
// Numbers the nodes that have listeners in draw order (later = drawn on top).
void rankInDrawOrder(Node* node, std::unordered_map<const Node*, uint32_t>& ranks, uint32_t& next) {
    node->sortAllChildren();
    const auto& kids = node->getChildren().asStdVector();
    std::size_t i = 0;
    for (; i < kids.size() && kids[i]->getLocalZOrder() < 0; ++i) rankInDrawOrder(kids[i], ranks, next);
    auto it = ranks.find(node);
    if (it != ranks.end()) it->second = next;
    ++next;
    for (; i < kids.size(); ++i) rankInDrawOrder(kids[i], ranks, next);
}
}  // namespace

const std::vector<EventListener*>& EventDispatcher::orderedListeners(EventListener::Type type) {
    Order& order = orders_[static_cast<std::size_t>(type)];
    if (order.version == version_) return order.listeners;
    std::vector<EventListener*> fixedLow, graph, fixedHigh;
    for (EventListener* l : listeners_) {
        if (l->getType() != type || !l->registered_) continue;
        if (l->node_ != nullptr) {
            graph.push_back(l);
        } else {
            (l->fixedPriority_ < 0 ? fixedLow : fixedHigh).push_back(l);
        }
    }
    auto byPriority = [](const EventListener* a, const EventListener* b) {
        return a->fixedPriority_ < b->fixedPriority_ ||
               (a->fixedPriority_ == b->fixedPriority_ && a->sequence_ < b->sequence_);
    };
    std::sort(fixedLow.begin(), fixedLow.end(), byPriority);
    std::sort(fixedHigh.begin(), fixedHigh.end(), byPriority);
    if (!graph.empty()) {
        // Nodes off the running scene rank lowest (they are paused anyway).
        std::unordered_map<const Node*, uint32_t> ranks;
        for (const EventListener* l : graph) ranks.emplace(l->node_, 0u);
        uint32_t next = 1;
        if (Scene* scene = Director::getInstance()->getRunningScene()) rankInDrawOrder(scene, ranks, next);
        auto rank = [&](const EventListener* l) {
            return std::pair<float, uint32_t>(l->node_->getGlobalZOrder(), ranks[l->node_]);
        };
        // Topmost first; among listeners of one node, in the order they
        // were added.
        std::sort(graph.begin(), graph.end(), [&](const EventListener* a, const EventListener* b) {
            const auto ra = rank(a);
            const auto rb = rank(b);
            if (ra != rb) return ra > rb;
            return a->sequence_ < b->sequence_;
        });
    }
    order.listeners.clear();
    order.listeners.insert(order.listeners.end(), fixedLow.begin(), fixedLow.end());
    order.listeners.insert(order.listeners.end(), graph.begin(), graph.end());
    order.listeners.insert(order.listeners.end(), fixedHigh.begin(), fixedHigh.end());
    order.version = version_;
    return order.listeners;
}

void EventDispatcher::dispatchEvent(Event* event) {
    if (!enabled_ || event == nullptr) return;
    ++dispatching_;
    // A listener that throws ends the dispatch; removals still get purged.
    struct DispatchGuard {
        EventDispatcher& d;
        ~DispatchGuard() {
            if (std::uncaught_exceptions() > 0) --d.dispatching_;
        }
    } guard{*this};
    event->resetPropagation();
    if (event->getType() == Event::Type::TOUCH) {
        dispatchTouchEvent(static_cast<EventTouch*>(event));
    } else {
        const EventListener::Type type = event->getType() == Event::Type::MOUSE ? EventListener::Type::MOUSE
                                         : event->getType() == Event::Type::KEYBOARD
                                             ? EventListener::Type::KEYBOARD
                                             : EventListener::Type::CUSTOM;
        const Snapshot snapshot(*this, orderedListeners(type));
        for (EventListener* l : snapshot.listeners()) {
            if (event->isStopped()) break;
            if (!listenerLive(l)) continue;
            event->setCurrentTarget(l->node_);
            if (type == EventListener::Type::MOUSE) {
                auto* m = static_cast<EventListenerMouse*>(l);
                auto* e = static_cast<EventMouse*>(event);
                switch (e->getMouseEventType()) {
                    case EventMouse::MouseEventType::MOUSE_DOWN:
                        if (m->onMouseDown) m->onMouseDown(e);
                        break;
                    case EventMouse::MouseEventType::MOUSE_UP:
                        if (m->onMouseUp) m->onMouseUp(e);
                        break;
                    case EventMouse::MouseEventType::MOUSE_MOVE:
                        if (m->onMouseMove) m->onMouseMove(e);
                        break;
                    case EventMouse::MouseEventType::MOUSE_SCROLL:
                        if (m->onMouseScroll) m->onMouseScroll(e);
                        break;
                    default:
                        break;
                }
            } else if (type == EventListener::Type::KEYBOARD) {
                auto* k = static_cast<EventListenerKeyboard*>(l);
                auto* e = static_cast<EventKeyboard*>(event);
                if (e->isPressed()) {
                    if (k->onKeyPressed) k->onKeyPressed(e->getKeyCode(), event);
                } else if (k->onKeyReleased) {
                    k->onKeyReleased(e->getKeyCode(), event);
                }
            }
        }
    }
    event->setCurrentTarget(nullptr);
    --dispatching_;
    purgeRemoved();
}

void EventDispatcher::dispatchTouchEvent(EventTouch* event) {
    const Snapshot oneByOne(*this, orderedListeners(EventListener::Type::TOUCH_ONE_BY_ONE));
    const Snapshot allAtOnce(*this, orderedListeners(EventListener::Type::TOUCH_ALL_AT_ONCE));

    const auto code = event->getEventCode();
    std::vector<Touch*> remaining = event->getTouches();
    if (!oneByOne.empty()) {
        const std::vector<Touch*> touches = event->getTouches();
        for (Touch* touch : touches) {
            bool swallowed = false;
            for (EventListener* base : oneByOne.listeners()) {
                auto* l = static_cast<EventListenerTouchOneByOne*>(base);
                auto& claimed = l->claimedTouches_;
                auto it = std::find(claimed.begin(), claimed.end(), touch);
                if (!listenerLive(l)) {
                    // A listener that went away forgets the touches it held.
                    if (it != claimed.end() && !l->registered_) claimed.erase(it);
                    continue;
                }
                event->resetPropagation();
                event->setCurrentTarget(l->node_);
                bool claimedNow = false;
                if (code == EventTouch::EventCode::BEGAN) {
                    // A listener that removed itself while answering has
                    // not claimed the touch: the others still hear it.
                    if (l->onTouchBegan && l->onTouchBegan(touch, event) && l->registered_) {
                        claimed.push_back(touch);
                        claimedNow = true;
                    }
                } else if (it != claimed.end()) {
                    claimedNow = true;
                    switch (code) {
                        case EventTouch::EventCode::MOVED:
                            if (l->onTouchMoved) l->onTouchMoved(touch, event);
                            break;
                        case EventTouch::EventCode::ENDED:
                            claimed.erase(std::find(claimed.begin(), claimed.end(), touch));
                            if (l->onTouchEnded) l->onTouchEnded(touch, event);
                            break;
                        case EventTouch::EventCode::CANCELLED:
                            claimed.erase(std::find(claimed.begin(), claimed.end(), touch));
                            if (l->onTouchCancelled) l->onTouchCancelled(touch, event);
                            break;
                        default:
                            break;
                    }
                }
                if (event->isStopped() || (claimedNow && l->isSwallowTouches())) {
                    swallowed = true;
                    break;
                }
            }
            if (swallowed)
                remaining.erase(std::remove(remaining.begin(), remaining.end(), touch), remaining.end());
            // A touch that is over is over for everyone: a listener whose end
            // was swallowed by one before it keeps no claim on it (the touch
            // goes away, and a new one may take its place).
            if (code == EventTouch::EventCode::ENDED || code == EventTouch::EventCode::CANCELLED) {
                for (EventListener* base : oneByOne.listeners()) {
                    auto& claimed = static_cast<EventListenerTouchOneByOne*>(base)->claimedTouches_;
                    claimed.erase(std::remove(claimed.begin(), claimed.end(), touch), claimed.end());
                }
            }
        }
    }
    if (!allAtOnce.empty() && !remaining.empty()) {
        event->resetPropagation();
        for (EventListener* base : allAtOnce.listeners()) {
            if (!listenerLive(base)) continue;
            auto* l = static_cast<EventListenerTouchAllAtOnce*>(base);
            event->setCurrentTarget(l->node_);
            switch (code) {
                case EventTouch::EventCode::BEGAN:
                    if (l->onTouchesBegan) l->onTouchesBegan(remaining, event);
                    break;
                case EventTouch::EventCode::MOVED:
                    if (l->onTouchesMoved) l->onTouchesMoved(remaining, event);
                    break;
                case EventTouch::EventCode::ENDED:
                    if (l->onTouchesEnded) l->onTouchesEnded(remaining, event);
                    break;
                case EventTouch::EventCode::CANCELLED:
                    if (l->onTouchesCancelled) l->onTouchesCancelled(remaining, event);
                    break;
            }
            if (event->isStopped()) break;
        }
    }
}

}  // namespace cocos2d
