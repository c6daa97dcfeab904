#pragma once

#include "engine/Ref.h"

namespace cocos2d {

class Node;

// Base of every action. An action is started on a target by the action
// manager (`startWithTarget`), stepped once per frame (`step` with the frame
// delta), and stopped when done or removed. `update(t)` applies the action at
// the fraction t (0 .. 1) of its duration. `clone` makes a fresh copy that can
// run on another target; `reverse` makes the action that undoes it.
class Action : public Ref {
public:
    static const int INVALID_TAG = -1;

    virtual Action* clone() const = 0;
    virtual Action* reverse() const = 0;
    virtual bool isDone() const { return true; }
    virtual void startWithTarget(Node* target);
    virtual void stop();
    virtual void step(float dt) {}
    virtual void update(float t) {}

    Node* getTarget() const { return target_; }
    void setTarget(Node* target) { target_ = target; }
    Node* getOriginalTarget() const { return originalTarget_; }
    void setOriginalTarget(Node* target) { originalTarget_ = target; }
    int getTag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    unsigned int getFlags() const { return flags_; }
    void setFlags(unsigned int flags) { flags_ = flags; }

protected:
    Action() = default;
    // The node the action works on; the action manager keeps it alive while
    // the action runs.
    Node* target_ = nullptr;
    Node* originalTarget_ = nullptr;
    int tag_ = INVALID_TAG;
    unsigned int flags_ = 0;
};

// An action with a duration in seconds.
class FiniteTimeAction : public Action {
public:
    float getDuration() const { return duration_; }
    virtual void setDuration(float duration) { duration_ = duration; }
    FiniteTimeAction* clone() const override = 0;
    FiniteTimeAction* reverse() const override = 0;

protected:
    float duration_ = 0.0f;
};

// Runs an inner interval action again and again until stopped.
class ActionInterval;
class RepeatForever : public Action {
public:
    static RepeatForever* create(ActionInterval* action);
    ~RepeatForever() override;
    bool initWithAction(ActionInterval* action);

    RepeatForever* clone() const override;
    RepeatForever* reverse() const override;
    void startWithTarget(Node* target) override;
    void step(float dt) override;
    bool isDone() const override { return false; }
    ActionInterval* getInnerAction() const { return inner_; }

protected:
    ActionInterval* inner_ = nullptr;  // retained
};

// Plays an inner action at a changed speed (2 = twice as fast).
class Speed : public Action {
public:
    static Speed* create(ActionInterval* action, float speed);
    ~Speed() override;
    bool initWithAction(ActionInterval* action, float speed);
    float getSpeed() const { return speed_; }
    void setSpeed(float speed) { speed_ = speed; }

    Speed* clone() const override;
    Speed* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void step(float dt) override;
    bool isDone() const override;

protected:
    ActionInterval* inner_ = nullptr;  // retained
    float speed_ = 1.0f;
};

}  // namespace cocos2d
