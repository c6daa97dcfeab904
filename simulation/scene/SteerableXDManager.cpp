#include "simulation/scene/SteerableXDManager.h"

#include "foundation/Error.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "world/adapters/NodeMediator.h"

namespace Zarn {

SteerableXDManager::SteerableXDManager(SteerableUnitManager& units, PlayerInfoManager& playerInfos,
                                       ZOrderCalculator& zOrder)
    : units_(units), playerInfos_(playerInfos), zOrder_(zOrder) {
    for (const auto& pair : boyTexturePairs()) assets3D_.push_back(makePlayer3DAssets("3D/boy/", pair));
    for (const auto& pair : girlTexturePairs()) assets3D_.push_back(makePlayer3DAssets("3D/girl/", pair));
    assets2D_.push_back(makePlayer2DAssets());
}

SteerableXDManager::~SteerableXDManager() = default;

u32 SteerableXDManager::assigned2D(u32 clientID) const {
    auto it = assigned2D_.find(clientID);
    if (it == assigned2D_.end()) throw Convinience::Error("No such client");
    return it->second;
}

VisualSteerablePair SteerableXDManager::createVisualFor(u32 clientID) {
    if (!playerInfos_.hasInfo(clientID)) throw Convinience::Error("no such player info");
    const PlayerInfo& info = playerInfos_.getInfo(clientID);
    const u32 count2D = static_cast<u32>(assets2D_.size());
    if (count2D == 0) throw Convinience::Error("no 2D assets are available! cannot create 2D model");
    const u32 count3D = static_cast<u32>(assets3D_.size());
    const u32 look = clientID % (count3D + count2D) % count2D;
    if (look >= assets2D_.size()) throw Convinience::Error("No such asset");
    assigned2D_[clientID] = look;
    return createSteerable2D(info, assets2D_[assigned2D(clientID)]);
}

void SteerableXDManager::addSteerable3D(u32 clientID) {
    if (parent_ == nullptr) throw Convinience::Error("steerable3D parent is nullptr");
    const VisualSteerablePair pair = createVisualFor(clientID);
    visuals_[clientID] = pair;
    refreshSyncs();
    parent_->addChild(pair.node);
    onSteerableAdded(clientID);
}

void SteerableXDManager::removeSteerable3D(u32 clientID) {
    if (parent_ == nullptr) throw Convinience::Error("steerable3D parent is nullptr");
    auto it = visuals_.find(clientID);
    if (it == visuals_.end()) return;
    parent_->removeChild(it->second.node);
    visuals_.erase(it);
    refreshSyncs();
    removeSteerable(clientID);
}

void SteerableXDManager::playerChanged(u32 clientID) {
    if (visuals_.count(clientID) == 0 || !playerInfos_.hasInfo(clientID)) return;
    onPlayerChanged(playerInfos_.getInfo(clientID));
}

void SteerableXDManager::refreshSyncs() {
    syncs_.clear();
    for (const auto& [id, pair] : visuals_) {
        if (pair.sync != nullptr) syncs_.push_back(pair.sync);
    }
}

NodeMediator* SteerableXDManager::getVisualSteerable(u32 clientID) const {
    auto it = visuals_.find(clientID);
    if (it == visuals_.end()) throw Convinience::Error("not valid visual steerable client");
    return it->second.node;
}

SteerableVisualSync* SteerableXDManager::getVisualSync(u32 clientID) const {
    auto it = visuals_.find(clientID);
    if (it == visuals_.end()) throw Convinience::Error("not valid visual steerable client");
    return it->second.sync;
}

NodeMediator* SteerableXDManager::findVisualSteerable(u32 clientID) const {
    auto it = visuals_.find(clientID);
    return it == visuals_.end() ? nullptr : it->second.node;
}

}  // namespace Zarn
