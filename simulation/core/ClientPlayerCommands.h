#pragma once

#include <string>
#include <vector>

#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "simulation/server/AddPlayerHeaders.h"
#include "simulation/server/GameInstance.h"

namespace Zarn {

class ChatLineQueue;
class GameWorld;
class InputManager;
class PlayerInfoManager;
class ZarnGameNotifier;

// What the client's player commands change. All of it belongs to the client
// game core, except the input manager (the owning client's, outlives the
// core), the notifier (the scene's; `notifier` refers to the core's pointer,
// null while none is set, so a notifier unset after a command was built is
// not called) and the process-wide chat queue. Main thread only.
struct ClientPlayerParts {
    GameInstance& instance;
    GameWorld& world;
    PlayerInfoManager& infos;
    InputManager& inputs;
    ZarnGameNotifier* const& notifier;
    ChatLineQueue& chat;
};

// Command 8: another player joined. A client that has a unit already (a
// player the game instance listed, or a join heard twice) takes the record as
// its player info when the record differs from it in name or number, and the
// notifier hears that the player changed; the same record again is logged
// (WARN) and changes nothing. Otherwise the client gets a unit at the
// position, its player info, its input list, the notifier hears of it and
// "<name> has joined the game" is posted.
class ClientAddPlayerCommand : public Corvel::IncomingCommand {
public:
    ClientAddPlayerCommand(const Corvel::CommandHeader& header, ClientAddPlayerHeader data,
                           const ClientPlayerParts& parts)
        : IncomingCommand(header), data(std::move(data)), parts_(parts) {}
    void execute() override;

    ClientAddPlayerHeader data;

private:
    ClientPlayerParts parts_;
    Convinience::Logger logger_;
};

// Commands 9 (a player left) and 13 (players kicked for lagging): each
// client in order loses its unit, player info and input list, the notifier
// hears of it and "<name><suffix>" is posted. A client without a player info
// throws Convinience::Error "no such player info"; one without a unit is
// logged (WARN) and ends the command.
class ClientPlayerExitCommand : public Corvel::IncomingCommand {
public:
    ClientPlayerExitCommand(const Corvel::CommandHeader& header, std::vector<u32> clientIDs,
                            std::string suffix, const ClientPlayerParts& parts)
        : IncomingCommand(header),
          clientIDs(std::move(clientIDs)),
          suffix_(std::move(suffix)),
          parts_(parts) {}
    void execute() override;

    std::vector<u32> clientIDs;

private:
    std::string suffix_;
    ClientPlayerParts parts_;
    Convinience::Logger logger_;
};

// Command 12: the server's game instance. Players it lists that the core's
// instance does not (other than the local client, the header's client) get a
// unit, an input list and a player info (the instance's record of them, else
// a nameless one that their join, 8, fills later) and are announced to the
// notifier; then the core's instance becomes the received one and the world
// takes its spawn seed.
class GameInstanceConfirmCommand : public Corvel::IncomingCommand {
public:
    GameInstanceConfirmCommand(const Corvel::CommandHeader& header, GameInstance confirmed,
                               const ClientPlayerParts& parts)
        : IncomingCommand(header), confirmed(std::move(confirmed)), parts_(parts) {}
    void execute() override;

    GameInstance confirmed;

private:
    ClientPlayerParts parts_;
};

// Command 14: the server accepted this client's exit; the notifier's game
// notification runs (nothing without a notifier).
class ClientExitGameConfirmCommand : public Corvel::IncomingCommand {
public:
    ClientExitGameConfirmCommand(const Corvel::CommandHeader& header, ZarnGameNotifier* const& notifier)
        : IncomingCommand(header), notifier_(notifier) {}
    void execute() override;

private:
    ZarnGameNotifier* const& notifier_;
};

}  // namespace Zarn
