#pragma once

#include <iosfwd>
#include <memory>

#include "foundation/ByteReader.h"
#include "grid/BlockableManager.h"
#include "grid/CellGrid.h"
#include "grid/RectCellBudget.h"
#include "map/records/MapElement.h"

namespace Zarn {

// Makes one map element record per call.
class MapElementFactory {
public:
    virtual ~MapElementFactory() = default;
    virtual std::unique_ptr<MapElement> make(std::istream& stream) = 0;
};

// Reads the records of the element section. The element ID in a record's first
// word chooses its family by the set that holds it (tileElementIds, then
// freeElementIds, then logicalElementIds) and then its class:
//
// | family  | element IDs                                              | record class |
// | tile    | 42, 138, 139, 440, 441, 442                              | TileNumberedMapElement |
// | tile    | 140                                                      | ConveyorElement |
// | tile    | 379                                                      | MusicalNoteControllerElement |
// | tile    | 383                                                      | MusicalNoteElement |
// | tile    | every other tile ID                                      | WholeTileMapElement |
// | free    | 35                                                       | SwitchElement |
// | free    | 36, 37                                                   | DoorElement |
// | free    | 59                                                       | MultiSwitchElement |
// | free    | 135                                                      | SelectiveMultiSwitchElement |
// | free    | 164-167                                                  | AutomaticDoorElement |
// | free    | isSolidDecoration                                        | CombinedElement<FreeMapElement,
// RectSubElement> | | free    | 300-302, 358                                             |
// ScriptedSteerableElement | | free    | 348                                                      |
// CoinElement | | free    | every other free ID                                      | FreeMapElement | |
// logical | 141, 142                                                 | GroupedNumberedElement | | logical |
// 443                                                      | LevelUpModeElement | An ID in no set throws
// "invliad element id".
//
// A solid decoration also gets a RectBlockable of its rectangle, owned by the
// blockable manager, when one is set. Its rectangle may be no wider and no
// higher than the room, and the decorations of a map together may reach at
// most RectCellBudget's cells per grid cell; beyond that the map is refused
// with "bad map".
class GenericMapElementFactory : public MapElementFactory {
public:
    // The grid belongs to the GameMap and outlives the factory.
    explicit GenericMapElementFactory(const CellGrid& grid) : grid_(grid) {}

    // The manager belongs to the GameMap and outlives the factory; null makes
    // no blockables.
    void setBlockableManager(BlockableManager* blockables) { blockables_ = blockables; }

    // Reads a u32 length and that many bytes, and makes the record from them.
    // A stream or record that ends early throws "bad map".
    std::unique_ptr<MapElement> make(std::istream& stream) override;
    // Makes the record from its bytes; short bytes throw ReadPastEndError.
    std::unique_ptr<MapElement> make(Convinience::ByteReader& record);

    static bool isSolidDecoration(u32 elementId);

private:
    std::unique_ptr<MapElement> makeTile(u32 id, Convinience::ByteReader& record);
    std::unique_ptr<MapElement> makeFree(u32 id, Convinience::ByteReader& record);
    std::unique_ptr<MapElement> makeLogical(u32 id, Convinience::ByteReader& record);
    void addDecorationBlockable(const CombinedElement<FreeMapElement, RectSubElement>& decoration);

    const CellGrid& grid_;
    // Owned by the GameMap; may be null.
    BlockableManager* blockables_ = nullptr;
    RectCellBudget decorationCells_{grid_};
};

}  // namespace Zarn
