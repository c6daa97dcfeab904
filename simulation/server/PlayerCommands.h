#pragma once

#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"

namespace Zarn {

class ClientManager;
class GameInstance;
class GSCommandPusher;
class MultiClientCommandPusher;

// Server commands that change who plays and which game this is. Server
// thread only; everything referenced belongs to the server. Replies are sent
// raw (numbered, no state appended) with route 1 = the game's fromID.

// Command 9: the sender leaves. It runs from the command manager's own
// immediate list, never inside the leaving client's own command pass, so the
// client's command record can go. The leaving client is told 14 (through
// client 0's pusher), every remaining player 9 with the client's ID, and the
// host 26 with the game instance.
class PlayerExitCommand : public Corvel::IncomingCommand {
public:
    PlayerExitCommand(const Corvel::CommandHeader& header, GameInstance& instance, ClientManager& clients,
                      MultiClientCommandPusher& pushers)
        : IncomingCommand(header), instance_(instance), clients_(clients), pushers_(pushers) {}
    void execute() override;

private:
    GameInstance& instance_;
    ClientManager& clients_;
    MultiClientCommandPusher& pushers_;
    Convinience::Logger logger_;
};

// Command 10: the game's fromID becomes the received u32; confirmed with 24.
class SetGameFromIDCommand : public Corvel::IncomingCommand {
public:
    SetGameFromIDCommand(const Corvel::CommandHeader& header, u32 routeFrom, u32 fromId,
                         GameInstance& instance, GSCommandPusher& pusher)
        : IncomingCommand(header),
          routeFrom_(routeFrom),
          fromId_(fromId),
          instance_(instance),
          pusher_(pusher) {}
    void execute() override;

private:
    u32 routeFrom_;
    u32 fromId_;
    GameInstance& instance_;
    GSCommandPusher& pusher_;
    Convinience::Logger logger_;
};

// Command 11: the sender joins the game instance's players and gets the
// instance back (12).
class GameInstanceUpdateCommand : public Corvel::IncomingCommand {
public:
    GameInstanceUpdateCommand(const Corvel::CommandHeader& header, u32 routeFrom, GameInstance& instance,
                              GSCommandPusher& pusher)
        : IncomingCommand(header), routeFrom_(routeFrom), instance_(instance), pusher_(pusher) {}
    void execute() override;

private:
    u32 routeFrom_;
    GameInstance& instance_;
    GSCommandPusher& pusher_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
