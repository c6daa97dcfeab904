#pragma once

#include <string>
#include <vector>

#include "engine/ClippingNode.h"
#include "engine/DrawNode.h"
#include "engine/Sprite.h"
#include "foundation/Types.h"

namespace cocos2d {
class FiniteTimeAction;
class SpriteFrameCache;
}  // namespace cocos2d

namespace Zarn {
class ZOrderCalculator;
}

// Where the pupil sits and how its shutter turns when the eye looks at
// target (both world space) from restWorld (the eye's centre in world
// space): within 40 world units the centre and no turn; farther, 40 eye units
// towards the target, turned atan2(y, x) in degrees.
struct PupilPose {
    cocos2d::Vec2 position;
    float rotation = 0.0f;
};
PupilPose pupilPose(const cocos2d::Vec2& restWorld, const cocos2d::Vec2& target);

// How many times a pupil jitter of t seconds moves back and forth:
// trunc(t / 0.1 + 1).
u32 jitterCount(float seconds);

// The mechanical eye that rises out of the floor: a bulb, an iris window (a
// clipping node over a circle) holding the inner eye, the pupil glow and the
// shutter (the pupil, and the cannon's shutter), and two floor tiles that
// hide the eye while it is down. The boss has two; the cannon one, as its
// muzzle.
//
// Its owner places it, sets its looks and runs the actions its builders
// return (each a new autoreleased action built from the eye's state at that
// moment; parts for children are targeted). While `tracking` is set and its
// update is scheduled, the pupil follows `target` every frame. Sounds play on
// the sound player's effects channel. Engine create pattern; main thread only.
class BossEye : public cocos2d::Sprite {
public:
    static BossEye* create();
    bool init() override;
    void update(float dt) override;

    // Rest position (parent space) and the raised one, rest + (0, raise);
    // the eye moves to the rest position.
    void setRestPosition(const cocos2d::Vec2& rest, float raiseHeight);
    // Window scale 1.0, shutter frame "Eye_Cannon_Shutter_1.png" in black,
    // glow shown; the cannon look has a window of 1.6 and no glow. Both put
    // the pupil at the centre.
    void showNormalLook();
    void showCannonLook();
    // The shutter shows "blank.png".
    void blankShutter();

    // Rises to the raised position over t - 0.15 after opening the hatch,
    // then opens and closes its shutter.
    cocos2d::FiniteTimeAction* raise(float t);
    // Back to the rest position over t - 0.15 (at least 0) closing the hatch;
    // silent below 0.5 s.
    cocos2d::FiniteTimeAction* lower(float t);
    // Rises over t (silent below 0.5 s).
    cocos2d::FiniteTimeAction* emerge(float t);
    cocos2d::FiniteTimeAction* raiseAsCannon(float t);
    cocos2d::FiniteTimeAction* lowerFromCannon(float t);
    cocos2d::FiniteTimeAction* toCannon();
    cocos2d::FiniteTimeAction* fromCannon();
    // The upper floor tile: folds down and hides (boss eyes) or slides 30
    // higher (the cannon eye, whose lower tile is hidden); closing undoes it.
    cocos2d::FiniteTimeAction* openHatch(float t);
    cocos2d::FiniteTimeAction* closeHatch(float t);
    cocos2d::FiniteTimeAction* shutterOpenClose();
    cocos2d::FiniteTimeAction* blink(float hold);
    // The action on the shutter, the window and the glow together (a clone
    // each).
    cocos2d::FiniteTimeAction* runOnPupil(cocos2d::FiniteTimeAction* action);
    cocos2d::FiniteTimeAction* jitter(float t);
    cocos2d::FiniteTimeAction* shutterCalibration(float t);
    cocos2d::FiniteTimeAction* lookUp();
    cocos2d::FiniteTimeAction* shutterRise();
    // Bobs six times above the raised position.
    cocos2d::FiniteTimeAction* happy();
    // A blink while the bulb flashes "Eye_Angry_1.png" .. 3 (1/12 s each)
    // and comes back to the frame it had.
    cocos2d::FiniteTimeAction* angry();
    // The bulb cracks twice and keeps "Eye_Crack_1.png".
    cocos2d::FiniteTimeAction* crack();
    // Two explosion sprites beside the eye (moved at once to the node that
    // holds the eye's parent, scaled 0.4, removing themselves when done), the
    // bulb flashing red and the eye jumping and bouncing back.
    cocos2d::FiniteTimeAction* explode();

    // Set: update moves the pupil towards target.
    u8 tracking = 0;
    // World space; the owner writes it every frame.
    cocos2d::Vec2 target;
    // Null: the explosion sprites keep their default order. Not owned.
    const Zarn::ZOrderCalculator* zOrder = nullptr;

    cocos2d::Sprite* getUpperFloor() const { return upperFloor_; }
    cocos2d::Sprite* getLowerFloor() const { return lowerFloor_; }
    cocos2d::Sprite* getBulb() const { return bulb_; }
    cocos2d::Sprite* getShutter() const { return shutter_; }
    cocos2d::Sprite* getPupilGlow() const { return pupilGlow_; }
    cocos2d::DrawNode* getStencil() const { return stencil_; }
    cocos2d::ClippingNode* getClip() const { return clip_; }
    const cocos2d::Vec2& getRestPosition() const { return rest_; }
    const cocos2d::Vec2& getRaisedPosition() const { return raised_; }

private:
    cocos2d::FiniteTimeAction* showEye();
    cocos2d::FiniteTimeAction* frames(const std::vector<std::string>& names, float delay);

    // Children, owned by the node tree.
    cocos2d::DrawNode* stencil_ = nullptr;
    cocos2d::ClippingNode* clip_ = nullptr;
    cocos2d::Sprite* upperFloor_ = nullptr;
    cocos2d::Sprite* lowerFloor_ = nullptr;
    cocos2d::Sprite* bulb_ = nullptr;
    cocos2d::Sprite* shutter_ = nullptr;
    cocos2d::Sprite* innerEye_ = nullptr;
    cocos2d::Sprite* pupilGlow_ = nullptr;
    cocos2d::SpriteFrameCache* frameCache_ = nullptr;
    cocos2d::Vec2 rest_;
    cocos2d::Vec2 raised_;
};
