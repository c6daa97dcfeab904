#include "engine/GLView.h"

#include <algorithm>
#include <map>

#include "engine/Director.h"
#include "engine/Event.h"
#include "engine/EventDispatcher.h"

namespace cocos2d {

namespace {
GLContextAttrs& contextAttrs() {
    static GLContextAttrs attrs;
    return attrs;
}

// Touches in progress, by platform id; each holds one reference, given back
// when the touch ends or, for touches still held, when the program ends.
// Main thread only.
struct LiveTouches : std::map<intptr_t, Touch*> {
    ~LiveTouches() {
        for (auto& [id, touch] : *this) touch->release();
    }
};

LiveTouches& liveTouches() {
    static LiveTouches touches;
    return touches;
}
}  // namespace

GLView* GLView::create(const std::string& name, const Rect& frame) {
    auto* view = new GLView();
    if (view->initWithRect(name, frame)) {
        view->autorelease();
        return view;
    }
    delete view;
    return nullptr;
}

GLView::~GLView() = default;

void GLView::setGLContextAttrs(const GLContextAttrs& attrs) {
    contextAttrs() = attrs;
}

GLContextAttrs GLView::getGLContextAttrs() {
    return contextAttrs();
}

bool GLView::initWithRect(const std::string& name, const Rect& frame) {
    name_ = name;
    frameSize_ = frame.size;
    designSize_ = frame.size;
    updateDesignResolution();
    return true;
}

void GLView::setFrameSize(float width, float height) {
    frameSize_ = Size(width, height);
    updateDesignResolution();
}

void GLView::setWindowed(int width, int height) {
    fullscreen_ = false;
    setFrameSize(static_cast<float>(width), static_cast<float>(height));
}

void GLView::setFullscreen() {
    fullscreen_ = true;
    const Size monitor = getMonitorSize();
    setFrameSize(monitor.width, monitor.height);
}

Size GLView::getMonitorSize() const {
    return frameSize_;
}

void GLView::setDesignResolutionSize(float width, float height, ResolutionPolicy policy) {
    if (width <= 0.0f || height <= 0.0f) return;
    designSize_ = Size(width, height);
    policy_ = policy;
    updateDesignResolution();
}

void GLView::updateDesignResolution() {
    if (designSize_.width <= 0.0f || designSize_.height <= 0.0f) return;
    scaleX_ = frameSize_.width / designSize_.width;
    scaleY_ = frameSize_.height / designSize_.height;
    if (policy_ == ResolutionPolicy::SHOW_ALL) {
        scaleX_ = scaleY_ = std::min(scaleX_, scaleY_);
    } else if (policy_ == ResolutionPolicy::NO_BORDER) {
        scaleX_ = scaleY_ = std::max(scaleX_, scaleY_);
    }
    const float w = designSize_.width * scaleX_;
    const float h = designSize_.height * scaleY_;
    viewPort_ = Rect((frameSize_.width - w) / 2.0f, (frameSize_.height - h) / 2.0f, w, h);
}

Size GLView::getVisibleSize() const {
    if (policy_ == ResolutionPolicy::NO_BORDER && scaleX_ > 0.0f)
        return Size(frameSize_.width / scaleX_, frameSize_.height / scaleY_);
    return designSize_;
}

Vec2 GLView::getVisibleOrigin() const {
    if (policy_ == ResolutionPolicy::NO_BORDER && scaleX_ > 0.0f) {
        const Size v = getVisibleSize();
        return Vec2((designSize_.width - v.width) / 2.0f, (designSize_.height - v.height) / 2.0f);
    }
    return Vec2::ZERO;
}

Vec2 GLView::frameToDesign(const Vec2& p) const {
    const float x = (p.x - viewPort_.origin.x) / scaleX_;
    const float yDown = (p.y - viewPort_.origin.y) / scaleY_;
    return Vec2(x, designSize_.height - yDown);
}

namespace {
void dispatchTouches(GLView& view, EventTouch::EventCode code, int count, const intptr_t ids[],
                     const float xs[], const float ys[]) {
    auto& live = liveTouches();
    std::vector<Touch*> touches;
    for (int i = 0; i < count; ++i) {
        auto it = live.find(ids[i]);
        Touch* touch = nullptr;
        if (code == EventTouch::EventCode::BEGAN) {
            // A begin for an id still held (its end was lost) starts afresh.
            if (it != live.end()) {
                it->second->release();
                live.erase(it);
            }
            touch = new Touch();
            live[ids[i]] = touch;
        } else {
            if (it == live.end()) continue;
            touch = it->second;
        }
        const Vec2 p = view.frameToDesign(Vec2(xs[i], ys[i]));
        touch->setTouchInfo(static_cast<int>(ids[i]), p.x, p.y);
        touch->setViewInfo(p.x, view.getDesignResolutionSize().height - p.y);
        touches.push_back(touch);
    }
    if (touches.empty()) return;
    EventTouch event;
    event.setEventCode(code);
    event.setTouches(touches);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
    if (code == EventTouch::EventCode::ENDED || code == EventTouch::EventCode::CANCELLED) {
        for (int i = 0; i < count; ++i) {
            auto it = live.find(ids[i]);
            if (it == live.end()) continue;
            it->second->release();
            live.erase(it);
        }
    }
}
}  // namespace

void GLView::handleTouchesBegin(int count, const intptr_t ids[], const float xs[], const float ys[]) {
    dispatchTouches(*this, EventTouch::EventCode::BEGAN, count, ids, xs, ys);
}

void GLView::handleTouchesMove(int count, const intptr_t ids[], const float xs[], const float ys[]) {
    dispatchTouches(*this, EventTouch::EventCode::MOVED, count, ids, xs, ys);
}

void GLView::handleTouchesEnd(int count, const intptr_t ids[], const float xs[], const float ys[]) {
    dispatchTouches(*this, EventTouch::EventCode::ENDED, count, ids, xs, ys);
}

void GLView::handleTouchesCancel(int count, const intptr_t ids[], const float xs[], const float ys[]) {
    dispatchTouches(*this, EventTouch::EventCode::CANCELLED, count, ids, xs, ys);
}

namespace {
void dispatchMouse(EventMouse::MouseEventType type, const Vec2& designPoint, int button, float sx, float sy) {
    EventMouse event(type);
    event.setCursorPosition(designPoint.x, designPoint.y);
    if (button >= 0) event.setMouseButton(static_cast<EventMouse::MouseButton>(button));
    event.setScrollData(sx, sy);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
}
}  // namespace

void GLView::handleMouseMove(float x, float y) {
    mouseFramePoint_ = Vec2(x, y);
    if (leftButtonDown_) {
        const intptr_t id = 0;
        handleTouchesMove(1, &id, &x, &y);
    }
    dispatchMouse(EventMouse::MouseEventType::MOUSE_MOVE, frameToDesign(mouseFramePoint_), -1, 0, 0);
}

void GLView::handleMouseDown(int button, float x, float y) {
    mouseFramePoint_ = Vec2(x, y);
    if (button == 0) {
        leftButtonDown_ = true;
        const intptr_t id = 0;
        handleTouchesBegin(1, &id, &x, &y);
    }
    dispatchMouse(EventMouse::MouseEventType::MOUSE_DOWN, frameToDesign(mouseFramePoint_), button, 0, 0);
}

void GLView::handleMouseUp(int button, float x, float y) {
    mouseFramePoint_ = Vec2(x, y);
    if (button == 0 && leftButtonDown_) {
        leftButtonDown_ = false;
        const intptr_t id = 0;
        handleTouchesEnd(1, &id, &x, &y);
    }
    dispatchMouse(EventMouse::MouseEventType::MOUSE_UP, frameToDesign(mouseFramePoint_), button, 0, 0);
}

void GLView::handleMouseScroll(float scrollX, float scrollY) {
    dispatchMouse(EventMouse::MouseEventType::MOUSE_SCROLL, frameToDesign(mouseFramePoint_), -1, scrollX,
                  scrollY);
}

void GLView::handleKey(int keyCode, bool pressed) {
    EventKeyboard event(static_cast<EventKeyboard::KeyCode>(keyCode), pressed);
    Director::getInstance()->getEventDispatcher()->dispatchEvent(&event);
}

}  // namespace cocos2d
