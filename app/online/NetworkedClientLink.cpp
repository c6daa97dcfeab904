#include "app/online/NetworkedClientLink.h"

#include "foundation/QueuedMessage.h"
#include "simulation/client/ZarnClientInterface.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/managers/InputManager.h"
#include "simulation/server/GameInstance.h"

namespace Zarn {

// Stands in for the networked game client until it exists: the client game
// core with its input manager, without a connection (what it sends is
// dropped, nothing arrives).
class NetworkedZarnClient : public ZarnClientInterface {
public:
    NetworkedZarnClient(std::string endpoint, u16, u32 clientID) : endpoint_(std::move(endpoint)) {
        core_.setInputManager(&inputs_);
        core_.setTickDelta(0.03f);
        core_.setLocalClientID(clientID);
        inputs_.addClient(clientID);
        localClientID_ = clientID;
    }
    void startSessionAsync(std::function<void()>) { started_ = true; }
    void setDisconnectFunction(std::function<void()>) {}
    void setPlaybackLatency(u32) {}
    void closeConnection() {}

    void loadMap(std::istream& stream) override { core_.loadMap(stream); }
    void update(float dt) override {
        core_.update(dt);
        while (!outgoing_.empty()) outgoing_.pop();
    }
    void setNextLocalCommand(u32 commandID) override { core_.setNextLocalCommand(commandID); }
    void addPlayer(u32 clientID) override { core_.addPlayer(clientID); }
    u32 getLocalClientID() override { return localClientID_; }
    void setExitHandler(std::function<void()> handler) override { core_.setExitHandler(std::move(handler)); }
    void setGameNotifier(Zarn::ZarnGameNotifier* notifier) override { core_.setGameNotifier(notifier); }
    Zarn::InputManager& getInputManager() override { return inputs_; }
    Zarn::ClientGameCore& getCore() override { return core_; }
    Zarn::SteerableUnitManager& getSteerableUnitManager() override { return core_.world().units; }
    Zarn::InteractiveElementStore& getInteractiveElementStore() override { return core_.world().store; }
    Zarn::GameMap& getGameMap() override { return core_.world().map; }
    Zarn::TrapList& getTraps() override { return core_.world().traps; }
    Zarn::DialogPlayer& getDialogPlayer() override { return core_.world().dialogs; }
    Zarn::NumberedElementGroup& getNumberedElements() override { return core_.world().numbered; }
    Zarn::TrapFactory& getTrapFactory() override { return core_.world().trapFactory; }
    Zarn::SpawnPoints& getSpawnPoints() override { return core_.world().spawnPoints; }
    Zarn::PlayerInfoManager& getPlayerInfoManager() override { return core_.playerInfos(); }
    Zarn::ScoreKeeperRegistry& getScoreKeeperRegistry() override { return core_.scores(); }

private:
    std::string endpoint_;
    Corvel::MessageQueue incoming_{257};
    Corvel::MessageQueue outgoing_{257};
    Zarn::InputManager inputs_;
    Zarn::ClientGameCore core_{incoming_, outgoing_};
    u32 localClientID_ = 0;
    bool started_ = false;
};

}  // namespace Zarn

std::shared_ptr<Zarn::NetworkedZarnClient> makeNetworkedClient(const Zarn::GameInstance& instance,
                                                               u32 clientID, u32 latencyMs,
                                                               std::function<void()> serverLost) {
    auto client = std::make_shared<Zarn::NetworkedZarnClient>(instance.endpoint, 0, clientID);
    client->setPlaybackLatency(latencyMs);
    client->getCore().setGameInstance(instance);
    client->setDisconnectFunction(std::move(serverLost));
    return client;
}

Zarn::ZarnClientInterface& clientInterface(Zarn::NetworkedZarnClient& client) {
    return client;
}

void startNetworkedSession(Zarn::NetworkedZarnClient& client, std::function<void()> failed) {
    client.startSessionAsync(std::move(failed));
}

void closeNetworkedConnection(Zarn::NetworkedZarnClient& client) {
    client.closeConnection();
}
