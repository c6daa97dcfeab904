#pragma once

#include <memory>
#include <vector>

#include "foundation/Geometry.h"
#include "grid/RectCellBudget.h"
#include "level/WorldParts.h"

namespace Zarn {

class Door;
class DoorElement;
class Effect;
class FreeNumberedMapElement;
class ElementRegistrations;
class GroupedNumberedElement;
class MapElement;
class ScriptedActionBuilder;
class ScriptedSteerableIME;
class SecondarySteerableUnit;
class WholeTileMapElement;

// Turns the map element records of a loaded map into interactive elements, by
// element ID (IDs it does not list are skipped):
//
// | IDs            | record class                 | element; effect; filings |
// | 30             | WholeTileMapElement          | Floor (enabled); ZeroFriction |
// | 31 to 34       | WholeTileMapElement          | Floor (enabled); belt of 150 along +y, +x, -y, -x |
// | 54, 137        | WholeTileMapElement          | Floor (enabled); kill 5 / 22 |
// | 138, 139       | TileNumberedMapElement       | Floor (disabled); kill 22 / 5; numbered |
// | 140            | ConveyorElement              | Floor (enabled); belt by direction and speed; numbered |
// | 42, 440 to 442 | TileNumberedMapElement       | Checkpoint; CheckpointEffect; numbered |
// | 35             | SwitchElement                | Lever; LeverEffect; numbered; on its cell |
// | 59             | MultiSwitchElement           | MultiLever; MultiLeverEffect; numbered; on its cell |
// | 135            | SelectiveMultiSwitchElement  | SelectiveMultiLever; as 59 |
// | 36, 37, 38     | DoorElement                  | Door; blockable; numbered |
// | 60             | ElevatorPadElement           | ElevatorPad; ElevatorPadEffect; numbered; updated |
// | 348 to 355     | CoinElement                  | Collectable; MoneyEffect; numbered; cells of a 30-unit
// box | | 164 to 167     | AutomaticDoorElement         | AutomaticDoor; blockable; numbered; updated; sensor
// cells | | 300            | circle element               | SteerableIME over a wandering prop; Kill 22 | |
// 301, 302, 358  | ScriptedSteerableElement     | ScriptedSteerableIME over a scripted prop | | 383 to 386 |
// MusicalNoteElement           | MusicalNote; kill 22; numbered; updated | | 379            |
// MusicalNoteControllerElement | MusicalNoteController; kill 22; numbered; updated | | 443            |
// LevelUpModeElement           | LevelUpMode; numbered; updated; on its goal cells | | 141, 142       |
// GroupedNumberedElement       | NumberedInteractiveElementGroup, after the pass |
//
// Kills are SlowStopKillThenWait on the tile's cell with a 2 s wait; the
// prop's kill is a Kill. A prop's radius is the record's, capped at the
// room's larger side. A door's rectangle may be no wider and no higher than
// the room, and the doors of a map together reach at most as many cells as
// the solid decorations may; otherwise the map is refused with "bad map".
// A record of the wrong class throws its row's text ("not whole tile
// element", "not numbered tile element", "not a conveyor element", "not
// switch element", "not elevatorPad element", "not coin element", "not
// automatic door eleemnt", "not circle element", "not note element", "not
// note controller element", "not level up mode element", "not a grouped
// ime"; the rows for 36 to 38, 138 and 139 throw "map element record of
// wrong class"). Tile elements sit on the record's cell.
//
// The world parts belong to the owner; the registrations and the scripted
// action builder to the importer. Used by the loading thread.
class MapElementBuilder {
public:
    static constexpr const char* wrongRecordClass = "map element record of wrong class";

    MapElementBuilder(WorldParts& world, ElementRegistrations& registrations, ScriptedActionBuilder& scripts);

    // One pass over the map's element records in file order, then the groups
    // of the grouped records, then the moving props are filed on the moving
    // element trigger, the secondary unit index and the simulator. A throw
    // leaves the built elements in the lists for undo.
    void buildElements();
    // Takes back what the builder added to the blockable manager; the caller
    // empties the lists.
    void undoBlockables();

private:
    struct PendingProp {
        u32 number;
        InteractiveMapElement* element;
        SecondarySteerableUnit* unit;
    };

    void build(MapElement& record);
    // Moves the element into the element list and files it as asked; returns it.
    template <class E>
    E& place(std::unique_ptr<E> element, const u32* number, bool updatable,
             const std::vector<GeometryLib::Point>* cells);
    void buildGroup(const GroupedNumberedElement& record);
    SecondarySteerableUnit& makeProp(const FreeNumberedMapElement& record, u32 radius, float maxSpeed,
                                     float maxForce);
    std::unique_ptr<Effect> tileKill(const WholeTileMapElement& record, u32 deathState);
    // Throws "bad map" for a door rectangle wider or higher than the room, or
    // when the doors of the map together pass the decoration cell budget.
    void checkDoorRect(const DoorElement& door);

    WorldParts& world_;
    ElementRegistrations& registrations_;
    ScriptedActionBuilder& scripts_;
    std::vector<const GroupedNumberedElement*> grouped_;
    std::vector<PendingProp> props_;
    std::vector<Door*> doors_;
    // Cells the doors' rectangles reach so far in this pass.
    RectCellBudget doorCells_;
};

}  // namespace Zarn
