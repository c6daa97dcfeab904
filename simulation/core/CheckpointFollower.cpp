#include "simulation/core/CheckpointFollower.h"

#include "grid/CellGrid.h"
#include "simulation/state/GameState.h"
#include "world/elements/Checkpoint.h"
#include "world/elements/NumberedElementGroup.h"
#include "world/elements/SpawnPoints.h"

namespace Zarn {

void CheckpointFollower::findCheckpoints() {
    elements_.forEach([this](u32 number, InteractiveMapElement* element) {
        if (auto* checkpoint = dynamic_cast<Checkpoint*>(element))
            checkpoints_.push_back({checkpoint, number, checkpoint->state.value == EOnOffState::off});
    });
    found_ = true;
}

void CheckpointFollower::follow(const GameState& state) {
    if (!found_) findCheckpoints();
    for (Followed& followed : checkpoints_) {
        const auto* received =
            dynamic_cast<const OnOffIMEState*>(state.mapState.elementStates.find(followed.number));
        if (!received) continue;
        const bool off = received->value == EOnOffState::off;
        const bool recorded = off && !followed.off;
        followed.off = off;
        if (!recorded) continue;
        for (const ClientState& unit : state.clientStates) {
            if (grid_.toCell(GeometryLib::Point(unit.position)) == followed.checkpoint->cell())
                spawnPoints_.setCheckpoint(unit.clientID, followed.checkpoint);
        }
    }
}

}  // namespace Zarn
