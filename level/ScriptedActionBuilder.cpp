#include "level/ScriptedActionBuilder.h"

#include <unordered_set>

#include "foundation/Error.h"
#include "level/ElementRegistrations.h"
#include "map/records/ActionIds.h"
#include "world/elements/ScriptedSteerableIME.h"
#include "world/steering/SteerableProximity.h"
#include "world/units/SecondarySteerableUnit.h"

namespace Zarn {

namespace {

template <class T>
const T& actionAs(const ActionData* action, const char* message) {
    return Convinience::castOrThrow<const T>(action, message);
}

}  // namespace

std::vector<std::unique_ptr<ScriptedAction>> ScriptedActionBuilder::buildActions(
    const ActionList& actions, ScriptedSteerableIME& element) {
    std::vector<std::unique_ptr<ScriptedAction>> built;
    built.reserve(actions.size());
    for (const auto& action : actions) built.push_back(buildAction(action.get(), element));
    return built;
}

std::unique_ptr<ScriptedAction> ScriptedActionBuilder::buildAction(const ActionData* action,
                                                                   ScriptedSteerableIME& element) {
    if (!action) throw Convinience::Error("no such action");
    switch (action->actionId) {
        case ScriptedActionId::playDialog:
            return std::make_unique<ScriptedDialogAction>(
                dialogs_, actionAs<NumberActionData>(action, "not action data").number);
        case ScriptedActionId::pathedMove: {
            const auto& route = actionAs<PositionsActionData<GeometryLib::FPoint>>(action, "not action data");
            return std::make_unique<ScriptedPathedMoveAction>(element.steerable->unit, route.positions);
        }
        case ScriptedActionId::waitForContact:
            return std::make_unique<ScriptedWaitForContact>(
                element, grid_, std::make_unique<SteerableProximityImpl>(units_, grid_), units_);
        case ScriptedActionId::waitForArrival: {
            const auto& targets =
                actionAs<PositionsActionData<GeometryLib::Point>>(action, "not action data");
            std::vector<GeometryLib::Point> cells;
            std::unordered_set<u32> seen;
            for (const GeometryLib::Point& p : targets.positions) {
                if (seen.insert(p.key).second) cells.push_back(p);
            }
            registrations_.add(element, cells);
            return std::make_unique<ScriptedWaitForArrival>(element, cells, grid_);
        }
        case ScriptedActionId::wait:
            return std::make_unique<ScriptedWaitAction>(
                actionAs<FloatActionData>(action, "not wait action data").floatValue);
        case ScriptedActionId::setGenericState:
            return std::make_unique<ScriptedSetSecondarySteerableGenericStateAction>(
                element,
                static_cast<u8>(actionAs<NumberActionData>(action, "not number action data").number & 0xFF));
        default:
            throw Convinience::Error("no such action");
    }
}

}  // namespace Zarn
