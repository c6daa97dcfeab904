#pragma once

#include <vector>

#include "engine/Node.h"
#include "engine/Types.h"

class ZUISkewedRectButton;

// Where the other buttons of the trio go while one is hovered: each moves a
// tenth of the hovered button's width away from it (left when the hovered
// one stands to its right), from its resting position. The hovered button's
// own entry is its current position.
std::vector<cocos2d::Vec2> spreadTargets(const std::vector<cocos2d::Vec2>& homes,
                                         const std::vector<cocos2d::Vec2>& current, std::size_t hovered,
                                         float hoveredWidth);

// The STORY, ARCADE and MULTI-PLAYER buttons of the main menu, a staircase
// from top left to bottom right; hovering one pushes the others aside. STORY
// opens the story mode; the main menu layer attaches the other two.
// Main thread only.
class ZUIMainMenu : public cocos2d::Node {
public:
    static constexpr float kGap = 50.0f;
    static constexpr float kSpreadSeconds = 0.05f;

    static ZUIMainMenu* create();
    bool init() override;

    // The trio in the order STORY, ARCADE, MULTI-PLAYER, and each one's
    // resting position. The buttons are children of the menu.
    std::vector<ZUISkewedRectButton*> buttons;
    std::vector<cocos2d::Vec2> homePositions;
    ZUISkewedRectButton* storyButton = nullptr;
    ZUISkewedRectButton* arcadeButton = nullptr;
    ZUISkewedRectButton* multiplayerButton = nullptr;

protected:
    void spread(std::size_t hovered);
    void gather(std::size_t hovered);
};
