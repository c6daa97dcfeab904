#include "world/traps/TrapGroup.h"

namespace Zarn {

TrapGroup::TrapGroup(const GroupedTrapElement& record, std::vector<Trap*> members)
    : GenericElementGroup(record, std::move(members)), groupRecord(&record) {
    stepper.interval = record.stepDelay;
}

void TrapGroup::update(float dt) {
    GenericElementGroup::update(dt);
    if (!enabled) return;
    for (Trap* member : members) member->update(dt);
}

IntervalTrapGroup::IntervalTrapGroup(const GroupedTrapElement& record, std::vector<IntervalTrap*> members)
    : GenericElementGroup(record, std::move(members)), groupRecord(&record) {
    stepper.interval = record.stepDelay;
}

SequentialIntervalTrapGroup::SequentialIntervalTrapGroup(const SequentialGroupedIntervalTrapElement& record,
                                                         std::vector<IntervalTrap*> members)
    : IntervalTrapGroup(record, std::move(members)), sequenceRecord(&record) {}

void SequentialIntervalTrapGroup::update(float dt) {
    if (!enabled || members.empty()) return;
    const float sequenceDelay = sequenceRecord->sequenceDelay;
    float step = dt;
    if (delayTime < sequenceDelay) {
        delayTime += dt;
        if (delayTime < sequenceDelay) return;
        step = delayTime - truncated(delayTime / sequenceDelay) * sequenceDelay;
    }
    if (currentIndex >= members.size()) currentIndex = 0;
    IntervalTrap* member = members[currentIndex];
    const IntervalTrapElement& r = member->intervalRecord();
    const float period = r.activeTime + r.restTime;
    if (member->cycleTime + step >= period) {
        step = member->cycleTime + step - period;
        member->disable();
        member->reset();
        currentIndex = (currentIndex + 1) % static_cast<u32>(members.size());
        member = members[currentIndex];
    }
    member->enable();
    member->update(step);
}

void InteractiveElementUpdater::update(float dt) {
    for (UpdatableInteractiveMapElement* element : elements) element->update(dt);
}

}  // namespace Zarn
