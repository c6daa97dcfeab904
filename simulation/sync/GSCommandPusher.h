#pragma once

#include <map>
#include <memory>

#include "foundation/CommandPusher.h"
#include "foundation/Interfaces.h"
#include "foundation/Logger.h"

namespace Zarn {

class GameStateCapture;
class GameStatePacker;
class ScoreKeeperRegistry;

// A command pusher whose every pushed command carries a game state after its
// header: the capture of the current tick, as a delta for the header's client
// when a packer is set, then the score block when a registry is set. The
// server keeps one per client (no pending table); the client game core one
// for its state updates and inputs (neither packer nor registry). Used on
// the thread that owns the capture.
class GSCommandPusher : public Corvel::CommandPusher {
public:
    // queue and source are observed and outlive the pusher.
    GSCommandPusher(Corvel::MessageQueue& queue, GameStateCapture& source,
                    Corvel::PendingCommandTable* pending = nullptr)
        : CommandPusher(queue, 0, pending), source_(&source) {}

    // Observed; the server's, which outlive its pushers. Either may be null.
    GameStatePacker* packer = nullptr;
    const ScoreKeeperRegistry* scores = nullptr;

protected:
    void onPush(Corvel::CommandHeader& header, Convinience::Buffer& buffer) override;

private:
    GameStateCapture* source_;
};

// The server's pushers, one per client. Used on the server thread.
class MultiClientCommandPusher : public Convinience::MultiClientCreator {
public:
    // queue and source are observed and outlive the pushers.
    MultiClientCommandPusher(Corvel::MessageQueue& queue, GameStateCapture& source)
        : queue_(&queue), source_(&source) {}

    // A new pusher gets the packer and registry set here; a client that has a
    // pusher keeps it and its numbering.
    void addClient(u32 clientId) override;
    void removeClient(u32 clientId) override { pushers_.erase(clientId); }
    // Logs at CRITICAL and throws Convinience::ClientIDNotFoundException for a
    // client without a pusher.
    GSCommandPusher& pusherFor(u32 clientId);

    GameStatePacker* packer = nullptr;
    const ScoreKeeperRegistry* scores = nullptr;

private:
    Corvel::MessageQueue* queue_;
    GameStateCapture* source_;
    std::map<u32, std::unique_ptr<GSCommandPusher>> pushers_;
    Convinience::Logger logger_;
};

}  // namespace Zarn
