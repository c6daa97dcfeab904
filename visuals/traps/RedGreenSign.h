#pragma once

#include <memory>

#include "engine/ProgressTimer.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/SimpleTrap2D.h"

// The red-green sign (type 56): a traffic sign over an interval trap. While
// the trap rests the sign shows a green walking man and its bar empties; in
// the last 0.1 s of the rest it switches to a red hand, which stays while the
// trap is active and the bar fills; in the active phase's last 0.1 s the man
// comes back.

// What the sign does when its trap enters a state (seconds; map data
// clamped). With D, A, I the record's start delay, active and rest time,
// wait(L) = max(L - 0.1, 0) and switch(L) = min(0.1, wait(L)):
// | new | old   | figure                                   | bar           |
// | 0   | 3     | man at once; after wait(I/2 + D) the hand | 0 in I/2 + D  |
// | 0   | other | nothing                                  | nothing       |
// | 1   | any   | after wait(A) the man                    | 100 in A - 0.05 |
// | 2   | any   | after wait(I) the hand                   | 0 in I        |
// | 3   | any   | everything stopped; man at once          | stays         |
// | 4+  | any   | nothing                                  | nothing       |
struct SignStep {
    bool act = false;
    bool stopFirst = false;
    // Show the man at once before the switch.
    bool goFirst = false;
    // The figure switch: after `wait`, over `switchTime`, to the man (toGo)
    // or the hand.
    bool switches = false;
    float wait = 0.0f;
    float switchTime = 0.0f;
    bool toGo = false;
    // The bar's move.
    bool bar = false;
    float barTime = 0.0f;
    float barPercent = 0.0f;
};
SignStep signStep(u8 oldState, u8 newState, float startDelay, float activeTime, float restTime);

// The bar above the sign: red, with a green bar timer over it that fills
// from the left. Engine create pattern.
class RGProgressBar : public cocos2d::Sprite {
public:
    static RGProgressBar* create();
    bool init() override;
    cocos2d::ProgressTimer* getTimer() const { return timer_; }

private:
    cocos2d::ProgressTimer* timer_ = nullptr;  // a child
};

// The sign: its base frame, the hand (red) and the man (green) at (210, 107),
// both transparent at first, and the full bar above it. Engine create
// pattern.
class RedGreenSign : public cocos2d::Sprite {
public:
    static RedGreenSign* create();
    bool init() override;

    // Each returns a new action to run on the sign. The hand fades out, then
    // the man fades in (showGo), or the other way round (showStop); each half
    // takes half the duration.
    cocos2d::FiniteTimeAction* showGo(float duration);
    cocos2d::FiniteTimeAction* showStop(float duration);
    cocos2d::FiniteTimeAction* progressTo(float duration, float percent);

    cocos2d::Sprite* getHand() const { return hand_; }
    cocos2d::Sprite* getMan() const { return man_; }
    RGProgressBar* getProgressBar() const { return bar_; }

private:
    // Children of the sign.
    RGProgressBar* bar_ = nullptr;
    cocos2d::Sprite* hand_ = nullptr;
    cocos2d::Sprite* man_ = nullptr;
};

// The tag of the sign's actions.
inline constexpr int kSignActionTag = 0x5247;

// Switches and times the sign by signStep; shows and hides it as elements
// do. Its node is the sign. Main thread only.
class RedGreen2DVisualMediator : public MapElement2DVisualMediator {
public:
    // record: the trap's, owned by the map.
    RedGreen2DVisualMediator(RedGreenSign* sign, const Zarn::IntervalTrapElement* record);
    void onStateChanged(u32 oldState, u32 newState) override;

private:
    void run(cocos2d::FiniteTimeAction* action);

    const Zarn::IntervalTrapElement* record_;
    cocos2d::RefPtr<RedGreenSign> sign_;
};

// The sign's node: an empty sprite of the sign's size with the sign at its
// middle. The floor under the sign stays (the adapter covers no tiles).
// Engine create pattern; main thread only.
class RedGreenSignCocos2D : public cocos2d::Sprite {
public:
    static RedGreenSignCocos2D* create(Zarn::IntervalTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                       const Zarn::ZOrderCalculator* zOrder);
    ~RedGreenSignCocos2D() override;

    bool initWithTrap(Zarn::IntervalTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                      const Zarn::ZOrderCalculator* zOrder);
    void update(float dt) override;

    RedGreenSign* getSign() const { return sign_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    Zarn::IntervalTrap2D* getAdapter() const { return adapter_.get(); }

private:
    RedGreenSign* sign_ = nullptr;
    std::unique_ptr<RedGreen2DVisualMediator> visual_;
    std::unique_ptr<Zarn::IntervalTrap2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
