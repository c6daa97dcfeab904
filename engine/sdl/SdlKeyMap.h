#pragma once

#include <cstdint>

#include "engine/Event.h"

namespace cocos2d {
namespace sdl {

// The engine's key code for an SDL key symbol (SDL_Keycode); KEY_NONE for a
// key the engine has no code for.
EventKeyboard::KeyCode keyCodeFromSdl(int32_t sdlKey);

// The engine's mouse button (0 left, 1 right, 2 middle) for an SDL button
// number; -1 for any other.
int mouseButtonFromSdl(int sdlButton);

}  // namespace sdl
}  // namespace cocos2d
