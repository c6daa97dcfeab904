#pragma once

#include "foundation/Command.h"
#include "foundation/Logger.h"
#include "simulation/commands/CommandIds.h"

namespace Zarn {

class FixedRateProducer;
class GSCommandPusher;

// The client's per-tick report to the server: a header of its command ID
// (1 state update, 2 input) with the local client ID as sender, answered
// number 0 and no confirmation asked, routed from the local client to the
// game's from-ID; the pusher's hook appends the client's capture (which takes
// and files the queued input). The pusher outlives the command.
class StateUpdateCommand : public Convinience::Command {
public:
    StateUpdateCommand(GSCommandPusher& pusher, u32 gameFromId, u32 localClientId,
                       u32 commandId = LocalCommandId::stateUpdate)
        : pusher_(&pusher), gameFromId_(gameFromId), localClientId_(localClientId), commandId_(commandId) {}
    void execute() override;

private:
    GSCommandPusher* pusher_;
    u32 gameFromId_;
    u32 localClientId_;
    u32 commandId_;
    Convinience::Logger logger_;
};

// Command 2: as the state update, sent on the tick after input was queued.
class InputCommand : public StateUpdateCommand {
public:
    InputCommand(GSCommandPusher& pusher, u32 localClientId, u32 gameFromId)
        : StateUpdateCommand(pusher, gameFromId, localClientId, LocalCommandId::input) {}
};

// Command 9: stops the producer (no state updates or inputs leave after it),
// then sends the exit with the confirmation flag set and no payload. The
// producer and pusher outlive the command.
class ClientExitGameCommand : public Convinience::Command {
public:
    ClientExitGameCommand(FixedRateProducer& producer, u32 localClientId, u32 gameFromId,
                          GSCommandPusher& pusher)
        : producer_(&producer), localClientId_(localClientId), gameFromId_(gameFromId), pusher_(&pusher) {}
    void execute() override;

private:
    FixedRateProducer* producer_;
    u32 localClientId_;
    u32 gameFromId_;
    GSCommandPusher* pusher_;
};

// Command 11, executed once by a networked client when its connection to the
// game server stands: the local client joins the game instance there and gets
// it back (12). Sender and route from are the local client, route to the game
// server; confirmation asked, no payload, pushed raw. The pusher outlives the
// command.
class ClientGameInstanceUpdateCommand : public Convinience::Command {
public:
    ClientGameInstanceUpdateCommand(u32 localClientId, u32 gameServerId, GSCommandPusher& pusher)
        : localClientId_(localClientId), gameServerId_(gameServerId), pusher_(&pusher) {}
    void execute() override;

private:
    u32 localClientId_;
    u32 gameServerId_;
    GSCommandPusher* pusher_;
};

}  // namespace Zarn
