#pragma once

// The interface sounds the menu buttons play (effects channel, volume 1.0).
inline constexpr const char* kRolloverSound = "sound/ui/button/rollover.mp3";
inline constexpr const char* kPressSound = "sound/ui/button/press.mp3";
