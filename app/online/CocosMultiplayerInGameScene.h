#pragma once

#include <functional>
#include <memory>
#include <string>

#include "presentation/scene/CocosInGameScene.h"
#include "simulation/scene/InGameSceneParts.h"

namespace Zarn {
class PlayerMarkerLocator;
}
class ChatShell;
class MultiplayerInGameHUD;
class PlayerMarkersHUD2D;

// Tells the players' visuals, the online display and the off-screen markers
// of players joining and leaving, and hands the server's confirmation of
// this client's exit to the scene's exit handler. The display and the
// markers are nodes of the host scene and outlive the notifier (the scene
// logic owns it). Main thread only.
class CocosZarnGameNotifier : public Zarn::BaseZarnGameNotifier {
public:
    CocosZarnGameNotifier(Zarn::SteerableXDManager& visuals, std::function<void()> exitHandler,
                          MultiplayerInGameHUD& hud, PlayerMarkersHUD2D& markers);

    // The player's visual, its badge, then its marker (a fresh one in place
    // of an old one).
    void playerJoined(u32 clientID) override;
    // The visual, the badge and the marker go.
    void playerLeft(u32 clientID) override;
    // The name tag and the badge take the player's new name.
    void playerChanged(u32 clientID) override;

private:
    MultiplayerInGameHUD& hud_;
    PlayerMarkersHUD2D& markers_;
};

// The in-game scene of online play: the engine-side scene plus the online
// display (instance, player count, a death badge per player), the off-screen
// markers of the other players and the chat lines, all children of the host
// scene above the room. When nobody plays any more the client is asked to
// leave the game (command 9); the server's confirmation then runs the exit
// handler the host set. The client and the host scene outlive the scene.
// Main thread only.
class CocosMultiplayerInGameScene : public CocosInGameScene {
public:
    // Drawing order of the display, the markers and the chat in the host
    // scene (above the region overlay).
    static constexpr int kHUDZOrder = kOverlayZOrder + 1;
    static constexpr float kChatX = 100.0f;
    static constexpr float kChatY = 500.0f;

    CocosMultiplayerInGameScene(CocosNodeMediator& root, cocos2d::Scene* hostScene,
                                Zarn::ZarnClientInterface& client, std::string mapName,
                                const SceneVisualFactoryMaker& makeFactories);
    ~CocosMultiplayerInGameScene() override;

    // Null before initScene.
    MultiplayerInGameHUD* getHUD() const { return hud_; }
    PlayerMarkersHUD2D* getMarkers() const { return markers_; }
    ChatShell* getChatShell() const { return chat_; }

protected:
    // The chat lines; then the client's end-of-level handler becomes a
    // request to leave the game (the notifier keeps the host's handler).
    void setupExtra() override;
    // The markers, the death scores of the score blocks, the display, and
    // the notifier over them.
    std::unique_ptr<Zarn::ZarnGameNotifier> makeGameNotifier() override;

private:
    std::unique_ptr<Zarn::PlayerMarkerLocator> locator_;
    // Children of the host scene; the node tree keeps them alive.
    MultiplayerInGameHUD* hud_ = nullptr;
    PlayerMarkersHUD2D* markers_ = nullptr;
    ChatShell* chat_ = nullptr;
};
