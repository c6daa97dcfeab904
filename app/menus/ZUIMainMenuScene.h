#pragma once

#include "engine/Node.h"
#include "engine/Scene.h"
#include "engine/Types.h"

namespace cocos2d {
class LayerColor;
}
class DrawNodeEx;
class ZUIArcadePanel;
class ZUICoreButton;
class ZUIMainMenu;
class ZUIMainMenuSplash;
class ZUIMultiplayerPanelEx;
class ZUISettingsMenu;

// The main menu's colours and the position of its sliding content for each
// of its views.
struct MainMenuView {
    cocos2d::Vec2 contentPosition;
    cocos2d::Color3B circle;
    cocos2d::Color3B background;
};
extern const MainMenuView kMenuView;
extern const MainMenuView kSplashView;
extern const MainMenuView kArcadeView;
extern const MainMenuView kMultiplayerView;

// The hub of the game, in the 2560 x 1440 art space (origin at the screen's
// centre; the scene shows it at 0.4): a coloured background with a large
// tinted circle, the three main buttons, a row of icons (exit, credits,
// settings), and the arcade and multiplayer panels and the settings menu,
// which slide in inside the same layer. At start-up it first shows the splash
// and slides the menu in at the first key or touch. Main thread only.
class ZUIMainMenuLayer : public cocos2d::Node {
public:
    static constexpr const char* kMusic = "sound/music/main_menu.mp3";
    static constexpr float kSlideSeconds = 0.4f;
    static constexpr float kTintSeconds = 0.6f;

    static ZUIMainMenuLayer* create();
    bool init() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;

    void showSplash();
    void dismissSplash();
    // A panel's back icon leads back to the menu once; a click on the icon
    // of a panel already leaving does nothing.
    void showArcadePanel();
    void showMultiplayerPanel();
    void returnToMenu();
    // Each does nothing while the settings are already open, or closed.
    void openSettings(float gap);
    void closeSettings();
    void buildMainMenu();

    // Children of the layer or of contentNode; the node tree keeps them alive.
    // The optional ones are null while absent.
    cocos2d::Node* contentNode = nullptr;
    ZUIMainMenu* mainMenu = nullptr;
    ZUISettingsMenu* settingsMenu = nullptr;
    ZUICoreButton* exitIcon = nullptr;
    ZUICoreButton* creditsIcon = nullptr;
    ZUICoreButton* settingsIcon = nullptr;
    cocos2d::Vec2 circleSplashPosition;
    cocos2d::Vec2 circleHomePosition;
    DrawNodeEx* circle = nullptr;
    ZUIMainMenuSplash* splash = nullptr;
    ZUIMultiplayerPanelEx* multiplayerPanel = nullptr;
    ZUIArcadePanel* arcadePanel = nullptr;
    cocos2d::LayerColor* background = nullptr;
    int musicId = -1;

protected:
    void slideTo(const MainMenuView& view, float contentEase);
};

// The scene of the main menu. `showSplash` is 1 only for the program's first
// scene; every return to the menu makes a new scene with 0. It drives an
// installed platform-services hook once a frame.
class ZUIMainMenuScene : public cocos2d::Scene {
public:
    static ZUIMainMenuScene* create(int showSplash);
    bool init() override;
    void update(float dt) override;

    ZUIMainMenuLayer* getLayer() const { return layer; }

protected:
    int showSplash = 0;
    ZUIMainMenuLayer* layer = nullptr;  // a child of the scene
};
