#pragma once

#include "simulation/adapters/Element2D.h"
#include "simulation/adapters/Trap2DFactory.h"
#include "visuals/traps/TrapAnimations.h"

class MediatedSprite;

namespace Zarn {
class CellGrid;
class SteerableUnitManager;
class ZOrderCalculator;
}  // namespace Zarn

// The engine side of the trap visual factory: makes the picture of a trap by
// its record's type ID, after checking the trap's class, and scales it to 0.4
// (the spawning traps' invisible nodes keep scale 1).
//
// clang-format off
// | type IDs                  | trap class                | refused with                                  | visual |
// | 43, 44, 45, 134, 143, 356 | BaseIntervalTrap          | "not interval trap"                           | four-panel door |
// | 46, 127                   | BaseIntervalTrap          | "Not interval trap type"                      | spike on "spike_grill.png" |
// | 47, 48, 49, 50, 51        | RatTrap                   | "Not a rat trap type"                         | rat trap |
// | 55                        | BaseIntervalTrap          | "Not interval trap type"                      | vortex on "Trap_Door_Base.png" |
// | 56                        | IntervalTrap              | "Not interval trap type"                      | red-green sign |
// | 121                       | ScheduledTrap             | "not scheduled trap type"                     | scheduled four-panel door |
// | 122                       | ScheduledTrap             | "not scheduled trap type"                     | scheduled spike on "Spike_Trap_Grill.png" |
// | 128                       | Bomb                      | "not a bomb"                                  | bomb |
// | 129                       | FollowSpawningTrap        | "not follow trap type"                        | invisible spawning node |
// | 130                       | TrapSpawningTrap          | "not tst type"                                | invisible spawning node |
// | 131                       | IntervalTrap, line record | "not interval trap", "not line trap element"  | cannon |
// | 132, 136                  | FollowHitTrap             | "not follow hit trap"                         | boss arm (136 mirrored) |
// | 133                       | Boss                      | "not boss trap"                               | boss |
// clang-format on
// Any other ID: "No such trap id". Refusals are Convinience::Error.
//
// The scene owns the factory for the level's lifetime and builds it with its
// tile table, calculator, the players' units (the boss's eyes follow the
// first) and the room's grid; all of them outlive the factory. The pictures
// belong to the node tree. Main thread only.
class CocosTrap2DFactory : public Zarn::Trap2DFactory {
public:
    CocosTrap2DFactory(Zarn::TileVisualGroups* tileVisuals, Zarn::ZOrderCalculator* zOrder,
                       const Zarn::SteerableUnitManager* players, const Zarn::CellGrid* grid);

    Zarn::NodeMediator* createTrap2D(Zarn::Trap* trap) override;

    TrapAnimationFactoryImpl& animationFactory() { return animationFactory_; }

private:
    Zarn::NodeMediator* makeFourPanelDoor(Zarn::Trap* trap);
    Zarn::NodeMediator* makeSpike(Zarn::Trap* trap);
    Zarn::NodeMediator* makeScheduledSpike(Zarn::Trap* trap);
    Zarn::NodeMediator* makeRatTrap(Zarn::Trap* trap);
    Zarn::NodeMediator* makeVortex(Zarn::Trap* trap);
    Zarn::NodeMediator* makeRedGreenSign(Zarn::Trap* trap);
    Zarn::NodeMediator* makeScheduledDoor(Zarn::Trap* trap);
    Zarn::NodeMediator* makeBomb(Zarn::Trap* trap);
    Zarn::NodeMediator* makeFollowSpawner(Zarn::Trap* trap);
    Zarn::NodeMediator* makeTrapSpawner(Zarn::Trap* trap);
    Zarn::NodeMediator* makeCannon(Zarn::Trap* trap);
    Zarn::NodeMediator* makeArm(Zarn::Trap* trap);
    Zarn::NodeMediator* makeBoss(Zarn::Trap* trap);
    // A simple trap visual on its fixed frame over the base sprite that plays
    // the record's actions; raised: the visual takes its row's raised band.
    template <class Visual, class T>
    Zarn::NodeMediator* makeOnBase(T* trap, MediatedSprite* base, const char* frame, bool raised);

    Zarn::TileVisualGroups* tileVisuals_;
    Zarn::ZOrderCalculator* zOrder_;
    const Zarn::SteerableUnitManager* players_;
    const Zarn::CellGrid* grid_;
    TrapAnimationFactoryImpl animationFactory_;
};
