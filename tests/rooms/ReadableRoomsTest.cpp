#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <tuple>

#include "map/import/GameMap.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/TrapElement.h"
#include "map/records/TrapRecordClass.h"
#include "rooms/support/ShippedRooms.h"
#include "simulation/core/GameWorld.h"
#include "world/elements/InteractiveMapElementState.h"

namespace {

// The shortest warning a player gets before anything in a shipped room turns
// lethal: long enough to see it coming and step back.
constexpr float kShortestWarning = 0.5f;

// How long a trap record warns before its lethal phase, in seconds, or a
// negative value for a record that never kills (slowing floors, rat traps,
// vortices, spawners and groups, whose members carry their own times).
//  - a cycling trap arms for half its rest time; one with no rest time is
//    lethal all along once enabled, a standing danger with nothing to warn of;
//  - a delayed trap set off by a step, and a bomb, wait their start delay;
//  - an arm locks onto its target for its warn time before it strikes;
//  - a scheduled trap shows its warning its lead before each switch.
float warningOf(const Zarn::TrapElement& trap) {
    using Zarn::TrapRecordClass;
    switch (trap.elementId) {
        case 43:     // trap door
        case 356:    // four-panel trap door
        case 127:    // spikes
        case 56:     // red light
        case 131:    // cannon
        case 134: {  // bombable trap door
            const auto& t = static_cast<const Zarn::IntervalTrapElement&>(trap);
            return t.restTime <= 0.0f ? kShortestWarning : t.restTime * 0.5f;
        }
        case 46:   // delayed spikes
        case 128:  // bomb
            return static_cast<const Zarn::IntervalTrapElement&>(trap).startDelay;
        case 50:
        case 51:
        case 132:
        case 136:  // arms
            return static_cast<const Zarn::DelayedTrapElement&>(trap).warnTime;
        default:
            break;
    }
    if (Zarn::trapRecordClassOf(trap.elementId) == TrapRecordClass::scheduled)
        return static_cast<const Zarn::ScheduledTrapElement&>(trap).warningLead;
    return -1.0f;
}

class ShippedRoomRecords : public ::testing::TestWithParam<std::string> {
protected:
    void SetUp() override {
        const std::vector<u8> bytes = zarn_test::shippedMap(GetParam());
        ASSERT_FALSE(bytes.empty()) << "maps/" << GetParam() << ".map is not built";
        zarn_test::readRecords(bytes, map);
    }
    Zarn::GameMap map;
};

// No death the player could not have seen coming: every lethal trap of every
// shipped room shows its warning for at least half a second. A failure names
// the trap by its number and cell.
TEST_P(ShippedRoomRecords, EveryLethalTrapWarnsLongEnoughToRead) {
    for (const auto& trap : map.trapRecords) {
        const float warning = warningOf(*trap);
        if (warning < 0.0f) continue;
        EXPECT_GE(warning + 1e-4f, kShortestWarning)
            << "trap " << trap->trapNumber << " (kind " << trap->elementId << ") at " << trap->position.x
            << "," << trap->position.y << " warns for " << warning << " s";
    }
}

// The kinds whose active state kills: trap doors, spikes, the red light, the
// cannon, the bombable trap door and the scheduled trap doors and spikes.
bool killsWhenActive(u32 elementId) {
    switch (elementId) {
        case 43:
        case 356:
        case 127:
        case 56:
        case 131:
        case 134:
        case 121:
        case 122:
            return true;
        default:
            return false;
    }
}

// The same seen in play, which also catches what the records alone do not
// (a trap switched by a lever, a group or a sequence): with a player in the
// room and twenty seconds of ticks, every time a lethal trap turns active it
// has shown its warning (state 0) for at least half a second, to the tick.
TEST_P(ShippedRoomRecords, EveryLethalTrapWarnsBeforeEachStrikeInPlay) {
    constexpr float kTick = 0.03f;
    const std::vector<u8> bytes = zarn_test::shippedMap(GetParam());
    Zarn::GameWorld world;
    std::istringstream in(std::string(bytes.begin(), bytes.end()));
    world.loadMap(in);
    world.addPlayer(1);
    struct Seen {
        int value = -1;
        int warningSince = -1;
    };
    std::map<const Zarn::Trap*, Seen> seen;
    for (int tick = 0; tick < 700; ++tick) {
        world.stepOnce();
        for (const auto& trap : world.traps) {
            if (!killsWhenActive(trap->trapRecord->elementId)) continue;
            const auto* state = dynamic_cast<const Zarn::IntervalTrapIMEState*>(&trap->getState());
            if (state == nullptr) continue;
            const int value = static_cast<int>(state->value);
            Seen& s = seen[trap.get()];
            if (value == 0 && s.value != 0) s.warningSince = tick;
            if (value == 1 && s.value != 1 && s.value != -1) {
                const int ticks = s.value == 0 ? tick - s.warningSince : 0;
                EXPECT_GE((static_cast<float>(ticks) + 1.0f) * kTick, kShortestWarning)
                    << "trap " << trap->trapRecord->trapNumber << " at " << trap->trapRecord->position.x
                    << "," << trap->trapRecord->position.y << " turned lethal at tick " << tick
                    << " after warning " << ticks << " ticks";
            }
            s.value = value;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Rooms, ShippedRoomRecords, ::testing::ValuesIn(zarn_test::shippedRooms()),
                         [](const auto& info) { return info.param; });

// A room's layout as a player first sees it: its size in cells, the cell the
// rat starts on and the first exit cell.
struct Layout {
    u32 columns = 0;
    u32 rows = 0;
    i32 startX = 0;
    i32 startY = 0;
    i32 exitX = -1;
    i32 exitY = -1;

    auto key() const { return std::tie(columns, rows, startX, startY, exitX, exitY); }
    bool operator<(const Layout& o) const { return key() < o.key(); }
    std::string text() const {
        std::ostringstream out;
        out << columns << "x" << rows << " start " << startX << "," << startY << " exit " << exitX << ","
            << exitY;
        return out.str();
    }
};

Layout layoutOf(const std::string& name) {
    Zarn::GameMap map;
    zarn_test::readRecords(zarn_test::shippedMap(name), map);
    Layout l;
    l.columns = map.grid.getColumns();
    l.rows = map.grid.getRows();
    const i32 cell = static_cast<i32>(map.grid.getCellSize());
    if (cell > 0) {
        l.startX = map.header.spawnPoint.x / cell;
        l.startY = map.header.spawnPoint.y / cell;
    }
    // The exit floors of the four art sets.
    for (const auto& e : map.mapElements) {
        const u32 id = e->elementId;
        if (id != 435 && id != 437 && id != 439 && id != 445) continue;
        const auto* tile = dynamic_cast<const Zarn::WholeTileMapElement*>(e.get());
        if (tile == nullptr) continue;
        l.exitX = tile->cell.x;
        l.exitY = tile->cell.y;
        break;
    }
    return l;
}

// The story does not repeat one box: across the level table no layout (size,
// start cell and exit cell) is shared by more than two rooms, the rooms come
// in several sizes, and no two floors in a row share a layout.
TEST(ShippedRoomLayouts, TheStoryVariesItsRoomsShapesStartsAndExits) {
    const std::vector<std::string>& rooms = zarn_test::levelTableRooms();
    std::map<Layout, std::vector<std::string>> byLayout;
    std::map<std::pair<u32, u32>, int> sizes;
    Layout previous;
    std::string previousName;
    for (const std::string& name : rooms) {
        const Layout l = layoutOf(name);
        EXPECT_GE(l.exitX, 0) << name << " has no exit floor";
        byLayout[l].push_back(name);
        ++sizes[{l.columns, l.rows}];
        if (!previousName.empty()) {
            EXPECT_FALSE(l.key() == previous.key())
                << previousName << " and " << name << " follow each other with one layout, " << l.text();
        }
        previous = l;
        previousName = name;
    }
    for (const auto& [layout, names] : byLayout) {
        std::string list;
        for (const std::string& n : names) list += n + " ";
        EXPECT_LE(names.size(), 2u) << layout.text() << " is the layout of " << list;
    }
    EXPECT_GE(sizes.size(), 8u) << "the story's rooms come in only " << sizes.size() << " sizes";
}

}  // namespace
