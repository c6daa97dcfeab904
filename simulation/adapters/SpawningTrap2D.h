#pragma once

#include <map>

#include "simulation/adapters/Element2D.h"
#include "world/traps/SpawningTrap.h"

namespace Zarn {

class Trap2DFactory;

// The adapter of a trap that makes other traps during play. The world's
// spawning trap makes and removes its children itself (through the trap
// factory, which owns them); the adapter keeps one picture per child, made by
// the trap visual factory and hung under the factory's world root, and drops
// a child's picture in the first frame in which the child is gone from the
// trap's list (or was replaced by another trap under the same number). The
// pictures follow the list whether the trap is enabled or not: a disabled
// spawner's children may have been removed by a reset, and a picture must not
// outlive the trap it watches.
//
// The factory, the trap and the visual outlive the adapter. Destroying the
// adapter leaves the child pictures where they are (the scene tears its node
// tree down as a whole).
class BaseSpawningTrap2D {
public:
    BaseSpawningTrap2D(Trap2DFactory* factory, BaseSpawningTrap* trap, Sprite2DMediator* mediator,
                       TileVisualGroups* tileVisuals);
    virtual ~BaseSpawningTrap2D() = default;
    BaseSpawningTrap2D(const BaseSpawningTrap2D&) = delete;
    BaseSpawningTrap2D& operator=(const BaseSpawningTrap2D&) = delete;

    // Nothing to place: the spawning trap's own node shows nothing.
    virtual void setupVisual() {}
    // Pictures of gone children removed (in number order), then pictures of
    // new children made and added (in the list's order). Throws
    // Convinience::Error("trap factory has no world root") when a picture is
    // due and the factory has no world root.
    virtual void syncVisual();

    // The picture of the child with this number, or null.
    NodeMediator* childPicture(u32 number) const;
    std::size_t childCount() const { return children_.size(); }

protected:
    struct Child {
        Trap* trap = nullptr;
        NodeMediator* picture = nullptr;
        GeometryLib::Point cell;
    };
    // After the child's picture has left the world root.
    virtual void onChildRemoved(const Child&) {}
    // The child's picture, set up against the state the child was made in
    // (hidden as its record says, at its rest value): the child has run a
    // tick or more before its picture exists, and the picture must still
    // play those first changes (a bomb's fall, a trap's appearing). The
    // child's live state is put back before the call returns; no world code
    // runs in between.
    NodeMediator* pictureFromBirth(Trap& child);

    Trap2DFactory* factory_;
    BaseSpawningTrap* trap_;
    Sprite2DMediator* mediator_;
    TileVisualGroups* tileVisuals_;
    // By the number the trap files the child under; pictures are owned by the
    // node tree.
    std::map<u32, Child> children_;
};

// The small and large spawners: a removed child's floor shows again.
class TrapSpawningTrap2D : public BaseSpawningTrap2D {
public:
    using BaseSpawningTrap2D::BaseSpawningTrap2D;

protected:
    // Every floor-tile visual of the child's cell except this trap's own
    // picture gets onShowHide(1, 0).
    void onChildRemoved(const Child& child) override;
};

// The boss's bomb dropper: its children are the bombs.
class FollowSpawningTrap2D : public BaseSpawningTrap2D {
public:
    using BaseSpawningTrap2D::BaseSpawningTrap2D;
};

}  // namespace Zarn
