#pragma once

#include <string>

#include "simulation/scene/PlayerAssets.h"

namespace cocos2d {
class CallFunc;
class Sprite3D;
}  // namespace cocos2d

class ResetableSprite;

// What the 3D death burst needs of a player: its model (the body, not owned;
// the burst is made where the body stands, under the body's parent) and its
// look.
struct BurstContext {
    cocos2d::Sprite3D* body = nullptr;
    u32 reserved = 0;
    const Zarn::Player3DAssets* assets = nullptr;
};

// A player's figure bursting into pieces that fly apart and vanish; both are
// callbacks that the player controllers put at the end of their death
// animations. The burst node removes itself 3.0 s after the callback ran.
// Main thread only.

// 3D: the pieces of the exploding model (modelFile), textured like the
// player ("Head" with the explode face, "Hat" with the hat texture, the rest
// with the body texture), each in a holder that turns it about its own
// centre, placed where the body stands at its scale and rotation; the body is
// hidden. The context is copied.
cocos2d::CallFunc* createDeathBurst(const BurstContext& context, const std::string& modelFile);
// The 3D burst made from an already loaded exploding model: its children are
// taken out, textured and placed as above. Returns the burst node (owned by
// the body's parent), or null when the body has no parent.
cocos2d::Sprite3D* burstFromModel(const BurstContext& context, cocos2d::Sprite3D* model);
// 2D: the sprite puts its pieces back (reset) and each piece flies apart.
// The sprite is retained by the callback.
cocos2d::CallFunc* createSpriteBurst(ResetableSprite* sprite);

// How long a burst stays before it removes itself, seconds.
inline constexpr float kBurstLifetime = 3.0f;
