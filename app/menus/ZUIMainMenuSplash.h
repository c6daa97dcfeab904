#pragma once

#include "engine/Node.h"
#include "engine/Types.h"

namespace cocos2d {
class Label;
class Sprite;
}  // namespace cocos2d

// The title screen shown over the main menu at start-up: the logo slides in
// from the right with a squash and stretch, Zizad and Spike slide in from the
// left, then a prompt blinks once a second. A passive node: the main menu
// layer calls start, listens for the key or touch, calls finish and removes
// it. Positions are in the splash's own space, whose origin the layer puts at
// the bottom-left corner of the art space. Main thread only.
class ZUIMainMenuSplash : public cocos2d::Node {
public:
    static constexpr const char* kPromptText = "Where's the any key?";
    static constexpr const char* kHitSound = "sound/spike/hit1.mp3";

    static ZUIMainMenuSplash* create();
    bool init() override;

    // Plays the entrance from the off-screen positions (again, when called
    // again).
    void start();
    // Plays the exit: the prompt goes, Zizad is knocked away with the hit
    // sound, Spike drops out.
    void finish();

    cocos2d::Sprite* zizad = nullptr;
    cocos2d::Sprite* spike = nullptr;
    cocos2d::Sprite* logo = nullptr;
    cocos2d::Label* prompt = nullptr;
    cocos2d::Vec2 logoPosition{1039.0f, 625.0f};
    cocos2d::Vec2 zizadPosition;
    cocos2d::Vec2 spikePosition;
};
