#pragma once

#include <array>

#include "engine/RefPtr.h"
#include "presentation/players/CocosPlayerAnimController.h"
#include "simulation/scene/PlayerAssets.h"

namespace cocos2d {
class Sprite;
}

class ResetableSprite;

// Animates the 2D player sprite: runs and idles with randomly chosen frame
// sequences (a new variant every cycle) and footsteps, and plays the state
// animations with their sounds and debris:
//
// | key | state or effect IDs | what plays                                   |
// |-----|---------------------|----------------------------------------------|
// | 3   | 5                   | hidden; the body and glasses fall and vanish |
// | 5   | 6                   | sucked into a vortex and faded out           |
// | 6   | 3                   | spiked: the giblets bounce, then burst       |
// | 7   | 10                  | squashed (and moving squashed until it ends) |
// | 9   | 17                  | the first idle variant once (the level left) |
// | 10  | 8, 22               | blown apart: the giblets burst               |
// | 11  | 21, end of effect 10 | recovering from the squash                  |
//
// Sounds go through the positional audio engine at the sprite; without one
// they throw "positionAudioEngine not instantiated!" from the frame. Frames
// come from the player's 2D look (lists numbered 0 to 18), copied at
// construction. Main thread only; owned by the player's visual.
class Player2DAnimController : public CocosPlayerAnimController {
public:
    // Special states: squashed, recovering from a squash.
    static constexpr i32 kNormal = 0;
    static constexpr i32 kSquashed = 7;
    static constexpr i32 kRecovering = 11;

    Player2DAnimController(cocos2d::Sprite* sprite, const Zarn::ZOrderCalculator* zOrder,
                           const Zarn::Player2DAssets& assets);
    ~Player2DAnimController() override;

    // Squashed: the squash-move frames; recovering: nothing at all; else a
    // random run variant. Each cycle starts the next; every start emits a
    // start-of-run dust burst.
    void startRunning() override;
    // Normal: a random idle variant, cycling; squashed or recovering: no new
    // animation, but idling is recorded.
    void startIdle() override;
    void stopRunning() override;
    void stopIdle() override;
    // Stands up again after a state animation: scale 0.4, opacity 254,
    // visible, and a spawn sound.
    void reset() override;
    void effectEnded(i32 effect) override;

    i32 specialState() const { return special_; }
    ResetableSprite* giblets() const { return giblets_.get(); }
    cocos2d::Action* currentRunAction() const { return currentRun_.get(); }
    cocos2d::Action* currentIdleAction() const { return currentIdle_.get(); }
    // The half cycle of the first run list: frames / 24 / 2, seconds.
    float footstepInterval() const { return footstepInterval_; }

    // The sounds the controller plays.
    static const char* const kFootstep;
    static const char* const kSpawnSounds[2];
    static const char* const kFallSounds[3];
    static const char* const kExplosionSounds[3];
    static const char* const kSpikeHitSounds[3];

private:
    void playAtSprite(const std::string& file, float volume);
    // The sprite's local z for a piece that falls over it.
    int zOverSprite() const;
    void squashStart();
    void recoveryStart();
    void recoveryEnd();
    void attachGiblets();
    void fallBurst();

    cocos2d::Sprite* sprite_;
    Zarn::Player2DAssets assets_;
    std::array<cocos2d::RefPtr<cocos2d::FiniteTimeAction>, 3> runVariants_;
    std::array<cocos2d::RefPtr<cocos2d::FiniteTimeAction>, 3> idleVariants_;
    cocos2d::RefPtr<cocos2d::FiniteTimeAction> squashMove_;
    cocos2d::RefPtr<cocos2d::Action> currentRun_;
    cocos2d::RefPtr<ResetableSprite> giblets_;
    i32 special_ = kNormal;
    cocos2d::RefPtr<cocos2d::Action> currentIdle_;
    float footstepInterval_ = 0.0f;
};
