#include "app/widgets/PressState.h"

bool PressState::touchBegan(bool hit, unsigned frame, PressEvent& event) {
    event = PressEvent::None;
    if (!enabled) return rules.claimWhileDisabled;
    if (!hit) return false;
    if (clickedIn(frame)) return true;
    pressed = true;
    event = PressEvent::Press;
    return true;
}

PressEvent PressState::touchEnded(bool hit, unsigned frame) {
    if (!pressed) return PressEvent::None;
    pressed = false;
    if (rules.releaseClearsHover) hovered = false;
    return hit && enabled && takeClick(frame) ? PressEvent::Click : PressEvent::Release;
}

PressEvent PressState::mouseMoved(bool hit) {
    if (!enabled) return PressEvent::None;
    if (pressed && !rules.hoverWhilePressed) return PressEvent::None;
    if (!hit && hovered) {
        hovered = false;
        return PressEvent::HoverOut;
    }
    if (hit && !hovered) {
        hovered = true;
        return PressEvent::HoverIn;
    }
    return PressEvent::None;
}

bool PressState::takeClick(unsigned frame) {
    if (clickedIn(frame)) return false;
    clickFrame = frame;
    return true;
}
