#include "app/online/NetworkedClientLink.h"

#include "online/game/NetworkedZarnClient.h"
#include "simulation/server/GameInstance.h"

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
