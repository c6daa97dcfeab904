#pragma once

#include <memory>

#include "visuals/elements/ElementNodes.h"

namespace Zarn {
class SteerableXDManager;
}

// The elevator pad's reactions. New state 1: a lift carrier
// ("Elevator_Back.png" with the front "Elevator_Box.png") drops from 1.5
// visible heights above onto the pad in 1.0 s, with the button sound
// "sound/elevator_panel/button_press.mp3", then a burst of dust (0.4 s),
// the chime "sound/elevator_panel/transit_chime.mp3" (volume 0.4) and a
// blinking arrow "Elevator_Arrow_1.png" / "_2.png". New state 0: the carrier
// rises out of view in 1.0 s and removes itself, taking the visual of the
// unit the pad carries along (whose sync with the world stops). Other states,
// and 0 without a carrier, change nothing. Main thread only.
class ElevatorPadVisualMediator : public ElementVisualMediator {
public:
    // pad: the pad's node; steerableVisuals: the scene's player visuals (may
    // be null: no rider is taken); zOrder: the scene's calculator.
    ElevatorPadVisualMediator(cocos2d::Sprite* pad, MapElementAnimations animations,
                              Zarn::SteerableXDManager* steerableVisuals,
                              const Zarn::ZOrderCalculator* zOrder);

    // A client without a visual is logged and the departure skipped (the
    // carrier stays).
    void onStateChanged(u32 oldState, u32 newState) override;

    // The carrier on its way, or null.
    cocos2d::Sprite* getCarrier() const { return carrier_; }
    // The fall and rise: 1.5 x the director's visible height.
    static float liftHeight();

    // The pad element's state; set by the pad node once its adapter exists.
    const Zarn::ElevatorPadState* padState = nullptr;

private:
    void makeCarrier();
    cocos2d::FiniteTimeAction* createArrivalAction();
    cocos2d::FiniteTimeAction* createDepartureAction();
    cocos2d::FiniteTimeAction* createDustBurst();
    void startArrowBlink(cocos2d::Sprite* carrier);

    cocos2d::Sprite* pad_;
    // In the pad's parent while on its way; null otherwise.
    cocos2d::Sprite* carrier_ = nullptr;
    Zarn::SteerableXDManager* steerableVisuals_;
    const Zarn::ZOrderCalculator* zOrder_;
};

// The pad node (type 60): the looping tile "Elevator_Tile_1.png" .. 3 (0.25 s
// a frame), its mediators and ElevatorPad2D adapter (destroyed: node
// mediator, visual mediator, adapter).
class ElevatorPadCocos2D : public cocos2d::Sprite {
public:
    static ElevatorPadCocos2D* create(Zarn::ElevatorPad* pad, Zarn::TileVisualGroups* tileVisuals,
                                      const Zarn::ZOrderCalculator* zOrder,
                                      Zarn::SteerableXDManager* steerableVisuals);
    bool initWithPad(Zarn::ElevatorPad* pad, Zarn::TileVisualGroups* tileVisuals,
                     const Zarn::ZOrderCalculator* zOrder, Zarn::SteerableXDManager* steerableVisuals);
    ~ElevatorPadCocos2D() override;

    void update(float dt) override;

    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    ElevatorPadVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    Zarn::ElevatorPad* element_ = nullptr;
    std::unique_ptr<Zarn::ElevatorPad2D> adapter_;
    std::unique_ptr<ElevatorPadVisualMediator> visual_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
