#pragma once

#include "engine/ActionInterval.h"

namespace cocos2d {

// Runs an inner action on a bent time line: update(t) hands the inner action
// f(t) instead of t.
class ActionEase : public ActionInterval {
public:
    ~ActionEase() override;
    bool initWithAction(ActionInterval* action);
    ActionInterval* getInnerAction() const { return inner_; }
    void startWithTarget(Node* target) override;
    void stop() override;
    void update(float t) override;
    ActionEase* clone() const override = 0;
    ActionEase* reverse() const override = 0;

protected:
    virtual float ease(float t) const = 0;
    ActionInterval* inner_ = nullptr;  // retained
};

// Eases with a rate (a power of t).
class EaseRateAction : public ActionEase {
public:
    bool initWithAction(ActionInterval* action, float rate);
    float getRate() const { return rate_; }
    void setRate(float rate) { rate_ = rate; }

protected:
    float rate_ = 1.0f;
};

#define ZARN_ENGINE_RATE_EASE(Name)                              \
    class Name : public EaseRateAction {                         \
    public:                                                      \
        static Name* create(ActionInterval* action, float rate); \
        Name* clone() const override;                            \
        ActionEase* reverse() const override;                    \
                                                                 \
    protected:                                                   \
        float ease(float t) const override;                      \
    };

ZARN_ENGINE_RATE_EASE(EaseIn)
ZARN_ENGINE_RATE_EASE(EaseOut)
ZARN_ENGINE_RATE_EASE(EaseInOut)

#define ZARN_ENGINE_PLAIN_EASE(Name)                 \
    class Name : public ActionEase {                 \
    public:                                          \
        static Name* create(ActionInterval* action); \
        Name* clone() const override;                \
        ActionEase* reverse() const override;        \
                                                     \
    protected:                                       \
        float ease(float t) const override;          \
    };

ZARN_ENGINE_PLAIN_EASE(EaseBounceIn)
ZARN_ENGINE_PLAIN_EASE(EaseBounceOut)
ZARN_ENGINE_PLAIN_EASE(EaseBounceInOut)
ZARN_ENGINE_PLAIN_EASE(EaseBackIn)
ZARN_ENGINE_PLAIN_EASE(EaseBackOut)
ZARN_ENGINE_PLAIN_EASE(EaseBackInOut)
ZARN_ENGINE_PLAIN_EASE(EaseSineIn)
ZARN_ENGINE_PLAIN_EASE(EaseSineOut)
ZARN_ENGINE_PLAIN_EASE(EaseSineInOut)
ZARN_ENGINE_PLAIN_EASE(EaseExponentialIn)
ZARN_ENGINE_PLAIN_EASE(EaseExponentialOut)
ZARN_ENGINE_PLAIN_EASE(EaseExponentialInOut)

#undef ZARN_ENGINE_RATE_EASE
#undef ZARN_ENGINE_PLAIN_EASE

// The easing curves, t in 0 .. 1 (also used by the scroll view and tests).
namespace tweenfunc {
float easeIn(float t, float rate);
float easeOut(float t, float rate);
float easeInOut(float t, float rate);
float bounceEaseIn(float t);
float bounceEaseOut(float t);
float bounceEaseInOut(float t);
float backEaseIn(float t);
float backEaseOut(float t);
float backEaseInOut(float t);
float sineEaseIn(float t);
float sineEaseOut(float t);
float sineEaseInOut(float t);
float expoEaseIn(float t);
float expoEaseOut(float t);
float expoEaseInOut(float t);
}  // namespace tweenfunc

}  // namespace cocos2d
