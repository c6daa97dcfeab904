#include "simulation/server/InputApplier.h"

#include <string>

#include "foundation/Logger.h"
#include "map/import/GameMap.h"
#include "simulation/state/InputState.h"
#include "simulation/state/InputTables.h"
#include "world/planning/CellHazards.h"
#include "world/planning/JPSMovePlanner.h"
#include "world/steering/KeySteering.h"
#include "world/triggers/DialogPlayer.h"
#include "world/triggers/EffectEventTrigger.h"
#include "world/triggers/InputResult.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

namespace {

constexpr u32 kInfo = 1;

// Key inputs: press kind, the held-key slot, the sign and axis of the push.
struct KeyInput {
    u8 press;
    std::size_t slot;
    float sign;
    bool onX;
};
constexpr KeyInput kKeys[] = {
    {4, 0, 1.0f, false}, {6, 1, -1.0f, false}, {8, 3, 1.0f, true}, {10, 2, -1.0f, true}};

void applyKey(SteerableUnit& unit, const KeyInput& key, bool press) {
    u8& held = unit.keysHeld[key.slot];
    if (press == (held != 0)) return;
    held = press ? 1 : 0;
    const float delta = (press ? 1.0f : -1.0f) * key.sign * unit.keySteeringSpeed;
    if (key.onX)
        unit.keySteeringDirection.x += delta;
    else
        unit.keySteeringDirection.y += delta;
}

}  // namespace

void InputApplier::apply(u32 senderId, const std::vector<InputState>& states) {
    const std::vector<const InputState*> fresh = registry.newInputs(senderId, states);
    SteerableUnit& unit = units.getUnit(senderId);
    for (const InputState* state : fresh) {
        for (const InputData& input : state->inputs) {
            std::unique_ptr<InputResult> result = makeInputResult(input.kind, senderId);
            switch (input.kind) {
                case 1:
                    if (unit.state == UnitState::carried) {
                        result = makeUnappliedInputResult(senderId);
                    } else {
                        const CellHazards hazards = CellHazards::read(map.grid, contacts);
                        JPSMovePlanner planner(unit, map, &hazards);
                        Convinience::Logger().log(kInfo, "Client " + std::to_string(senderId) +
                                                             " input confirmed at (" +
                                                             std::to_string(input.position.x) + "," +
                                                             std::to_string(input.position.y) + ")");
                        planner.planMove(input.position);
                        result = makeInputResult(1, senderId);
                    }
                    break;
                case 2:
                case 12:
                    dialogs.stop();
                    // As the map's stop of a waited dialog: the players may steer again.
                    units.forEachUnit([](u32, SteerableUnit& u) {
                        u.dialogDismissed = 1;
                        u.inputEnabled = 1;
                    });
                    result = makeNumberInputResult(dialogs.getCurrent());
                    break;
                default:
                    for (const KeyInput& key : kKeys) {
                        if (input.kind == key.press || input.kind == key.press + 1) {
                            applyKey(unit, key, input.kind == key.press);
                            KeySteering::takeOver(unit, map.grid, map.blockables);
                        }
                    }
                    break;
            }
            trigger.onInput(*result);
        }
    }
    registry.replace(senderId, states);
}

}  // namespace Zarn
