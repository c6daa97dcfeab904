#include "simulation/core/ClientGameCore.h"

#include <string>

#include "simulation/achievements/AchievementTracker.h"

namespace Zarn {

namespace {
constexpr u32 kInfo = 1;
constexpr u32 kPlaybackRate = 66;
}  // namespace

ClientGameCore::ClientGameCore(Corvel::MessageQueue& incoming, Corvel::MessageQueue& outgoing)
    : pusher_(outgoing, capture_),
      incomingFactory_(
          StateFactories{&trapStates_, &elementStates_}, buffer_, world_.simulator, unconfirmed_, scores_,
          ClientIncomingCommandFactory::Players{instance_, world_, playerInfos_, chatLineQueue()}),
      scheduler_(incoming, &incomingFactory_, commands_) {
    capture_.unconfirmed = &unconfirmed_;
    incomingFactory_.setCheckpointFollower(&checkpoints_);
    scores_.keepers.insert(money_.kind(), &money_);
    ticker_.setTiming(kPlaybackRate, 0.03f);
}

void ClientGameCore::setLocalClientID(u32 id) {
    localClientId_ = id;
    exiter_.clientID = id;
    exiter_.singleClient = true;
    exiter_.delay = 0.1f;
    world_.units.addClient(id);
    playerInfos_.addClient(id);
    localFactory_.localClientID = id;
    if (inputs_) inputs_->addClient(id);
    logger_.log(kInfo, "Local clientID set to " + std::to_string(id));
}

void ClientGameCore::setTickDelta(float dt) {
    world_.setTickDelta(dt);
    interpolator_.secondsPerTick = dt;
    producer_.period = dt;
    ticker_.setTiming(kPlaybackRate, dt);
    logger_.log(kInfo, "Client tick delta set to " + std::to_string(dt));
}

void ClientGameCore::setInputManager(InputManager* inputs) {
    inputs_ = inputs;
    capture_.inputs = inputs;
    incomingFactory_.setInputManager(inputs);
    if (inputs_) inputs_->addClient(localClientId_);
}

void ClientGameCore::addPlayer(u32 clientId) {
    world_.units.addClient(clientId);
    world_.simulator.addUnit(clientId, world_.units.findUnit(clientId));
    if (inputs_) inputs_->addClient(clientId);
    logger_.log(kInfo, "Client " + std::to_string(clientId) + " added");
}

void ClientGameCore::setGameInstance(const GameInstance& instance) {
    instance_ = instance;
    world_.setSpawnSeed(instance_.spawnSeed);
    for (const PlayerInfo& record : instance_.playerInfos) {
        playerInfos_.addClient(record.clientID);
        PlayerInfo& info = playerInfos_.getInfo(record.clientID);
        info.clientID = record.clientID;
        info.number = record.number;
        info.name = record.name;
    }
}

void ClientGameCore::loadMap(std::istream& stream) {
    world_.loadMap(stream);
    logger_.log(kInfo, "Client map loaded");
}

void ClientGameCore::update(float dt) {
    scheduler_.drainIncoming();
    producer_.advance(dt);
    Corvel::CommandScheduler::executeOrdered(cursor_);
    Corvel::CommandScheduler::executeImmediate(commands_);
    Corvel::CommandScheduler::trimFirstHistory(commands_);
    Corvel::CommandScheduler::trimHistoryVector(commands_);
    ticker_.update(dt);
    exiter_.update(dt);
    if (achievements_ != nullptr && achievements_->platformReady()) achievements_->requestAchievements();
}

}  // namespace Zarn
