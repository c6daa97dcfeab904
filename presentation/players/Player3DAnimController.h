#pragma once

#include <string>

#include "engine/RefPtr.h"
#include "presentation/players/CocosPlayerAnimController.h"
#include "presentation/players/DeathBurst.h"
#include "simulation/scene/PlayerAssets.h"

namespace cocos2d {
class ActionInterval;
class Sprite3D;
}  // namespace cocos2d

class Steerable3DSubsituteFactory;

// Animates a 3D player model: skeletal clips of the character and its hat,
// fades, shrinks, face (head texture) swaps, sounds, the death burst and the
// squashed substitute.
//
// | key | state or effect IDs | what plays                                   |
// |-----|---------------------|----------------------------------------------|
// | 1   | (idle)              | idle clips of body and hat                   |
// | 2   | (run)               | run clips and footsteps every 13/18 s cycle  |
// | 3   | 6                   | falls: runs, flips, shrinks to 0 and fades   |
// | 4   | 5                   | falls straight and fades                     |
// | 6   | 3                   | spiked, then bursts                          |
// | 7   | 10                  | squashed: flattened, hidden, a substitute    |
// | 9   | 17                  | lifted and idle (the level left)             |
// | 10  | 8, 22               | bursts                                       |
// | 11  | 21, end of effect 10 | grows back from the squash                  |
//
// The look is copied at construction; the substitute factory belongs to the
// steerable visual manager and outlives the controller. Sounds at the body go
// through the positional audio engine. Main thread only; owned by the
// player's 3D visual.
class Player3DAnimController : public CocosPlayerAnimController {
public:
    Player3DAnimController(cocos2d::Sprite3D* body, const Zarn::ZOrderCalculator* zOrder,
                           const Zarn::Player3DAssets& assets, Steerable3DSubsituteFactory* factory);
    ~Player3DAnimController() override;

    // The base's steps, then scale 0.25, opacity 254 on body, hat and
    // eyebrows, visible, the default face and a spawn sound.
    void reset() override;

    cocos2d::Sprite3D* getHat() const { return hat_.get(); }
    cocos2d::Sprite3D* getEyebrows() const { return eyebrows_.get(); }
    const BurstContext& getBurstContext() const { return burst_; }
    const Zarn::Player3DAssets& getAssets() const { return assets_; }

    static const char* const kCrazyLegsSounds[2];
    static const char* const kSquishSound;
    static const char* const kSquishRestoreSound;

private:
    // A clip of the file, quality 1; lasting > 0 sets its duration, speed > 0
    // its speed.
    cocos2d::ActionInterval* clip(const std::string& file, const std::string& name, float lasting = 0.0f,
                                  float speed = 0.0f) const;
    void setFace(std::size_t index);
    void playAtBody(const std::string& file, float volume);
    void lift(bool high);
    void makeSubstitute();

    cocos2d::Sprite3D* body_;
    cocos2d::RefPtr<cocos2d::Sprite3D> hat_;
    cocos2d::RefPtr<cocos2d::Sprite3D> eyebrows_;
    Zarn::Player3DAssets assets_;
    BurstContext burst_;
    Steerable3DSubsituteFactory* factory_;
};
