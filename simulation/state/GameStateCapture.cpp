#include "simulation/state/GameStateCapture.h"

#include "map/records/TrapElement.h"
#include "simulation/managers/InputManager.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/steering/SteerableSimulator.h"
#include "world/triggers/DialogPlayer.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

MapState MapStateCapture::capture() const {
    MapState state;
    for (const auto& trap : *traps_) {
        if (!trap || !trap->trapRecord) continue;
        state.trapStates.put(trap->trapRecord->trapNumber, trap->getState().clone());
    }
    if (dialogs_) {
        state.dialogPlaying = dialogs_->isPlaying();
        state.dialogNumber = dialogs_->getCurrent();
    }
    numbered_->forEach([&](u32 number, InteractiveMapElement* element) {
        if (element) state.elementStates.put(number, element->getState().clone());
    });
    return state;
}

GameState GameStateCapture::capture() {
    GameState state;
    state.tick = ticks_->tickCount;
    units_->forEachUnit([&](u32 clientId, SteerableUnit& unit) {
        ClientState c;
        c.clientID = clientId;
        c.mainState = unit.state;
        c.statusValues.assign(unit.statuses.values().begin(), unit.statuses.values().end());
        c.position = unit.body().position;
        c.velocity = unit.body().velocity;
        c.steering = unit.body().steeringVelocity;
        state.clientStates.push_back(std::move(c));
    });
    if (inputs) {
        ++captureCounter;
        std::vector<InputState> taken;
        inputs->forEachClient([&](u32 clientId, InputManager::InputList& list) {
            if (list.empty()) return;
            taken.emplace_back(clientId, captureCounter, list);
            list.clear();
        });
        if (unconfirmed) {
            for (const InputState& s : taken) unconfirmed->insert(s);
            for (const auto& entry : unconfirmed->all()) state.inputStates.push_back(entry.second);
        } else {
            state.inputStates = std::move(taken);
        }
    }
    if (applied) {
        for (const auto& [clientId, ticks] : applied->all()) {
            state.ackedInputs.emplace_back(clientId, std::vector<u32>(ticks.begin(), ticks.end()));
        }
    }
    if (mapState) state.mapState = mapState->capture();
    return state;
}

}  // namespace Zarn
