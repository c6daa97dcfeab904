#pragma once

#include "engine/Scene.h"

// The end-of-levels scene, shown after the last level and from the main
// menu's credits icon. It leads back to the main menu.
class ZUIBetaEndScene : public cocos2d::Scene {
public:
    static ZUIBetaEndScene* create();
    bool init() override;
};
