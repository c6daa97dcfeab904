#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Event.h"
#include "engine/Scene.h"

namespace cocos2d {
class EventListenerKeyboard;
class EventListenerTouchAllAtOnce;
class Touch;
}  // namespace cocos2d
namespace Zarn {
class NetworkedZarnClient;
class ZarnClientInterface;
}  // namespace Zarn
class CocosMultiplayerInGameScene;
class CocosNodeMediator;
struct OnlineConnectionState;

// One online game as an engine scene: drives the networked client through
// the online in-game scene every frame, routes touches and keys to the game,
// and leaves for the main menu (a move-in from the bottom of 0.35 s) when the
// player leaves (escape or the levels button: the exit command, then 2 s),
// when the server confirms this client's exit (after the player's own
// leaving, or once the room is over for every player), when the server is
// lost (closed, reset or silent) or cannot be reached, or when a frame
// fails; each way out runs once and, but for the player's own leaving and
// the room's end, tells the player why on the main menu.
//
// Made by the game loader before the lobby panel runs it; its set-up starts
// the client's session. The scene shares the client with the loader, so the
// client lives until both have let it go. Main thread only; the network
// threads reach the scene only through the connection state's flags.
class MultiplayerInGameScene : public cocos2d::Scene {
public:
    static constexpr float kLeaveSeconds = 2.0f;
    static constexpr float kMenuTransitionSeconds = 0.35f;
    static constexpr int kNoticeZOrder = 11;
    static constexpr const char* kServerLostNotice = "The connection to the game server was lost.";
    static constexpr const char* kConnectFailedNotice = "Could not connect to the game server.";
    static constexpr const char* kFailureNotice = "The game stopped after an error.";

    // mapName: the file name under "maps/". Null when the level cannot be
    // brought up (logged); the session is not started then.
    static MultiplayerInGameScene* create(const std::string& mapName,
                                          std::shared_ptr<Zarn::NetworkedZarnClient> client,
                                          std::shared_ptr<OnlineConnectionState> connection);
    // When the game was not left yet: the exit command goes out with one
    // tick of the client and the game connection closes; nothing waits.
    ~MultiplayerInGameScene() override;

    bool init() override;
    void update(float dt) override;
    // Stops the map's music, every effect and the positional sounds.
    void onExitTransitionDidStart() override;

    // The player leaves: the exit command goes out, and 2 s later the game
    // is over.
    void leaveGame();
    // The game is over: the lobby and game connections close and, when this
    // scene runs, the main menu replaces it. Only the first call does
    // anything.
    void finishGame();
    bool isFinished() const { return finished_; }

    CocosMultiplayerInGameScene* getInGameScene() const { return scene_.get(); }
    Zarn::NetworkedZarnClient* getClient() const { return client_.get(); }
    const std::string& getMapName() const { return mapName_; }
    int getMusicID() const { return musicID_; }

    // Touch and key handling, as the listeners call them.
    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void onKeyPressed(cocos2d::EventKeyboard::KeyCode key, cocos2d::Event* event);
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode key, cocos2d::Event* event);

private:
    MultiplayerInGameScene(std::string mapName, std::shared_ptr<Zarn::NetworkedZarnClient> client,
                           std::shared_ptr<OnlineConnectionState> connection);

    // finishGame with a line for the player on the main menu.
    void finishWith(const std::string& notice);
    // The track of the map's music table, when it has one.
    void startMapMusic();
    Zarn::ZarnClientInterface& client() const;

    // Declared first: destroyed after the scene parts that use it.
    std::shared_ptr<Zarn::NetworkedZarnClient> client_;
    std::shared_ptr<OnlineConnectionState> connection_;
    cocos2d::EventListenerTouchAllAtOnce* touchListener_ = nullptr;
    cocos2d::EventListenerKeyboard* keyListener_ = nullptr;
    std::unique_ptr<CocosNodeMediator> rootMediator_;
    std::unique_ptr<CocosMultiplayerInGameScene> scene_;
    std::string mapName_;
    int musicID_ = -1;
    bool finished_ = false;
    bool leaving_ = false;
};
