#include "simulation/managers/InputManager.h"

namespace Zarn {

InputManager::InputList& InputManager::listOf(u32 clientId) {
    auto it = lists_.find(clientId);
    if (it == lists_.end()) {
        logger_.log(Convinience::severity::critical,
                    "Critical error input manager tried to process input on non-existing client");
        throw NonexistantInputClientIDException();
    }
    return it->second;
}

void InputManager::pushInput(u32 clientId, const InputData& input) {
    listOf(clientId).push_back(input);
}

void InputManager::clearInput(u32 clientId) {
    listOf(clientId).clear();
}

bool InputManager::hasInput(u32 clientId) const {
    auto it = lists_.find(clientId);
    return it != lists_.end() && !it->second.empty();
}

void InputManager::forEachClient(const std::function<void(u32, InputList&)>& fn) {
    for (auto& [id, list] : lists_) fn(id, list);
}

}  // namespace Zarn
