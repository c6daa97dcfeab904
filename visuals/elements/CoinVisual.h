#pragma once

#include "engine/DrawNode.h"
#include "engine/RefPtr.h"
#include "visuals/elements/ElementNodes.h"

// A coin's reactions (type 348, shown by a SimpleElementCocos2D of
// "coin_0001.png" with zero content size). New state 0 (lying): a new pulsing
// shadow under the coin, and clones of the spin ("coin_0001.png" to
// "coin_0005.png", 1/12 s a frame, forever) and of the bob (5 up, 5 down,
// 0.5 s each, forever). 3 (taken): the shadow goes, and the coin jumps 100 up
// while growing 2.5 times, flies (640, 640) away while fading out, and
// removes itself, about 0.5 s after the report. Other states: nothing.
class CoinVisualMediator : public ElementVisualMediator {
public:
    CoinVisualMediator(cocos2d::Node* node, MapElementAnimations animations);

    void onStateChanged(u32 oldState, u32 newState) override;

    // The last shadow made, or null (a child of the coin while it lives).
    cocos2d::DrawNode* getShadow() const { return shadow_; }

private:
    cocos2d::RefPtr<cocos2d::Action> spinAction_;
    cocos2d::RefPtr<cocos2d::Action> collectAction_;
    cocos2d::RefPtr<cocos2d::Action> bobAction_;
    cocos2d::DrawNode* shadow_ = nullptr;
};
