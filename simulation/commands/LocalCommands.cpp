#include "simulation/commands/LocalCommands.h"

#include "simulation/commands/CommandIds.h"
#include "simulation/commands/FixedRateProducer.h"
#include "simulation/sync/GSCommandPusher.h"

namespace Zarn {

void StateUpdateCommand::execute() {
    Corvel::CommandHeader header(localClientId_, commandId_, 0, false);
    header.fromClientId = localClientId_;
    header.toClientId = gameFromId_;
    pusher_->push(header);
}

void ClientExitGameCommand::execute() {
    producer_->enabled = false;
    Corvel::CommandHeader header(localClientId_, LocalCommandId::exitGame, 0, true);
    header.fromClientId = localClientId_;
    header.toClientId = gameFromId_;
    pusher_->pushRaw(header);
}

void ClientGameInstanceUpdateCommand::execute() {
    Corvel::CommandHeader header(localClientId_, ServerCommandId::gameInstanceUpdate, 0, true);
    header.fromClientId = localClientId_;
    header.toClientId = gameServerId_;
    pusher_->pushRaw(header);
}

}  // namespace Zarn
