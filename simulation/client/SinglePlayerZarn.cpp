#include "simulation/client/SinglePlayerZarn.h"

#include <sstream>
#include <string>

namespace Zarn {

SinglePlayerZarn::SinglePlayerZarn(const Convinience::TickClock& clock)
    : server_(serverIncoming_, serverOutgoing_, clock) {
    core_.setTickDelta(tickDelta_);
    core_.setInputManager(&inputs_);
    core_.setLocalClientID(localClientId_);
    core_.addPlayer(localClientId_);
    server_.addClient(localClientId_);
    GameInstance instance;
    instance.players.insert(localClientId_);
    server_.gameInstance() = instance;
    server_.setTickDelta(tickDelta_);
}

SinglePlayerZarn::~SinglePlayerZarn() {
    if (serverThread_.joinable()) {
        server_.stop();
        serverThread_.join();
    }
}

void SinglePlayerZarn::loadMap(std::istream& stream) {
    // Both copies read the same bytes; the stream is read once.
    const std::string bytes(std::istreambuf_iterator<char>(stream), {});
    std::istringstream clientStream(bytes);
    core_.loadMap(clientStream);
    std::istringstream serverStream(bytes);
    server_.loadMap(serverStream);
}

void SinglePlayerZarn::startServer() {
    if (serverStarted_) return;
    serverStarted_ = true;
    serverThread_ = std::thread([this] { server_.run(); });
}

void SinglePlayerZarn::stopServer() {
    server_.stop();
}

std::size_t SinglePlayerZarn::forward(Corvel::MessageQueue& from, Corvel::MessageQueue& to) {
    std::size_t moved = 0;
    while (!from.empty()) {
        if (!to.push(std::move(from.front()))) break;
        from.pop();
        ++moved;
    }
    return moved;
}

void SinglePlayerZarn::update(float dt) {
    core_.update(dt);
    const std::size_t toServer = forward(clientOutgoing_, serverIncoming_);
    forward(serverOutgoing_, clientIncoming_);
    if (toServer > 0) server_.wake();
}

}  // namespace Zarn
