#pragma once

// The pointer rules that every menu button shares: hover from the mouse,
// a press that starts only inside, a click only when that press ends inside.
// A pure value: the widgets feed it hit tests and turn what it answers into
// looks, sounds and callbacks.
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
    Release,   // the press ended outside: back to normal, no click
    Click,     // the press ended inside: back to normal, then the click
};

struct PressState {
    PressRules rules;
    bool enabled = true;
    bool hovered = false;
    bool pressed = false;

    // A touch began; `hit` tells whether it is inside. Answers whether the
    // widget claims the touch; `event` is Press or None.
    bool touchBegan(bool hit, PressEvent& event);
    // A claimed touch ended (or was cancelled) at a point inside or not.
    PressEvent touchEnded(bool hit);
    // The mouse moved to a point inside or not.
    PressEvent mouseMoved(bool hit);
};
