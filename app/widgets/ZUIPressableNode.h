#pragma once

#include "app/widgets/CreateConfigured.h"
#include "app/widgets/PressState.h"
#include "engine/Node.h"

namespace cocos2d {
class EventListenerMouse;
class EventListenerTouchOneByOne;
}  // namespace cocos2d

// The frame a press belongs to: the director's frame count, which stays the
// same while the input that arrived before one frame is dispatched.
unsigned pressFrame();

// Base of the menu buttons: a node with its own mouse listener (hover) and
// its own swallowing one-by-one touch listener (press and release), both with
// scene-graph priority for the node, driving a PressState. A subclass decides
// what a hit is and what each PressEvent looks and sounds like.
// Main thread only; the listeners belong to the engine's event dispatcher.
class ZUIPressableNode : public cocos2d::Node {
public:
    bool isEnabled() const { return state.enabled; }
    bool isHovered() const { return state.hovered; }
    bool isPressed() const { return state.pressed; }

    // Enabled, hovered and pressed, with the widget's rules.
    PressState state;

    // A click that does not come from the pointer (a key standing for the
    // button): true, and counted, unless the button already clicked in this
    // frame; the caller then acts as on a click.
    bool takeClick() { return state.takeClick(pressFrame()); }

protected:
    // Registers both listeners; call once from init. With
    // `cancelEndsPress`, a cancelled touch ends the press like a release
    // at its last point.
    void listenToPointer(const PressRules& rules, bool cancelEndsPress = false);
    // The default: the point (design space) in the parent's space lies in the
    // node's bounding box.
    virtual bool hitTest(const cocos2d::Vec2& worldPoint) const;
    virtual void onPressEvent(PressEvent event) = 0;

    cocos2d::EventListenerMouse* mouseListener = nullptr;
    cocos2d::EventListenerTouchOneByOne* touchListener = nullptr;
};
