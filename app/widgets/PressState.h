#pragma once

#include <optional>

// The pointer rules that every menu button shares: hover from the mouse,
// a press that starts only inside, a click only when that press ends inside,
// and at most one click a frame: once a widget has clicked, a press that
// begins later in the same frame is claimed and starts nothing, so however
// many clicks the frame's input holds, the widget acts once. A pure value:
// the widgets feed it hit tests and the frame number (the director's frame
// count, which stays put while one frame's input is dispatched) and turn
// what it answers into looks, sounds and callbacks.
struct PressRules {
    // A touch on a disabled widget is claimed (and does nothing); otherwise
    // it goes on to the nodes below.
    bool claimWhileDisabled = true;
    // Hover keeps changing while a press is held.
    bool hoverWhilePressed = false;
    // Ending (or cancelling) a press also clears the hover flag.
    bool releaseClearsHover = false;
};

enum class PressEvent {
    None,
    HoverIn,   // the pointer came over the widget
    HoverOut,  // the pointer left it
    Press,     // a press started inside
    Release,   // the press ended outside (or the widget was disabled meanwhile): no click
    Click,     // the press ended inside: back to normal, then the click
};

struct PressState {
    PressRules rules;
    bool enabled = true;
    bool hovered = false;
    bool pressed = false;
    // The frame of the last click, once there was one.
    std::optional<unsigned> clickFrame;

    // A touch began in `frame`; `hit` tells whether it is inside. Answers
    // whether the widget claims the touch; `event` is Press or None.
    bool touchBegan(bool hit, unsigned frame, PressEvent& event);
    // A claimed touch ended (or was cancelled) in `frame` at a point inside
    // or not.
    PressEvent touchEnded(bool hit, unsigned frame);
    // The mouse moved to a point inside or not.
    PressEvent mouseMoved(bool hit);
    // A click in `frame` from elsewhere than the pointer (a key standing for
    // the widget), or the click that ends a press: answers whether it may act,
    // and counts it; false when the widget already clicked in that frame.
    bool takeClick(unsigned frame);
    bool clickedIn(unsigned frame) const { return clickFrame.has_value() && *clickFrame == frame; }
};
