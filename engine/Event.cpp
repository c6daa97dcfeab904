#include "engine/Event.h"

namespace cocos2d {

void Touch::setTouchInfo(int id, float x, float y) {
    id_ = id;
    prevPoint_ = point_;
    point_ = Vec2(x, y);
    if (!started_) {
        started_ = true;
        startPoint_ = prevPoint_ = point_;
    }
}

void Touch::setViewInfo(float x, float y) {
    prevViewPoint_ = viewPoint_;
    viewPoint_ = Vec2(x, y);
    if (!viewStarted_) {
        viewStarted_ = true;
        startViewPoint_ = prevViewPoint_ = viewPoint_;
    }
}

void EventMouse::setCursorPosition(float x, float y) {
    prevLocation_ = started_ ? location_ : Vec2(x, y);
    location_ = Vec2(x, y);
    started_ = true;
}

}  // namespace cocos2d
