#include "online/game/HostedGame.h"

#include <exception>
#include <sstream>

#include "foundation/Buffer.h"
#include "foundation/ByteReader.h"
#include "foundation/CommandHeader.h"
#include "net/Packet.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/scores/DeathScoreKeeper.h"
#include "simulation/server/ZarnServer.h"

namespace Zarn {

namespace severity = Convinience::severity;

namespace {

// The game's ID as its clients know it (their packets' destination).
constexpr u32 kGameServerID = ZarnOnline::link::kGameServerId;

// Room for everything one command batch can push: at most 256 commands, each
// answered to every player of a full game and the host.
std::size_t outgoingSlots(u32 capacity) {
    return 256 * (static_cast<std::size_t>(capacity) + 2) + 1024;
}

}  // namespace

// The server calls its wake target on its own thread after every command
// batch: that is when the game's records leave.
class HostedGame::WakeTarget : public Convinience::Wakeable {
public:
    explicit WakeTarget(HostedGame& game) : game_(game) {}
    void wake() override { game_.drain(); }

private:
    HostedGame& game_;
};

// The server's joins and laggards, told to the events (game thread).
class HostedGame::Hooks : public EndpointRegistrar, public LagKicker {
public:
    explicit Hooks(HostedGame& game) : game_(game) {}
    void registerEndpoint(u32 clientID, const std::string&) override {
        game_.events_.tookIn(game_, clientID);
    }
    void removeEndpoint(u32) override {}
    void kick(const std::vector<u32>& clientIDs) override { game_.events_.kicked(game_, clientIDs); }

private:
    HostedGame& game_;
};

HostedGame::HostedGame(u64 serial, const ZarnOnline::InstanceTerms& terms, const std::string& mapBytes,
                       u32 spawnSeed, Events& events, Outlet& outlet, const Convinience::TickClock& clock)
    : serial_(serial),
      terms_(terms),
      events_(events),
      outlet_(outlet),
      outgoing_(outgoingSlots(terms.capacity)) {
    server_ = std::make_unique<ZarnServer>(incoming_, outgoing_, clock);
    server_->setTickDelta(kTickDelta);
    std::istringstream stream(mapBytes);
    server_->loadMap(stream);
    // The online display shows every player's deaths.
    server_->addScoreKeeper(std::make_unique<DeathScoreKeeper>(server_->world().units));
    server_->setSpawnSeed(spawnSeed);
    GameInstance& instance = server_->gameInstance();
    instance.instanceID = terms.instanceID;
    instance.mapHash = terms.mapHash;
    instance.instanceFlag = terms.instanceFlag;
    instance.endpoint = terms.endpoint;
    // The game's replies carry this ID from the first one on.
    instance.fromID = kGameServerID;
    wakeTarget_ = std::make_unique<WakeTarget>(*this);
    hooks_ = std::make_unique<Hooks>(*this);
    server_->setWakeTarget(wakeTarget_.get());
    server_->setEndpointRegistrar(hooks_.get());
    server_->setLagKicker(hooks_.get());
}

HostedGame::~HostedGame() = default;

void HostedGame::attach(Runner& runner, u32 worker) {
    runner_ = &runner;
    worker_ = worker;
}

bool HostedGame::turn() {
    try {
        return server_->runTurn(kBatchesPerTurn);
    } catch (const std::exception& e) {
        logger_.log(severity::critical, std::string("Critical error: a game failed: ") + e.what());
    } catch (...) {
        logger_.log(severity::critical, "Critical error: a game failed");
    }
    return false;
}

void HostedGame::finish() {
    drain();
    ended_ = true;
    events_.ended(*this);
}

bool HostedGame::push(Corvel::QueuedMessage&& record) {
    return incoming_.push(std::move(record));
}

void HostedGame::wakeLoop() {
    if (runner_) runner_->wake(*this);
}

void HostedGame::drain() {
    Corvel::QueuedMessage record;
    while (outgoing_.pop(record)) {
        try {
            deliver(record);
        } catch (const std::exception& e) {
            logger_.log(severity::error, std::string("A record of the game was dropped: ") + e.what());
        }
    }
}

void HostedGame::deliver(Corvel::QueuedMessage& record) {
    Convinience::ByteReader reader(record.bytes);
    const Corvel::CommandHeader command(reader);
    if (record.toClientId == 0) {
        if (command.commandId == HostCommandId::gameClosed) events_.closed(*this);
        if (command.commandId == HostCommandId::roomFinished) events_.finished(*this);
        return;
    }
    const bool reliable = record.reliable != 0;
    if (reliable && command.commandId == ClientCommandId::gameInstanceConfirm) {
        events_.seated(*this, record.toClientId);
    }
    Ferro::Packet1337Header header;
    header.applicationId = Ferro::kApplicationId;
    header.sequenceNumber = nextSequenceNumber_;
    if (!reliable) ++nextSequenceNumber_;
    header.senderClientId = record.fromClientId;
    header.destinationClientId = record.toClientId;
    header.payloadLength = static_cast<u32>(record.bytes.size());
    header.reliable = reliable ? 1 : 0;
    // The packet is written once, into a buffer of its size.
    Convinience::Buffer packet(Ferro::Packet1337Header::kSize + header.payloadLength);
    header.serialize(packet);
    packet.append(record.bytes.data(), header.payloadLength);
    outlet_.sendToClient(record.toClientId, reliable, packet.takeBytes());
}

}  // namespace Zarn
