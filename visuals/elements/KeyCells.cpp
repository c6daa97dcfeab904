#include "visuals/elements/KeyCells.h"

#include <algorithm>

#include "map/import/GameMap.h"
#include "map/records/ActionIds.h"
#include "map/records/DoorElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapEventData.h"

namespace {

constexpr u32 kEnterCellTrigger = 5;
constexpr u32 kEnterAreaTrigger = 20;

bool movesAPlayer(const Zarn::ActionList& actions) {
    return std::any_of(actions.begin(), actions.end(), [](const std::unique_ptr<Zarn::ActionData>& action) {
        return action != nullptr && action->actionId == Zarn::MapActionId::moveSteerable;
    });
}

}  // namespace

std::vector<KeyCell> keyCells(const Zarn::GameMap& map) {
    std::vector<KeyCell> found;
    auto add = [&found](const GeometryLib::Point& cell, KeyCellKind kind) {
        auto same =
            std::find_if(found.begin(), found.end(), [&](const KeyCell& k) { return k.cell == cell; });
        if (same == found.end()) {
            found.push_back({cell, kind});
        } else if (kind < same->kind) {
            same->kind = kind;
        }
    };
    for (const std::unique_ptr<Zarn::MapElement>& record : map.mapElements) {
        if (const auto* door = dynamic_cast<const Zarn::AutomaticDoorElement*>(record.get())) {
            for (const GeometryLib::Point& cell : door->sensorCells) add(cell, KeyCellKind::plate);
        } else if (const auto* mode = dynamic_cast<const Zarn::LevelUpModeElement*>(record.get())) {
            for (const GeometryLib::Point& cell : mode->areaCells) add(cell, KeyCellKind::goal);
        }
    }
    for (const std::unique_ptr<Zarn::MapEventData>& event : map.mapEvents) {
        if (event == nullptr || event->trigger == nullptr || !movesAPlayer(event->actions)) continue;
        const Zarn::TriggerData& trigger = *event->trigger;
        if (trigger.triggerId == kEnterCellTrigger) {
            if (const auto* at = dynamic_cast<const Zarn::PositionTriggerData*>(&trigger))
                add(at->cell, KeyCellKind::teleport);
        } else if (trigger.triggerId == kEnterAreaTrigger) {
            if (const auto* area = dynamic_cast<const Zarn::AreaTriggerData*>(&trigger))
                for (const GeometryLib::Point& cell : area->cells) add(cell, KeyCellKind::teleport);
        }
    }
    return found;
}

const std::string& keyCellFrame(KeyCellKind kind) {
    static const std::string names[] = {"key_plate.png", "key_goal.png", "key_teleport.png"};
    return names[static_cast<int>(kind)];
}

std::vector<std::string> keyCellFrames() {
    return {keyCellFrame(KeyCellKind::plate), keyCellFrame(KeyCellKind::goal),
            keyCellFrame(KeyCellKind::teleport)};
}
