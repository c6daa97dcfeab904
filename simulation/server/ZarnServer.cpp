#include "simulation/server/ZarnServer.h"

#include <chrono>
#include <exception>
#include <string>

#include "foundation/Buffer.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/server/HostRecord.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {

namespace {
constexpr u32 kInfo = 1;
constexpr u32 kCritical = 4;
}  // namespace

ZarnServer::ZarnServer(Corvel::MessageQueue& incoming, Corvel::MessageQueue& outgoing,
                       const Convinience::TickClock& clock)
    : incoming_(incoming),
      outgoing_(outgoing),
      stopwatch_(clock),
      factory_(world_.units, pushers_, StateFactories{&trapStates_, &elementStates_},
               InputConfirmationCommand::Parts{instance_, packer_, inputs_, ticks_, stepper_}, instance_,
               clients_, commands_.own, world_.spawnPoints, playerInfos_) {
    capture_.applied = &appliedInputs_;
    capture_.mapState = &mapCapture_;
    clients_.creators = {&world_.units, &commands_,    &executor_, &pushers_,
                         &ticks_,       &playerInfos_, &packer_,   &money_};
    scores_.keepers.insert(money_.kind(), &money_);
    pushers_.packer = &packer_;
    pushers_.scores = &scores_;
    pushers_.addClient(0);
    countdown_.setDelay(kShutdownDelayMs);
    stopwatch_.start();
}

ZarnServer::~ZarnServer() = default;

void ZarnServer::setTickDelta(float seconds) {
    world_.setTickDelta(seconds);
    logger_.log(kInfo, "Zarn server tick delta set to " + std::to_string(seconds));
}

bool ZarnServer::addScoreKeeper(std::unique_ptr<ScoreKeeper> keeper) {
    if (!scores_.keepers.insert(keeper->kind(), keeper.get())) return false;
    // A keeper with rows per player follows the players joining and leaving.
    if (auto* rows = dynamic_cast<MultiplayerScoreKeeper*>(keeper.get())) clients_.creators.push_back(rows);
    ownedKeepers_.push_back(std::move(keeper));
    return true;
}

void ZarnServer::setSpawnSeed(u32 seed) {
    instance_.spawnSeed = seed;
    world_.setSpawnSeed(seed);
}

void ZarnServer::loadMap(std::istream& stream) {
    world_.loadMap(stream);
    logger_.log(kInfo, "Server map loaded");
}

void ZarnServer::addClient(u32 clientId) {
    clients_.addClient(clientId);
    logger_.log(kInfo, "Zarn server added clientID " + std::to_string(clientId));
}

void ZarnServer::run() {
    if (!loop_.enter()) {
        loop_.leave();
        return;
    }
    logger_.log(kInfo, "Zarn server started");
    requestFromID();
    while (loop_.isRunning()) {
        // A batch that moves nothing (commands held back by their numbering)
        // counts as no work, so that the loop never spins without waiting.
        if (!(countdown_.isOpen() && hasWork() && runCommandBatch())) waitOrStep();
        if (stepper_.isBroken()) loop_.finish();
    }
    logger_.log(kInfo, "Zarn server main loop exited");
    loop_.leave();
}

bool ZarnServer::runCommandBatch() {
    const std::size_t waitingBefore = waitingCommands();
    const bool received = !incoming_.empty();
    scheduler_.drainIncoming();
    try {
        executor_.executeAll();
    } catch (const std::exception& e) {
        logger_.log(kCritical, std::string("Critical error: a command failed and was dropped: ") + e.what());
    }
    noteRoomEnd();
    wakeTarget();
    return received || waitingCommands() < waitingBefore;
}

void ZarnServer::waitOrStep() {
    if (!idlePass()) {
        loop_.finish();
        return;
    }
    loop_.waitFor(std::chrono::milliseconds(kWaitMs));
}

bool ZarnServer::idlePass() {
    countdown_.update();
    if (countdown_.isFinished()) return false;
    if (!countdown_.isCounting()) {
        stepper_.step();
        noteRoomEnd();
    } else if (!outgoing_.empty()) {
        wakeTarget();
    }
    return true;
}

bool ZarnServer::runTurn(u32 maxBatches) {
    for (u32 batch = 0; batch < maxBatches && countdown_.isOpen() && hasWork(); ++batch) {
        if (!runCommandBatch()) break;
        if (stepper_.isBroken()) return false;
    }
    return idlePass() && !stepper_.isBroken();
}

bool ZarnServer::hasWork() const {
    return !incoming_.empty() || waitingCommands() != 0;
}

std::size_t ZarnServer::waitingCommands() const {
    std::size_t count = 0;
    for (const auto& [id, state] : commands_.states) count += state->pending.size() + state->immediate.size();
    return count;
}

void ZarnServer::requestFromID() {
    if (!wakeTarget_ || instance_.fromID != 0) return;
    Corvel::CommandHeader header(0, HostCommandId::requestFromId, 0, true);
    Convinience::Buffer buffer(64);
    header.serialize(buffer);
    buffer.appendU32(instance_.instanceID);
    Corvel::QueuedMessage record;
    record.reliable = 1;
    record.bytes = buffer.takeBytes();
    if (!outgoing_.push(std::move(record)))
        logger_.log(kCritical, "Critical error: no room to ask for the fromID");
    wakeTarget();
}

void ZarnServer::noteRoomEnd() {
    if (roomFinished_.load() || world_.units.size() == 0) return;
    bool everyoneOut = true;
    world_.units.forEachUnit(
        [&](u32, SteerableUnit& unit) { everyoneOut = everyoneOut && unit.state == UnitState::carried; });
    if (!everyoneOut) return;
    Convinience::Buffer instance(64);
    instance_.serialize(instance);
    if (!outgoing_.push(makeHostRecord(instance_.fromID, HostCommandId::roomFinished, instance.bytes())))
        logger_.log(kCritical, "Critical error: no room to tell the host the room is over");
    logger_.log(kInfo, "Every player has left the room by its exit");
    roomFinished_ = true;
    wakeTarget();
}

void ZarnServer::wakeTarget() {
    if (wakeTarget_) wakeTarget_->wake();
}

void ZarnServer::wake() {
    loop_.wake();
}

void ZarnServer::stop() {
    loop_.stop();
    logger_.log(kInfo, "Zarn server stopped");
}

}  // namespace Zarn
