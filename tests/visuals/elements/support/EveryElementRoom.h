#pragma once

// The fixture room with one of each kind of picture a map can place, and
// where its elements stand (cells of 64 units). Header-only.

#include <tuple>
#include <utility>
#include <vector>

#include "ElementSceneFixture.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"

namespace zarn_test::room {

// Where things stand in the room (cells of 64 units).
inline const GeometryLib::Point kLeverCell(6, 4);
inline const GeometryLib::Point kCheckpointCell(4, 4);
inline const GeometryLib::Point kCoinCell(2, 4);
inline const GeometryLib::Point kControllerCell(0, 5);
inline const GeometryLib::Point kRightNoteCell(1, 5);
inline const GeometryLib::Point kWrongNoteCell(2, 5);
inline const GeometryLib::Point kSensorP1P2(1, 7);
inline const GeometryLib::FPoint kDrone(400.0f, 400.0f);

inline Zarn::WholeTileMapElement tile(u32 id, GeometryLib::Point cell) {
    Zarn::WholeTileMapElement r;
    r.elementId = id;
    r.cell = cell;
    return r;
}

inline Zarn::FreeMapElement prop(u32 id, GeometryLib::Point at) {
    Zarn::FreeMapElement r;
    r.elementId = id;
    r.position = at;
    return r;
}

inline Zarn::ScriptedSteerableElement figure(u32 id, u32 number, GeometryLib::Point at) {
    Zarn::ScriptedSteerableElement r;
    r.elementId = id;
    r.number = number;
    r.position = at;
    r.radius = 10;
    return r;
}

inline Zarn::AutomaticDoorElement automaticDoor(u32 id, u32 number, GeometryLib::Point at,
                                                GeometryLib::Point sensor) {
    Zarn::AutomaticDoorElement r;
    r.elementId = id;
    r.number = number;
    r.position = at;
    r.width = 64;
    r.height = 64;
    r.sensorCells.insert(sensor);
    return r;
}

// One of each kind of picture a map can place.
inline zarn_test::MapBuilder everyElement() {
    zarn_test::MapBuilder b = zarn_test::ElementSceneFixture::room();
    for (const auto& [id, cell] :
         std::vector<std::pair<u32, GeometryLib::Point>>{{29, GeometryLib::Point(0, 0)},
                                                         {148, GeometryLib::Point(1, 0)},
                                                         {31, GeometryLib::Point(2, 0)},
                                                         {155, GeometryLib::Point(9, 9)},
                                                         {402, GeometryLib::Point(8, 9)},
                                                         {434, GeometryLib::Point(9, 0)},
                                                         {54, GeometryLib::Point(9, 1)}})
        b.element(tile(id, cell));
    Zarn::ConveyorElement belt;
    belt.elementId = 140;
    belt.cell = GeometryLib::Point(3, 0);
    belt.number = 10;
    belt.direction = 3;
    belt.speed = 150.0f;
    b.element(belt);
    Zarn::TileNumberedMapElement checkpoint;
    checkpoint.elementId = 42;
    checkpoint.cell = kCheckpointCell;
    checkpoint.number = 11;
    b.element(checkpoint);

    Zarn::SwitchElement lever;
    lever.elementId = 35;
    lever.position = GeometryLib::Point(kLeverCell.x * 64 + 16, kLeverCell.y * 64 + 16);
    lever.number = 12;
    lever.firstActions.push_back(std::make_unique<Zarn::NumberActionData>(10, 13));
    lever.secondActions.push_back(std::make_unique<Zarn::NumberActionData>(11, 13));
    b.element(lever);
    Zarn::DoorElement door;
    door.elementId = 36;
    door.position = GeometryLib::Point(7 * 64, 6 * 64);
    door.number = 13;
    door.width = 64;
    door.height = 64;
    b.element(door);
    door.elementId = 37;
    door.position = GeometryLib::Point(8 * 64, 2 * 64);
    door.number = 17;
    b.element(door);
    b.element(automaticDoor(164, 14, GeometryLib::Point(0, 8 * 64), kSensorP1P2));
    b.element(automaticDoor(166, 15, GeometryLib::Point(5 * 64, 8 * 64), GeometryLib::Point(6, 7)));
    b.element(automaticDoor(165, 18, GeometryLib::Point(7 * 64, 8 * 64), GeometryLib::Point(8, 7)));
    Zarn::CoinElement coin;
    coin.elementId = 348;
    coin.position = GeometryLib::Point(kCoinCell.x * 64 + 32, kCoinCell.y * 64 + 32);
    coin.number = 16;
    coin.radius = 16;
    coin.value = 10;
    b.element(coin);

    Zarn::MusicalNoteControllerElement controller;
    controller.elementId = 379;
    controller.cell = kControllerCell;
    controller.number = 20;
    controller.noteSequences = {{21, 22}};
    controller.controllerTime = 0.5f;
    b.element(controller);
    for (const auto& [number, cell, pitch] : std::vector<std::tuple<u32, GeometryLib::Point, u8>>{
             {21, kRightNoteCell, 12}, {22, kWrongNoteCell, 24}}) {
        Zarn::MusicalNoteElement note;
        note.elementId = 383;
        note.cell = cell;
        note.number = number;
        note.note = pitch;
        b.element(note);
    }

    for (const auto& [id, at] :
         std::vector<std::pair<u32, GeometryLib::Point>>{{268, GeometryLib::Point(300, 580)},
                                                         {212, GeometryLib::Point(300, 0)},
                                                         {332, GeometryLib::Point(100, 350)},
                                                         {336, GeometryLib::Point(150, 350)},
                                                         {340, GeometryLib::Point(600, 600)},
                                                         {204, GeometryLib::Point(560, 600)}})
        b.element(prop(id, at));
    Zarn::CombinedElement<Zarn::FreeMapElement, Zarn::RectSubElement> plant;
    plant.elementId = 389;
    plant.position = GeometryLib::Point(560, 130);
    plant.width = 8;
    plant.height = 8;
    b.element(plant);
    // The cup stands where the drone's upper arm reaches it.
    b.element(prop(387, GeometryLib::Point(404, 449)));
    Zarn::ScriptedSteerableElement drone = figure(301, 32, GeometryLib::Point(400, 400));
    drone.actions.push_back(zarn_test::waitAction(0.3f));
    drone.actions.push_back(zarn_test::setValueAction(6));
    drone.actions.push_back(zarn_test::waitAction(0.6f));
    drone.actions.push_back(zarn_test::setValueAction(7));
    drone.actions.push_back(zarn_test::waitAction(0.6f));
    drone.actions.push_back(zarn_test::setValueAction(6));
    drone.actions.push_back(zarn_test::waitAction(0.6f));
    drone.actions.push_back(zarn_test::setValueAction(8));
    b.element(drone);
    b.element(figure(300, 30, GeometryLib::Point(500, 150)));
    b.element(figure(302, 31, GeometryLib::Point(550, 500)));
    b.element(figure(358, 33, GeometryLib::Point(200, 520)));
    return b;
}

}  // namespace zarn_test::room
