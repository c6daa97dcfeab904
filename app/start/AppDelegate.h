#pragma once

#include <exception>

#include "engine/Application.h"
#include "engine/Types.h"

// The game's application object, built once on the stack of main. Start-up
// opens the window (or takes the view the director already has), sets the
// design resolution, frame rate and projection, starts the log, loads and
// applies the settings, installs the game's platform layer (local
// achievements), loads the sprite sheets and shows the main menu with its
// splash screen. Its destruction shuts the platform-services hook down,
// saves the settings and uninstalls the platform layer. Main thread only.
class AppDelegate : public cocos2d::Application {
public:
    // The window's title.
    static constexpr const char* kTitle = "Quillfen";
    // The design resolution, and the window's size before the settings apply.
    static const cocos2d::Size designSize;
    // The size of the menus' art space (origin at the screen's centre, shown
    // at 0.4).
    static const cocos2d::Vec2 artReferenceSize;
    // The sprite sheets that start-up loads, in loading order.
    static const char* const kSpriteSheets[7];

    AppDelegate() = default;
    ~AppDelegate() override;

    void initGLContextAttrs() override;
    bool applicationDidFinishLaunching() override;
    // Going to the background pauses nothing of the game's.
    void applicationDidEnterBackground() override {}
    void applicationWillEnterForeground() override {}
    // An exception out of a frame or out of input handling: logged; the
    // running scene's actions and callbacks stop and a new main menu (without
    // the splash) replaces it.
    void frameFailed(const std::exception& failure) override;

protected:
    // Starts the rotating log in the writable directory ("server_N.log").
    virtual void startLog();
};
