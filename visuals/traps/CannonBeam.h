#pragma once

#include <memory>
#include <vector>

#include "engine/RefPtr.h"
#include "engine/Sprite.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/mediators/CocosVisualNodeMediator.h"
#include "simulation/adapters/SimpleTrap2D.h"
#include "visuals/traps/BossEye.h"

// The cannon (type 131, an interval trap with a line record): a boss eye
// that rises as the muzzle and a laser beam down a line of 160 x 160 tiles
// while the trap is active.

// The numbers of a shot of T seconds (single precision; counts whole, never
// negative): the beam's four frames loop b = trunc(T / (4/24)) times; the
// chunks pulse p = trunc((T - 0.1) / 0.1 + 1) times; the colour cycle of
// eight tints steps d = T/8 halved while above 0.05, k = 1 + halvings times;
// the splash's three frames loop m = trunc(T / (3/24)) times.
struct ShotCounts {
    u32 beamLoops = 0;
    u32 pulses = 0;
    float colourStep = 0.0f;
    u32 colourCycles = 0;
    u32 splashLoops = 0;
};
ShotCounts shotCounts(float t);

// The chunks of a beam of `length` tiles (the cannon's own included):
// length <= 2: the top alone; else the top, length - 2 middles and the end.
struct BeamLayout {
    u32 middles = 0;
    bool end = false;
};
BeamLayout beamLayout(u32 length);

// The top chunk, on the cannon's tile. Engine create pattern.
class CannonTopChunk : public cocos2d::Sprite {
public:
    static CannonTopChunk* create();
    bool init() override;
    cocos2d::Sprite* getBeam() const { return beam_; }
    cocos2d::Sprite* getShadow() const { return shadow_; }

private:
    cocos2d::Sprite* beam_ = nullptr;
    cocos2d::Sprite* shadow_ = nullptr;
};

// A middle chunk: a solid backing, the soft shadow, the highlight and the
// beam sprite. Engine create pattern.
class CannonMiddleChunk : public cocos2d::Sprite {
public:
    static CannonMiddleChunk* create();
    bool init() override;
    cocos2d::Sprite* getBeam() const { return beam_; }
    cocos2d::Sprite* getShadow() const { return shadow_; }
    cocos2d::Sprite* getHighlight() const { return highlight_; }

private:
    friend class CannonEndChunk;
    cocos2d::Sprite* beam_ = nullptr;
    cocos2d::Sprite* shadow_ = nullptr;
    cocos2d::Sprite* highlight_ = nullptr;
};

// The last chunk: a middle chunk whose beam sprite hangs here instead, with
// the splash where the beam ends. Engine create pattern.
class CannonEndChunk : public cocos2d::Sprite {
public:
    static CannonEndChunk* create();
    bool init() override;
    CannonMiddleChunk* getInner() const { return inner_; }
    cocos2d::Sprite* getSplash() const { return splash_; }
    cocos2d::Sprite* getSplashB() const { return splashB_; }

private:
    CannonMiddleChunk* inner_ = nullptr;
    cocos2d::Sprite* splash_ = nullptr;
    cocos2d::Sprite* splashB_ = nullptr;
};

// A chunk's shot: opens across (x 0.1 to 1.0 in 0.05 s), pulses and cycles
// its colours while the beam frames loop, and closes (to x 0 in 0.05 s).
cocos2d::FiniteTimeAction* makeChunkFireAction(cocos2d::Sprite* beam, cocos2d::Sprite* tinted, float t);
cocos2d::FiniteTimeAction* makeEndBeamFireAction(cocos2d::Sprite* beam, cocos2d::Sprite* tinted, float t);
cocos2d::FiniteTimeAction* makeSplashFireAction(cocos2d::Sprite* splash, cocos2d::Sprite* splashB, float t);

// The beam: chunks growing downwards from the cannon's tile. Engine create
// pattern.
class CannonBeam : public cocos2d::Sprite {
public:
    static CannonBeam* create(int length);
    bool initWithLength(int length);
    // A new action to run on the beam: every chunk fires for t seconds, and
    // "sound/boss/cannon/blast.mp3" plays at the beam.
    cocos2d::FiniteTimeAction* fire(float t);

    CannonTopChunk* getTop() const { return top_; }
    const std::vector<CannonMiddleChunk*>& getMiddles() const { return middles_; }
    CannonEndChunk* getEnd() const { return end_; }

private:
    int length_ = 0;
    CannonTopChunk* top_ = nullptr;
    std::vector<CannonMiddleChunk*> middles_;
    CannonEndChunk* end_ = nullptr;
};

// 0: the eye takes its normal look and rises as the muzzle over half the
// rest time; 1: the beam (moved out of the cannon node at the first shot, so
// that it draws above the room) fires for 0.9 x the active time; 2: the eye
// lowers over half the rest time; 3: the eye stops and lowers, then hides.
// The beam and the eye are retained while kept. Main thread only.
class LineIntervalTrap2DVisualMediator : public CocosVisualNodeMediator {
public:
    LineIntervalTrap2DVisualMediator(CannonBeam* beam, BossEye* eye,
                                     const Zarn::LineIntervalTrapElement* record,
                                     const Zarn::ZOrderCalculator* zOrder);
    void onStateChanged(u32 oldState, u32 newState) override;

    bool beamMoved() const { return moved_ != 0; }

private:
    void moveBeamOut();

    cocos2d::RefPtr<CannonBeam> beam_;
    u8 moved_ = 0;
    cocos2d::RefPtr<BossEye> eye_;
    const Zarn::LineIntervalTrapElement* record_;
    const Zarn::ZOrderCalculator* zOrder_;
};

// The cannon's node. Engine create pattern; main thread only. Destroying it
// takes a moved-out beam off the room as well.
class CannonBeamCocos2D : public cocos2d::Sprite {
public:
    static CannonBeamCocos2D* create(Zarn::IntervalTrap* trap, const Zarn::ZOrderCalculator* zOrder,
                                     Zarn::TileVisualGroups* tileVisuals);
    ~CannonBeamCocos2D() override;

    bool initWithTrap(Zarn::IntervalTrap* trap, const Zarn::ZOrderCalculator* zOrder,
                      Zarn::TileVisualGroups* tileVisuals);
    void update(float dt) override;

    CannonBeam* getBeam() const { return beam_; }
    BossEye* getEye() const { return eye_; }
    CocosNode1Mediator* getMediator() const { return nodeMediator_.get(); }
    LineIntervalTrap2DVisualMediator* getVisualMediator() const { return visual_.get(); }

private:
    std::unique_ptr<LineIntervalTrap2DVisualMediator> visual_;
    CannonBeam* beam_ = nullptr;
    BossEye* eye_ = nullptr;
    std::unique_ptr<Zarn::IntervalTrap2D> adapter_;
    std::unique_ptr<CocosNode1Mediator> nodeMediator_;
};
