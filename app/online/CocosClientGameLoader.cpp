#include "app/online/CocosClientGameLoader.h"

#include "app/online/MultiplayerInGameScene.h"
#include "app/online/NetworkedClientLink.h"
#include "app/start/Settings.h"
#include "simulation/server/GameInstance.h"

CocosClientGameLoader::CocosClientGameLoader() = default;

CocosClientGameLoader::~CocosClientGameLoader() {
    releaseScene();
}

void CocosClientGameLoader::load(const Zarn::GameInstance& instance, u32 clientID) {
    const std::string mapName = maps_.findByHash(instance.mapHash);

    Zarn::GameInstance game = instance;
    game.players.clear();
    game.players.insert(clientID);
    auto connection = std::make_shared<OnlineConnectionState>();
    auto client = makeNetworkedClient(game, clientID, Settings.NETWORK_LATENCY,
                                      [connection] { connection->serverLost = true; });

    // The earlier scene goes before its client is let go.
    releaseScene();
    client_ = std::move(client);
    connection_ = std::move(connection);
    scene_ = MultiplayerInGameScene::create(mapName, client_, connection_);
    if (scene_ != nullptr) scene_->retain();
}

void CocosClientGameLoader::connect(u32) {
    if (client_ == nullptr) return;
    std::shared_ptr<OnlineConnectionState> connection = connection_;
    startNetworkedSession(*client_, [connection] { connection->connectFailed = true; });
}

void CocosClientGameLoader::releaseScene() {
    if (scene_ == nullptr) return;
    scene_->release();
    scene_ = nullptr;
}
