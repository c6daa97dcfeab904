#pragma once

#include <thread>

#include "foundation/QueuedMessage.h"
#include "simulation/client/CoreBackedClient.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/server/ZarnServer.h"

namespace Zarn {

// Single play: the client game core and a whole server in one process, the
// server's loop on a thread of its own. Records cross between them only
// through four single-producer single-consumer rings, moved by `update` on
// the main thread, which wakes the server in a frame that gave it records;
// the server thread only pops its incoming ring and pushes its outgoing ring. A record that finds its
// destination ring full stays in its source ring until a later frame, so nothing is lost.
//
// Everything the accessors return is the client's (main thread). The spawn
// points are the client's copy, which follows the checkpoints the server
// records through its state synchronisations; the server's belong to the
// server thread (serverSpawnPoints).
class SinglePlayerZarn : public CoreBackedClient {
public:
    static constexpr std::size_t kRingSlots = 513;

    // clock: the server's time source (the steady clock in play); it outlives the client.
    explicit SinglePlayerZarn(const Convinience::TickClock& clock = Convinience::TickClock::steady());
    // Stops and joins the server thread when it was started.
    ~SinglePlayerZarn() override;

    // The core's map load, then the same bytes for the server's.
    void loadMap(std::istream& stream) override;
    void update(float dt) override;
    // Starts the server thread; a second call does nothing.
    void startServer();
    // Stops the server loop (the thread is joined at destruction); safe in
    // any state and more than once.
    void stopServer();
    bool serverStarted() const { return serverStarted_; }

    u32 getLocalClientID() override { return localClientId_; }
    InputManager& getInputManager() override { return inputs_; }
    ClientGameCore& getCore() override { return core_; }

    // The server; touch it only while its thread is not running.
    ZarnServer& server() { return server_; }
    // The server's spawn points, for what runs on the server thread (a kill
    // command of a score keeper the server runs): take the reference before
    // the server starts and use it only from the server thread.
    SpawnPoints& serverSpawnPoints() { return server_.world().spawnPoints; }

private:
    // Moves records (their bytes, not copies) from one ring to another until
    // the source is empty or the destination full; answers how many moved.
    // The main thread reads `from` and writes `to`, as each ring allows.
    static std::size_t forward(Corvel::MessageQueue& from, Corvel::MessageQueue& to);

    Corvel::MessageQueue clientOutgoing_{kRingSlots};
    Corvel::MessageQueue clientIncoming_{kRingSlots};
    Corvel::MessageQueue serverOutgoing_{kRingSlots};
    Corvel::MessageQueue serverIncoming_{kRingSlots};
    InputManager inputs_;
    u32 localClientId_ = 0;
    float tickDelta_ = 0.03f;
    ClientGameCore core_{clientIncoming_, clientOutgoing_};
    ZarnServer server_;
    std::thread serverThread_;
    bool serverStarted_ = false;
};

}  // namespace Zarn
