#pragma once

#include <exception>
#include <functional>
#include <map>
#include <vector>

#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "simulation/state/InputState.h"

namespace Zarn {

// Input pushed or cleared for a client that the input manager does not know.
class NonexistantInputClientIDException : public std::exception {
public:
    const char* what() const noexcept override { return "input client ID not found"; }
};

// The inputs each client has queued since its last capture, oldest first.
// Clients are visited in ascending client ID order. Used by the thread that
// owns the game.
class InputManager : public Convinience::MultiClientCreator {
public:
    using InputList = std::vector<InputData>;

    // An empty list for a new client; an existing list stays.
    void addClient(u32 clientId) override { lists_.try_emplace(clientId); }
    void removeClient(u32 clientId) override { lists_.erase(clientId); }

    // An unknown client logs "Critical error input manager tried to process
    // input on non-existing client" at CRITICAL and throws
    // NonexistantInputClientIDException.
    void pushInput(u32 clientId, const InputData& input);
    void clearInput(u32 clientId);
    // False for an unknown client.
    bool hasInput(u32 clientId) const;
    bool hasClient(u32 clientId) const { return lists_.count(clientId) != 0; }

    void forEachClient(const std::function<void(u32 clientId, InputList&)>& fn);

private:
    InputList& listOf(u32 clientId);

    std::map<u32, InputList> lists_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
