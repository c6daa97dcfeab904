#include "simulation/adapters/SpawningTrap2D.h"

#include <vector>

#include "foundation/Error.h"
#include "simulation/adapters/Trap2DFactory.h"

namespace Zarn {

BaseSpawningTrap2D::BaseSpawningTrap2D(Trap2DFactory* factory, BaseSpawningTrap* trap,
                                       Sprite2DMediator* mediator, TileVisualGroups* tileVisuals)
    : factory_(factory), trap_(trap), mediator_(mediator), tileVisuals_(tileVisuals) {}

NodeMediator* BaseSpawningTrap2D::childPicture(u32 number) const {
    const auto it = children_.find(number);
    return it == children_.end() ? nullptr : it->second.picture;
}

void BaseSpawningTrap2D::syncVisual() {
    // The trap's own table is the list its state reports.
    const std::map<u32, BaseSpawningTrap::SpawnedTrap>& live = trap_->spawned;

    std::vector<u32> gone;
    for (const auto& [number, child] : children_) {
        const auto it = live.find(number);
        if (it == live.end() || it->second.trap != child.trap) gone.push_back(number);
    }
    std::vector<std::pair<u32, Trap*>> added;
    for (const auto& [number, entry] : live) {
        if (entry.trap == nullptr) continue;
        const auto it = children_.find(number);
        if (it == children_.end() || it->second.trap != entry.trap) added.emplace_back(number, entry.trap);
    }
    if (gone.empty() && added.empty()) return;

    NodeMediator* parent = factory_->worldRoot();
    if (parent == nullptr) throw Convinience::Error("trap factory has no world root");
    for (u32 number : gone) {
        const Child child = children_.at(number);
        children_.erase(number);
        parent->removeChild(child.picture);
        onChildRemoved(child);
    }
    for (const auto& [number, trap] : added) {
        NodeMediator* picture = pictureFromBirth(*trap);
        parent->addChild(picture);
        children_[number] = Child{trap, picture, trap->trapRecord->position};
    }
}

NodeMediator* BaseSpawningTrap2D::pictureFromBirth(Trap& child) {
    auto* state = dynamic_cast<IntervalTrapIMEState*>(&child.getState());
    if (state == nullptr) return factory_->placeTrapPicture(child);
    const IntervalTrapIMEState now = *state;
    state->hidden = child.trapRecord->flag != 0 ? 1 : 0;
    state->value = child.trapRecord->startsActive != 0 ? EIntervalTrapState::active : EIntervalTrapState::idle;
    NodeMediator* picture = nullptr;
    try {
        picture = factory_->placeTrapPicture(child);
    } catch (...) {
        *state = now;
        throw;
    }
    *state = now;
    return picture;
}

void TrapSpawningTrap2D::onChildRemoved(const Child& child) {
    if (tileVisuals_ == nullptr) return;
    const auto it = tileVisuals_->find(child.cell);
    if (it == tileVisuals_->end()) return;
    const VisualNodeMediator* own = mediator_;
    for (VisualNodeMediator* v : it->second)
        if (v != own) v->onShowHide(1, 0);
}

}  // namespace Zarn
