#pragma once

#include <atomic>
#include <istream>
#include <memory>
#include <vector>

#include "foundation/CommandScheduler.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "simulation/core/GameWorld.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scores/MoneyScoreKeeper.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/server/ClientManager.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/server/GameInstance.h"
#include "simulation/server/InputApplier.h"
#include "simulation/server/ServerCommandFactory.h"
#include "simulation/server/ServerLoopControl.h"
#include "simulation/server/ServerStepper.h"
#include "simulation/server/ShutdownCountdown.h"
#include "simulation/state/ElementStateFactories.h"
#include "simulation/state/GameStateCapture.h"
#include "simulation/state/InputTables.h"
#include "simulation/sync/GSCommandPusher.h"
#include "simulation/sync/GameStatePacker.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

// The authoritative game server: a whole world, the per-client command
// machinery and the loop that runs the clients' commands, answers them with
// state synchronisations and steps the simulation.
//
// The host builds it (constructor, setTickDelta, loadMap, addClient, the game
// instance) on its own thread before run, then runs `run` on the server
// thread; while the loop runs the host only calls wake and stop and moves
// records through the two rings (it pushes to `incoming`, pops from
// `outgoing`). The rings and the clock belong to the host and outlive the
// server. The host joins the server thread before destroying the server.
// The stopwatch that the tick tracker and the shutdown countdown read runs
// from construction.
//
// Every failure inside the loop is caught at its boundary: a message that
// cannot become a command, and a command whose data is bad, are logged and
// dropped; a world that throws during a step ends the game (logged at
// CRITICAL, the loop returns).
class ZarnServer : public Convinience::Wakeable {
public:
    static constexpr u32 kWaitMs = 30;
    static constexpr u32 kShutdownDelayMs = 6000;

    ZarnServer(Corvel::MessageQueue& incoming, Corvel::MessageQueue& outgoing,
               const Convinience::TickClock& clock = Convinience::TickClock::steady());
    ~ZarnServer() override;
    ZarnServer(const ZarnServer&) = delete;
    ZarnServer& operator=(const ZarnServer&) = delete;

    // Host thread, before run.
    void setTickDelta(float seconds);
    void loadMap(std::istream& stream);
    void addClient(u32 clientId);
    GameInstance& gameInstance() { return instance_; }
    // Host thread, before run: the instance's spawn seed and the world's
    // (GameWorld::setSpawnSeed); the instance carries it to every client that
    // joins.
    void setSpawnSeed(u32 seed);
    // Host thread, before run: the server owns the keeper, updates it every
    // step and writes its section into the score block (the client's
    // registry must hold the same kinds). A keeper with rows per player gets
    // a row for every player added from then on. A kind already held keeps
    // its keeper; answers whether this one was filed (else it is dropped).
    bool addScoreKeeper(std::unique_ptr<ScoreKeeper> keeper);
    // Hosting hooks, host thread, before run; none is owned, each outlives
    // the loop. The wake target is woken after every command batch and while
    // the empty game waits with records on the outgoing ring; with one
    // installed and a fromID of 0, run first asks the host for the fromID
    // (command 23 on the outgoing ring, answered by server command 10).
    void setWakeTarget(Convinience::Wakeable* target) { wakeTarget_ = target; }
    void setEndpointRegistrar(EndpointRegistrar* registrar) { factory_.setEndpointRegistrar(registrar); }
    void setLagKicker(LagKicker* kicker) { stepper_.setLagKicker(kicker); }
    // The game's stopwatch, running from construction; the keepers that read
    // it are updated on the server thread.
    const Convinience::Stopwatch& stopwatch() const { return stopwatch_; }

    // Server thread: the loop; returns after stop, when the empty game has
    // been shut down, or when the world broke. A stop that came before run
    // makes run return at once.
    void run();
    // Any thread: ends the loop's current wait early. Never restarts a
    // stopped loop.
    void wake() override;
    // Host thread: ends the loop and waits until it has left run (at once
    // when it never entered or has left). Safe to call twice.
    void stop();

    // For the host after the loop has ended, and for tests that drive the
    // server on one thread: one command batch (answers whether it received
    // or executed anything), one idle pass.
    bool runCommandBatch();
    void waitOrStep();
    // For a host that runs many games on one of its threads, in place of
    // run (server thread = the caller's): one turn of the loop without its
    // wait. Command batches run while there is work and the game is open, at
    // most maxBatches, then one idle pass (the shutdown countdown, one step
    // attempt). Answers false once the loop would end: the empty game has
    // shut down or the world broke. The host calls it when records come and
    // at least every kWaitMs.
    bool runTurn(u32 maxBatches);

    bool hasExited() const { return loop_.hasExited(); }
    // Every player has left the room by its exit (each unit in state 17, at
    // least one unit): the room is over. Turns true once, on the server
    // thread, which at the same moment puts one record for the host on the
    // outgoing ring (route 2 = 0, command 27 with the game instance) and
    // wakes the wake target. Any thread.
    bool roomFinished() const { return roomFinished_.load(); }
    // The world; the server thread's while the loop runs.
    GameWorld& world() { return world_; }
    const ServerStepper& stepper() const { return stepper_; }
    // Turns received records into commands; the server thread's while the loop runs.
    ServerCommandFactory& commandFactory() { return factory_; }
    const ShutdownCountdown& countdown() const { return countdown_; }
    // The received commands by client (client 0's in the own record); the
    // server thread's while the loop runs.
    const Corvel::MultiClientCommandManager& commands() const { return commands_; }

private:
    bool hasWork() const;
    // The idle pass of waitOrStep without its wait; false once the
    // countdown has finished.
    bool idlePass();
    void requestFromID();
    // After each batch and pass: whether the room has just become over.
    void noteRoomEnd();
    void wakeTarget();
    // Commands filed for clients and not yet executed.
    std::size_t waitingCommands() const;

    Convinience::Logger logger_;
    Convinience::Wakeable* wakeTarget_ = nullptr;
    Corvel::MessageQueue& incoming_;
    Corvel::MessageQueue& outgoing_;
    Convinience::Stopwatch stopwatch_;
    GameInstance instance_;
    GameWorld world_;
    MapStateCapture mapCapture_{world_.traps, world_.numbered, &world_.dialogs};
    GameStateCapture capture_{world_.units, world_.simulator};
    GameStatePacker packer_;
    ScoreKeeperRegistry scores_;
    std::vector<std::unique_ptr<ScoreKeeper>> ownedKeepers_;
    MoneyScoreKeeper money_{world_.units, world_.money};
    PlayerInfoManager playerInfos_;
    AppliedInputRegistry appliedInputs_;
    RawTrapStateFactory trapStates_{world_.store};
    NumberedElementStateFactoryImpl elementStates_{world_.numbered};
    Corvel::MultiClientCommandManager commands_;
    Corvel::MultiClientCommandExecutor executor_{commands_};
    MultiClientCommandPusher pushers_{outgoing_, capture_};
    MultiClientTickTracker ticks_{&stopwatch_};
    ClientManager clients_{world_};
    ServerStepper stepper_{world_, ticks_, scores_};
    InputApplier inputs_{appliedInputs_,
                         world_.units,
                         world_.dialogs,
                         world_.map,
                         world_.triggers.bindableTrigger(),
                         world_.triggers.positionElementTrigger()};
    ServerCommandFactory factory_;
    Corvel::MultiClientCommandScheduler scheduler_{incoming_, &factory_, commands_, 0};
    ServerLoopControl loop_;
    ShutdownCountdown countdown_{instance_, stopwatch_, outgoing_};
    std::atomic<bool> roomFinished_{false};
};

}  // namespace Zarn
