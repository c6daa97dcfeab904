#pragma once

#include "engine/Node.h"

class ZUICoreButton;

// The multiplayer page of the main menu. It holds its back icon in the
// top-right corner of the art space (the main menu sets its callback); its
// destruction saves the settings file.
class ZUIMultiplayerPanelEx : public cocos2d::Node {
public:
    static ZUIMultiplayerPanelEx* create();
    ~ZUIMultiplayerPanelEx() override;
    bool init() override;

    ZUICoreButton* backButton = nullptr;  // a child of the panel
};
