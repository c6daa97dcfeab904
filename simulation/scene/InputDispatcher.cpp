#include "simulation/scene/InputDispatcher.h"

#include "simulation/managers/InputManager.h"

namespace Zarn {

bool InputDispatcher::dispatch(const GeometryLib::FPoint& event) {
    for (Inputable* receiver : receivers_) {
        const InputAnswer answer = receiver->handleInput(event);
        if (answer.kind == 0) continue;
        if (answer.kind == kHandled) return false;
        inputManager_.pushInput(clientID_, InputData(answer.kind, answer.position));
        return true;
    }
    return false;
}

}  // namespace Zarn
