#pragma once

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "foundation/Logger.h"
#include "foundation/QueuedMessage.h"
#include "foundation/Stopwatch.h"
#include "online/LobbyLink.h"
#include "simulation/server/EndpointRegistrar.h"
#include "simulation/sync/MultiClientTickTracker.h"

namespace Zarn {

class ZarnServer;

// One game of a lobby instance: its own world and server loop over the
// instance's map. The game server keeps one per instance at a time; a game
// that has closed (empty for a while) is replaced by a fresh one when a
// player comes. A runner (GameWorkers) takes the game's turns on one of its
// threads, which is then the game's server thread for its whole life.
//
// The game's records reach the network straight from its server thread: the
// server wakes its wake target after every command batch, and this game then
// turns every record on the server's outgoing ring into a packet for its
// outlet. Records for the host (route 2 = 0) are read here: "game closed"
// (25) and "room finished" (27) are told to the events.
//
// Threads: the server thread runs turn, finish, the outgoing drain and the
// calls to events and outlet. The I/O thread (the one producer of the
// incoming ring) calls push and wakeLoop. Without a runner, a test or fuzz
// target drives the game on its own thread through server() and drain().
class HostedGame : public std::enable_shared_from_this<HostedGame> {
public:
    // Told what the game does; called on the game's thread.
    class Events {
    public:
        virtual ~Events() = default;
        // The game took the client in (its join ran): the client's held
        // packets may follow.
        virtual void tookIn(HostedGame& game, u32 clientID) = 0;
        // The game sent the client its game instance (12): the client plays.
        virtual void seated(HostedGame& game, u32 clientID) = 0;
        // The game has been empty for a while and takes no more commands.
        virtual void closed(HostedGame& game) = 0;
        // Every player has left the room by its exit: the room is over.
        virtual void finished(HostedGame& game) = 0;
        // The game asks that clients that hold it back be dropped.
        virtual void kicked(HostedGame& game, const std::vector<u32>& clientIDs) = 0;
        // The loop has ended (after closing, or a world that broke).
        virtual void ended(HostedGame& game) = 0;
    };

    // Takes the game's turns (GameWorkers).
    class Runner {
    public:
        virtual ~Runner() = default;
        // Any thread: the game has records; its next turn should come soon.
        virtual void wake(HostedGame& game) = 0;
    };

    // Where the game's packets go; called on the game's thread.
    class Outlet {
    public:
        virtual ~Outlet() = default;
        // One packet's bytes for the client: reliable ones over its TCP
        // connection, the others as a datagram.
        virtual void sendToClient(u32 clientID, bool reliable, std::vector<u8>&& packet) = 0;
    };

    static constexpr float kTickDelta = 0.03f;
    static constexpr std::size_t kIncomingSlots = 1024;
    // Command batches in one turn: a game with a flood of records gives the
    // other games of its thread their turns in between.
    static constexpr u32 kBatchesPerTurn = 4;

    // Builds the world from the map bytes (their error propagates); the
    // game's instance carries the lobby's terms, the game server's ID as its
    // fromID and the spawn seed. events and outlet outlive the game.
    HostedGame(u64 serial, const ZarnOnline::InstanceTerms& terms, const std::string& mapBytes, u32 spawnSeed,
               Events& events, Outlet& outlet,
               const Convinience::TickClock& clock = Convinience::TickClock::steady());
    ~HostedGame();
    HostedGame(const HostedGame&) = delete;
    HostedGame& operator=(const HostedGame&) = delete;

    // The runner and the index of its thread; once, before the first wake.
    void attach(Runner& runner, u32 worker);
    u32 worker() const { return worker_; }
    // Server thread: one turn of the game's loop (ZarnServer::runTurn) and
    // the records it sent; false once the game has ended.
    bool turn();
    // Server thread, once, after the last turn: the last records go, the
    // game counts as ended and the events are told.
    void finish();

    // I/O thread: one record for the game (false when its ring is full) and
    // the wake that has the loop take it.
    bool push(Corvel::QueuedMessage&& record);
    // Has the runner give the game a turn soon (any thread).
    void wakeLoop();
    // Set by a wake, cleared by the runner when it takes the turn.
    std::atomic<bool> wakeRequested{false};
    // I/O thread: the host has this game on its list of games to wake.
    bool wakeQueued = false;

    // A number of the game server's own, unique among its games.
    u64 serial() const { return serial_; }
    const ZarnOnline::InstanceTerms& terms() const { return terms_; }
    // Any thread: the loop has ended.
    bool hasEnded() const { return ended_.load(); }

    // For a caller that drives the game itself (no start): the server, and
    // the drain of its outgoing ring.
    ZarnServer& server() { return *server_; }
    void drain();

private:
    class WakeTarget;
    class Hooks;

    void deliver(Corvel::QueuedMessage& record);

    u64 serial_;
    ZarnOnline::InstanceTerms terms_;
    Events& events_;
    Outlet& outlet_;
    Convinience::Logger logger_;
    Corvel::MessageQueue incoming_{kIncomingSlots};
    Corvel::MessageQueue outgoing_;
    std::unique_ptr<ZarnServer> server_;
    std::unique_ptr<WakeTarget> wakeTarget_;
    std::unique_ptr<Hooks> hooks_;
    u32 nextSequenceNumber_ = 0;  // game thread
    std::atomic<bool> ended_{false};
    Runner* runner_ = nullptr;
    u32 worker_ = 0;
};

}  // namespace Zarn
