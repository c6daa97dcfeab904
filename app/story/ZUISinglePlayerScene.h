#pragma once

#include "engine/Scene.h"

class ZUIElevatorPanel;

// The story mode's level select: brings the progress file in step with the
// level list on entry, shows the elevator on a plain background and loops the
// elevator music while it is on screen. Opened by the main menu's STORY
// button and by the level host on the way back. Main thread only.
class ZUISinglePlayerScene : public cocos2d::Scene {
public:
    static ZUISinglePlayerScene* create();
    bool init() override;
    void onEnterTransitionDidFinish() override;
    void onExitTransitionDidStart() override;

    ZUIElevatorPanel* getElevatorPanel() const { return elevatorPanel; }
    int getElevatorMusicID() const { return elevatorMusicID; }

protected:
    void buildLayers();

    int elevatorMusicID = -1;
    ZUIElevatorPanel* elevatorPanel = nullptr;  // a child
};
