#include "engine/sdl/GLViewImpl.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "engine/Application.h"
#include "engine/Director.h"
#include "engine/EngineLog.h"
#include "engine/sdl/SdlAudioBackend.h"
#include "engine/sdl/SdlKeyMap.h"
#include "engine/sdl/SdlRenderBackend.h"
#include "engine/ui/UITextField.h"

namespace cocos2d {

namespace {
// The longest frame step handed to the director: after a stall (a dragged
// window, a debugger) the game resumes instead of leaping.
constexpr float kMaxFrameStep = 0.25f;
}  // namespace

GLViewImpl* GLViewImpl::createWithRect(const std::string& viewName, const Rect& rect, float frameZoomFactor,
                                       bool resizable) {
    auto* view = new GLViewImpl();
    const float zoom = frameZoomFactor > 0.0f ? frameZoomFactor : 1.0f;
    const int width = std::max(1, static_cast<int>(rect.size.width * zoom));
    const int height = std::max(1, static_cast<int>(rect.size.height * zoom));
    view->initWindow(viewName, width, height, resizable, false);
    view->autorelease();
    return view;
}

GLViewImpl* GLViewImpl::create(const std::string& viewName) {
    return createWithRect(viewName, Rect(0, 0, 1024, 576));
}

GLViewImpl* GLViewImpl::createWithFullScreen(const std::string& viewName) {
    GLViewImpl* view = createWithRect(viewName, Rect(0, 0, 1024, 576));
    view->setFullscreen();
    return view;
}

bool GLViewImpl::initWindow(const std::string& viewName, int width, int height, bool resizable,
                            bool fullscreen) {
    initWithRect(viewName, Rect(0, 0, static_cast<float>(width), static_cast<float>(height)));
    Application::setFrameDriver(&GLViewImpl::runFrames);
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
        engineLog(std::string("view: no display, running without a window: ") + SDL_GetError());
        return false;
    }
    ownsVideo_ = true;
    const GLContextAttrs attrs = getGLContextAttrs();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, attrs.redBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, attrs.greenBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, attrs.blueBits);
    SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, attrs.alphaBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, attrs.depthBits);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, attrs.stencilBits);
    if (attrs.multisamplingCount > 0) {
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 1);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, attrs.multisamplingCount);
    }
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "linear");
    Uint32 flags = SDL_WINDOW_SHOWN;
    if (resizable) flags |= SDL_WINDOW_RESIZABLE;
    if (fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(viewName.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                               height, flags);
    if (window_ == nullptr) {
        engineLog(std::string("view: cannot open a window: ") + SDL_GetError());
        return false;
    }
    renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC);
    if (renderer_ == nullptr) renderer_ = SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE);
    if (renderer_ == nullptr) {
        engineLog(std::string("view: cannot create a renderer: ") + SDL_GetError());
        SDL_DestroyWindow(window_);
        window_ = nullptr;
        return false;
    }
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer_, &info) == 0) {
        vsync_ = (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
        rendererName_ = info.name != nullptr ? info.name : "";
    }
    backend_ = std::make_unique<SdlRenderBackend>(renderer_, *this);
    Director::getInstance()->setRenderBackend(backend_.get());
    experimental::SdlAudioBackend::install();
    SDL_StartTextInput();
    return true;
}

GLViewImpl::~GLViewImpl() {
    Director* director = Director::getInstance();
    if (backend_ && director->getRenderBackend() == backend_.get()) director->setRenderBackend(nullptr);
    backend_.reset();
    if (renderer_ != nullptr) SDL_DestroyRenderer(renderer_);
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    if (ownsVideo_) SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (SDL_WasInit(0) == 0) SDL_Quit();  // the last user frees SDL's own state
}

void GLViewImpl::end() {
    if (window_ != nullptr) SDL_HideWindow(window_);
}

void GLViewImpl::swapBuffers() {
    if (renderer_ != nullptr) SDL_RenderPresent(renderer_);
}

void GLViewImpl::setWindowTitle(const std::string& title) {
    if (window_ != nullptr) SDL_SetWindowTitle(window_, title.c_str());
}

void GLViewImpl::setFrameSize(float width, float height) {
    if (window_ != nullptr && !fullscreen_)
        SDL_SetWindowSize(window_, static_cast<int>(width), static_cast<int>(height));
    GLView::setFrameSize(width, height);
}

void GLViewImpl::setWindowed(int width, int height) {
    if (width <= 0 || height <= 0) return;
    if (window_ != nullptr) {
        SDL_SetWindowFullscreen(window_, 0);
        SDL_SetWindowSize(window_, width, height);
        SDL_SetWindowPosition(window_, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    }
    GLView::setWindowed(width, height);
}

void GLViewImpl::setFullscreen() {
    const Size monitor = getMonitorSize();
    if (window_ != nullptr) {
        // The window also takes the screen's size and corner itself, so that
        // it covers the screen where no window manager honours the full
        // screen request (a bare X server).
        SDL_SetWindowSize(window_, static_cast<int>(monitor.width), static_cast<int>(monitor.height));
        SDL_SetWindowPosition(window_, 0, 0);
        SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
    }
    fullscreen_ = true;
    GLView::setFrameSize(monitor.width, monitor.height);
}

Size GLViewImpl::getMonitorSize() const {
    if (!ownsVideo_) return GLView::getMonitorSize();
    const int display = window_ != nullptr ? std::max(0, SDL_GetWindowDisplayIndex(window_)) : 0;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return GLView::getMonitorSize();
    return Size(static_cast<float>(mode.w), static_cast<float>(mode.h));
}

void GLViewImpl::pollEvents() {
    if (!ownsVideo_) return;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) handleEvent(event);
}

void GLViewImpl::handleEvent(const SDL_Event& event) {
    switch (event.type) {
        case SDL_QUIT:
            closeRequested_ = true;
            break;
        case SDL_WINDOWEVENT:
            if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
                GLView::setFrameSize(static_cast<float>(event.window.data1),
                                     static_cast<float>(event.window.data2));
            } else if (event.window.event == SDL_WINDOWEVENT_MINIMIZED && !minimized_) {
                minimized_ = true;
                if (Application* app = Application::getInstance()) app->applicationDidEnterBackground();
            } else if (event.window.event == SDL_WINDOWEVENT_RESTORED && minimized_) {
                minimized_ = false;
                if (Application* app = Application::getInstance()) app->applicationWillEnterForeground();
            }
            break;
        case SDL_MOUSEMOTION:
            handleMouseMove(static_cast<float>(event.motion.x), static_cast<float>(event.motion.y));
            break;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP: {
            const int button = sdl::mouseButtonFromSdl(event.button.button);
            if (button < 0) break;
            const float x = static_cast<float>(event.button.x);
            const float y = static_cast<float>(event.button.y);
            if (event.type == SDL_MOUSEBUTTONDOWN) {
                handleMouseDown(button, x, y);
            } else {
                handleMouseUp(button, x, y);
            }
            break;
        }
        case SDL_MOUSEWHEEL: {
            float sx = static_cast<float>(event.wheel.x);
            float sy = static_cast<float>(event.wheel.y);
            if (event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
                sx = -sx;
                sy = -sy;
            }
            // SDL's positive y turns the wheel away from the user (towards the
            // top of a view); the engine's positive y goes towards the bottom.
            handleMouseScroll(sx, -sy);
            break;
        }
        case SDL_KEYDOWN:
        case SDL_KEYUP: {
            const bool pressed = event.type == SDL_KEYDOWN;
            ui::IMEDispatcher* ime = ui::IMEDispatcher::getInstance();
            if (pressed && event.key.keysym.sym == SDLK_BACKSPACE && ime->attached() != nullptr)
                ime->deleteBackward();
            if (event.key.repeat != 0) break;  // held keys report one press
            const EventKeyboard::KeyCode code = sdl::keyCodeFromSdl(event.key.keysym.sym);
            if (code != EventKeyboard::KeyCode::KEY_NONE) handleKey(static_cast<int>(code), pressed);
            break;
        }
        case SDL_TEXTINPUT: {
            ui::IMEDispatcher* ime = ui::IMEDispatcher::getInstance();
            if (ime->attached() != nullptr) ime->insertText(event.text.text);
            break;
        }
        default:
            break;
    }
}

int GLViewImpl::runFrames(Application&) {
    using Clock = std::chrono::steady_clock;
    Director* director = Director::getInstance();
    Clock::time_point last = Clock::now();
    bool first = true;
    while (!director->isEnded()) {
        GLView* view = director->getOpenGLView();
        if (view != nullptr) {
            Application::runGuarded([view] { view->pollEvents(); });
            if (view->windowShouldClose()) director->end();
        }
        const float interval = std::max(director->getAnimationInterval(), 0.0f);
        const Clock::time_point now = Clock::now();
        float dt = first ? interval : std::chrono::duration<float>(now - last).count();
        dt = std::min(dt, kMaxFrameStep);
        first = false;
        last = now;
        Application::stepFrame(dt);
        view = director->getOpenGLView();
        if (view != nullptr) view->swapBuffers();
        // With vsync the present has already waited for the display; without
        // it (or on a faster display) sleep out the rest of the interval.
        const Clock::time_point next =
            now + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<float>(interval));
        if (Clock::now() < next) std::this_thread::sleep_until(next);
    }
    return 0;
}

}  // namespace cocos2d
