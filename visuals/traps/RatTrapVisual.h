#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/adapters/TrapAdapters.h"
#include "visuals/traps/ElementSprites.h"

namespace Zarn {
class CellGrid;
}

// The rat trap (types 47 to 51): a board that slaps down to the left or to
// the right. The node holds two overlapping flip sprites; the trap's phase 1
// flips the left board, phase 2 the right board.

// The flip's times from the trap's record (seconds; map data clamped):
// slam = snapTime + activeTime (the hit sounds then), the slam's frames take
// slam + 0.2; the board stays down `hold` = releaseTime and swings back in
// `back` = holdTime (the record's first three own times, in record order:
// snap, hold, release). The landing sounds when hold is at least 0.5.
struct RatFlipTimings {
    float slam = 0.0f;
    float back = 0.0f;
    float hold = 0.0f;
    bool landingSound = false;
};
RatFlipTimings ratFlipTimings(const Zarn::RatTrapElement& record);

// One direction's frames: six of the slam, three of the swing back; the
// first slam frame is the one shown at rest.
struct RatFlipFrames {
    std::vector<std::string> slam;
    std::vector<std::string> back;
};
const RatFlipFrames& leftFlipFrames();
const RatFlipFrames& rightFlipFrames();

// A flip sprite's visual mediator: runs the whole flip (a clone of the action
// built at construction) when the trap enters the state it answers; every
// other value does nothing. Sounds on the effects channel: squeak at 0.15 s,
// board hit at slam, landing after the swing back. Main thread only.
class RatTrapFlipVisualMediator : public NodeBoundVisualMediator {
public:
    RatTrapFlipVisualMediator(const RatFlipFrames& frames, u8 answeredState, const RatFlipTimings& timings);
    void onStateChanged(u32 oldState, u32 newState) override;

    cocos2d::Action* getFlipAction() const { return flip_.get(); }

private:
    u8 answeredState_;
    cocos2d::RefPtr<cocos2d::Action> flip_;
};

// Answers phase 1 with the left frames.
class RatTrapLeftFlipVisualMediator : public RatTrapFlipVisualMediator {
public:
    explicit RatTrapLeftFlipVisualMediator(const RatFlipTimings& timings)
        : RatTrapFlipVisualMediator(leftFlipFrames(), 1, timings) {}
};

// Answers phase 2 with the right frames.
class RatTrapRightFlipVisualMediator : public RatTrapFlipVisualMediator {
public:
    explicit RatTrapRightFlipVisualMediator(const RatFlipTimings& timings)
        : RatTrapFlipVisualMediator(rightFlipFrames(), 2, timings) {}
};

// The rat trap's adapter on the engine side: makes the flip sprites (anchor
// and position at the node's origin).
class RatTrap2DImpl : public Zarn::RatTrap2D {
public:
    using RatTrap2D::RatTrap2D;
    Zarn::Sprite2DMediator* createLeftFlip() override;
    Zarn::Sprite2DMediator* createRightFlip() override;
};

// The rat trap's node: empty, 320 x 350, in the raised band of its row; its
// own visual mediator (the element default) only shows and hides the trap.
// Files the adapter's player z-order modifier with the calculator while it
// lives. The trap, the tile table, the calculator and the grid outlive the
// visual. Engine create pattern; main thread only.
class RatTrapCocos2D : public cocos2d::Sprite {
public:
    static RatTrapCocos2D* create(Zarn::RatTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                  Zarn::ZOrderCalculator* zOrder, const Zarn::CellGrid* grid);
    ~RatTrapCocos2D() override;

    bool initWithTrap(Zarn::RatTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                      Zarn::ZOrderCalculator* zOrder, const Zarn::CellGrid* grid);
    void update(float dt) override;

    RatTrap2DImpl* getAdapter() const { return adapter_.get(); }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }

private:
    Zarn::ZOrderCalculator* zOrder_ = nullptr;
    std::unique_ptr<RatTrap2DImpl> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
    std::unique_ptr<MapElement2DVisualMediator> visual_;
};
