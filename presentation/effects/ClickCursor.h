#pragma once

#include "engine/Node.h"

// The marker of a taken click: a node that removes itself after 0.2 s.
class ClickCursor : public cocos2d::Node {
public:
    static ClickCursor* create();
    bool init() override;
    // Drops the shared action prototypes (the in-game scene's destructor).
    static void releaseActions() {}
};
