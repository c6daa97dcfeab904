#pragma once

#include <array>
#include <string>

#include "engine/Types.h"
#include "foundation/Types.h"

namespace cocos2d {
class Node;
}

// The players' colours: 56 entries, a player's colour is entry (client ID
// modulo 56). Entry 0 is a translucent black (0, 0, 0, 100); then groups by
// an intensity L in the order 255, 128, 192, 64, 32, 96, 160, 224, each
// listing (L,0,0), (0,L,0), (0,0,L), (L,L,0), (L,0,L), (0,L,L), (L,L,L) with
// alpha 255, except that the group 255 has no white. Shared with the
// multiplayer display.
const std::array<cocos2d::Color4B, 56>& playerColourTable();
cocos2d::Color4B playerColour(u32 clientID);

// The frame of a name tag's icon for a player's platform code: 1
// "nametag_windows.png", 3 "nametag_mac.png", 4 "nametag_ios.png", 5
// "nametag_android.png", any other "SliderNode_Normal.png".
const char* nameTagIconFrame(u8 platformCode);

// Where the icon (width iconWidth) and the label (width labelWidth) of a name
// tag stand on the x axis: the pair, 10 apart, centred on the tag's origin.
struct NameTagLayout {
    float iconX = 0.0f;
    float labelX = 0.0f;
};
NameTagLayout nameTagLayout(float iconWidth, float labelWidth);

// A name tag: an empty node with the icon and the name (font
// "fonts/riffic.ttf", 36, black outline of width 2), the icon first.
cocos2d::Node* createNameTag(const std::string& name, u8 platformCode);

// The font of players' names.
inline constexpr const char* kNameFont = "fonts/riffic.ttf";
