#pragma once

#include "engine/Node.h"

namespace Zarn {
class SinglePlayerData;
}
class ScrollViewEx;
class ZUIElevatorButtonsPanel;
class ZUIElevatorSideBar;

// The story mode's level select on the game's progress record: the floor
// column in a vertical scroll view beside the side bar, wired together and
// scrolled so that the current floor is in view. Laid out in the 2560 x 1440
// art space (the story scene shows it at 0.4). Main thread only.
class ZUIElevatorPanel : public cocos2d::Node {
public:
    static ZUIElevatorPanel* create();
    bool init() override;

    ZUIElevatorButtonsPanel* getButtonsPanel() const { return buttonsPanel; }
    ZUIElevatorSideBar* getSideBar() const { return sideBar; }
    ScrollViewEx* getScrollView() const { return scrollView; }

protected:
    Zarn::SinglePlayerData* progress = nullptr;  // the game's record; not owned
    // Children; the node tree keeps them alive.
    ZUIElevatorButtonsPanel* buttonsPanel = nullptr;
    ZUIElevatorSideBar* sideBar = nullptr;
    ScrollViewEx* scrollView = nullptr;
};

// The vertical percent (0 top, 100 bottom) that shows a floor whose button
// stands at buttonY in a container innerHeight high: 100 - p, p = buttonY /
// innerHeight x 100, with p below 10 read as 0 and above 90 as 100.
float elevatorScrollPercent(float buttonY, float innerHeight);
