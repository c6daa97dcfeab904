#include "support/map/SampleRecords.h"

namespace zarn_test {

using GeometryLib::Point;

void fill(Zarn::MapElement& r) {
    r.extra = 0xA1B2C3D4;
    r.flag = 0x5E;
}
void fill(Zarn::FreeMapElement& r) {
    fill(static_cast<Zarn::MapElement&>(r));
    r.position = Point(320, 96);
}
void fill(Zarn::FreeNumberedMapElement& r) {
    fill(static_cast<Zarn::FreeMapElement&>(r));
    r.number = 71;
}
void fill(Zarn::WholeTileMapElement& r) {
    fill(static_cast<Zarn::MapElement&>(r));
    r.tileFlag = 3;
    r.cell = Point(7, 2);
}
void fill(Zarn::TileNumberedMapElement& r) {
    fill(static_cast<Zarn::WholeTileMapElement&>(r));
    r.number = 72;
}
void fill(Zarn::GridCoverageElement& r) {
    fill(static_cast<Zarn::MapElement&>(r));
    r.coveredCells = {Point(1, 2), Point(3, 4), Point(-5, 6)};
}
void fill(Zarn::RectSubElement& r) {
    r.width = 48;
    r.height = 16;
}
void fill(Zarn::CircleSubElement& r) {
    r.radius = 24;
    r.center = Point(-3, 9);
}
void fill(Zarn::CombinedElement<Zarn::FreeMapElement, Zarn::RectSubElement>& r) {
    fill(static_cast<Zarn::FreeMapElement&>(r));
    fill(static_cast<Zarn::RectSubElement&>(r));
}
void fill(Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::RectSubElement>& r) {
    fill(static_cast<Zarn::FreeNumberedMapElement&>(r));
    fill(static_cast<Zarn::RectSubElement&>(r));
}
void fill(Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>& r) {
    fill(static_cast<Zarn::FreeNumberedMapElement&>(r));
    fill(static_cast<Zarn::CircleSubElement&>(r));
}
void fill(Zarn::SwitchElement& r) {
    fill(static_cast<Zarn::FreeNumberedMapElement&>(r));
    r.startOff = 1;
    r.firstActions.push_back(std::make_unique<Zarn::NumberActionData>(0, 5));
    r.firstActions.push_back(std::make_unique<Zarn::ActionData>(34));
    r.secondActions.push_back(std::make_unique<Zarn::NumberActionData>(1, 6));
}
void fill(Zarn::MultiSwitchElement& r) {
    fill(static_cast<Zarn::SwitchElement&>(r));
    r.leverNumbers = {11, 12};
}
void fill(Zarn::SelectiveMultiSwitchElement& r) {
    fill(static_cast<Zarn::MultiSwitchElement&>(r));
    r.selectedNumbers = {12};
}
void fill(Zarn::DoorElement& r) {
    fill(static_cast<Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::RectSubElement>&>(r));
    r.doorFlag = 0;
}
void fill(Zarn::AutomaticDoorElement& r) {
    fill(static_cast<Zarn::DoorElement&>(r));
    r.sensorCells = {Point(4, 4), Point(4, 5)};
}
void fill(Zarn::ElevatorPadElement& r) {
    fill(static_cast<Zarn::TileNumberedMapElement&>(r));
    r.startHidden = 1;
    r.padValue = 9;
    r.startValue = 0;
    r.padTime = 2.5f;
}
void fill(Zarn::ConveyorElement& r) {
    fill(static_cast<Zarn::TileNumberedMapElement&>(r));
    r.direction = 2;
    r.speed = 48.5f;
}
void fill(Zarn::MusicalNoteElement& r) {
    fill(static_cast<Zarn::TileNumberedMapElement&>(r));
    r.note = 4;
}
void fill(Zarn::MusicalNoteControllerElement& r) {
    fill(static_cast<Zarn::MusicalNoteElement&>(r));
    r.controllerTime = 0.75f;
    r.noteSequences = {{1, 2, 3}, {}, {4}};
    r.firstActions.push_back(std::make_unique<Zarn::NumberActionData>(9, 40));
    r.secondActions.push_back(std::make_unique<Zarn::ActionData>(37));
}
void fill(Zarn::GroupedNumberedElement& r) {
    fill(static_cast<Zarn::MapElement&>(r));
    r.number = 90;
    r.groupFlag = 1;
    r.groupTime = 1.25f;
    r.memberNumbers = {91, 92, 93};
}
void fill(Zarn::CoinElement& r) {
    fill(static_cast<Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>&>(r));
    r.value = 25;
}
void fill(Zarn::ScriptedSteerableElement& r) {
    fill(static_cast<Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>&>(r));
    r.scriptFlag = 1;
    auto move = std::make_unique<Zarn::MoveSteerableData>();
    move->actionId = 2;
    move->steerableNumber = 71;
    move->target = Point(10, 11);
    r.actions.push_back(std::move(move));
}
void fill(Zarn::LevelUpModeElement& r) {
    fill(static_cast<Zarn::MapElement&>(r));
    r.modeNumber = 3;
    r.modeFlagA = 1;
    r.modeFlagB = 0;
    r.modeValueA = 4.0f;
    r.modeValueB = 1.5f;
    r.anchor = Point(2, 3);
    r.areaCells = {Point(1, 1), Point(2, 1)};
    r.memberNumbers = {5, 6};
}

void fill(Zarn::TrapElement& r) {
    fill(static_cast<Zarn::GridCoverageElement&>(r));
    r.flag = 0;
    r.trapNumber = 17;
    r.linkNumber = 4;
    r.startsActive = 1;
    r.position = Point(1, 2);
}
void fill(Zarn::IntervalTrapElement& r) {
    fill(static_cast<Zarn::TrapElement&>(r));
    r.startDelay = 0.5f;
    r.activeTime = 1.25f;
    r.restTime = 2.0f;
}
void fill(Zarn::DelayedTrapElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.warnTime = 0.4f;
}
void fill(Zarn::RadialTrapElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.radius = 80.0f;
    r.innerPull = 3.5f;
    r.outerPull = 1.5f;
}
void fill(Zarn::LineIntervalTrapElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.length = 3;
}
void fill(Zarn::RatTrapElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.snapTime = 0.1f;
    r.holdTime = 0.9f;
    r.releaseTime = 0.3f;
    r.slowDuration = 1.75f;
    r.slowFactor = 0.25f;
}
void fill(Zarn::TrapSpawningTrapElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.spawnInterval = 1;
    r.spawnRadial = 0;
    r.spawnDelayed = 1;
    r.minCount = 2;
    r.maxCount = 5;
}
void fill(Zarn::FourPanelTrapDoorElement& r) {
    fill(static_cast<Zarn::IntervalTrapElement&>(r));
    r.panelFlag = 7;
}
void fill(Zarn::ScheduledTrapElement& r) {
    fill(static_cast<Zarn::TrapElement&>(r));
    r.loop = 1;
    r.startDelay = 0.25f;
    r.warningLead = 0.6f;
    r.entries = {Zarn::ScheduledTrapEntry(0.0f, 1, 0.5f), Zarn::ScheduledTrapEntry(1.5f, 2, 0.75f)};
}
void fill(Zarn::GroupedTrapElement& r) {
    fill(static_cast<Zarn::TrapElement&>(r));
    r.sequential = 1;
    r.stepDelay = 0.15f;
    r.memberNumbers = {17, 18};
}
void fill(Zarn::SequentialGroupedIntervalTrapElement& r) {
    fill(static_cast<Zarn::GroupedTrapElement&>(r));
    r.sequenceDelay = 0.8f;
}
void fill(Zarn::BossElement& r) {
    fill(static_cast<Zarn::TrapElement&>(r));
    r.phaseCount = 3;
    r.bossByte = 0xEE;
    r.startHealth = 12;
    r.idleTime = 1.0f;
    r.bombTime = 2.0f;
    r.spawnerTime = 3.0f;
    r.largeSpawnerTime = 4.0f;
    r.cannonTime = 5.0f;
    r.armTime = 6.0f;
    r.bombTrapNumber = 101;
    r.smallSpawnerNumber = 102;
    r.largeSpawnerNumber = 103;
    r.cannonGroupNumber = 104;
    r.arm0Number = 105;
    r.arm1Number = 106;
    r.bossCellA = Point(8, 8);
    r.bossCellB = Point(9, 8);
}

Zarn::ActionList sampleActions() {
    Zarn::ActionList actions;
    actions.push_back(std::make_unique<Zarn::ActionData>(34));
    actions.push_back(std::make_unique<Zarn::NumberActionData>(4, 17));
    auto two = std::make_unique<Zarn::TwoNumbersActionData>();
    two->actionId = 17;
    two->firstNumber = 3;
    two->secondNumber = 4;
    actions.push_back(std::move(two));
    auto numbers = std::make_unique<Zarn::NumbersActionData>();
    numbers->actionId = 14;
    numbers->numbers = {7, 8, 9};
    actions.push_back(std::move(numbers));
    auto floatAction = std::make_unique<Zarn::FloatActionData>();
    floatAction->actionId = 36;
    floatAction->floatValue = 0.5f;
    actions.push_back(std::move(floatAction));
    auto move = std::make_unique<Zarn::MoveSteerableData>();
    move->actionId = 23;
    move->steerableNumber = 300;
    move->target = Point(-2, 40);
    actions.push_back(std::move(move));
    auto fpositions = std::make_unique<Zarn::PositionsActionData<GeometryLib::FPoint>>();
    fpositions->actionId = 33;
    fpositions->positions = {GeometryLib::FPoint(1.5f, 2.5f), GeometryLib::FPoint(-3.0f, 4.0f)};
    actions.push_back(std::move(fpositions));
    auto positions = std::make_unique<Zarn::PositionsActionData<GeometryLib::Point>>();
    positions->actionId = 35;
    positions->positions = {Point(1, 1), Point(1, 1), Point(2, 3)};
    actions.push_back(std::move(positions));
    auto inner = std::make_unique<Zarn::TimerActionData>();
    inner->actionId = 16;
    inner->delay = 0.25f;
    inner->action = std::make_unique<Zarn::NumberActionData>(38, 2);
    auto timer = std::make_unique<Zarn::TimerActionData>();
    timer->actionId = 16;
    timer->delay = 1.5f;
    timer->action = std::move(inner);
    actions.push_back(std::move(timer));
    return actions;
}

Zarn::MapEventData sampleEvent(u32 triggerId, u32 eventId, Zarn::ActionList actions) {
    Zarn::MapEventData event;
    switch (triggerId) {
        case 5: {
            auto t = std::make_unique<Zarn::PositionTriggerData>();
            t->cell = Point(6, 3);
            event.trigger = std::move(t);
            break;
        }
        case 19: {
            auto t = std::make_unique<Zarn::TimerTriggerData>();
            t->time = 12.5f;
            event.trigger = std::move(t);
            break;
        }
        case 20: {
            auto t = std::make_unique<Zarn::AreaTriggerData>();
            t->cells = {Point(0, 0), Point(0, 1), Point(1, 0)};
            event.trigger = std::move(t);
            break;
        }
        case 1:
            event.trigger = std::make_unique<Zarn::TriggerData>();
            break;
        default: {
            auto t = std::make_unique<Zarn::NumberTriggerData>();
            t->number = 17;
            event.trigger = std::move(t);
            break;
        }
    }
    event.trigger->triggerId = triggerId;
    event.trigger->count = 2;
    event.actions = std::move(actions);
    event.eventId = eventId;
    event.enabled = eventId % 2 == 0 ? 1 : 0;
    return event;
}

std::vector<std::unique_ptr<Zarn::TrapElement>> sampleTrapRecords() {
    std::vector<std::unique_ptr<Zarn::TrapElement>> records;
    records.push_back(std::make_unique<Zarn::IntervalTrapElement>(sample<Zarn::IntervalTrapElement>(43)));
    records.push_back(std::make_unique<Zarn::DelayedTrapElement>(sample<Zarn::DelayedTrapElement>(46)));
    records.push_back(std::make_unique<Zarn::RatTrapElement>(sample<Zarn::RatTrapElement>(49)));
    records.push_back(std::make_unique<Zarn::RadialTrapElement>(sample<Zarn::RadialTrapElement>(55)));
    records.push_back(std::make_unique<Zarn::ScheduledTrapElement>(sample<Zarn::ScheduledTrapElement>(121)));
    records.push_back(
        std::make_unique<Zarn::TrapSpawningTrapElement>(sample<Zarn::TrapSpawningTrapElement>(130)));
    records.push_back(
        std::make_unique<Zarn::LineIntervalTrapElement>(sample<Zarn::LineIntervalTrapElement>(131)));
    records.push_back(std::make_unique<Zarn::BossElement>(sample<Zarn::BossElement>(133)));
    records.push_back(
        std::make_unique<Zarn::FourPanelTrapDoorElement>(sample<Zarn::FourPanelTrapDoorElement>(356)));
    return records;
}

std::vector<std::unique_ptr<Zarn::GroupedTrapElement>> sampleTrapGroupRecords() {
    std::vector<std::unique_ptr<Zarn::GroupedTrapElement>> records;
    records.push_back(std::make_unique<Zarn::GroupedTrapElement>(sample<Zarn::GroupedTrapElement>(52)));
    records.push_back(std::make_unique<Zarn::SequentialGroupedIntervalTrapElement>(
        sample<Zarn::SequentialGroupedIntervalTrapElement>(53)));
    return records;
}

std::vector<std::unique_ptr<Zarn::MapElement>> sampleElementRecords() {
    using SolidDecoration = Zarn::CombinedElement<Zarn::FreeMapElement, Zarn::RectSubElement>;
    std::vector<std::unique_ptr<Zarn::MapElement>> records;
    records.push_back(std::make_unique<Zarn::WholeTileMapElement>(sample<Zarn::WholeTileMapElement>(29)));
    records.push_back(
        std::make_unique<Zarn::TileNumberedMapElement>(sample<Zarn::TileNumberedMapElement>(42)));
    records.push_back(std::make_unique<Zarn::ConveyorElement>(sample<Zarn::ConveyorElement>(140)));
    records.push_back(std::make_unique<Zarn::MusicalNoteControllerElement>(
        sample<Zarn::MusicalNoteControllerElement>(379)));
    records.push_back(std::make_unique<Zarn::MusicalNoteElement>(sample<Zarn::MusicalNoteElement>(383)));
    records.push_back(std::make_unique<Zarn::SwitchElement>(sample<Zarn::SwitchElement>(35)));
    records.push_back(std::make_unique<Zarn::DoorElement>(sample<Zarn::DoorElement>(36)));
    records.push_back(std::make_unique<Zarn::MultiSwitchElement>(sample<Zarn::MultiSwitchElement>(59)));
    records.push_back(
        std::make_unique<Zarn::SelectiveMultiSwitchElement>(sample<Zarn::SelectiveMultiSwitchElement>(135)));
    records.push_back(std::make_unique<Zarn::AutomaticDoorElement>(sample<Zarn::AutomaticDoorElement>(164)));
    records.push_back(std::make_unique<SolidDecoration>(sample<SolidDecoration>(172)));
    records.push_back(
        std::make_unique<Zarn::ScriptedSteerableElement>(sample<Zarn::ScriptedSteerableElement>(300)));
    records.push_back(std::make_unique<Zarn::CoinElement>(sample<Zarn::CoinElement>(348)));
    records.push_back(std::make_unique<Zarn::FreeMapElement>(sample<Zarn::FreeMapElement>(204)));
    records.push_back(
        std::make_unique<Zarn::GroupedNumberedElement>(sample<Zarn::GroupedNumberedElement>(141)));
    records.push_back(std::make_unique<Zarn::LevelUpModeElement>(sample<Zarn::LevelUpModeElement>(443)));
    return records;
}

std::vector<Zarn::MapEventData> sampleEvents() {
    Zarn::ActionList actions = sampleActions();
    std::vector<Zarn::MapEventData> events;
    const u32 triggerIds[] = {1, 5, 7, 19, 20};
    for (u32 i = 0; i < 5; ++i) {
        Zarn::ActionList mine;
        for (std::size_t a = i; a < actions.size(); a += 5) mine.push_back(actions[a]->clone());
        events.push_back(sampleEvent(triggerIds[i], 100 + i, std::move(mine)));
    }
    events.push_back(sampleEvent(18, 200, {}));
    return events;
}

}  // namespace zarn_test
