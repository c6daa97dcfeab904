#pragma once

#include "engine/Scene.h"
#include "engine/Types.h"

class ZUIButton;
namespace cocos2d {
class Label;
}

// The credits page over a darkened title picture, with a Back button that
// returns to the main menu. Design coordinates (1024 x 576), not scaled.
// Main thread only.
class ZUICreditsScene : public cocos2d::Scene {
public:
    static constexpr const char* kBackground = "2D/splash.png";
    static constexpr float kTextScale = 0.6f;

    static ZUICreditsScene* create();
    bool init() override;
    void goBack();

    ZUIButton* backButton = nullptr;  // a child of the scene
    cocos2d::Size visibleSize;
    cocos2d::Vec2 visibleOrigin;
    // The three text blocks (children): the main credits, the libraries and
    // fonts, the closing line.
    cocos2d::Label* blocks[3] = {nullptr, nullptr, nullptr};
};
