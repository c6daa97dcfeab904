#pragma once

#include <cstdint>
#include <string>

#include "engine/Ref.h"
#include "engine/Types.h"

namespace cocos2d {

enum class ResolutionPolicy { EXACT_FIT, NO_BORDER, SHOW_ALL, FIXED_HEIGHT, FIXED_WIDTH, UNKNOWN };

struct GLContextAttrs {
    int redBits = 8;
    int greenBits = 8;
    int blueBits = 8;
    int alphaBits = 8;
    int depthBits = 24;
    int stencilBits = 8;
    int multisamplingCount = 0;
};

// The window (or, headless, the stand-in for one): its frame size in pixels,
// the design resolution and how the one maps onto the other, and the entry
// point through which a platform layer feeds input in window coordinates
// (pixels, y down). This base class is the headless view; the windowed one
// derives from it.
class GLView : public Ref {
public:
    static GLView* create(const std::string& name = "headless", const Rect& frame = Rect(0, 0, 1024, 576));
    ~GLView() override;

    static void setGLContextAttrs(const GLContextAttrs& attrs);
    static GLContextAttrs getGLContextAttrs();

    virtual bool isOpenGLReady() { return true; }
    virtual void end() {}
    virtual void swapBuffers() {}
    virtual void pollEvents() {}
    virtual bool windowShouldClose() { return false; }

    // Window size in pixels.
    virtual void setFrameSize(float width, float height);
    Size getFrameSize() const { return frameSize_; }
    // Switches to a window of the given size.
    virtual void setWindowed(int width, int height);
    virtual void setFullscreen();
    virtual bool isFullscreen() const { return fullscreen_; }
    // The size of the screen the window is on (the frame size when headless).
    virtual Size getMonitorSize() const;

    void setDesignResolutionSize(float width, float height, ResolutionPolicy policy);
    const Size& getDesignResolutionSize() const { return designSize_; }
    ResolutionPolicy getResolutionPolicy() const { return policy_; }
    Size getVisibleSize() const;
    Vec2 getVisibleOrigin() const;
    float getScaleX() const { return scaleX_; }
    float getScaleY() const { return scaleY_; }
    // The rectangle of the window (pixels) that shows the design area.
    Rect getViewPortRect() const { return viewPort_; }
    const std::string& getViewName() const { return name_; }

    // Window point (pixels, y down) to design point (y up).
    Vec2 frameToDesign(const Vec2& framePoint) const;

    // Input from the platform, in window coordinates (pixels, y down).
    void handleTouchesBegin(int count, const intptr_t ids[], const float xs[], const float ys[]);
    void handleTouchesMove(int count, const intptr_t ids[], const float xs[], const float ys[]);
    void handleTouchesEnd(int count, const intptr_t ids[], const float xs[], const float ys[]);
    void handleTouchesCancel(int count, const intptr_t ids[], const float xs[], const float ys[]);
    // The mouse, in window coordinates. The left button also acts as a touch
    // (id 0): pressing begins it, moving while pressed moves it, releasing
    // ends it; the touch is dispatched before the mouse event.
    void handleMouseMove(float x, float y);
    void handleMouseDown(int button, float x, float y);
    void handleMouseUp(int button, float x, float y);
    // Wheel steps; positive y scrolls towards the bottom of a view.
    void handleMouseScroll(float scrollX, float scrollY);
    void handleKey(int keyCode, bool pressed);

public:
    GLView() = default;

protected:
    bool initWithRect(const std::string& name, const Rect& frame);
    void updateDesignResolution();

    std::string name_;
    Size frameSize_;
    Size designSize_{1024.0f, 576.0f};
    ResolutionPolicy policy_ = ResolutionPolicy::SHOW_ALL;
    float scaleX_ = 1.0f;
    float scaleY_ = 1.0f;
    Rect viewPort_;
    bool fullscreen_ = false;
    bool leftButtonDown_ = false;
    Vec2 mouseFramePoint_;
};

}  // namespace cocos2d
