#include "engine/ActionManager.h"

#include <algorithm>

#include "engine/Action.h"
#include "engine/Node.h"

namespace cocos2d {

ActionManager::ActionManager() = default;

ActionManager::~ActionManager() {
    removeAllActions();
}

ActionManager::Element* ActionManager::find(const Node* target) const {
    auto it = byTarget_.find(target);
    return it == byTarget_.end() ? nullptr : it->second;
}

void ActionManager::addAction(Action* action, Node* target, bool paused) {
    if (action == nullptr || target == nullptr) return;
    Element* e = find(target);
    if (e == nullptr) {
        e = new Element();
        e->target = target;
        e->paused = paused;
        target->retain();
        elements_.push_back(e);
        byTarget_[target] = e;
    }
    action->retain();
    e->actions.push_back(action);
    action->startWithTarget(target);
}

void ActionManager::removeAt(Element& element, std::size_t index) {
    Action* action = element.actions[index];
    if (action == nullptr) return;
    element.actions[index] = nullptr;
    dirty_ = true;
    action->release();
}

void ActionManager::removeAllActionsFromTarget(Node* target) {
    Element* e = find(target);
    if (e == nullptr) return;
    for (std::size_t i = 0; i < e->actions.size(); ++i) removeAt(*e, i);
    e->dead = true;
    dirty_ = true;
    byTarget_.erase(target);
    if (!updating_) compact();
}

void ActionManager::removeAllActions() {
    std::vector<Node*> targets;
    for (Element* e : elements_)
        if (!e->dead) targets.push_back(e->target);
    for (Node* t : targets) removeAllActionsFromTarget(t);
}

void ActionManager::removeAction(Action* action) {
    if (action == nullptr) return;
    Element* e = find(action->getOriginalTarget());
    if (e == nullptr) return;
    for (std::size_t i = 0; i < e->actions.size(); ++i) {
        if (e->actions[i] == action) {
            removeAt(*e, i);
            break;
        }
    }
    if (!updating_) compact();
}

void ActionManager::removeActionByTag(int tag, Node* target) {
    Element* e = find(target);
    if (e == nullptr) return;
    for (std::size_t i = 0; i < e->actions.size(); ++i) {
        Action* a = e->actions[i];
        if (a != nullptr && a->getTag() == tag) {
            removeAt(*e, i);
            break;
        }
    }
    if (!updating_) compact();
}

void ActionManager::removeAllActionsByTag(int tag, Node* target) {
    Element* e = find(target);
    if (e == nullptr) return;
    for (std::size_t i = 0; i < e->actions.size(); ++i) {
        Action* a = e->actions[i];
        if (a != nullptr && a->getTag() == tag) removeAt(*e, i);
    }
    if (!updating_) compact();
}

Action* ActionManager::getActionByTag(int tag, const Node* target) const {
    Element* e = find(target);
    if (e == nullptr) return nullptr;
    for (Action* a : e->actions)
        if (a != nullptr && a->getTag() == tag) return a;
    return nullptr;
}

std::size_t ActionManager::getNumberOfRunningActionsInTarget(const Node* target) const {
    Element* e = find(target);
    if (e == nullptr) return 0;
    return static_cast<std::size_t>(
        std::count_if(e->actions.begin(), e->actions.end(), [](Action* a) { return a; }));
}

std::size_t ActionManager::getNumberOfRunningActions() const {
    std::size_t n = 0;
    for (Element* e : elements_)
        if (!e->dead) n += getNumberOfRunningActionsInTarget(e->target);
    return n;
}

void ActionManager::pauseTarget(Node* target) {
    if (Element* e = find(target)) e->paused = true;
}

void ActionManager::resumeTarget(Node* target) {
    if (Element* e = find(target)) e->paused = false;
}

void ActionManager::compact() {
    if (!dirty_) return;
    dirty_ = false;
    std::vector<Element*> kept;
    kept.reserve(elements_.size());
    std::vector<Node*> released;
    for (Element* e : elements_) {
        e->actions.erase(std::remove(e->actions.begin(), e->actions.end(), nullptr), e->actions.end());
        if (e->actions.empty()) {
            if (!e->dead) byTarget_.erase(e->target);
            released.push_back(e->target);
            delete e;
        } else {
            kept.push_back(e);
        }
    }
    elements_.swap(kept);
    // Releasing a target may destroy it, and its destructor asks us again.
    for (Node* target : released) target->release();
}

void ActionManager::update(float dt) {
    updating_ = true;
    // An action that throws leaves the walk; the next update goes on.
    struct WalkGuard {
        bool& updating;
        ~WalkGuard() { updating = false; }
    } guard{updating_};
    const std::size_t count = elements_.size();
    for (std::size_t i = 0; i < count; ++i) {
        Element* e = elements_[i];
        if (e->paused || e->dead) continue;
        for (std::size_t k = 0; k < e->actions.size(); ++k) {
            Action* action = e->actions[k];
            if (action == nullptr) continue;
            // Keep the action alive through its own step (it may remove
            // itself, for example by removing its target).
            action->retain();
            struct Hold {
                Action* a;
                ~Hold() { a->release(); }
            } hold{action};
            action->step(dt);
            if (e->actions.size() > k && e->actions[k] == action && action->isDone()) {
                action->stop();
                removeAt(*e, k);
            }
            if (e->dead) break;
        }
    }
    updating_ = false;
    compact();
}

}  // namespace cocos2d
