#pragma once

#include <cstddef>
#include <unordered_map>
#include <vector>

namespace cocos2d {

class Action;
class Node;

// Steps every running action once per frame (the director calls `update`
// before the scheduler's callbacks). Targets are stepped in the order in which
// they first got an action, and each target's actions in the order they were
// added. The manager retains each action and each target while the target has
// actions; removing actions from inside a step is safe.
class ActionManager {
public:
    ActionManager();
    ~ActionManager();
    ActionManager(const ActionManager&) = delete;
    ActionManager& operator=(const ActionManager&) = delete;

    void addAction(Action* action, Node* target, bool paused);
    void removeAllActions();
    void removeAllActionsFromTarget(Node* target);
    void removeAction(Action* action);
    void removeActionByTag(int tag, Node* target);
    void removeAllActionsByTag(int tag, Node* target);
    Action* getActionByTag(int tag, const Node* target) const;
    std::size_t getNumberOfRunningActionsInTarget(const Node* target) const;
    std::size_t getNumberOfRunningActions() const;
    void pauseTarget(Node* target);
    void resumeTarget(Node* target);

    void update(float dt);

private:
    struct Element {
        Node* target = nullptr;
        std::vector<Action*> actions;  // null slots are removed actions
        bool paused = false;
        bool dead = false;
    };
    Element* find(const Node* target) const;
    void removeAt(Element& element, std::size_t index);
    void compact();

    std::vector<Element*> elements_;
    std::unordered_map<const Node*, Element*> byTarget_;
    bool updating_ = false;
    bool dirty_ = false;
};

}  // namespace cocos2d
