#include "simulation/sync/GSCommandPusher.h"

#include <string>

#include "foundation/Error.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/sync/GameStatePacker.h"

namespace Zarn {

void GSCommandPusher::onPush(Corvel::CommandHeader& header, Convinience::Buffer& buffer) {
    const GameState full = source_->capture();
    if (packer) {
        packer->makeDelta(header.clientId, full).serialize(buffer);
        packer->file(full);
    } else {
        full.serialize(buffer);
    }
    if (scores) scores->serializeAll(buffer);
}

void MultiClientCommandPusher::addClient(u32 clientId) {
    if (pushers_.count(clientId) != 0) return;
    auto pusher = std::make_unique<GSCommandPusher>(*queue_, *source_);
    pusher->packer = packer;
    pusher->scores = scores;
    pushers_.emplace(clientId, std::move(pusher));
}

GSCommandPusher& MultiClientCommandPusher::pusherFor(u32 clientId) {
    auto it = pushers_.find(clientId);
    if (it == pushers_.end()) {
        logger_.log(Convinience::severity::critical,
                    "Critical error no command pusher for clientID " + std::to_string(clientId));
        throw Convinience::ClientIDNotFoundException();
    }
    return *it->second;
}

}  // namespace Zarn
