#pragma once

#include <memory>
#include <vector>

#include "map/records/ActionDataFactory.h"
#include "map/records/BossElement.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/ElevatorPadElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/GroupedTrapElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MapEventData.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "map/records/TrapElement.h"

// Records of every class with every field set to a distinct value, for tests
// and fixture maps. fill(record) sets the fields of the record's class and of
// its bases (the element ID excepted); sample<T>(id) makes a filled record.
namespace zarn_test {

void fill(Zarn::MapElement& r);
void fill(Zarn::FreeMapElement& r);
void fill(Zarn::FreeNumberedMapElement& r);
void fill(Zarn::WholeTileMapElement& r);
void fill(Zarn::TileNumberedMapElement& r);
void fill(Zarn::GridCoverageElement& r);
void fill(Zarn::RectSubElement& r);
void fill(Zarn::CircleSubElement& r);
void fill(Zarn::CombinedElement<Zarn::FreeMapElement, Zarn::RectSubElement>& r);
void fill(Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::RectSubElement>& r);
void fill(Zarn::CombinedElement<Zarn::FreeNumberedMapElement, Zarn::CircleSubElement>& r);
void fill(Zarn::SwitchElement& r);
void fill(Zarn::MultiSwitchElement& r);
void fill(Zarn::SelectiveMultiSwitchElement& r);
void fill(Zarn::DoorElement& r);
void fill(Zarn::AutomaticDoorElement& r);
void fill(Zarn::ElevatorPadElement& r);
void fill(Zarn::ConveyorElement& r);
void fill(Zarn::MusicalNoteElement& r);
void fill(Zarn::MusicalNoteControllerElement& r);
void fill(Zarn::GroupedNumberedElement& r);
void fill(Zarn::CoinElement& r);
void fill(Zarn::ScriptedSteerableElement& r);
void fill(Zarn::LevelUpModeElement& r);

void fill(Zarn::TrapElement& r);
void fill(Zarn::IntervalTrapElement& r);
void fill(Zarn::DelayedTrapElement& r);
void fill(Zarn::RadialTrapElement& r);
void fill(Zarn::LineIntervalTrapElement& r);
void fill(Zarn::RatTrapElement& r);
void fill(Zarn::TrapSpawningTrapElement& r);
void fill(Zarn::FourPanelTrapDoorElement& r);
void fill(Zarn::ScheduledTrapElement& r);
void fill(Zarn::GroupedTrapElement& r);
void fill(Zarn::SequentialGroupedIntervalTrapElement& r);
void fill(Zarn::BossElement& r);

template <class T>
T sample(u32 elementId) {
    T record;
    fill(record);
    record.elementId = elementId;
    return record;
}

// One action record of every action class (with nested timers).
Zarn::ActionList sampleActions();
// A map event: the trigger of the given ID (1, 5, 6-18, 19 or 20) with its
// fields set, and the given actions.
Zarn::MapEventData sampleEvent(u32 triggerId, u32 eventId, Zarn::ActionList actions);

// Every trap record class under an ID the trap section reads it as.
std::vector<std::unique_ptr<Zarn::TrapElement>> sampleTrapRecords();
// Both trap group record classes.
std::vector<std::unique_ptr<Zarn::GroupedTrapElement>> sampleTrapGroupRecords();
// Every element record class the element section makes, under an ID that
// selects it.
std::vector<std::unique_ptr<Zarn::MapElement>> sampleElementRecords();
// One event per trigger class, the actions spread over them.
std::vector<Zarn::MapEventData> sampleEvents();

}  // namespace zarn_test
