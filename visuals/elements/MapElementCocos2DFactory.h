#pragma once

#include <random>
#include <string>
#include <unordered_map>

#include "simulation/adapters/MapElement2DFactory.h"
#include "visuals/elements/DeliveryDrone.h"

namespace cocos2d {
class Node;
}
namespace Zarn {
class SteerableXDManager;
}

// One of "p2_floor_0.png" (three chances in ten) and "p2_floor_2.png": a draw
// of 1 to 10 above 7 gives the first. The one-argument form draws from a
// freshly seeded engine each call.
std::string randomFloorTileName(std::mt19937& engine);
std::string randomFloorTileName();

// The engine side of the map element visual factory: makes each element's
// picture by its type ID, scales it to 0.4 (the art has 160 units a cell),
// wires it to the world element of the record's number and hands back the
// mediator of its outermost node.
//
// Tile elements:
// - 42, 440 to 442: checkpoint, variant 1 to 4;
// - 60: elevator pad;
// - 140: conveyor tile, a DynamicConveyor at the record's speed, turned by
//   its direction (0: -90, 1: 90, 2: -180, else no turn);
// - 379: the musical note controller's tile; 383 to 386: note tiles, with
//   their four corners hidden;
// - any other: a plain tile of the row's frame; 148 and 149 take a random
//   floor, 31 to 34 run the belt (Conveyor_1..5 and back at 1/15 s).
// Free elements:
// - 35, 59, 135: lever;  36, 37: door;
// - 164 to 167: automatic door, variant type - 163;
// - 212: the conveyor machine;
// - 268 to 271: big window, variant type - 267, following the local player;
// - 300, 302: roomba with its cat (302 is the dialog speaker "Cat");
// - 301: delivery drone;  358: PART (the dialog speaker "PART");
// - 332, 336: cat (336 mirrored), watching the local player;
// - 348 to 355: coin;
// - 389 to 394: plant with a random top "p2_plant_top_0.png" .. 2;
// - any other: a plain prop of the row's frame; 387 and 388 are the drones'
//   delivery targets.
// IDs 60, 271, 349 to 355 and 384 to 386 have no row in the element visual
// tables, so no map places them; the factory still makes their pictures.
//
// A number without element throws "No such element number", an element of
// another class "numbered element is of wrong type", a record of another
// class "map element record of wrong class"; a picture that cannot be made
// (a frame missing from the cache) "element visual could not be made". The
// scene owns the factory for the level's lifetime and sets the members below
// (and the base's) before the element pass; they belong to the scene and the
// client and outlive the factory. Main thread only.
class MapElementCocos2DFactory : public Zarn::MapElement2DFactory {
public:
    Zarn::Sprite2DMediator* createTileElementVisual(const Zarn::ElementVisual& visual,
                                                    const Zarn::WholeTileMapElement& record) override;
    Zarn::Sprite2DMediator* createFreeElementVisual(const Zarn::ElementVisual& visual,
                                                    const Zarn::FreeMapElement& record) override;

    // A tile picture on every key cell of the map (keyCells): over the floor
    // of its row, under everything that stands on it.
    std::vector<Zarn::NodeMediator*> createCellMarks(const Zarn::GameMap& map) override;

    // The world's elements by number.
    const Zarn::NumberedElementGroup* numberedElements = nullptr;
    // The scene's player visuals (the local player is client 0); may be null.
    Zarn::SteerableXDManager* steerableVisuals = nullptr;
    // The scene's speaker nodes for the dialog window; may be null.
    std::unordered_map<std::string, cocos2d::Node*>* speakerNodes = nullptr;

    // The coffee cups that the drones carry, in the order made.
    const DeliveryTargets& droneDeliveryTargets() const { return deliveryTargets_; }

private:
    template <class T>
    T* numbered(u32 number) const;
    // The local player's visual node, or null.
    cocos2d::Node* playerVisual() const;
    void registerSpeaker(const std::string& name, cocos2d::Node* node);

    Zarn::Sprite2DMediator* makePlainTile(const Zarn::ElementVisual& visual);
    Zarn::Sprite2DMediator* makeCheckpoint(const Zarn::ElementVisual& visual,
                                           const Zarn::WholeTileMapElement& record);
    Zarn::Sprite2DMediator* makeElevatorPad(const Zarn::WholeTileMapElement& record);
    Zarn::Sprite2DMediator* makeConveyorTile(const Zarn::WholeTileMapElement& record);
    // A hole or pit that is harmless until enabled (138, 139): the table's
    // hatch while its floor is disabled, the deadly look once enabled.
    Zarn::Sprite2DMediator* makeDormantFloor(const Zarn::ElementVisual& visual,
                                             const Zarn::WholeTileMapElement& record);
    Zarn::Sprite2DMediator* makeMusicalNote(const Zarn::ElementVisual& visual,
                                            const Zarn::WholeTileMapElement& record);
    Zarn::Sprite2DMediator* makeLever(const Zarn::ElementVisual& visual, const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makeDoor(const Zarn::ElementVisual& visual, const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makeAutomaticDoor(const Zarn::ElementVisual& visual,
                                              const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makeMachine();
    Zarn::Sprite2DMediator* makeBigWindow(const Zarn::ElementVisual& visual);
    Zarn::Sprite2DMediator* makeRoomba(const Zarn::ElementVisual& visual, const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makeDrone(const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makeCat(const Zarn::ElementVisual& visual);
    Zarn::Sprite2DMediator* makeCoin(const Zarn::ElementVisual& visual, const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makePart(const Zarn::FreeMapElement& record);
    Zarn::Sprite2DMediator* makePlant(const Zarn::ElementVisual& visual);

    // Raw pointers: the cups are props of the room and live as long as it.
    DeliveryTargets deliveryTargets_;
};
