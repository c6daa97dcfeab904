#pragma once

#include "engine/Node.h"

class ZUICoreButton;

// The arcade page of the main menu. It holds its back icon in the top-right
// corner of the art space; the main menu sets the icon's callback, which
// collapses the page's carousel before the page closes.
class ZUIArcadePanel : public cocos2d::Node {
public:
    static ZUIArcadePanel* create();
    bool init() override;
    // Collapses every entry of the page's carousel (it has none yet).
    void collapseCarousel() {}

    ZUICoreButton* backButton = nullptr;  // a child of the panel
};
