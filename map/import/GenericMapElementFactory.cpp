#include "map/import/GenericMapElementFactory.h"

#include "foundation/Error.h"
#include "grid/RectBlockable.h"
#include "map/import/MapStreamReader.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElementIds.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapErrors.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"

namespace Zarn {

namespace {
using SolidDecoration = CombinedElement<FreeMapElement, RectSubElement>;

constexpr ElementIdSet solidDecorationIds{
    detail::joinIds(detail::idRange<172, 174>(), detail::idRange<176, 178>(), detail::idRange<180, 190>(),
                    detail::idRange<192, 194>(), detail::ids<236, 237, 240, 241, 276, 284, 285, 288, 289>(),
                    detail::idRange<316, 318>(), detail::idRange<320, 322>(), detail::ids<324, 328>(),
                    detail::idRange<389, 396>(), detail::idRange<399, 401>())};
static_assert(solidDecorationIds.isStrictlyAscending());
}  // namespace

bool GenericMapElementFactory::isSolidDecoration(u32 elementId) {
    return solidDecorationIds.contains(elementId);
}

std::unique_ptr<MapElement> GenericMapElementFactory::make(std::istream& stream) {
    MapStreamReader in(stream, mapError::badMap);
    const std::vector<u8> bytes = in.readBytes(in.readU32());
    Convinience::ByteReader record(bytes);
    try {
        return make(record);
    } catch (const Convinience::ReadPastEndError&) {
        in.fail();
    }
}

std::unique_ptr<MapElement> GenericMapElementFactory::make(Convinience::ByteReader& record) {
    Convinience::ByteReader peek = record;
    const u32 id = MapElement(peek).elementId;
    if (tileElementIds.contains(id)) return makeTile(id, record);
    if (freeElementIds.contains(id)) return makeFree(id, record);
    if (logicalElementIds.contains(id)) return makeLogical(id, record);
    throw Convinience::Error(mapError::unknownElement);
}

std::unique_ptr<MapElement> GenericMapElementFactory::makeTile(u32 id, Convinience::ByteReader& record) {
    switch (id) {
        case 42:
        case 138:
        case 139:
        case 440:
        case 441:
        case 442:
            return std::make_unique<TileNumberedMapElement>(record);
        case 140:
            return std::make_unique<ConveyorElement>(record);
        case 379:
            return std::make_unique<MusicalNoteControllerElement>(record);
        case 383:
            return std::make_unique<MusicalNoteElement>(record);
        default:
            return std::make_unique<WholeTileMapElement>(record);
    }
}

std::unique_ptr<MapElement> GenericMapElementFactory::makeFree(u32 id, Convinience::ByteReader& record) {
    if (isSolidDecoration(id)) {
        auto decoration = std::make_unique<SolidDecoration>(record);
        addDecorationBlockable(*decoration);
        return decoration;
    }
    switch (id) {
        case 35:
            return std::make_unique<SwitchElement>(record);
        case 36:
        case 37:
            return std::make_unique<DoorElement>(record);
        case 59:
            return std::make_unique<MultiSwitchElement>(record);
        case 135:
            return std::make_unique<SelectiveMultiSwitchElement>(record);
        case 164:
        case 165:
        case 166:
        case 167:
            return std::make_unique<AutomaticDoorElement>(record);
        case 300:
        case 301:
        case 302:
        case 358:
            return std::make_unique<ScriptedSteerableElement>(record);
        case 348:
            return std::make_unique<CoinElement>(record);
        default:
            return std::make_unique<FreeMapElement>(record);
    }
}

std::unique_ptr<MapElement> GenericMapElementFactory::makeLogical(u32 id, Convinience::ByteReader& record) {
    if (id == 141 || id == 142) return std::make_unique<GroupedNumberedElement>(record);
    if (id == 443) return std::make_unique<LevelUpModeElement>(record);
    throw Convinience::Error(mapError::unknownLogicalElement);
}

void GenericMapElementFactory::addDecorationBlockable(const SolidDecoration& decoration) {
    if (blockables_ == nullptr) return;
    if (!decorationCells_.take(decoration.width, decoration.height))
        throw Convinience::Error(mapError::badMap);

    const GeometryLib::FRect rect(static_cast<float>(decoration.width), static_cast<float>(decoration.height),
                                  GeometryLib::FPoint(decoration.position));
    auto blockable = std::make_unique<RectBlockable>(grid_, blockables_, rect);
    blockables_->addBlockable(*blockable);
    blockables_->adopt(std::move(blockable));
}

}  // namespace Zarn
