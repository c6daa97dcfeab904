#include "app/online/MultiplayerInGameScene.h"

#include <exception>

#include "app/ingame/MultiplayerInGameHUD.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/online/CocosMultiplayerInGameScene.h"
#include "app/online/NetworkedClientLink.h"
#include "app/online/OnlineSession.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/widgets/NoticeLabel.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Transition.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "presentation/audio/LevelMusicTable.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/audio/SoundPlayer.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/client/ZarnClientInterface.h"
#include "simulation/commands/CommandIds.h"
#include "visuals/elements/LevelVisualFactories.h"

using cocos2d::EventKeyboard;

MultiplayerInGameScene::MultiplayerInGameScene(std::string mapName,
                                               std::shared_ptr<Zarn::NetworkedZarnClient> client,
                                               std::shared_ptr<OnlineConnectionState> connection)
    : client_(std::move(client)), connection_(std::move(connection)), mapName_(std::move(mapName)) {}

MultiplayerInGameScene* MultiplayerInGameScene::create(const std::string& mapName,
                                                       std::shared_ptr<Zarn::NetworkedZarnClient> client,
                                                       std::shared_ptr<OnlineConnectionState> connection) {
    if (client == nullptr || connection == nullptr) return nullptr;
    auto* host = new MultiplayerInGameScene(mapName, std::move(client), std::move(connection));
    bool ready = false;
    try {
        ready = host->init();
    } catch (const std::exception& failure) {
        Convinience::Logger().log(3,
                                  "Online level " + mapName + " could not be brought up: " + failure.what());
    }
    if (!ready) {
        host->finished_ = true;
        host->release();
        return nullptr;
    }
    host->autorelease();
    return host;
}

MultiplayerInGameScene::~MultiplayerInGameScene() {
    // The scene logic goes first: it unhooks its notifier from the client.
    scene_.reset();
    if (!finished_ && client_ != nullptr) {
        Zarn::ZarnClientInterface& c = client();
        c.setExitHandler({});
        try {
            c.setNextLocalCommand(Zarn::LocalCommandId::exitGame);
            c.update(0.03f);
        } catch (const std::exception& e) {
            Convinience::Logger().log(3, std::string("Leaving the online game: ") + e.what());
        }
        closeNetworkedConnection(*client_);
    }
}

Zarn::ZarnClientInterface& MultiplayerInGameScene::client() const {
    return clientInterface(*client_);
}

bool MultiplayerInGameScene::init() {
    if (!Scene::init()) return false;

    touchListener_ = cocos2d::EventListenerTouchAllAtOnce::create();
    touchListener_->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>& touches,
                                            cocos2d::Event* event) { onTouchesBegan(touches, event); };
    touchListener_->onTouchesEnded = [](const std::vector<cocos2d::Touch*>&, cocos2d::Event*) {};
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touchListener_, this);
    keyListener_ = cocos2d::EventListenerKeyboard::create();
    keyListener_->onKeyPressed = [this](EventKeyboard::KeyCode key, cocos2d::Event* event) {
        onKeyPressed(key, event);
    };
    keyListener_->onKeyReleased = [this](EventKeyboard::KeyCode key, cocos2d::Event* event) {
        onKeyReleased(key, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyListener_, this);

    rootMediator_ = std::make_unique<CocosNodeMediator>(this);
    scene_ = std::make_unique<CocosMultiplayerInGameScene>(*rootMediator_, this, client(), mapName_,
                                                           makeLevelVisualFactories);
    scene_->setExitHandler([this] { finishGame(); });
    scene_->setFailureHandler([this](const std::exception&) { finishWith(kFailureNotice); });
    scene_->initScene();
    scene_->getHUD()->leaveCallback = [this] { leaveGame(); };

    std::shared_ptr<OnlineConnectionState> connection = connection_;
    startNetworkedSession(*client_, [connection] { connection->connectFailed = true; });
    startMapMusic();
    return true;
}

void MultiplayerInGameScene::update(float dt) {
    if (finished_) return;
    if (connection_->connectFailed.load()) {
        finishWith(kConnectFailedNotice);
        return;
    }
    if (connection_->serverLost.load()) {
        finishWith(kServerLostNotice);
        return;
    }
    scene_->update(dt);
}

void MultiplayerInGameScene::onExitTransitionDidStart() {
    Scene::onExitTransitionDidStart();
    SoundPlayer* sound = SoundPlayer::getInstance();
    if (musicID_ != -1) sound->stopMusic(musicID_);
    sound->stopAllEffects();
    try {
        PositionAudioEngine::instance().reset();
    } catch (const Convinience::Error& missing) {
        Convinience::Logger().log(3, std::string("Leaving the online game: ") + missing.what());
    }
}

void MultiplayerInGameScene::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (touches.empty() || finished_) return;
    const cocos2d::Vec2 location = touches.front()->getLocation();
    scene_->dispatchInput(GeometryLib::FPoint(location.x, location.y));
}

void MultiplayerInGameScene::onKeyPressed(EventKeyboard::KeyCode key, cocos2d::Event*) {
    if (finished_) return;
    if (const u8 kind = keyInputKind(key, true)) scene_->sendInput(kind);
}

void MultiplayerInGameScene::onKeyReleased(EventKeyboard::KeyCode key, cocos2d::Event*) {
    if (finished_) return;
    if (key == EventKeyboard::KeyCode::KEY_ESCAPE) {
        leaveGame();
    } else if (key == EventKeyboard::KeyCode::KEY_R) {
        return;
    } else if (const u8 kind = keyInputKind(key, false)) {
        scene_->sendInput(kind);
    }
}

void MultiplayerInGameScene::leaveGame() {
    if (leaving_ || finished_) return;
    leaving_ = true;
    client().setNextLocalCommand(Zarn::LocalCommandId::exitGame);
    runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(kLeaveSeconds),
                                        cocos2d::CallFunc::create([this] { finishGame(); }), nullptr));
}

void MultiplayerInGameScene::finishGame() {
    finishWith("");
}

void MultiplayerInGameScene::finishWith(const std::string& notice) {
    if (finished_) return;
    finished_ = true;
    closeLobbyConnection();
    closeNetworkedConnection(*client_);
    unscheduleUpdate();
    // A scene the director never ran (a loaded game not entered) leaves the
    // running scene alone.
    if (!isRunning()) return;
    ZUIMainMenuScene* menu = ZUIMainMenuScene::create(0);
    if (!notice.empty()) showNotice(menu, notice, kNoticeZOrder);
    cocos2d::Director::getInstance()->replaceScene(
        cocos2d::TransitionMoveInB::create(kMenuTransitionSeconds, menu));
}

void MultiplayerInGameScene::startMapMusic() {
    std::string track;
    float volume = 0.0f;
    if (!onlineMapMusic(mapName_, track, volume)) return;
    musicID_ = SoundPlayer::getInstance()->playMusicLooped(track, volume, 1.0f);
}
