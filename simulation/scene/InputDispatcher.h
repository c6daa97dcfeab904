#pragma once

#include <vector>

#include "foundation/Geometry.h"
#include "foundation/Types.h"
#include "world/adapters/Inputable.h"

namespace Zarn {

class InputManager;

// Offers a pointer or touch event to its receivers in turn; the first that
// takes it (a kind other than 0) decides: kind 3 means it handled the event
// itself, any other kind becomes an input of the local player, queued in the
// input manager for the simulation. Later receivers never see that event.
//
// The receivers and the input manager are not owned; they outlive the
// dispatcher (the in-game scene owns it and its receivers). Main thread only.
class InputDispatcher {
public:
    // An input the receiver handled itself: nothing is queued.
    static constexpr u8 kHandled = 3;

    InputDispatcher(InputManager& inputManager, u32 clientID)
        : inputManager_(inputManager), clientID_(clientID) {}

    // Appended after the receivers already held.
    void addReceiver(Inputable* receiver) { receivers_.push_back(receiver); }
    void clearReceivers() { receivers_.clear(); }
    const std::vector<Inputable*>& receivers() const { return receivers_; }

    // Answers whether an input was queued for the local client.
    bool dispatch(const GeometryLib::FPoint& event);

private:
    std::vector<Inputable*> receivers_;
    InputManager& inputManager_;
    u32 clientID_;
};

}  // namespace Zarn
