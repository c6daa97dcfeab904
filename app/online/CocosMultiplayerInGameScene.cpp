#include "app/online/CocosMultiplayerInGameScene.h"

#include "app/ingame/ChatShell.h"
#include "app/ingame/CocosDialogWindow.h"
#include "app/ingame/DialogWindowImpl.h"
#include "app/ingame/MultiplayerInGameHUD.h"
#include "engine/Director.h"
#include "engine/Scene.h"
#include "presentation/hud/PlayerMarkersHUD2D.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/commands/CommandIds.h"
#include "simulation/core/ClientGameCore.h"
#include "simulation/scene/PlayerMarkerLocator.h"
#include "simulation/scores/ScoreKeeper.h"
#include "simulation/scores/ScoreKeeperRegistry.h"

CocosZarnGameNotifier::CocosZarnGameNotifier(Zarn::SteerableXDManager& visuals,
                                             std::function<void()> exitHandler, MultiplayerInGameHUD& hud,
                                             PlayerMarkersHUD2D& markers)
    : BaseZarnGameNotifier(visuals, std::move(exitHandler)), hud_(hud), markers_(markers) {}

void CocosZarnGameNotifier::playerJoined(u32 clientID) {
    BaseZarnGameNotifier::playerJoined(clientID);
    hud_.addPlayerRow(clientID);
    markers_.addMarker(clientID);
}

void CocosZarnGameNotifier::playerChanged(u32 clientID) {
    BaseZarnGameNotifier::playerChanged(clientID);
    hud_.renamePlayer(clientID);
}

void CocosZarnGameNotifier::playerLeft(u32 clientID) {
    BaseZarnGameNotifier::playerLeft(clientID);
    hud_.removePlayer(clientID);
    markers_.removeMarker(clientID);
}

CocosMultiplayerInGameScene::CocosMultiplayerInGameScene(CocosNodeMediator& root, cocos2d::Scene* hostScene,
                                                         Zarn::ZarnClientInterface& client,
                                                         std::string mapName,
                                                         const SceneVisualFactoryMaker& makeFactories)
    : CocosInGameScene(root, hostScene, client, std::move(mapName), makeFactories) {
    setDialogWindowMaker(cocosDialogWindowMaker());
}

CocosMultiplayerInGameScene::~CocosMultiplayerInGameScene() = default;

void CocosMultiplayerInGameScene::setupExtra() {
    chat_ = ChatShell::create();
    hostScene_->addChild(chat_, kHUDZOrder);
    chat_->setPosition(cocos2d::Vec2(kChatX, kChatY));
    Zarn::ZarnClientInterface& client = client_;
    client_.setExitHandler([&client] { client.setNextLocalCommand(Zarn::LocalCommandId::exitGame); });
}

std::unique_ptr<Zarn::ZarnGameNotifier> CocosMultiplayerInGameScene::makeGameNotifier() {
    // The markers' node lies at the visible origin with scale 1: the
    // locator's screen points are its own.
    locator_ = std::make_unique<Zarn::PlayerMarkerLocator>(units_, *getCamera(),
                                                           GeometryLib::FPoint(0.0f, 0.0f), kWorldScale);
    markers_ = PlayerMarkersHUD2D::create(*locator_);
    markers_->setPosition(cocos2d::Director::getInstance()->getVisibleOrigin());
    hostScene_->addChild(markers_, kHUDZOrder);

    Zarn::ScoreKeeperRegistry& scores = client_.getScoreKeeperRegistry();
    scores.keepers.insert(Zarn::scoreKeeperKind::deaths, nullptr);
    hud_ = MultiplayerInGameHUD::create(playerInfos_, client_.getCore().gameInstance().instanceID,
                                        scores.scores);
    hostScene_->addChild(hud_, kHUDZOrder);

    return std::make_unique<CocosZarnGameNotifier>(*steerableVisuals_, exitHandler(), *hud_, *markers_);
}
