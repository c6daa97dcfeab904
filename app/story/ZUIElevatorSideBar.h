#pragma once

#include <functional>

#include "engine/Node.h"

namespace cocos2d {
class Event;
class EventMouse;
class Label;
class Sprite;
class Touch;
}  // namespace cocos2d
namespace Zarn {
class SinglePlayerData;
}
class ZUICoreButton;
class ZUIElevatorToggleButton;

// The bar beside the elevator's floors: the chosen floor's number on a plate,
// the challenge modes and the home button. Before the story is complete it is
// narrow and the modes are locked slots with a hint; afterwards it is wide
// and the modes are switches that change the progress record's play modes and
// save it at once. Anchor (0.5, 0.5). Main thread only.
class ZUIElevatorSideBar : public cocos2d::Node {
public:
    static constexpr float kHeight = 1440.0f;
    static constexpr float kNarrowWidth = 450.0f;
    static constexpr float kWideWidth = 820.0f;
    // The narrow bar's three grey slots of the locked modes (lower, middle,
    // upper), corners in order, in the bar's space; a disc with a lock sits
    // in each with its lower-left corner at the slot's anchor.
    static const cocos2d::Vec2 kLockedSlots[3][4];
    static const cocos2d::Vec2 kLockedSlotAnchors[3];

    static ZUIElevatorSideBar* create(Zarn::SinglePlayerData* progress);
    bool init() override;

    // The floor-selected callback of the floor buttons: shows the number and
    // rings the bell (same floor again) or the transit chime 0.3 s later.
    void showFloor(int levelIndex);
    // Shows the hint while the mouse is over the locked slots (narrow bar).
    void onMouseMove(cocos2d::EventMouse* event);
    // A tap on the locked slots flips the hint; always claims the touch.
    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event);

    cocos2d::Sprite* getNumberPlate() const { return numberPlate; }
    cocos2d::Label* getFloorLabel() const { return floorLabel; }
    cocos2d::Label* getUnlockHint() const { return unlockHint; }
    ZUICoreButton* getHomeButton() const { return homeButton; }
    ZUIElevatorToggleButton* getTimerToggle() const { return timerToggle; }
    ZUIElevatorToggleButton* getTimeAttackToggle() const { return timeAttackToggle; }
    ZUIElevatorToggleButton* getLimitedLivesToggle() const { return limitedLivesToggle; }

    int rememberedFloor = 0;
    std::function<void()> modesChanged;

protected:
    void buildBar(float width);
    void addModeToggles();
    void addLockedModeSlots();
    bool inLockedSlots(const cocos2d::Vec2& viewPoint) const;

    Zarn::SinglePlayerData* progress = nullptr;  // the game's record; not owned
    // Children; the node tree keeps them alive.
    cocos2d::Sprite* numberPlate = nullptr;
    ZUICoreButton* homeButton = nullptr;
    cocos2d::Label* floorLabel = nullptr;
    cocos2d::Label* unlockHint = nullptr;
    ZUIElevatorToggleButton* timerToggle = nullptr;
    ZUIElevatorToggleButton* timeAttackToggle = nullptr;
    ZUIElevatorToggleButton* limitedLivesToggle = nullptr;
};
