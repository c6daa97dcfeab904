#pragma once

#include "simulation/adapters/Element2D.h"
#include "simulation/adapters/ElementVisualTables.h"
#include "simulation/scene/InGameSceneParts.h"
#include "world/elements/NumberedElementGroup.h"

namespace Zarn {

class CellGrid;
class FreeMapElement;
class WholeTileMapElement;

// The numbered element of class T. Throws Convinience::Error "No such
// element number" for a number without element and "numbered element is of
// wrong type" for an element of another class.
template <class T>
T* getNumberedElement(const NumberedElementGroup& elements, u32 number) {
    return &elements.getTyped<T>(number);
}

// The drawing order of depth band `layer` (0 to 5) for a grid row, and for a
// height y in map units (whose row is y / cell size):
// | layer | row                | y                                      |
// | 0     | rowBase            | yBase                                  |
// | 1     | rowMiddle          | yMiddle                                |
// | 2     | rowTop             | yTop                                   |
// | 3     | highRowBase        | highYBase                              |
// | 4     | highRowMiddle      | highY (lower in the row: further front) |
// | 5     | highRowTop         | highYTop                               |
// | other | rowMiddle          | highY                                  |
int zOrderOfLayer(const ZOrderCalculator& zOrder, u32 layer, int row);
int zOrderOfLayerAtY(const ZOrderCalculator& zOrder, u32 layer, float y);

// One of 0, 90, 180 and 270 degrees with equal chance, from a freshly seeded
// engine (a new draw for every call).
float randomQuarterTurn();

// The world side of the map element visual factory: decides which records
// get a picture, asks the engine side for it and places it on the map by the
// record's row of the element visual tables (position, rotation, mirroring,
// opacity, drawing order) and files floor tiles among the cell's tile
// visuals. The in-game scene owns the factory for the level's lifetime, sets
// its members before the element pass and asks it once per record of the
// map's element list, in order, on the main thread.
class MapElement2DFactory : public SceneElementVisualFactory {
public:
    // Throws "element is not tile" for a record that is not a whole-tile
    // record; otherwise makes the picture (createTileElementVisual) and
    // places it on the record's cell:
    // - position: the cell's lower-left corner + half the picture's scaled size;
    // - rotation: the row's (a random quarter turn for kRandomQuarterTurn),
    //   not applied when the row is excluded from the tiles and its rotation is 0;
    // - mirroring: the row's; opacity: the row's, unless the record's flag is set;
    // - drawing order: the layer's band of the cell's row + the row's and the
    //   record's z offsets;
    // - unless excluded from the tiles: appended to the cell's tile visuals.
    NodeMediator* createTileElement2D();
    // The same for a free record ("element is not freeMapElement"): placed with
    // its lower-left corner on the record's point (map units), rotation always
    // the row's, band by the point's y, filed under the cell of the point.
    NodeMediator* createFreeElement2D();

    // The scene's element pass. A logical element, and a tile element whose
    // row names no frame, get no picture.
    bool isSkipped(const MapElement& record) override;
    bool isTileElement(u32 elementID) override { return tileVisualTable().count(elementID) != 0; }
    bool isFreeElement(u32 elementID) override { return freeVisualTable().count(elementID) != 0; }
    // Make the record the current one and place it.
    NodeMediator* createTileElement2D(const MapElement& record) override;
    NodeMediator* createFreeElement2D(const MapElement& record) override;

    // The engine side: the picture of a tile or free element, as the mediator
    // of its outermost node, which owns it (the node tree owns the node).
    virtual Sprite2DMediator* createTileElementVisual(const ElementVisual& visual,
                                                      const WholeTileMapElement& record) = 0;
    virtual Sprite2DMediator* createFreeElementVisual(const ElementVisual& visual,
                                                      const FreeMapElement& record) = 0;

    // The record being placed; owned by the game map.
    const MapElement* currentRecord = nullptr;
    // The room's grid (cell size, cells of points), the scene's calculator and
    // tile visuals; all belong to the scene and outlive the factory.
    const CellGrid* cellGrid = nullptr;
    const ZOrderCalculator* zOrderCalculator = nullptr;
    TileVisualGroups* tileVisualGroups = nullptr;

private:
    float cellSize() const;
};

}  // namespace Zarn
