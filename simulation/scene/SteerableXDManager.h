#pragma once

#include <map>
#include <unordered_map>
#include <vector>

#include "simulation/scene/PlayerAssets.h"

namespace Zarn {

class NodeMediator;
class PlayerInfo;
class PlayerInfoManager;
class SteerableUnitManager;
class SteerableVisualSync;
class ZOrderCalculator;

// What a player's visual hands back: its node and its per-frame sync, both
// owned by the visual.
struct VisualSteerablePair {
    NodeMediator* node = nullptr;
    SteerableVisualSync* sync = nullptr;
};

// The engine-free owner of the players' visuals: keeps the catalogue of
// player looks (the 2D frame sets and the 3D model sets), chooses a look per
// client, asks its engine side to build the visual, hangs the visual's node
// under the parent and tells later which node and sync belong to a client.
//
// Vocabulary: adding and removing a client's visual are `addSteerable3D` and
// `removeSteerable3D` (the name is kept from the 3D players; players are 2D
// in the game). The engine side builds with `createSteerable2D` /
// `createSteerable3D`, learns of a removal through `removeSteerable` and of
// an addition through `onSteerableAdded`.
//
// Failures throw Convinience::Error with these texts: "steerable3D parent is
// nullptr", "no such player info", "no 2D assets are available! cannot create
// 2D model", "No such asset", "No such client", "not valid visual steerable
// client". Nothing is changed when the throw comes before the visual is made.
//
// The managers and the calculator belong to the in-game scene and outlive
// this object. Main thread only.
class SteerableXDManager {
public:
    SteerableXDManager(SteerableUnitManager& units, PlayerInfoManager& playerInfos, ZOrderCalculator& zOrder);
    virtual ~SteerableXDManager();
    SteerableXDManager(const SteerableXDManager&) = delete;
    SteerableXDManager& operator=(const SteerableXDManager&) = delete;

    // The node the visuals hang under (the world root); not owned.
    void setParent(NodeMediator* parent) { parent_ = parent; }
    NodeMediator* getParent() const { return parent_; }

    // Builds the client's visual with the 2D look of its client ID, records
    // it (replacing an earlier record; the earlier visual stays on the parent)
    // and adds its node to the parent.
    void addSteerable3D(u32 clientID);
    // Takes the client's node off the parent, forgets it and tells the engine
    // side. A client without a visual is ignored.
    void removeSteerable3D(u32 clientID);
    // The client's player info changed: the engine side redraws what shows
    // it (the name tag). A client without a visual or info is ignored.
    void playerChanged(u32 clientID);

    // Throw "not valid visual steerable client" for a client without a visual.
    NodeMediator* getVisualSteerable(u32 clientID) const;
    SteerableVisualSync* getVisualSync(u32 clientID) const;
    // The client's node, or null.
    NodeMediator* findVisualSteerable(u32 clientID) const;
    bool hasVisual(u32 clientID) const { return visuals_.count(clientID) != 0; }
    // The syncs of the visuals recorded here (the 2D players), in client ID
    // order: the in-game scene steps each once a frame (state, effects,
    // transform, move). Valid until the next add or remove.
    const std::vector<SteerableVisualSync*>& visualSyncs() const { return syncs_; }

    const std::vector<Player3DAssets>& assets3D() const { return assets3D_; }
    const std::vector<Player2DAssets>& assets2D() const { return assets2D_; }
    // The index of the 2D look a client was given; throws "No such client".
    u32 assigned2D(u32 clientID) const;

protected:
    virtual VisualSteerablePair createSteerable3D(const PlayerInfo& info, const Player3DAssets& assets) = 0;
    virtual VisualSteerablePair createSteerable2D(const PlayerInfo& info, const Player2DAssets& assets) = 0;
    // After the client's node left the parent and its record was erased.
    virtual void removeSteerable(u32 clientID) = 0;
    // After the client's node was added to the parent.
    virtual void onSteerableAdded(u32 clientID) = 0;
    // A client with a visual has a new player info; nothing by default.
    virtual void onPlayerChanged(const PlayerInfo& info) { (void)info; }

    SteerableUnitManager& units_;
    PlayerInfoManager& playerInfos_;
    ZOrderCalculator& zOrder_;

private:
    // Chooses the client's look (client ID modulo the number of looks of
    // both kinds, then modulo the 2D looks) and builds the visual.
    VisualSteerablePair createVisualFor(u32 clientID);
    void refreshSyncs();

    std::vector<Player3DAssets> assets3D_;
    std::vector<Player2DAssets> assets2D_;
    std::unordered_map<u32, u32> assigned2D_;
    std::map<u32, VisualSteerablePair> visuals_;
    std::vector<SteerableVisualSync*> syncs_;
    NodeMediator* parent_ = nullptr;
};

}  // namespace Zarn
