#include "simulation/adapters/MapElement2DFactory.h"

#include <random>

#include "foundation/Error.h"
#include "grid/CellGrid.h"
#include "map/records/ElementIds.h"
#include "map/records/MapElement.h"
#include "world/adapters/NodeMediator.h"

namespace Zarn {

int zOrderOfLayer(const ZOrderCalculator& zOrder, u32 layer, int row) {
    switch (layer) {
        case 0:
            return zOrder.rowBase(row);
        case 2:
            return zOrder.rowTop(row);
        case 3:
            return zOrder.highRowBase(row);
        case 4:
            return zOrder.highRowMiddle(row);
        case 5:
            return zOrder.highRowTop(row);
        default:
            return zOrder.rowMiddle(row);
    }
}

int zOrderOfLayerAtY(const ZOrderCalculator& zOrder, u32 layer, float y) {
    switch (layer) {
        case 0:
            return zOrder.yBase(y);
        case 1:
            return zOrder.yMiddle(y);
        case 2:
            return zOrder.yTop(y);
        case 3:
            return zOrder.highYBase(y);
        case 5:
            return zOrder.highYTop(y);
        default:
            return zOrder.highY(y);
    }
}

float randomQuarterTurn() {
    std::random_device device;
    std::mt19937 engine(device());
    std::uniform_int_distribution<int> quarter(0, 3);
    return static_cast<float>(quarter(engine) * 90);
}

float MapElement2DFactory::cellSize() const {
    if (cellGrid == nullptr) throw Convinience::Error("map element 2D factory has no grid");
    return static_cast<float>(cellGrid->getCellSize());
}

bool MapElement2DFactory::isSkipped(const MapElement& record) {
    if (logicalElementIds.contains(record.elementId)) return true;
    const ElementVisual* tile = tileVisualTable().find(record.elementId);
    return tile != nullptr && tile->frameName.empty();
}

NodeMediator* MapElement2DFactory::createTileElement2D(const MapElement& record) {
    currentRecord = &record;
    return createTileElement2D();
}

NodeMediator* MapElement2DFactory::createFreeElement2D(const MapElement& record) {
    currentRecord = &record;
    return createFreeElement2D();
}

NodeMediator* MapElement2DFactory::createTileElement2D() {
    const auto* record = dynamic_cast<const WholeTileMapElement*>(currentRecord);
    if (record == nullptr) throw Convinience::Error("element is not tile");
    const ElementVisual* visual = tileVisualTable().find(record->elementId);
    if (visual == nullptr) throw Convinience::Error("no such map element id");
    const float cell = cellSize();
    if (zOrderCalculator == nullptr)
        throw Convinience::Error("map element 2D factory has no z-order calculator");

    Sprite2DMediator* picture = createTileElementVisual(*visual, *record);
    const GeometryLib::FPoint size = picture->getContentSize();
    const float scale = picture->getScale();
    picture->setPosition(record->cell.x * cell + size.x * scale * 0.5f,
                         record->cell.y * cell + size.y * scale * 0.5f);
    if (!visual->excludedFromTiles() || visual->rotation != 0) {
        picture->setRotation(visual->rotation == kRandomQuarterTurn ? randomQuarterTurn()
                                                                    : static_cast<float>(visual->rotation));
    }
    picture->setFlippedX(visual->flippedX);
    picture->setFlippedY(visual->flippedY);
    if (record->flag == 0) picture->setOpacity(static_cast<u8>(visual->opacity & 0xFF));
    picture->setZOrder(zOrderOfLayer(*zOrderCalculator, visual->layer, record->cell.y) + visual->zOffset +
                       recordZOffset(*record));
    if (!visual->excludedFromTiles() && tileVisualGroups != nullptr) {
        (*tileVisualGroups)[record->cell].push_back(picture);
    }
    return picture;
}

NodeMediator* MapElement2DFactory::createFreeElement2D() {
    const auto* record = dynamic_cast<const FreeMapElement*>(currentRecord);
    if (record == nullptr) throw Convinience::Error("element is not freeMapElement");
    const ElementVisual* visual = freeVisualTable().find(record->elementId);
    if (visual == nullptr) throw Convinience::Error("no such map element id");
    cellSize();
    if (zOrderCalculator == nullptr)
        throw Convinience::Error("map element 2D factory has no z-order calculator");

    Sprite2DMediator* picture = createFreeElementVisual(*visual, *record);
    const GeometryLib::FPoint size = picture->getContentSize();
    const float scale = picture->getScale();
    const GeometryLib::FPoint at(record->position);
    picture->setPosition(at.x + size.x * scale * 0.5f, at.y + size.y * scale * 0.5f);
    picture->setRotation(static_cast<float>(visual->rotation));
    picture->setFlippedX(visual->flippedX);
    picture->setFlippedY(visual->flippedY);
    if (record->flag == 0) picture->setOpacity(static_cast<u8>(visual->opacity & 0xFF));
    picture->setZOrder(zOrderOfLayerAtY(*zOrderCalculator, visual->layer, at.y) + visual->zOffset +
                       recordZOffset(*record));
    if (!visual->excludedFromTiles() && tileVisualGroups != nullptr) {
        (*tileVisualGroups)[cellGrid->toCell(record->position)].push_back(picture);
    }
    return picture;
}

}  // namespace Zarn
