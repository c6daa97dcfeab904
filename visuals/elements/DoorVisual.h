#pragma once

#include <memory>

#include "engine/ActionInterval.h"
#include "engine/RefPtr.h"
#include "visuals/elements/ElementNodes.h"
#include "world/elements/Door.h"

namespace Zarn {
class DoorElement;
}

// The plain door (element types 36 "door_top.png" and 37 "door_side.png"):
// one sprite that opens by sliding up by its own height while fading to 30,
// and closes by sliding back while fading in, with a door sound and a puff of
// dust at its foot. Door states: 0 open, 1 closed (a door starts closed).
//
// The node is set by the maker once the door's sprite exists; then the maker
// calls preparePositions, before it scales the sprite. Main thread only.
class DoorVisualMediator : public ElementVisualMediator {
public:
    // record: the door's map record (owned by the game map); its point is the
    // door's lower-left corner.
    DoorVisualMediator(cocos2d::Node* node, MapElementAnimations animations, const Zarn::DoorElement* record);

    // closed = the record's point + half the node's size at scale 0.4;
    // open = closed + (0, that height).
    void preparePositions();

    // Every new state stops the node's actions. 0: "sound/door/open.mp3" at
    // the node, then at once the dust, a 0.5 s move to the open position
    // (relative to where the node stands) and a fade to 30. 1:
    // "sound/door/close.mp3", the move back to the closed position, then the
    // dust, while fading to 255 over 0.5 s. Other states: nothing more.
    void onStateChanged(u32 oldState, u32 newState) override;

    // Two small directional dust clouds beside the door's foot at the closed
    // position, on the node's parent, 100 above the door.
    void makeDustPuff();

    const cocos2d::Vec2& closedPosition() const { return closed_; }
    const cocos2d::Vec2& openPosition() const { return open_; }

private:
    const Zarn::DoorElement* record_;
    cocos2d::Vec2 closed_;
    cocos2d::Vec2 open_;
};

// The two sliding halves of an automatic door.
class AutomaticDoorInterface : public cocos2d::Sprite {
public:
    virtual void openDoor() = 0;
    virtual void closeDoor() = 0;
    virtual void stopDoor() = 0;

    cocos2d::Sprite* leftHalf() const { return left_; }
    cocos2d::Sprite* rightHalf() const { return right_; }

protected:
    // Makes the two halves as children and gives this node their width
    // together and the left half's height. False when a half cannot be made.
    bool makeHalves(const std::string& leftFrame, const std::string& rightFrame);

    // Children of this node.
    cocos2d::Sprite* left_ = nullptr;
    cocos2d::Sprite* right_ = nullptr;
};

// Variants 1 and 2 (types 164, 165): both halves slide apart by their own
// widths in 0.2 s. Variant 2 shows "p2_door_left.png" / "p2_door_right.png",
// every other variant "door_big_left.png" / "door_big_right.png". The halves
// overlap by 13 units when closed.
class AutomaticDoorP1P2 : public AutomaticDoorInterface {
public:
    static AutomaticDoorP1P2* create(u32 variant);
    bool initWithVariant(u32 variant);

    // Each runs fresh clones of the kept moves (to fixed positions).
    void openDoor() override;
    void closeDoor() override;
    void stopDoor() override;

    const cocos2d::Vec2& leftClosed() const { return leftClosed_; }
    const cocos2d::Vec2& leftOpen() const { return leftOpen_; }
    const cocos2d::Vec2& rightClosed() const { return rightClosed_; }
    const cocos2d::Vec2& rightOpen() const { return rightOpen_; }

private:
    cocos2d::Vec2 leftClosed_, leftOpen_, rightClosed_, rightOpen_;
    cocos2d::RefPtr<cocos2d::MoveTo> leftOpening_, rightOpening_, leftClosing_, rightClosing_;
    u32 variant_ = 1;
};

// Variants 3 and 4 (types 166, 167): "p3_door_left.png" stands still, the
// right half "p3_door_right.png" slides right by its width in 0.2 s.
class AutomaticDoorP3 : public AutomaticDoorInterface {
public:
    static AutomaticDoorP3* create();
    bool init() override;

    void openDoor() override;
    void closeDoor() override;
    void stopDoor() override;

    const cocos2d::Vec2& rightClosed() const { return rightClosed_; }
    const cocos2d::Vec2& rightOpen() const { return rightOpen_; }

private:
    cocos2d::Vec2 rightClosed_, rightOpen_;
    cocos2d::RefPtr<cocos2d::MoveTo> rightOpening_, rightClosing_;
};

// Drives the halves: new state 0 stops and opens them, 1 stops and closes
// them, anything else is ignored. Makes no sound of its own.
class AutomaticDoorVisualMediator : public ElementVisualMediator {
public:
    // door: the halves' node, a child of the mediator's node.
    AutomaticDoorVisualMediator(cocos2d::Node* node, MapElementAnimations animations,
                                AutomaticDoorInterface* door);

    void onStateChanged(u32 oldState, u32 newState) override;

private:
    AutomaticDoorInterface* door_;
};

// The outer node of an automatic door (types 164 to 167, variant = type -
// 163): holds the halves (AutomaticDoorP3 for variants 3 and 4, else
// AutomaticDoorP1P2) at its centre, takes their size, and owns the door's
// mediators and adapter (destroyed: visual mediator, node mediator, adapter).
class AutomaticDoorCocos2D : public cocos2d::Sprite {
public:
    static AutomaticDoorCocos2D* create(Zarn::AutomaticDoor* door, u32 variant,
                                        MapElementAnimations animations);
    bool initWithDoor(Zarn::AutomaticDoor* door, u32 variant, MapElementAnimations animations);
    ~AutomaticDoorCocos2D() override;

    void update(float dt) override;

    AutomaticDoorInterface* getDoor() const { return doorSprite_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    AutomaticDoorVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    // A child of this node.
    AutomaticDoorInterface* doorSprite_ = nullptr;
    Zarn::AutomaticDoor* element_ = nullptr;
    u32 variant_ = 1;
    std::unique_ptr<Zarn::SimpleElement2D<Zarn::Door, Zarn::DoorIMEState>> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<AutomaticDoorVisualMediator> visual_;
};
