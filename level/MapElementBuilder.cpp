#include "level/MapElementBuilder.h"

#include <algorithm>
#include <type_traits>

#include "foundation/Error.h"
#include "foundation/GridCells.h"
#include "level/ElementRegistrations.h"
#include "level/InteractiveElementStore.h"
#include "level/ScriptedActionBuilder.h"
#include "map/import/GameMap.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapErrors.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "world/effects/Kill.h"
#include "world/elements/BlockableAvoid.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/Collectable.h"
#include "world/elements/Door.h"
#include "world/elements/ElementGroup.h"
#include "world/elements/ElevatorPad.h"
#include "world/elements/Floor.h"
#include "world/elements/LevelUpMode.h"
#include "world/elements/Lever.h"
#include "world/elements/LeverEffect.h"
#include "world/elements/MusicalNote.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/ScriptedSteerableIME.h"
#include "world/elements/SteerableIME.h"
#include "world/elements/Wander.h"
#include "world/steering/SteerableCollide.h"
#include "world/steering/SteerableProximity.h"
#include "world/steering/SteerableSimulator.h"
#include "world/traps/TrapGroup.h"
#include "world/traps/TrapKills.h"
#include "world/triggers/ActionFactory.h"
#include "world/triggers/EventTriggerSet.h"
#include "world/triggers/TimerEventTrigger.h"
#include "world/units/SecondarySteerableUnit.h"
#include "world/units/SecondaryUnitIndex.h"

namespace Zarn {

namespace {

using GeometryLib::FPoint;
using GeometryLib::Point;

constexpr float kKillWait = 2.0f;
constexpr float kBeltSpeed = 150.0f;
constexpr float kCoinHalfSize = 30.0f;

std::vector<Point> cellsOf(const GeometryLib::CellSet& set) {
    return std::vector<Point>(set.begin(), set.end());
}

FPoint conveyorPush(u8 direction, float speed) {
    switch (direction) {
        case 0:
            return {0.0f, speed};
        case 1:
            return {0.0f, -speed};
        case 2:
            return {-speed, 0.0f};
        case 3:
            return {speed, 0.0f};
        default:
            return {0.0f, 0.0f};
    }
}

}  // namespace

MapElementBuilder::MapElementBuilder(WorldParts& world, ElementRegistrations& registrations,
                                     ScriptedActionBuilder& scripts)
    : world_(world), registrations_(registrations), scripts_(scripts), doorCells_(world.map.grid) {}

void MapElementBuilder::buildElements() {
    grouped_.clear();
    props_.clear();
    doorCells_.clear();
    for (const std::unique_ptr<MapElement>& record : world_.map.mapElements) {
        if (record) build(*record);
    }
    for (const GroupedNumberedElement* record : grouped_) buildGroup(*record);
    grouped_.clear();
    // Nothing below throws: the moving props are filed only once every
    // element of the map is built.
    SecondarySteerableIMETrigger& moving = world_.triggers.movingElementTrigger();
    for (const PendingProp& prop : props_) {
        moving.addElement(prop.number, *prop.element);
        world_.secondaryIndex.add(prop.number, prop.unit);
        world_.simulator.addSecondaryUnit(&prop.unit->unit);
    }
    props_.clear();
}

void MapElementBuilder::checkDoorRect(const DoorElement& door) {
    if (!doorCells_.take(door.width, door.height)) throw Convinience::Error(mapError::badMap);
}

void MapElementBuilder::undoBlockables() {
    for (Door* door : doors_) world_.map.blockables.removeBlockable(*door);
    doors_.clear();
    props_.clear();
    grouped_.clear();
}

template <class E>
E& MapElementBuilder::place(std::unique_ptr<E> element, const u32* number, bool updatable,
                            const std::vector<Point>* cells) {
    E& placed = *element;
    world_.elements.push_back(std::move(element));
    if (number) world_.numbered.add(*number, &placed);
    if constexpr (std::is_base_of_v<UpdatableInteractiveMapElement, E>) {
        if (updatable) world_.updatables.add(&placed);
    }
    if (cells) registrations_.add(placed, *cells);
    return placed;
}

std::unique_ptr<Effect> MapElementBuilder::tileKill(const WholeTileMapElement& record, u32 deathState) {
    return std::make_unique<SlowStopKillThenWait>(world_.spawnPoints, world_.map.grid, deathState, kKillWait,
                                                  record.cell);
}

SecondarySteerableUnit& MapElementBuilder::makeProp(const FreeNumberedMapElement& record, u32 radius,
                                                    float maxSpeed, float maxForce) {
    const u32 handle = kFirstSecondaryUnitHandle + static_cast<u32>(world_.secondaryUnits.size());
    auto unit = std::make_unique<SecondarySteerableUnit>(handle);
    // A body larger than the room reaches no further than the room does; the
    // cap keeps a record's radius from making the unit's cell box (which the
    // secondary unit index files) arbitrarily large.
    const MapProperties& room = world_.map.grid.getProperties();
    const u32 roomSide = std::max<u32>({room.width, room.height, 1u});
    unit->radius = static_cast<float>(std::min(radius, roomSide));
    unit->cellSize = world_.map.grid.getCellSize();
    SteerableKinematics& body = unit->unit.body();
    body.maxSteeringSpeed = maxSpeed;
    body.maxSteeringForce = maxForce;
    body.position = FPoint(record.position);
    SecondarySteerableUnit& made = *unit;
    world_.secondaryUnits.push_back(std::move(unit));
    return made;
}

void MapElementBuilder::build(MapElement& record) {
    const u32 id = record.elementId;
    const CellGrid& grid = world_.map.grid;
    switch (id) {
        case 30:
        case 31:
        case 32:
        case 33:
        case 34:
        case 54:
        case 137: {
            auto& tile = Convinience::castOrThrow<WholeTileMapElement>(&record, "not whole tile element");
            std::unique_ptr<Effect> effect;
            if (id == 30) {
                effect = std::make_unique<ZeroFriction>();
            } else if (id == 31) {
                effect = std::make_unique<ConveyerEffect>(FPoint(0.0f, kBeltSpeed));
            } else if (id == 32) {
                effect = std::make_unique<ConveyerEffect>(FPoint(kBeltSpeed, 0.0f));
            } else if (id == 33) {
                effect = std::make_unique<ConveyerEffect>(FPoint(0.0f, -kBeltSpeed));
            } else if (id == 34) {
                effect = std::make_unique<ConveyerEffect>(FPoint(-kBeltSpeed, 0.0f));
            } else {
                effect = tileKill(tile, id == 54 ? 5 : 22);
            }
            auto floor = std::make_unique<Floor>(tile, std::move(effect));
            floor->enable();
            const std::vector<Point> cells{tile.cell};
            place(std::move(floor), nullptr, false, &cells);
            return;
        }
        case 138:
        case 139: {
            auto& tile = Convinience::castOrThrow<TileNumberedMapElement>(&record, wrongRecordClass);
            auto floor = std::make_unique<Floor>(tile, tileKill(tile, id == 138 ? 22 : 5));
            const std::vector<Point> cells{tile.cell};
            place(std::move(floor), &tile.number, false, &cells);
            return;
        }
        case 140: {
            auto& belt = Convinience::castOrThrow<ConveyorElement>(&record, "not a conveyor element");
            auto floor = std::make_unique<Floor>(
                belt, std::make_unique<ConveyerEffect>(conveyorPush(belt.direction, belt.speed)));
            floor->enable();
            const std::vector<Point> cells{belt.cell};
            place(std::move(floor), &belt.number, false, &cells);
            return;
        }
        case 42:
        case 440:
        case 441:
        case 442: {
            auto& tile =
                Convinience::castOrThrow<TileNumberedMapElement>(&record, "not numbered tile element");
            auto effect = std::make_unique<CheckpointEffect>(world_.spawnPoints);
            CheckpointEffect* raw = effect.get();
            auto checkpoint = std::make_unique<Checkpoint>(tile, std::move(effect));
            raw->checkpoint = checkpoint.get();
            const std::vector<Point> cells{tile.cell};
            place(std::move(checkpoint), &tile.number, false, &cells);
            return;
        }
        case 35:
        case 59:
        case 135: {
            auto& lever = Convinience::castOrThrow<SwitchElement>(&record, "not switch element");
            auto commands = [&](const ActionList& list) {
                ActionCommands made;
                for (const auto& action : list) {
                    if (action) made.push_back(world_.actions.makeCommand(*action));
                }
                return made;
            };
            ActionCommands off = commands(lever.firstActions);
            ActionCommands on = commands(lever.secondActions);
            std::unique_ptr<Lever> made;
            if (id == 35) {
                auto effect = std::make_unique<LeverEffect>(std::move(off), std::move(on));
                LeverEffect* raw = effect.get();
                made = std::make_unique<Lever>(lever, std::move(effect), grid);
                raw->lever = made.get();
            } else {
                auto effect = std::make_unique<MultiLeverEffect>(std::move(off), std::move(on),
                                                                 world_.numbered, lever.number);
                if (id == 59) {
                    made = std::make_unique<MultiLever>(
                        Convinience::castOrThrow<MultiSwitchElement>(&record, "not switch element"),
                        std::move(effect), grid);
                } else {
                    made = std::make_unique<SelectiveMultiLever>(
                        Convinience::castOrThrow<SelectiveMultiSwitchElement>(&record, "not switch element"),
                        std::move(effect), grid);
                }
            }
            const std::vector<Point> cells{made->cell};
            place(std::move(made), &lever.number, false, &cells);
            return;
        }
        case 36:
        case 37:
        case 38: {
            auto& doorRecord = Convinience::castOrThrow<DoorElement>(&record, wrongRecordClass);
            checkDoorRect(doorRecord);
            auto door = std::make_unique<Door>(doorRecord, grid, &world_.map.blockables);
            Door& placed = place(std::move(door), &doorRecord.number, false, nullptr);
            world_.map.blockables.addBlockable(placed);
            doors_.push_back(&placed);
            return;
        }
        case 60: {
            auto& padRecord =
                Convinience::castOrThrow<ElevatorPadElement>(&record, "not elevatorPad element");
            auto effect = std::make_unique<ElevatorPadEffect>(padRecord, world_.units, grid);
            ElevatorPadEffect* raw = effect.get();
            auto pad = std::make_unique<ElevatorPad>(padRecord, std::move(effect));
            raw->padState = &pad->state;
            const std::vector<Point> cells{padRecord.cell};
            place(std::move(pad), &padRecord.number, true, &cells);
            return;
        }
        case 348:
        case 349:
        case 350:
        case 351:
        case 352:
        case 353:
        case 354:
        case 355: {
            auto& coin = Convinience::castOrThrow<CoinElement>(&record, "not coin element");
            auto collectable =
                std::make_unique<Collectable>(coin, std::make_unique<MoneyEffect>(world_.money, coin.value));
            const std::vector<Point> cells =
                cellsOf(GeometryLib::cellsCoveredByBox(coin.position, grid.getCellSize(), kCoinHalfSize));
            place(std::move(collectable), &coin.number, false, &cells);
            return;
        }
        case 164:
        case 165:
        case 166:
        case 167: {
            auto& doorRecord =
                Convinience::castOrThrow<AutomaticDoorElement>(&record, "not automatic door eleemnt");
            checkDoorRect(doorRecord);
            auto door =
                std::make_unique<AutomaticDoor>(doorRecord, grid, &world_.map.blockables,
                                                std::make_unique<SteerableProximityImpl>(world_.units, grid));
            const std::vector<Point>& cells = doorRecord.sensorCells.points();
            AutomaticDoor& placed = place(std::move(door), &doorRecord.number, true, &cells);
            world_.map.blockables.addBlockable(placed);
            doors_.push_back(&placed);
            return;
        }
        case 300: {
            using Circle = CombinedElement<FreeNumberedMapElement, CircleSubElement>;
            auto& circle = Convinience::castOrThrow<Circle>(&record, "not circle element");
            SecondarySteerableUnit& prop = makeProp(circle, circle.radius, 30.0f, 10.0f);
            // addSteering drops the wander while the unit's own-behaviour switch is off.
            prop.unit.motion.addSteering(Wander::fromDegrees(&prop.unit, 30.0f, 90.0f));
            prop.unit.motion.addLateSteering(
                std::make_unique<BlockableAvoid>(&prop.unit, world_.map.blockables));
            prop.unit.motion.addLateSteering(
                std::make_unique<SteerableCollide>(&prop.unit, &world_.secondaryIndex));
            auto element = std::make_unique<SteerableIME>(
                circle, prop, std::make_unique<Kill>(world_.spawnPoints, grid, 22, kKillWait));
            SteerableIME& placed = place(std::move(element), &circle.number, true, nullptr);
            props_.push_back({circle.number, &placed, &prop});
            return;
        }
        case 301:
        case 302:
        case 358: {
            auto& scripted =
                Convinience::castOrThrow<ScriptedSteerableElement>(&record, "not circle element");
            const bool fast = id == 358;
            SecondarySteerableUnit& prop =
                makeProp(scripted, scripted.radius, fast ? 300.0f : 40.0f, fast ? 80.0f : 5.0f);
            auto element = std::make_unique<ScriptedSteerableIME>(scripted, prop);
            ScriptedSteerableIME& placed = place(std::move(element), &scripted.number, true, nullptr);
            // The figure is in the element list already: actions that file it
            // on cells are taken back with it when the load fails.
            placed.runner.setLoop(scripted.scriptFlag != 0);
            placed.runner.setActions(scripts_.buildActions(scripted.actions, placed));
            props_.push_back({scripted.number, &placed, &prop});
            return;
        }
        case 379:
        case 383:
        case 384:
        case 385:
        case 386: {
            auto& noteRecord = Convinience::castOrThrow<MusicalNoteElement>(&record, "not note element");
            std::unique_ptr<MusicalNote> note;
            if (id == 379) {
                auto& controllerRecord = Convinience::castOrThrow<MusicalNoteControllerElement>(
                    &record, "not note controller element");
                auto controller =
                    std::make_unique<MusicalNoteController>(controllerRecord, tileKill(controllerRecord, 22),
                                                            world_.numbered, world_.actions, world_.allNotes);
                controller->pauseTime = 1.0f;
                controller->doneDelay = 1.0f;
                note = std::move(controller);
            } else {
                note = std::make_unique<MusicalNote>(noteRecord, tileKill(noteRecord, 22));
            }
            note->litTime = 1.0f;
            note->doneTime = 1.0f;
            note->failTime = 1.0f;
            note->flashTime = 0.1f;
            const std::vector<Point> cells{noteRecord.cell};
            place(std::move(note), &noteRecord.number, true, &cells);
            return;
        }
        case 443: {
            auto& modeRecord =
                Convinience::castOrThrow<LevelUpModeElement>(&record, "not level up mode element");
            auto mode = std::make_unique<LevelUpMode>(world_.store, world_.units, modeRecord);
            place(std::move(mode), &modeRecord.modeNumber, true, &modeRecord.areaCells.points());
            return;
        }
        case 141:
        case 142:
            grouped_.push_back(
                &Convinience::castOrThrow<GroupedNumberedElement>(&record, "not a grouped ime"));
            return;
        default:
            return;
    }
}

void MapElementBuilder::buildGroup(const GroupedNumberedElement& record) {
    std::vector<InteractiveMapElement*> members;
    members.reserve(record.memberNumbers.size());
    for (u32 number : record.memberNumbers) members.push_back(&world_.numbered.get(number));
    auto group = std::make_unique<NumberedInteractiveElementGroup>(record, std::move(members));
    if (record.groupFlag != 0) group->setSequential();
    place(std::move(group), &record.number, true, nullptr);
}

}  // namespace Zarn
