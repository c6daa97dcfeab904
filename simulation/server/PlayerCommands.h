#pragma once

#include "foundation/CommandHeader.h"
#include "foundation/Logger.h"
#include "simulation/server/AddPlayerHeaders.h"

namespace Zarn {

class ClientManager;
class EndpointRegistrar;
class GameInstance;
class GSCommandPusher;
class MultiClientCommandPusher;
class PlayerInfoManager;
class SpawnPoints;
class SteerableUnitManager;

// Server commands that change who plays and which game this is. Server
// thread only; everything referenced belongs to the server. Replies are sent
// raw (numbered, no state appended) with route 1 = the game's fromID.

// Command 8: a player joins. A client that has a unit already is logged
// (WARN) and ignored. Otherwise the client enters every per-client table
// (through the client manager), keeps the header's player record as its
// player info, and its unit is placed by the spawn mode: 1
// on the first unit of the table, taking that unit's spawn point (the
// default spawn, with a WARN, in an empty room), 2 at the header's point, 3
// not at all, anything else at (96, 224). Then every player of the game
// instance is told 8 with the player record and the unit's position; a
// missing unit throws Convinience::ClientIDNotFoundException, a missing
// player info Convinience::Error "no such player info".
class AddPlayerCommand : public Corvel::IncomingCommand {
public:
    struct Parts {
        GameInstance& instance;
        SteerableUnitManager& units;
        ClientManager& clients;
        SpawnPoints& spawns;
        PlayerInfoManager& infos;
        MultiClientCommandPusher& pushers;
        // The host's, when one is installed (told before the spawn).
        EndpointRegistrar* registrar = nullptr;
    };

    AddPlayerCommand(const Corvel::CommandHeader& header, u32 routeFrom, AddPlayerHeader data,
                     const Parts& parts)
        : IncomingCommand(header), data(std::move(data)), routeFrom_(routeFrom), parts_(parts) {}
    void execute() override;

    AddPlayerHeader data;

private:
    void spawnDefault(u32 id);
    void spawnAt(u32 id, const GeometryLib::FPoint& position);
    void spawnNearPlayer(u32 id);
    void announceNewPlayer(u32 id);

    u32 routeFrom_;
    Parts parts_;
    Convinience::Logger logger_;
};

// Command 9: the sender leaves. It runs from the command manager's own
// immediate list, never inside the leaving client's own command pass, so the
// client's command record can go. The leaving client is told 14 (through
// client 0's pusher), every remaining player 9 with the client's ID, and the
// host 26 with the game instance.
class PlayerExitCommand : public Corvel::IncomingCommand {
public:
    // registrar: the host's, or null; told after the client has left.
    PlayerExitCommand(const Corvel::CommandHeader& header, GameInstance& instance, ClientManager& clients,
                      MultiClientCommandPusher& pushers, EndpointRegistrar* registrar = nullptr)
        : IncomingCommand(header),
          instance_(instance),
          clients_(clients),
          pushers_(pushers),
          registrar_(registrar) {}
    void execute() override;

private:
    GameInstance& instance_;
    ClientManager& clients_;
    MultiClientCommandPusher& pushers_;
    EndpointRegistrar* registrar_;
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
// instance back (12). Before that, the first time it joins, it is told 8 for
// every other player that has a unit (its player record and position): a
// player whose join the server took before this one's command 11 was
// announced to nobody who mattered, so each pair of players learns of each
// other exactly once, whichever order their joins and updates came in.
class GameInstanceUpdateCommand : public Corvel::IncomingCommand {
public:
    GameInstanceUpdateCommand(const Corvel::CommandHeader& header, u32 routeFrom,
                              const AddPlayerCommand::Parts& parts)
        : IncomingCommand(header), routeFrom_(routeFrom), parts_(parts) {}
    void execute() override;

private:
    u32 routeFrom_;
    AddPlayerCommand::Parts parts_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
