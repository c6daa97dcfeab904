#pragma once

#include "engine/Node.h"

class ZUICoreButton;
class ZUIRotateButtonMenu;

// The arcade page of the main menu, in the menu's art space (origin at the
// screen's centre while the page is on screen): a card titled "LEADERBOARD" on
// the right, the carousel of arcade modes on the left and a back icon in the
// top-right corner. The page has no behaviour of its own: the carousel takes
// its input itself, and the main menu sets the back icon's callback (which
// collapses the carousel before the page closes) and removes the page.
class ZUIArcadePanel : public cocos2d::Node {
public:
    static constexpr const char* kTitle = "LEADERBOARD";
    static constexpr float kCardWidth = 994.0f;
    static constexpr float kCardHeight = 1050.69f;
    static constexpr float kTitleFontSize = 100.0f;
    static constexpr float kTitleTopMargin = 30.0f;
    static inline const cocos2d::Vec2 kCardPosition{216.0f, -640.0f};
    static constexpr float kCarouselX = -350.0f;

    static ZUIArcadePanel* create();
    bool init() override;

    // Children of the panel; the node tree keeps them alive.
    ZUIRotateButtonMenu* carousel = nullptr;
    ZUICoreButton* backButton = nullptr;

private:
    void addLeaderboardCard();
    void addBackButton();
};
