#pragma once

#include <array>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

#include "app/widgets/PressState.h"
#include "engine/Node.h"
#include "engine/Types.h"
#include "foundation/Types.h"

namespace cocos2d {
class DrawNode;
class EventListenerTouchOneByOne;
class Label;
class Sprite;
class Touch;
class Event;
}  // namespace cocos2d

// The colours of one band of elevator floors: 0 open circle and glow, 1 open
// outline, 2 centre disc, 3 locked circle, 4 locked outline, 5 shadow disc,
// 6 open number, 7 current or pressed number, 8 locked number.
struct ZUIElevatorColours {
    std::array<cocos2d::Color3B, 9> colours{};
    const cocos2d::Color3B& operator[](int i) const { return colours[static_cast<size_t>(i)]; }
};

// Colour sets 0 to 3 by id (a missing id inserts nine black colours), and
// the band of a floor: the first entry whose key (the band's last floor) is
// at least the floor. Filled at static initialisation.
extern std::unordered_map<int, ZUIElevatorColours> elevatorColourSets;
extern std::map<int, int> elevatorColourSetByFloor;
// The colour-set id of a floor's band; -1 past the last band.
int elevatorColourSetOf(int floor);

// The two jagged polylines the decoration lines behind the floor rows are
// cut from; from every start index up to size - 13 the x values rise by at
// least 2500 before the list ends.
extern const std::vector<std::vector<cocos2d::Vec2>> elevatorDecorationLines;
// A draw node with one decoration line: a piece of a list chosen with the
// visuals' random engine, moved to start at x 0, ending at the first point
// 2500 or more to the right.
cocos2d::DrawNode* createElevatorDecorationLine();
void playElevatorTakeoffSound();

// One round floor button of the elevator: the floor's number on a coloured
// disc; locked floors show a lock and take no touches. A touch that begins
// and ends on an open button shows it pressed and reports its level index,
// at most once a frame (the menus' press rules). A disabled button lets
// touches through. Anchor (0.5, 0.5). Main thread only.
class ZUIElevatorButton : public cocos2d::Node {
public:
    static ZUIElevatorButton* create(int levelIndex, const ZUIElevatorColours& colours);
    ~ZUIElevatorButton() override;
    bool init() override;

    void setLocked();
    void setUnlockedLook();
    void showPressed();
    // White outline, number in colour 7.
    void highlight();

    bool onTouchBegan(cocos2d::Touch* touch, cocos2d::Event* event);
    void onTouchEnded(cocos2d::Touch* touch, cocos2d::Event* event);

    int getLevelIndex() const { return levelIndex; }
    // Whether the button takes presses: an open floor while the elevator
    // stands.
    bool isEnabled() const { return press.enabled; }
    void setEnabled(bool on) { press.enabled = on; }
    cocos2d::Sprite* getLock() const { return lock; }
    cocos2d::Sprite* getCircle() const { return circle; }
    cocos2d::Sprite* getCentre() const { return centre; }
    cocos2d::Sprite* getLeftShine() const { return leftShine; }
    cocos2d::Sprite* getRightShine() const { return rightShine; }
    cocos2d::Sprite* getOutline() const { return outline; }
    cocos2d::Label* getNumber() const { return number; }
    cocos2d::DrawNode* getGlow() const { return glow; }

    std::function<void(int)> pressedCallback;

protected:
    bool hit(cocos2d::Touch* touch) const;

    int levelIndex = 0;
    ZUIElevatorColours colours;
    // Children; the node tree keeps them alive.
    cocos2d::Sprite* circle = nullptr;
    cocos2d::Sprite* shadowCircle = nullptr;
    cocos2d::Sprite* centre = nullptr;
    cocos2d::Sprite* outline = nullptr;
    cocos2d::Sprite* leftShine = nullptr;
    cocos2d::Sprite* rightShine = nullptr;
    cocos2d::Label* number = nullptr;
    cocos2d::DrawNode* glow = nullptr;
    cocos2d::Sprite* lock = nullptr;
    cocos2d::EventListenerTouchOneByOne* touchListener = nullptr;  // held by the dispatcher
    PressState press;
};
