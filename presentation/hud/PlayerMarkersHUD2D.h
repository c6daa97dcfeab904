#pragma once

#include <map>

#include "engine/Node.h"
#include "foundation/Types.h"

namespace cocos2d {
class Sprite;
}

namespace Zarn {
class PlayerMarkerLocator;
}

// The overlay of online play that marks players outside the camera's view:
// one arrow per player, hidden while the player is on screen, otherwise put
// on the screen's edge and turned toward the player, as the locator says.
// The node lies in the scene's overlay at the screen's origin with scale 1,
// so the locator's screen points are its own. Main thread only.
class PlayerMarkersHUD2D : public cocos2d::Node {
public:
    static constexpr const char* kMarkerFrame = "player_pointer.png";
    static constexpr float kMarkerScale = 0.5f;

    // The locator belongs to the in-game scene and outlives this node.
    static PlayerMarkersHUD2D* create(const Zarn::PlayerMarkerLocator& locator);
    bool init() override;

    // A player joined: a fresh hidden marker (a client that already has one
    // gets a new one in its place).
    void addMarker(u32 clientID);
    // A player left: its marker goes; an unknown client changes nothing.
    void removeMarker(u32 clientID);
    // Each frame: hides the markers of players on screen and places the
    // others. Throws what the locator throws for a client whose unit is gone.
    void update(float dt) override;

    // The marker of a client, or null.
    cocos2d::Sprite* getMarker(u32 clientID) const;
    std::size_t getMarkerCount() const { return markers_.size(); }

private:
    explicit PlayerMarkersHUD2D(const Zarn::PlayerMarkerLocator& locator) : locator_(locator) {}

    // Children of this node, by client ID; the node tree keeps them alive.
    std::map<u32, cocos2d::Sprite*> markers_;
    const Zarn::PlayerMarkerLocator& locator_;
};
