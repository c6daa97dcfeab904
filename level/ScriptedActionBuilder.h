#pragma once

#include <memory>
#include <vector>

#include "map/records/ActionDataFactory.h"
#include "world/triggers/ScriptedAction.h"

namespace Zarn {

class CellGrid;
class DialogPlayer;
class ElementRegistrations;
class ScriptedSteerableIME;
class SteerableUnitManager;

// Turns the action records of a scripted figure into the scripted actions its
// runner plays:
//
// | action ID | record class                | text when not            | action |
// | 4         | NumberActionData            | "not action data"        | ScriptedDialogAction |
// | 33        | PositionsActionData<FPoint> | "not action data"        | ScriptedPathedMoveAction |
// | 34        | any                         |                          | ScriptedWaitForContact |
// | 35        | PositionsActionData<Point>  | "not action data"        | ScriptedWaitForArrival (1) |
// | 36        | FloatActionData             | "not wait action data"   | ScriptedWaitAction |
// | 38        | NumberActionData            | "not number action data" | set the figure's value (2) |
//
// (1) The figure is filed on the cells, each once. (2) The low byte of the
// number, by ScriptedSetSecondarySteerableGenericStateAction.
//
// Any other ID throws "no such action". Grid, units, dialog player and
// registrations belong to the world (or the load) and outlive the builder.
class ScriptedActionBuilder {
public:
    ScriptedActionBuilder(const CellGrid& grid, const SteerableUnitManager& units, DialogPlayer& dialogs,
                          ElementRegistrations& registrations)
        : grid_(grid), units_(units), dialogs_(dialogs), registrations_(registrations) {}

    std::vector<std::unique_ptr<ScriptedAction>> buildActions(const ActionList& actions,
                                                              ScriptedSteerableIME& element);
    std::unique_ptr<ScriptedAction> buildAction(const ActionData* action, ScriptedSteerableIME& element);

private:
    const CellGrid& grid_;
    const SteerableUnitManager& units_;
    DialogPlayer& dialogs_;
    ElementRegistrations& registrations_;
};

}  // namespace Zarn
