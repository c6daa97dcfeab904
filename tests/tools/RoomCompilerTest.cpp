#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "map/records/DoorElement.h"
#include "map/records/SwitchElement.h"
#include "tools/RoomCompiler.h"
#include "tools/RoomText.h"

using namespace Zarn;
using GeometryLib::Point;
using GeometryLib::Rect;

namespace {

// A room of 6 x 4 cells: walls round it, a row of three trap doors in a
// group, a lever that opens a door, and an exit.
const char* kRoom = R"(# a comment
room lab
cell 32
grid
######
#STTL#
#..D.E
######
end
S: spawn
E: exit
T: trapdoor number=11 on=0.5 off=1.5 group=20   # two traps
L: lever number=40 first="open-door 41; after 1.5 close-door 41"
D: door number=41 side
dialog 3 tali "Hello&&there"
event 1 when start do enable-trap 20; dialog 3
)";

template <class R>
std::vector<const R*> recordsOf(const std::vector<std::unique_ptr<MapElement>>& elements) {
    std::vector<const R*> found;
    for (const auto& e : elements) {
        if (auto* r = dynamic_cast<const R*>(e.get())) found.push_back(r);
    }
    return found;
}

TEST(RoomCompiler, TurnsThePictureAndTheDeclarationsIntoRecords) {
    const MapContents room = compileRoomSource(kRoom, "fallback");
    EXPECT_EQ(room.header.name, "lab");
    EXPECT_EQ(room.properties, MapProperties(192, 128, 32));
    // The picture's last line is row 0.
    EXPECT_EQ(room.tiles, (std::vector<u8>{1, 1, 1, 1, 1, 1,  //
                                           1, 0, 0, 0, 0, 0,  //
                                           1, 0, 0, 0, 0, 1,  //
                                           1, 1, 1, 1, 1, 1}));
    EXPECT_EQ(room.header.spawnPoint, Point(48, 80));

    // One trap per cell, numbered in reading order, each linked to its group.
    ASSERT_EQ(room.traps.size(), 2u);
    EXPECT_EQ(room.traps[0]->trapNumber, 11u);
    EXPECT_EQ(room.traps[0]->position, Point(2, 2));
    EXPECT_EQ(room.traps[1]->trapNumber, 12u);
    EXPECT_EQ(room.traps[1]->position, Point(3, 2));
    for (const auto& t : room.traps) EXPECT_EQ(t->linkNumber, 20u);
    ASSERT_EQ(room.trapGroups.size(), 1u);
    EXPECT_EQ(room.trapGroups[0]->trapNumber, 20u);
    EXPECT_EQ(room.trapGroups[0]->memberNumbers, (std::vector<u32>{11, 12}));

    const auto levers = recordsOf<SwitchElement>(room.elements);
    ASSERT_EQ(levers.size(), 1u);
    EXPECT_EQ(levers[0]->position, Point(144, 80));
    ASSERT_EQ(levers[0]->firstActions.size(), 2u);
    EXPECT_EQ(levers[0]->firstActions[1]->actionId, 16u);
    const auto doors = recordsOf<DoorElement>(room.elements);
    ASSERT_EQ(doors.size(), 1u);
    EXPECT_EQ(doors[0]->elementId, 37u);
    EXPECT_EQ(doors[0]->position, Point(96, 32));
    EXPECT_EQ(doors[0]->width, 32u);

    // The exit is an area event that takes every player who steps on it out
    // of the level (it never runs out of firings); the start event is the
    // source's.
    ASSERT_EQ(room.events.size(), 2u);
    EXPECT_EQ(room.events[0].trigger->triggerId, 20u);
    EXPECT_EQ(room.events[0].trigger->count, std::numeric_limits<u32>::max());
    EXPECT_EQ(room.events[0].actions.front()->actionId, 37u);
    EXPECT_EQ(room.events[1].trigger->triggerId, 1u);
    EXPECT_EQ(room.events[1].actions.size(), 2u);
    ASSERT_EQ(room.dialogs.size(), 1u);
    EXPECT_EQ(room.dialogs[0].text, "Hello&&there");

    // A floor or wall tile for every cell the symbols leave bare, drawn first.
    EXPECT_EQ(room.elements.front()->elementId, 155u);
    EXPECT_EQ(room.maximalRectangles.size(), 2u);
}

struct Fault {
    const char* what;
    std::string source;
    int line;
    const char* message;
};

// A one-row room: "grid" on line 1, its three rows on lines 2 to 4, "S: spawn"
// on line 6 and the given lines from line 7 on.
std::string roomWith(const std::string& row, const std::string& rest) {
    const std::string wall(row.size(), '#');
    return "grid\n" + wall + "\n" + row + "\n" + wall + "\nend\nS: spawn\n" + rest;
}

// Each fault is reported with its line and a message that names it.
TEST(RoomCompiler, RefusesFaultySourcesWithTheirLine) {
    const std::vector<Fault> faults = {
        {"undeclared symbol", roomWith("#S.A#", ""), 2, "symbol 'A' is not declared"},
        {"unknown kind", roomWith("#S.A#", "A: teleporter\n"), 7, "unknown kind 'teleporter'"},
        {"unknown setting", roomWith("#S.A#", "A: spikes speed=3\n"), 7, "unknown setting 'speed'"},
        {"number twice", roomWith("#SAB#", "A: spikes number=4\nB: spikes number=4\n"), 8,
         "trap number 4 is used twice"},
        {"missing dialog", roomWith("#S.A#", "A: spikes\nevent 1 when start do dialog 9\n"), 8,
         "event 1 names dialog 9, which does not exist"},
        {"missing trap", roomWith("#SAL#", "A: spikes number=4\nL: lever first=\"enable-trap 5\"\n"), 8,
         "lever 500 names trap 5"},
        {"bad action", roomWith("#S.A#", "A: spikes\nevent 1 when start do fly 3\n"), 8,
         "unknown action 'fly'"},
        {"no trigger", roomWith("#S.A#", "A: spikes\nevent 1 do exit\n"), 8, "expected 'event ID"},
        {"rows differ", "grid\n#####\n#S.#\n#####\nend\nS: spawn\n", 3, "rows differ in length"},
        {"no spawn", "grid\n###\n#.#\n###\nend\n", 0, "no spawn cell"},
        {"open quote", roomWith("#S.L#", "L: lever first=\"open-door 3\n"), 7, "quoted text is not closed"},
        {"wall under also", roomWith("#S.A#", "A: spikes\nc: coin\nalso c 0,0\n"), 9, "is a wall"},
    };
    for (const Fault& f : faults) {
        SCOPED_TRACE(f.what);
        try {
            compileRoomSource(f.source, "x");
            ADD_FAILURE() << "compiled";
        } catch (const RoomSourceError& e) {
            EXPECT_EQ(e.line(), f.line) << e.what();
            EXPECT_NE(e.message().find(f.message), std::string::npos) << e.what();
        }
    }
}

TEST(RoomCompiler, MaximalRectanglesCoverTheFreeCellsAndCannotGrow) {
    // Rows from the bottom; 1 is a wall.
    const std::vector<u8> plus = {1, 0, 1,  //
                                  0, 0, 0,  //
                                  1, 0, 1};
    std::vector<Rect> found = maximalFreeRectangles(plus, 3, 3);
    const auto byOrigin = [](const Rect& a, const Rect& b) { return a.origin.key < b.origin.key; };
    std::sort(found.begin(), found.end(), byOrigin);
    std::vector<Rect> expected = {Rect(3, 1, Point(0, 1)), Rect(1, 3, Point(1, 0))};
    std::sort(expected.begin(), expected.end(), byOrigin);
    EXPECT_EQ(found, expected);

    EXPECT_EQ(maximalFreeRectangles(std::vector<u8>(6, 0), 3, 2),
              (std::vector<Rect>{Rect(3, 2, Point(0, 0))}));
    EXPECT_TRUE(maximalFreeRectangles(std::vector<u8>(4, 1), 2, 2).empty());
}

TEST(RoomText, SplitsWordsQuotesAndSemicolons) {
    EXPECT_EQ(splitWords(R"(event 1 when at 3 4 do open-door 3;exit # done)"),
              (std::vector<std::string>{"event", "1", "when", "at", "3", "4", "do", "open-door", "3", ";",
                                        "exit"}));
    EXPECT_EQ(splitWords(R"(L: lever first="a \"b\"; c" off)"),
              (std::vector<std::string>{"L:", "lever", "first=a \"b\"; c", "off"}));
}

}  // namespace
