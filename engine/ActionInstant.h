#pragma once

#include <functional>

#include "engine/Action.h"
#include "engine/Types.h"

namespace cocos2d {

// An action that happens at once: the first step applies it and it is done.
class ActionInstant : public FiniteTimeAction {
public:
    bool isDone() const override { return done_; }
    void startWithTarget(Node* target) override;
    void step(float dt) override;
    void update(float t) override;
    ActionInstant* clone() const override = 0;
    ActionInstant* reverse() const override = 0;

protected:
    // What the action does; called once per run.
    virtual void execute() = 0;
    bool done_ = false;
};

class Show : public ActionInstant {
public:
    static Show* create();
    Show* clone() const override;
    ActionInstant* reverse() const override;

protected:
    void execute() override;
};

class Hide : public ActionInstant {
public:
    static Hide* create();
    Hide* clone() const override;
    ActionInstant* reverse() const override;

protected:
    void execute() override;
};

class ToggleVisibility : public ActionInstant {
public:
    static ToggleVisibility* create();
    ToggleVisibility* clone() const override;
    ToggleVisibility* reverse() const override;

protected:
    void execute() override;
};

class Place : public ActionInstant {
public:
    static Place* create(const Vec2& position);
    Place* clone() const override;
    Place* reverse() const override;

protected:
    void execute() override;
    Vec2 position_;
};

// Calls a function. Its reverse is a copy.
class CallFunc : public ActionInstant {
public:
    static CallFunc* create(const std::function<void()>& function);
    CallFunc* clone() const override;
    CallFunc* reverse() const override;

protected:
    void execute() override;
    std::function<void()> function_;
};

// Calls a function with the target node.
class CallFuncN : public ActionInstant {
public:
    static CallFuncN* create(const std::function<void(Node*)>& function);
    CallFuncN* clone() const override;
    CallFuncN* reverse() const override;

protected:
    void execute() override;
    std::function<void(Node*)> function_;
};

// Removes the target from its parent (cleaning it up unless asked not to).
class RemoveSelf : public ActionInstant {
public:
    static RemoveSelf* create(bool cleanup = true);
    RemoveSelf* clone() const override;
    RemoveSelf* reverse() const override;

protected:
    void execute() override;
    bool cleanup_ = true;
};

class FlipX : public ActionInstant {
public:
    static FlipX* create(bool flipped);
    FlipX* clone() const override;
    FlipX* reverse() const override;

protected:
    void execute() override;
    bool flipped_ = false;
};

class FlipY : public ActionInstant {
public:
    static FlipY* create(bool flipped);
    FlipY* clone() const override;
    FlipY* reverse() const override;

protected:
    void execute() override;
    bool flipped_ = false;
};

}  // namespace cocos2d
