#include "engine/sdl/SdlKeyMap.h"

#include <SDL.h>

namespace cocos2d {
namespace sdl {

using K = EventKeyboard::KeyCode;

EventKeyboard::KeyCode keyCodeFromSdl(int32_t key) {
    if (key >= SDLK_a && key <= SDLK_z) return static_cast<K>(static_cast<int>(K::KEY_A) + (key - SDLK_a));
    if (key >= SDLK_0 && key <= SDLK_9) return static_cast<K>(static_cast<int>(K::KEY_0) + (key - SDLK_0));
    if (key >= SDLK_F1 && key <= SDLK_F12)
        return static_cast<K>(static_cast<int>(K::KEY_F1) + (key - SDLK_F1));
    switch (key) {
        case SDLK_PAUSE:
            return K::KEY_PAUSE;
        case SDLK_SCROLLLOCK:
            return K::KEY_SCROLL_LOCK;
        case SDLK_PRINTSCREEN:
            return K::KEY_PRINT;
        case SDLK_SYSREQ:
            return K::KEY_SYSREQ;
        case SDLK_ESCAPE:
            return K::KEY_ESCAPE;
        case SDLK_AC_BACK:
            return K::KEY_BACK;
        case SDLK_BACKSPACE:
            return K::KEY_BACKSPACE;
        case SDLK_TAB:
            return K::KEY_TAB;
        case SDLK_RETURN:
            return K::KEY_ENTER;
        case SDLK_CAPSLOCK:
            return K::KEY_CAPS_LOCK;
        case SDLK_LSHIFT:
            return K::KEY_LEFT_SHIFT;
        case SDLK_RSHIFT:
            return K::KEY_RIGHT_SHIFT;
        case SDLK_LCTRL:
            return K::KEY_LEFT_CTRL;
        case SDLK_RCTRL:
            return K::KEY_RIGHT_CTRL;
        case SDLK_LALT:
            return K::KEY_LEFT_ALT;
        case SDLK_RALT:
            return K::KEY_RIGHT_ALT;
        case SDLK_MENU:
            return K::KEY_MENU;
        case SDLK_INSERT:
            return K::KEY_INSERT;
        case SDLK_HOME:
            return K::KEY_HOME;
        case SDLK_PAGEUP:
            return K::KEY_PG_UP;
        case SDLK_DELETE:
            return K::KEY_DELETE;
        case SDLK_END:
            return K::KEY_END;
        case SDLK_PAGEDOWN:
            return K::KEY_PG_DOWN;
        case SDLK_LEFT:
            return K::KEY_LEFT_ARROW;
        case SDLK_RIGHT:
            return K::KEY_RIGHT_ARROW;
        case SDLK_UP:
            return K::KEY_UP_ARROW;
        case SDLK_DOWN:
            return K::KEY_DOWN_ARROW;
        case SDLK_NUMLOCKCLEAR:
            return K::KEY_NUM_LOCK;
        case SDLK_KP_PLUS:
            return K::KEY_KP_PLUS;
        case SDLK_KP_MINUS:
            return K::KEY_KP_MINUS;
        case SDLK_KP_MULTIPLY:
            return K::KEY_KP_MULTIPLY;
        case SDLK_KP_DIVIDE:
            return K::KEY_KP_DIVIDE;
        case SDLK_KP_ENTER:
            return K::KEY_KP_ENTER;
        case SDLK_KP_7:
            return K::KEY_KP_HOME;
        case SDLK_KP_8:
            return K::KEY_KP_UP;
        case SDLK_KP_9:
            return K::KEY_KP_PG_UP;
        case SDLK_KP_4:
            return K::KEY_KP_LEFT;
        case SDLK_KP_5:
            return K::KEY_KP_FIVE;
        case SDLK_KP_6:
            return K::KEY_KP_RIGHT;
        case SDLK_KP_1:
            return K::KEY_KP_END;
        case SDLK_KP_2:
            return K::KEY_KP_DOWN;
        case SDLK_KP_3:
            return K::KEY_KP_PG_DOWN;
        case SDLK_KP_0:
            return K::KEY_KP_INSERT;
        case SDLK_KP_PERIOD:
            return K::KEY_KP_DELETE;
        case SDLK_SPACE:
            return K::KEY_SPACE;
        case SDLK_EXCLAIM:
            return K::KEY_EXCLAM;
        case SDLK_QUOTEDBL:
            return K::KEY_QUOTE;
        case SDLK_HASH:
            return K::KEY_NUMBER;
        case SDLK_DOLLAR:
            return K::KEY_DOLLAR;
        case SDLK_PERCENT:
            return K::KEY_PERCENT;
        case SDLK_CARET:
            return K::KEY_CIRCUMFLEX;
        case SDLK_AMPERSAND:
            return K::KEY_AMPERSAND;
        case SDLK_QUOTE:
            return K::KEY_APOSTROPHE;
        case SDLK_LEFTPAREN:
            return K::KEY_LEFT_PARENTHESIS;
        case SDLK_RIGHTPAREN:
            return K::KEY_RIGHT_PARENTHESIS;
        case SDLK_ASTERISK:
            return K::KEY_ASTERISK;
        case SDLK_PLUS:
            return K::KEY_PLUS;
        case SDLK_COMMA:
            return K::KEY_COMMA;
        case SDLK_MINUS:
            return K::KEY_MINUS;
        case SDLK_PERIOD:
            return K::KEY_PERIOD;
        case SDLK_SLASH:
            return K::KEY_SLASH;
        case SDLK_COLON:
            return K::KEY_COLON;
        case SDLK_SEMICOLON:
            return K::KEY_SEMICOLON;
        case SDLK_LESS:
            return K::KEY_LESS_THAN;
        case SDLK_EQUALS:
            return K::KEY_EQUAL;
        case SDLK_GREATER:
            return K::KEY_GREATER_THAN;
        case SDLK_QUESTION:
            return K::KEY_QUESTION;
        case SDLK_AT:
            return K::KEY_AT;
        case SDLK_LEFTBRACKET:
            return K::KEY_LEFT_BRACKET;
        case SDLK_BACKSLASH:
            return K::KEY_BACK_SLASH;
        case SDLK_RIGHTBRACKET:
            return K::KEY_RIGHT_BRACKET;
        case SDLK_UNDERSCORE:
            return K::KEY_UNDERSCORE;
        case SDLK_BACKQUOTE:
            return K::KEY_GRAVE;
        default:
            return K::KEY_NONE;
    }
}

int mouseButtonFromSdl(int sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 0;
        case SDL_BUTTON_RIGHT:
            return 1;
        case SDL_BUTTON_MIDDLE:
            return 2;
        default:
            return -1;
    }
}

}  // namespace sdl
}  // namespace cocos2d
