#pragma once

#include "foundation/Types.h"
#include "simulation/scene/InGameSceneParts.h"

namespace Zarn {

class NodeMediator;
class Trap;

// The world side of the trap visual factory: the engine side makes a trap's
// picture (`createTrap2D`); this part places it on the trap's cell and hangs
// it under the world root. The in-game scene owns the factory for the level's
// lifetime and asks it once per trap of the world's trap list; the spawning
// traps' adapters ask it again for every trap they make. Main thread only.
class Trap2DFactory : public SceneTrapVisualFactory {
public:
    // cellSize: the room's cell size in map units.
    explicit Trap2DFactory(i32 cellSize) : cellSize_(cellSize) {}

    // The picture of the trap; owned by the picture's node, which the caller
    // adds to a parent. Throws on a trap it cannot show.
    virtual NodeMediator* createTrap2D(Trap* trap) = 0;

    // createTrap2D, then the picture placed with its lower-left corner on the
    // trap's cell: position = cell x cellSize + half the picture's scaled
    // size (truncated to whole map units).
    NodeMediator* placeTrapPicture(Trap& trap);

    void setWorldRoot(NodeMediator* worldRoot) override { worldRoot_ = worldRoot; }
    // placeTrapPicture, then added under the world root.
    void createTrapVisual(Trap& trap) override;

    // The layer that holds the trap pictures; null until set. Not owned.
    NodeMediator* worldRoot() const { return worldRoot_; }
    i32 cellSize() const { return cellSize_; }

private:
    i32 cellSize_;
    NodeMediator* worldRoot_ = nullptr;
};

}  // namespace Zarn
