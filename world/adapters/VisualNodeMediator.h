#pragma once

#include "foundation/Types.h"

namespace Zarn {

// What an element's visual does when the element changes: the world calls it
// on the main thread, the visual plays what belongs to the change.
//
// The creator owns each mediator and may delete it through this interface
// (the process-wide null mediator is never deleted by its users).
class VisualNodeMediator {
public:
    virtual ~VisualNodeMediator() = default;

    // state 0: the element is shown (opacity 255); 1: it is hidden (opacity 0).
    virtual void onVisibilityChanged(u8 state) = 0;
    virtual void onStateChanged(u32 oldState, u32 newState) = 0;
    // The element is shown (state 0) or hidden (1) with sound and animation;
    // value is free for the visual.
    virtual void onShowHide(u32 value, u8 state) = 0;
};

// Reacts to nothing: the delegate of every visual that has nothing to show.
class NullVisualNodeMediator : public VisualNodeMediator {
public:
    void onVisibilityChanged(u8) override {}
    void onStateChanged(u32, u32) override {}
    void onShowHide(u32, u8) override {}

    // The one shared instance, made on first request and kept until the
    // process ends. Stateless, so any thread may use it.
    static NullVisualNodeMediator& instance();
};

}  // namespace Zarn
