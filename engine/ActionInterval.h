#pragma once

#include <vector>

#include "engine/Action.h"
#include "engine/Types.h"
#include "engine/Vector.h"

namespace cocos2d {

class Animation;
class SpriteFrame;

// An action that runs over its duration. The first frame after it starts
// applies t = 0; each later frame adds its delta; t = elapsed / duration,
// clamped to 1, where the action is done.
class ActionInterval : public FiniteTimeAction {
public:
    bool initWithDuration(float duration);
    float getElapsed() const { return elapsed_; }
    bool isDone() const override { return elapsed_ >= duration_; }
    void step(float dt) override;
    void startWithTarget(Node* target) override;
    ActionInterval* clone() const override = 0;
    ActionInterval* reverse() const override = 0;

protected:
    float elapsed_ = 0.0f;
    bool firstTick_ = true;
};

// Runs its actions one after another.
class Sequence : public ActionInterval {
public:
    // Stops at the first null argument (a trailing nullptr is accepted).
    template <typename... A>
    static Sequence* create(FiniteTimeAction* first, A... rest) {
        return create(std::vector<FiniteTimeAction*>{first, static_cast<FiniteTimeAction*>(rest)...});
    }
    static Sequence* create(const Vector<FiniteTimeAction*>& actions);
    static Sequence* create(const std::vector<FiniteTimeAction*>& actions);
    static Sequence* createWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two);
    ~Sequence() override;
    bool initWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two);

    Sequence* clone() const override;
    Sequence* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    FiniteTimeAction* actions_[2] = {nullptr, nullptr};  // retained
    float split_ = 0.0f;
    int last_ = -1;
};

// Runs its actions at the same time; the shorter ones are padded with a delay.
class Spawn : public ActionInterval {
public:
    // Stops at the first null argument (a trailing nullptr is accepted).
    template <typename... A>
    static Spawn* create(FiniteTimeAction* first, A... rest) {
        return create(std::vector<FiniteTimeAction*>{first, static_cast<FiniteTimeAction*>(rest)...});
    }
    static Spawn* create(const Vector<FiniteTimeAction*>& actions);
    static Spawn* create(const std::vector<FiniteTimeAction*>& actions);
    static Spawn* createWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two);
    ~Spawn() override;
    bool initWithTwoActions(FiniteTimeAction* one, FiniteTimeAction* two);

    Spawn* clone() const override;
    Spawn* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    FiniteTimeAction* one_ = nullptr;  // retained
    FiniteTimeAction* two_ = nullptr;  // retained
};

// Runs an inner action `times` times.
class Repeat : public ActionInterval {
public:
    static Repeat* create(FiniteTimeAction* action, unsigned int times);
    ~Repeat() override;
    bool initWithAction(FiniteTimeAction* action, unsigned int times);

    Repeat* clone() const override;
    Repeat* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    bool isDone() const override { return total_ >= times_; }
    FiniteTimeAction* getInnerAction() const { return inner_; }

protected:
    FiniteTimeAction* inner_ = nullptr;  // retained
    unsigned int times_ = 0;
    unsigned int total_ = 0;
};

class DelayTime : public ActionInterval {
public:
    static DelayTime* create(float duration);
    DelayTime* clone() const override;
    DelayTime* reverse() const override;
    void update(float t) override {}
};

// Moves by a delta; moves of other actions made meanwhile add up. Made with a
// Vec3 it moves the position's z as well (3D nodes).
class MoveBy : public ActionInterval {
public:
    static MoveBy* create(float duration, const Vec2& delta);
    static MoveBy* create(float duration, const Vec3& delta);
    bool initWithDuration(float duration, const Vec2& delta);
    bool initWithDuration(float duration, const Vec3& delta);
    MoveBy* clone() const override;
    MoveBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    Vec2 delta_;
    Vec2 start_;
    Vec2 previous_;
    bool is3D_ = false;
    float deltaZ_ = 0.0f;
    float startZ_ = 0.0f;
    float previousZ_ = 0.0f;
};

class MoveTo : public MoveBy {
public:
    static MoveTo* create(float duration, const Vec2& position);
    static MoveTo* create(float duration, const Vec3& position);
    bool initWithDuration(float duration, const Vec2& position);
    bool initWithDuration(float duration, const Vec3& position);
    MoveTo* clone() const override;
    MoveTo* reverse() const override;
    void startWithTarget(Node* target) override;

protected:
    Vec2 end_;
    float endZ_ = 0.0f;
};

// Turns to an angle the short way round.
class RotateTo : public ActionInterval {
public:
    static RotateTo* create(float duration, float degrees);
    bool initWithDuration(float duration, float degrees);
    RotateTo* clone() const override;
    RotateTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    float to_ = 0.0f;
    float start_ = 0.0f;
    float diff_ = 0.0f;
};

// Turns by an angle; made with a Vec3 it turns a 3D node about its x, y and
// z axes (degrees each).
class RotateBy : public ActionInterval {
public:
    static RotateBy* create(float duration, float degrees);
    static RotateBy* create(float duration, const Vec3& degrees);
    bool initWithDuration(float duration, float degrees);
    bool initWithDuration(float duration, const Vec3& degrees);
    RotateBy* clone() const override;
    RotateBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    float angle_ = 0.0f;
    float start_ = 0.0f;
    bool is3D_ = false;
    Vec3 angle3D_;
    Vec3 start3D_;
};

class ScaleTo : public ActionInterval {
public:
    static ScaleTo* create(float duration, float scale);
    static ScaleTo* create(float duration, float scaleX, float scaleY);
    bool initWithDuration(float duration, float scaleX, float scaleY);
    ScaleTo* clone() const override;
    ScaleTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    float startX_ = 1.0f, startY_ = 1.0f;
    float endX_ = 1.0f, endY_ = 1.0f;
    float deltaX_ = 0.0f, deltaY_ = 0.0f;
};

class ScaleBy : public ScaleTo {
public:
    static ScaleBy* create(float duration, float scale);
    static ScaleBy* create(float duration, float scaleX, float scaleY);
    ScaleBy* clone() const override;
    ScaleBy* reverse() const override;
    void startWithTarget(Node* target) override;
};

class FadeTo : public ActionInterval {
public:
    static FadeTo* create(float duration, uint8_t opacity);
    bool initWithDuration(float duration, uint8_t opacity);
    FadeTo* clone() const override;
    FadeTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    uint8_t to_ = 255;
    uint8_t from_ = 255;
};

class FadeIn : public FadeTo {
public:
    static FadeIn* create(float duration);
    FadeIn* clone() const override;
    FadeTo* reverse() const override;
};

class FadeOut : public FadeTo {
public:
    static FadeOut* create(float duration);
    FadeOut* clone() const override;
    FadeTo* reverse() const override;
};

class TintTo : public ActionInterval {
public:
    static TintTo* create(float duration, uint8_t red, uint8_t green, uint8_t blue);
    static TintTo* create(float duration, const Color3B& color);
    bool initWithDuration(float duration, const Color3B& color);
    TintTo* clone() const override;
    TintTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    Color3B to_;
    Color3B from_;
};

class TintBy : public ActionInterval {
public:
    static TintBy* create(float duration, int16_t deltaRed, int16_t deltaGreen, int16_t deltaBlue);
    TintBy* clone() const override;
    TintBy* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    int16_t deltaR_ = 0, deltaG_ = 0, deltaB_ = 0;
    int16_t fromR_ = 0, fromG_ = 0, fromB_ = 0;
};

// Changes a ProgressTimer's percentage.
class ProgressTo : public ActionInterval {
public:
    static ProgressTo* create(float duration, float percent);
    ProgressTo* clone() const override;
    ProgressTo* reverse() const override;
    void startWithTarget(Node* target) override;
    void update(float t) override;

protected:
    float to_ = 0.0f;
    float from_ = 0.0f;
};

class ProgressFromTo : public ActionInterval {
public:
    static ProgressFromTo* create(float duration, float fromPercent, float toPercent);
    ProgressFromTo* clone() const override;
    ProgressFromTo* reverse() const override;
    void update(float t) override;

protected:
    float to_ = 0.0f;
    float from_ = 0.0f;
};

// Runs an action on another node than the one that runs this action.
class TargetedAction : public ActionInterval {
public:
    static TargetedAction* create(Node* target, FiniteTimeAction* action);
    ~TargetedAction() override;
    bool initWithTarget(Node* target, FiniteTimeAction* action);
    TargetedAction* clone() const override;
    TargetedAction* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    Node* getForcedTarget() const { return forcedTarget_; }

protected:
    Node* forcedTarget_ = nullptr;        // retained
    FiniteTimeAction* action_ = nullptr;  // retained
};

// Shows the frames of an animation on a Sprite target.
class Animate : public ActionInterval {
public:
    static Animate* create(Animation* animation);
    ~Animate() override;
    bool initWithAnimation(Animation* animation);
    Animation* getAnimation() const { return animation_; }
    int getCurrentFrameIndex() const { return currentFrameIndex_; }

    Animate* clone() const override;
    Animate* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    Animation* animation_ = nullptr;        // retained
    SpriteFrame* originalFrame_ = nullptr;  // retained while running
    std::vector<float> splitTimes_;
    int nextFrame_ = 0;
    int currentFrameIndex_ = 0;
    unsigned int executedLoops_ = 0;
};

// Hides and shows the target `blinks` times over the duration: in each slice
// of duration / blinks the target is hidden in the first half and shown in
// the second. When it ends, the target gets back the visibility it had when
// it started.
class Blink : public ActionInterval {
public:
    static Blink* create(float duration, int blinks);
    bool initWithDuration(float duration, int blinks);
    Blink* clone() const override;
    Blink* reverse() const override;
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;

protected:
    int times_ = 1;
    bool originalVisible_ = true;
};

}  // namespace cocos2d
