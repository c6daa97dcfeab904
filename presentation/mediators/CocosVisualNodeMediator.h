#pragma once

#include "engine/Action.h"
#include "engine/RefPtr.h"
#include "world/adapters/VisualNodeMediator.h"

namespace cocos2d {
class Node;
}

// Base of the element visual mediators of the trap and map element visuals:
// reacts to nothing until a subclass says otherwise.
class CocosVisualNodeMediator : public Zarn::VisualNodeMediator {
public:
    void onVisibilityChanged(u8) override {}
    void onStateChanged(u32, u32) override {}
    void onShowHide(u32, u8) override {}
};

// The show and hide actions of an element's visual; either may be absent.
// A copy shares the (retained) actions; each run uses a clone.
struct MapElementAnimations {
    virtual ~MapElementAnimations() = default;

    cocos2d::RefPtr<cocos2d::Action> showAction;
    cocos2d::RefPtr<cocos2d::Action> hideAction;
    cocos2d::RefPtr<cocos2d::Action> extraAction;
};

// The default visual mediator of a map element's 2D node: opacity for
// visibility, a sound and the show or hide action for being shown or hidden.
// Elements have no states of their own: a state change throws
// Convinience::Error("MapElement currently does not have states").
class MapElement2DVisualMediator : public CocosVisualNodeMediator {
public:
    // node: the element's node, which owns this mediator (not retained).
    MapElement2DVisualMediator(cocos2d::Node* node, MapElementAnimations animations);

    // 0 sets opacity 255, 1 sets 0; other states do nothing.
    void onVisibilityChanged(u8 state) override;
    void onStateChanged(u32 oldState, u32 newState) override;
    // 0: "sound/element/show1.mp3" at the node, then a clone of the show
    // action; 1: "sound/element/hide1.mp3" and the hide action. The value is
    // not used. Throws "positionAudioEngine not instantiated!" without the
    // positional audio engine, before anything is played.
    void onShowHide(u32 value, u8 state) override;

    const MapElementAnimations& getAnimations() const { return animations_; }

protected:
    cocos2d::Node* node_;
    MapElementAnimations animations_;
};
