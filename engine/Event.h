#pragma once

#include <cstdint>
#include <vector>

#include "engine/Ref.h"
#include "engine/Types.h"

namespace cocos2d {

class Node;

class Event : public Ref {
public:
    enum class Type { TOUCH, KEYBOARD, ACCELERATION, MOUSE, FOCUS, GAME_CONTROLLER, CUSTOM };

    Type getType() const { return type_; }
    // Listeners after the current one do not get the event.
    void stopPropagation() { stopped_ = true; }
    bool isStopped() const { return stopped_; }
    // The node of the scene-graph listener being called (null for fixed
    // priority listeners).
    Node* getCurrentTarget() const { return currentTarget_; }
    void setCurrentTarget(Node* target) { currentTarget_ = target; }
    void resetPropagation() { stopped_ = false; }

protected:
    explicit Event(Type type) : type_(type) {}

private:
    Type type_;
    bool stopped_ = false;
    Node* currentTarget_ = nullptr;
};

// One finger (or the mouse button acting as one). Locations are design points
// with y up; the "in view" variants are the same points with y down (design
// units from the top left of the design area, whatever the window's size and
// bars).
class Touch : public Ref {
public:
    Touch() = default;
    void setTouchInfo(int id, float x, float y);  // design points, y up
    void setViewInfo(float x, float y);           // design points, y down
    int getID() const { return id_; }
    Vec2 getLocation() const { return point_; }
    Vec2 getPreviousLocation() const { return prevPoint_; }
    Vec2 getStartLocation() const { return startPoint_; }
    Vec2 getDelta() const { return point_ - prevPoint_; }
    Vec2 getLocationInView() const { return viewPoint_; }
    Vec2 getPreviousLocationInView() const { return prevViewPoint_; }
    Vec2 getStartLocationInView() const { return startViewPoint_; }

private:
    int id_ = 0;
    bool started_ = false;
    bool viewStarted_ = false;
    Vec2 point_, prevPoint_, startPoint_;
    Vec2 viewPoint_, prevViewPoint_, startViewPoint_;
};

class EventTouch : public Event {
public:
    enum class EventCode { BEGAN, MOVED, ENDED, CANCELLED };
    EventTouch() : Event(Type::TOUCH) {}
    EventCode getEventCode() const { return code_; }
    void setEventCode(EventCode code) { code_ = code; }
    const std::vector<Touch*>& getTouches() const { return touches_; }
    // The touches are observed; the caller keeps them alive while dispatching.
    void setTouches(const std::vector<Touch*>& touches) { touches_ = touches; }

private:
    EventCode code_ = EventCode::BEGAN;
    std::vector<Touch*> touches_;
};

class EventMouse : public Event {
public:
    enum class MouseEventType { MOUSE_NONE, MOUSE_DOWN, MOUSE_UP, MOUSE_MOVE, MOUSE_SCROLL };
    enum class MouseButton { BUTTON_UNSET = -1, BUTTON_LEFT = 0, BUTTON_RIGHT = 1, BUTTON_MIDDLE = 2 };

    explicit EventMouse(MouseEventType type) : Event(Type::MOUSE), mouseEventType_(type) {}
    MouseEventType getMouseEventType() const { return mouseEventType_; }
    void setScrollData(float scrollX, float scrollY) {
        scrollX_ = scrollX;
        scrollY_ = scrollY;
    }
    float getScrollX() const { return scrollX_; }
    float getScrollY() const { return scrollY_; }
    // The pointer in design points, y up.
    void setCursorPosition(float x, float y);
    float getCursorX() const { return location_.x; }
    float getCursorY() const { return location_.y; }
    Vec2 getLocation() const { return location_; }
    // The pointer in design points, y up: the same point as getLocation, the
    // one that node-space conversions take.
    Vec2 getLocationInView() const { return location_; }
    Vec2 getPreviousLocation() const { return prevLocation_; }
    Vec2 getDelta() const { return location_ - prevLocation_; }
    void setMouseButton(MouseButton button) { button_ = button; }
    MouseButton getMouseButton() const { return button_; }

private:
    MouseEventType mouseEventType_;
    MouseButton button_ = MouseButton::BUTTON_UNSET;
    float scrollX_ = 0.0f;
    float scrollY_ = 0.0f;
    Vec2 location_;
    Vec2 prevLocation_;
    bool started_ = false;
};

class EventKeyboard : public Event {
public:
    // Values are the engine's key code numbers (stable: settings and tests
    // name them by number).
    enum class KeyCode {
        KEY_NONE,
        KEY_PAUSE,
        KEY_SCROLL_LOCK,
        KEY_PRINT,
        KEY_SYSREQ,
        KEY_BREAK,
        KEY_ESCAPE,
        KEY_BACK = KEY_ESCAPE,
        KEY_BACKSPACE,
        KEY_TAB,
        KEY_BACK_TAB,
        KEY_RETURN,
        KEY_CAPS_LOCK,
        KEY_SHIFT,
        KEY_LEFT_SHIFT = KEY_SHIFT,
        KEY_RIGHT_SHIFT,
        KEY_CTRL,
        KEY_LEFT_CTRL = KEY_CTRL,
        KEY_RIGHT_CTRL,
        KEY_ALT,
        KEY_LEFT_ALT = KEY_ALT,
        KEY_RIGHT_ALT,
        KEY_MENU,
        KEY_HYPER,
        KEY_INSERT,
        KEY_HOME,
        KEY_PG_UP,
        KEY_DELETE,
        KEY_END,
        KEY_PG_DOWN,
        KEY_LEFT_ARROW,
        KEY_RIGHT_ARROW,
        KEY_UP_ARROW,
        KEY_DOWN_ARROW,
        KEY_NUM_LOCK,
        KEY_KP_PLUS,
        KEY_KP_MINUS,
        KEY_KP_MULTIPLY,
        KEY_KP_DIVIDE,
        KEY_KP_ENTER,
        KEY_KP_HOME,
        KEY_KP_UP,
        KEY_KP_PG_UP,
        KEY_KP_LEFT,
        KEY_KP_FIVE,
        KEY_KP_RIGHT,
        KEY_KP_END,
        KEY_KP_DOWN,
        KEY_KP_PG_DOWN,
        KEY_KP_INSERT,
        KEY_KP_DELETE,
        KEY_F1,
        KEY_F2,
        KEY_F3,
        KEY_F4,
        KEY_F5,
        KEY_F6,
        KEY_F7,
        KEY_F8,
        KEY_F9,
        KEY_F10,
        KEY_F11,
        KEY_F12,
        KEY_SPACE,
        KEY_EXCLAM,
        KEY_QUOTE,
        KEY_NUMBER,
        KEY_DOLLAR,
        KEY_PERCENT,
        KEY_CIRCUMFLEX,
        KEY_AMPERSAND,
        KEY_APOSTROPHE,
        KEY_LEFT_PARENTHESIS,
        KEY_RIGHT_PARENTHESIS,
        KEY_ASTERISK,
        KEY_PLUS,
        KEY_COMMA,
        KEY_MINUS,
        KEY_PERIOD,
        KEY_SLASH,
        KEY_0,
        KEY_1,
        KEY_2,
        KEY_3,
        KEY_4,
        KEY_5,
        KEY_6,
        KEY_7,
        KEY_8,
        KEY_9,
        KEY_COLON,
        KEY_SEMICOLON,
        KEY_LESS_THAN,
        KEY_EQUAL,
        KEY_GREATER_THAN,
        KEY_QUESTION,
        KEY_AT,
        KEY_CAPITAL_A,
        KEY_CAPITAL_B,
        KEY_CAPITAL_C,
        KEY_CAPITAL_D,
        KEY_CAPITAL_E,
        KEY_CAPITAL_F,
        KEY_CAPITAL_G,
        KEY_CAPITAL_H,
        KEY_CAPITAL_I,
        KEY_CAPITAL_J,
        KEY_CAPITAL_K,
        KEY_CAPITAL_L,
        KEY_CAPITAL_M,
        KEY_CAPITAL_N,
        KEY_CAPITAL_O,
        KEY_CAPITAL_P,
        KEY_CAPITAL_Q,
        KEY_CAPITAL_R,
        KEY_CAPITAL_S,
        KEY_CAPITAL_T,
        KEY_CAPITAL_U,
        KEY_CAPITAL_V,
        KEY_CAPITAL_W,
        KEY_CAPITAL_X,
        KEY_CAPITAL_Y,
        KEY_CAPITAL_Z,
        KEY_LEFT_BRACKET,
        KEY_BACK_SLASH,
        KEY_RIGHT_BRACKET,
        KEY_UNDERSCORE,
        KEY_GRAVE,
        KEY_A,
        KEY_B,
        KEY_C,
        KEY_D,
        KEY_E,
        KEY_F,
        KEY_G,
        KEY_H,
        KEY_I,
        KEY_J,
        KEY_K,
        KEY_L,
        KEY_M,
        KEY_N,
        KEY_O,
        KEY_P,
        KEY_Q,
        KEY_R,
        KEY_S,
        KEY_T,
        KEY_U,
        KEY_V,
        KEY_W,
        KEY_X,
        KEY_Y,
        KEY_Z,
        KEY_LEFT_BRACE,
        KEY_BAR,
        KEY_RIGHT_BRACE,
        KEY_TILDE,
        KEY_EURO,
        KEY_POUND,
        KEY_YEN,
        KEY_MIDDLE_DOT,
        KEY_SEARCH,
        KEY_DPAD_LEFT,
        KEY_DPAD_RIGHT,
        KEY_DPAD_UP,
        KEY_DPAD_DOWN,
        KEY_DPAD_CENTER,
        KEY_ENTER,
        KEY_PLAY
    };

    EventKeyboard(KeyCode keyCode, bool isPressed)
        : Event(Type::KEYBOARD), keyCode_(keyCode), pressed_(isPressed) {}
    KeyCode getKeyCode() const { return keyCode_; }
    bool isPressed() const { return pressed_; }

private:
    KeyCode keyCode_;
    bool pressed_;
};

}  // namespace cocos2d
