#pragma once

#include "foundation/Types.h"

namespace Zarn {

class ActionData;
class InteractiveMapElement;
struct EffectResult;
struct InputResult;

// The sinks through which things that happened reach the event triggers. All
// are called on the thread that owns the world; the arguments are borrowed
// for the call.

// An action ran (a door opened, a trap was shown, a dialog started).
class ActionEventTrigger {
public:
    virtual ~ActionEventTrigger() = default;
    virtual void onAction(const ActionData& action) = 0;
};

// An element applied its effect to a unit (the contact flow reports here).
class EffectEventTrigger {
public:
    virtual ~EffectEventTrigger() = default;
    virtual void onEffect(const EffectResult& result, InteractiveMapElement& element) = 0;
};

// Input handling produced a result (a move input, a waited dialog closed).
class InputEventTrigger {
public:
    virtual ~InputEventTrigger() = default;
    virtual void onInput(const InputResult& result) = 0;
};

}  // namespace Zarn
