#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/GLView.h"

struct SDL_Window;
struct SDL_Renderer;
union SDL_Event;

namespace cocos2d {

class Application;
class SdlRenderBackend;

// The desktop window on SDL2: creating it opens the window with an SDL
// renderer (vsync where the driver has it), installs the SDL drawing backend
// in the director, the SDL frame driver in the application and, when an
// audio device opens, the SDL audio backend.
//
// Where no display can be opened (CI without a virtual display) the view
// still comes up, without a window: it then behaves as the headless view and
// draws nothing, so that the program and its tests run anyway.
//
// Input: `pollEvents` turns SDL's mouse, wheel, key, text and window events
// into the engine's (mouse events and one-finger touches from the left button,
// key codes, typed text to the text field that has the keyboard), window
// coordinates converted to the design resolution by the base view. Minimising
// and restoring the window tell the application it went to the background and
// came back.
//
// Main thread only; one window per process.
class GLViewImpl : public GLView {
public:
    // `rect` gives the window's size in pixels (its origin is ignored), times
    // `frameZoomFactor`.
    static GLViewImpl* createWithRect(const std::string& viewName, const Rect& rect,
                                      float frameZoomFactor = 1.0f, bool resizable = false);
    static GLViewImpl* create(const std::string& viewName);
    static GLViewImpl* createWithFullScreen(const std::string& viewName);
    ~GLViewImpl() override;

    bool isOpenGLReady() override { return window_ != nullptr; }
    bool hasWindow() const { return window_ != nullptr; }
    // Closes the window; the program's loop ends with the director.
    void end() override;
    // Presents the drawn frame.
    void swapBuffers() override;
    // Handles every pending SDL event.
    void pollEvents() override;
    // The user asked to close the window.
    bool windowShouldClose() override { return closeRequested_; }

    void setFrameSize(float width, float height) override;
    void setWindowed(int width, int height) override;
    void setFullscreen() override;
    // The desktop size of the display the window is on.
    Size getMonitorSize() const override;
    void setWindowTitle(const std::string& title);

    // The drawing backend (null without a window).
    SdlRenderBackend* getSdlRenderBackend() const { return backend_.get(); }
    bool isVsync() const { return vsync_; }
    // The SDL render driver in use ("opengl", "software", ...; "" without a
    // window).
    const std::string& getRendererName() const { return rendererName_; }

    // The application's frame driver: polls events, runs a director frame
    // with the time elapsed since the last one, presents it and waits for the
    // next animation interval; returns when the director has ended.
    static int runFrames(Application& app);

private:
    GLViewImpl() = default;
    bool initWindow(const std::string& viewName, int width, int height, bool resizable, bool fullscreen);
    void handleEvent(const SDL_Event& event);

    SDL_Window* window_ = nullptr;      // owned
    SDL_Renderer* renderer_ = nullptr;  // owned
    std::unique_ptr<SdlRenderBackend> backend_;
    bool ownsVideo_ = false;
    bool vsync_ = false;
    std::string rendererName_;
    bool closeRequested_ = false;
    bool minimized_ = false;  // the application was told it went to the background
};

}  // namespace cocos2d
