#pragma once

#include <memory>
#include <string>
#include <unordered_map>

#include "engine/cocos2d.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/core/GameWorld.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "visuals/elements/MapElementCocos2DFactory.h"
#include "visuals/traps/CocosTrap2DFactory.h"

namespace zarn_test {

// One shipped room as the in-game scene first shows it: the room's world
// loaded with the local player (client 0), the element and trap pictures and
// the player's visual under a world root at the game's scale, the camera on
// the player, kept inside the room where the room is larger than the screen,
// the room centred where it is smaller. Replaces the running scene; everything
// lives as long as the view, which is used on the main thread with a running
// director. Throws what the map load throws.
class RoomView {
public:
    explicit RoomView(const std::string& mapFile);
    ~RoomView();
    RoomView(const RoomView&) = delete;
    RoomView& operator=(const RoomView&) = delete;

    Zarn::GameWorld game;
    Zarn::PlayerInfoManager infos;
    std::unique_ptr<Zarn::ZOrderCalculator> zOrder;
    Zarn::TileVisualGroups tiles;
    std::unordered_map<std::string, cocos2d::Node*> speakers;
    cocos2d::Node* world = nullptr;
    std::unique_ptr<CocosNodeMediator> root;
    std::unique_ptr<CocosSteerableXDManager> players;
    MapElementCocos2DFactory elements;
    std::unique_ptr<CocosTrap2DFactory> traps;
};

}  // namespace zarn_test
