#include "app/widgets/PressState.h"

bool PressState::touchBegan(bool hit, PressEvent& event) {
    event = PressEvent::None;
    if (!enabled) return rules.claimWhileDisabled;
    if (!hit) return false;
    pressed = true;
    event = PressEvent::Press;
    return true;
}

PressEvent PressState::touchEnded(bool hit) {
    if (!pressed) return PressEvent::None;
    pressed = false;
    if (rules.releaseClearsHover) hovered = false;
    return hit ? PressEvent::Click : PressEvent::Release;
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
