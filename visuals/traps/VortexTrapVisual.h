#pragma once

#include <string>
#include <vector>

#include "simulation/adapters/TrapAdapters.h"
#include "visuals/traps/TrapVisualTemplates.h"

// The vortex (type 55): a trap door that opens on a swirling hole. The trap
// door plays on the base sprite (IntervalTrap2DVisualMediator); two vortex
// sprites, a small and a large one, spin and animate while the trap is active
// (state 1) and vanish from state 2 or 3 on.

// One vortex kind.
struct VortexKind {
    std::vector<std::string> frames;
    // Seconds for one full turn.
    float rotationPeriod = 0.0f;
    u8 activeOpacity = 150;
    // Looped while active at volume soundVolume; empty: silent.
    std::string sound;
    float soundVolume = 0.0f;
};
// Small: "Vortex_Small_1.png" .. 3, a turn in 2.0 s, "sound/vortex/vortex2.mp3"
// at 0.75. Large: "Vortex_Large_1.png" .. 3, a turn in 5.0 s, silent. Both
// change frame every 0.2 s and show at opacity 150.
const VortexKind& smallVortexKind();
const VortexKind& largeVortexKind();

// Tags of the vortex's motions on its sprite.
inline constexpr int kVortexSpinTag = 0x5650;
inline constexpr int kVortexTurnTag = 0x5654;

// A vortex sprite's visual mediator. Main thread only.
class VortexVisualMediator : public NodeBoundVisualMediator {
public:
    explicit VortexVisualMediator(const VortexKind& kind);
    // Stops the looping sound.
    ~VortexVisualMediator() override;

    // 1: opacity 150, the frames cycling and the sprite turning forever, the
    // looping sound started (an earlier run of either is stopped first).
    // 2 or 3: all of that stopped, opacity 0. Others: nothing. The old state
    // is not looked at.
    void onStateChanged(u32 oldState, u32 newState) override;

    int getSoundId() const { return soundId_; }

private:
    void stopVortex();

    VortexKind kind_;
    cocos2d::RefPtr<cocos2d::Action> spin_;
    cocos2d::RefPtr<cocos2d::Action> turn_;
    int soundId_ = -1;
};

// The vortex trap's adapter on the engine side: makes the two vortex sprites.
class VortexTrap2DImpl : public Zarn::VortexTrap2D {
public:
    using VortexTrap2D::VortexTrap2D;
    Zarn::Sprite2DMediator* createSmallVortex() override;
    Zarn::Sprite2DMediator* createLargeVortex() override;
};

// The vortex's visual: a simple trap visual on "Trap_Door_Base.png" whose
// adapter is a VortexTrap2DImpl.
class VortexTrapCocos2D : public SimpleTrapCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D> {
public:
    static VortexTrapCocos2D* create(cocos2d::SpriteFrame* frame,
                                     std::unique_ptr<SimpleTrap2DVisualMediator> mediator,
                                     Zarn::BaseIntervalTrap* trap, Zarn::TileVisualGroups* tileVisuals,
                                     const Zarn::ZOrderCalculator* zOrder);

    VortexTrap2DImpl* getVortexAdapter() const { return static_cast<VortexTrap2DImpl*>(adapter_.get()); }

protected:
    std::unique_ptr<Zarn::IntervalTrap2D> makeAdapter() override;
};
