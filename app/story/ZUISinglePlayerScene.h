#pragma once

#include "engine/Scene.h"

// The story mode's scene, opened by the main menu's STORY button. It leads
// back to the main menu.
class ZUISinglePlayerScene : public cocos2d::Scene {
public:
    static ZUISinglePlayerScene* create();
    bool init() override;
};
