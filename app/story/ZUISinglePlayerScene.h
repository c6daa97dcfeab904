#pragma once

#include "engine/Scene.h"

class ZUIButton;

// The story mode's scene, opened by the main menu's STORY button: for now a
// "Play" button that starts the level the story progress stands at, and a
// way back to the main menu. Opening it loads the story progress the first
// time and lets the next level start its music.
class ZUISinglePlayerScene : public cocos2d::Scene {
public:
    static ZUISinglePlayerScene* create();
    bool init() override;

    ZUIButton* playButton = nullptr;
};
