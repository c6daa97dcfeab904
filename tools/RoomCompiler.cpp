#include "tools/RoomCompiler.h"

#include <algorithm>
#include <map>
#include <set>

#include "map/records/BossElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "tools/RoomBuild.h"

namespace Zarn {

using GeometryLib::Point;
using GeometryLib::Rect;

// ---- RoomBuild -------------------------------------------------------------

Point RoomBuild::centre(const Point& cell) const {
    const i32 s = static_cast<i32>(cellSize);
    return Point(static_cast<i16>(cell.x * s + s / 2), static_cast<i16>(cell.y * s + s / 2));
}

Point RoomBuild::corner(const Point& cell) const {
    const i32 s = static_cast<i32>(cellSize);
    return Point(static_cast<i16>(cell.x * s), static_cast<i16>(cell.y * s));
}

void RoomBuild::claimTrapNumber(u32 number, int line) {
    if (number == 0) throw RoomSourceError(line, "trap number 0 is not allowed");
    if (!trapNumbers.insert(number).second)
        throw RoomSourceError(line, "trap number " + std::to_string(number) + " is used twice");
}

void RoomBuild::claimElementNumber(u32 number, int line) {
    if (!elementNumbers.insert(number).second)
        throw RoomSourceError(line, "element number " + std::to_string(number) + " is used twice");
}

void RoomBuild::claimEventId(u32 id, int line) {
    if (!eventIds.insert(id).second)
        throw RoomSourceError(line, "event " + std::to_string(id) + " is used twice");
}

u32 RoomBuild::freeTrapNumber(u32 from) const {
    while (trapNumbers.count(from)) ++from;
    return from;
}

u32 RoomBuild::freeElementNumber(u32 from) const {
    while (elementNumbers.count(from)) ++from;
    return from;
}

// ---- rectangles ------------------------------------------------------------

std::vector<Rect> maximalFreeRectangles(const std::vector<u8>& tiles, u32 columns, u32 rows) {
    auto freeCell = [&](u32 x, u32 y) { return tiles[static_cast<std::size_t>(y) * columns + x] != 1; };
    auto freeRun = [&](u32 x0, u32 x1, u32 y) {
        for (u32 x = x0; x <= x1; ++x)
            if (!freeCell(x, y)) return false;
        return true;
    };
    std::vector<Rect> found;
    for (u32 y0 = 0; y0 < rows; ++y0) {
        for (u32 y1 = y0; y1 < rows; ++y1) {
            // Columns free in every row from y0 to y1, taken as maximal runs.
            u32 x = 0;
            while (x < columns) {
                auto columnFree = [&](u32 cx) {
                    for (u32 y = y0; y <= y1; ++y)
                        if (!freeCell(cx, y)) return false;
                    return true;
                };
                if (!columnFree(x)) {
                    ++x;
                    continue;
                }
                u32 end = x;
                while (end + 1 < columns && columnFree(end + 1)) ++end;
                const bool growsDown = y0 > 0 && freeRun(x, end, y0 - 1);
                const bool growsUp = y1 + 1 < rows && freeRun(x, end, y1 + 1);
                if (!growsDown && !growsUp)
                    found.emplace_back(end - x + 1, y1 - y0 + 1,
                                       Point(static_cast<i16>(x), static_cast<i16>(y0)));
                x = end + 1;
            }
        }
    }
    return found;
}

namespace {

// ---- statements ------------------------------------------------------------

std::vector<u32> membersOf(const Params& p, int line) {
    std::vector<u32> members = p.counts("members");
    if (members.empty()) throw RoomSourceError(line, "members= names no number");
    return members;
}

void addEvent(RoomBuild& b, const Statement& s) {
    const auto when = std::find(s.words.begin(), s.words.end(), "when");
    const auto then = std::find(s.words.begin(), s.words.end(), "do");
    if (s.words.empty() || when == s.words.end() || then == s.words.end() || then < when)
        throw RoomSourceError(s.line, "expected 'event ID [count=N] [off] when TRIGGER do ACTIONS'");
    MapEventData e;
    e.eventId = parseCount(s.words.front(), s.line);
    b.claimEventId(e.eventId, s.line);
    b.lines["event " + std::to_string(e.eventId)] = s.line;
    const Params options(std::vector<std::string>(s.words.begin() + 1, when), 0, s.line);
    options.checkKnown({"count", "off"});
    e.enabled = options.flag("off") ? 0 : 1;
    e.trigger =
        parseTrigger(std::vector<std::string>(when + 1, then), options.count("count", 1), b.places, s.line);
    e.actions = parseActionList(std::vector<std::string>(then + 1, s.words.end()), b.places, s.line);
    if (e.actions.empty()) throw RoomSourceError(s.line, "the event does nothing");
    b.contents.events.push_back(std::move(e));
}

void addTrapGroup(RoomBuild& b, const Statement& s) {
    if (s.words.empty()) throw RoomSourceError(s.line, "expected '" + s.keyword + " N members=..'");
    const u32 number = parseCount(s.words.front(), s.line);
    const Params p(s.words, 1, s.line);
    const bool sequence = s.keyword == "sequence";
    p.checkKnown(sequence ? std::vector<std::string>{"members", "delay", "step"}
                          : std::vector<std::string>{"members", "sequential", "step"});
    std::unique_ptr<GroupedTrapElement> g;
    if (sequence) {
        auto seq = std::make_unique<SequentialGroupedIntervalTrapElement>();
        seq->elementId = 53;
        seq->sequenceDelay = p.number("delay", 0.0f);
        g = std::move(seq);
    } else {
        g = std::make_unique<GroupedTrapElement>();
        g->elementId = 52;
        g->sequential = p.flag("sequential") ? 1 : 0;
    }
    b.claimTrapNumber(number, s.line);
    b.lines["trap group " + std::to_string(number)] = s.line;
    g->trapNumber = number;
    g->stepDelay = p.number("step", 0.1f);
    g->memberNumbers = membersOf(p, s.line);
    b.contents.trapGroups.push_back(std::move(g));
}

void addElementGroup(RoomBuild& b, const Statement& s) {
    if (s.words.empty()) throw RoomSourceError(s.line, "expected 'elements N members=..'");
    const Params p(s.words, 1, s.line);
    p.checkKnown({"members", "sequential", "step", "id"});
    auto g = std::make_unique<GroupedNumberedElement>();
    g->elementId = p.count("id", 141);
    if (g->elementId != 141 && g->elementId != 142)
        throw RoomSourceError(s.line, "an element group is 141 or 142");
    g->number = parseCount(s.words.front(), s.line);
    b.claimElementNumber(g->number, s.line);
    b.lines["element group " + std::to_string(g->number)] = s.line;
    g->groupFlag = p.flag("sequential") ? 1 : 0;
    g->groupTime = p.number("step", 0.1f);
    g->memberNumbers = membersOf(p, s.line);
    b.contents.elements.push_back(std::move(g));
}

void addLevelUp(RoomBuild& b, const Statement& s) {
    if (s.words.empty())
        throw RoomSourceError(s.line, "expected 'levelup N anchor=X,Y goal=SYMBOL stages=..'");
    const Params p(s.words, 1, s.line);
    p.checkKnown({"anchor", "goal", "stages", "start", "pause", "loop", "random"});
    auto m = std::make_unique<LevelUpModeElement>();
    m->elementId = 443;
    m->modeNumber = parseCount(s.words.front(), s.line);
    b.claimElementNumber(m->modeNumber, s.line);
    b.lines["level-up mode " + std::to_string(m->modeNumber)] = s.line;
    m->modeFlagA = p.flag("random") ? 1 : 0;
    m->modeFlagB = p.flag("loop") ? 1 : 0;
    m->modeValueA = p.number("start", 0.0f);
    m->modeValueB = p.number("pause", 1.0f);
    const std::vector<u32> anchor = p.counts("anchor");
    if (anchor.size() != 2) throw RoomSourceError(s.line, "anchor= needs a cell X,Y");
    m->anchor = b.centre(Point(static_cast<i16>(anchor[0]), static_cast<i16>(anchor[1])));
    const std::string goal = p.text("goal");
    if (goal.size() != 1 || b.places.cellsOf(goal[0]).empty())
        throw RoomSourceError(s.line, "goal= needs a symbol on the grid");
    for (const Point& c : b.places.cellsOf(goal[0])) m->areaCells.insert(c);
    m->memberNumbers = p.counts("stages");
    if (m->memberNumbers.empty()) throw RoomSourceError(s.line, "stages= names no trap");
    b.contents.elements.push_back(std::move(m));
}

void addDialog(RoomBuild& b, const Statement& s) {
    if (s.words.size() < 3) throw RoomSourceError(s.line, "expected 'dialog N SPEAKER \"TEXT\" [at=X,Y]'");
    DialogEntry d;
    d.number = parseCount(s.words[0], s.line);
    if (!b.dialogNumbers.insert(d.number).second)
        throw RoomSourceError(s.line, "dialog " + s.words[0] + " is given twice");
    d.speaker = s.words[1];
    d.text = s.words[2];
    const Params p(s.words, 3, s.line);
    p.checkKnown({"at"});
    const std::vector<u32> at = p.counts("at");
    if (!at.empty()) {
        if (at.size() != 2) throw RoomSourceError(s.line, "at= needs a cell X,Y");
        d.position = b.centre(Point(static_cast<i16>(at[0]), static_cast<i16>(at[1])));
    }
    b.contents.dialogs.push_back(std::move(d));
}

void addCamera(RoomBuild& b, const Statement& s) {
    if (s.words.size() != 4) throw RoomSourceError(s.line, "expected 'camera X Y W H'");
    const u32 x = parseCount(s.words[0], s.line), y = parseCount(s.words[1], s.line);
    const u32 w = parseCount(s.words[2], s.line), h = parseCount(s.words[3], s.line);
    // Camera rectangles have their origin at the top-left corner (y grows up).
    b.contents.cameraRegions.regions.emplace_back(
        w * b.cellSize, h * b.cellSize, b.corner(Point(static_cast<i16>(x), static_cast<i16>(y + h))));
    b.contents.cameraRegions.transitions.emplace_back();
}

void addZOrder(RoomBuild& b, const Statement& s) {
    if (s.words.size() != 4) throw RoomSourceError(s.line, "expected 'zorder ID NAME A B'");
    b.contents.zOrders.emplace_back(parseCount(s.words[0], s.line), s.words[1],
                                    static_cast<u8>(parseCount(s.words[2], s.line)),
                                    static_cast<u8>(parseCount(s.words[3], s.line)));
}

}  // namespace

MapContents compileRoom(const RoomText& room) {
    RoomBuild b;
    b.cellSize = room.cellSize;
    b.art = room.art;
    b.rows = static_cast<u32>(room.picture.size());
    b.columns = static_cast<u32>(room.picture.front().size());
    for (std::size_t i = 0; i < room.picture.size(); ++i) {
        if (room.picture[i].size() != b.columns)
            throw RoomSourceError(room.pictureLine + static_cast<int>(i), "the grid's rows differ in length");
    }
    if (b.columns > 64 || b.rows > 64)
        throw RoomSourceError(room.pictureLine, "the grid is larger than 64 x 64");

    // Cells of every symbol in reading order: picture line i is row rows-1-i.
    std::map<char, std::vector<Point>> symbolCells;
    b.contents.tiles.assign(static_cast<std::size_t>(b.columns) * b.rows, 0);
    for (u32 i = 0; i < b.rows; ++i) {
        const u32 y = b.rows - 1 - i;
        for (u32 x = 0; x < b.columns; ++x) {
            const char c = room.picture[i][x];
            if (c == '#') b.contents.tiles[static_cast<std::size_t>(y) * b.columns + x] = 1;
            if (c != '#' && c != '.') symbolCells[c].emplace_back(static_cast<i16>(x), static_cast<i16>(y));
        }
    }
    b.places.cellSize = b.cellSize;
    b.places.cellsOf = [&symbolCells](char c) {
        const auto it = symbolCells.find(c);
        return it == symbolCells.end() ? std::vector<Point>{} : it->second;
    };

    // "also S X,Y ..": cells under other symbols that symbol S covers as well
    // (a coin on a trap door, say).
    for (const Statement& s : room.statements) {
        if (s.keyword != "also") continue;
        if (s.words.size() < 2 || s.words.front().size() != 1)
            throw RoomSourceError(s.line, "expected 'also SYMBOL X,Y ..'");
        for (std::size_t i = 1; i < s.words.size(); ++i) {
            const std::vector<u32> xy = parseCountList(s.words[i], s.line);
            if (xy.size() != 2 || xy[0] >= b.columns || xy[1] >= b.rows)
                throw RoomSourceError(s.line, "'" + s.words[i] + "' is not a cell X,Y of the grid");
            if (b.contents.tiles[static_cast<std::size_t>(xy[1]) * b.columns + xy[0]] == 1)
                throw RoomSourceError(s.line, "cell " + s.words[i] + " is a wall");
            symbolCells[s.words.front()[0]].emplace_back(static_cast<i16>(xy[0]), static_cast<i16>(xy[1]));
        }
    }

    std::set<char> declared;
    for (const SymbolDeclaration& d : room.symbols) {
        if (d.symbol == '#' || d.symbol == '.' || !declared.insert(d.symbol).second)
            throw RoomSourceError(d.line, std::string("symbol '") + d.symbol + "' cannot be declared here");
    }
    for (const auto& [symbol, cells] : symbolCells) {
        if (!declared.count(symbol))
            throw RoomSourceError(room.pictureLine, std::string("symbol '") + symbol + "' is not declared");
    }

    // Walls and floors first, so that they are drawn under everything else;
    // the symbols' records are placed behind them and take their floor back.
    std::vector<std::unique_ptr<MapElement>> floors;
    for (const SymbolDeclaration& d : room.symbols) {
        const auto cells = symbolCells.find(d.symbol);
        if (cells == symbolCells.end())
            throw RoomSourceError(d.line, std::string("symbol '") + d.symbol + "' is on no cell of the grid");
        addSymbolRecords(b, d, cells->second);
    }
    for (const Statement& s : room.statements) {
        if (s.keyword == "event")
            addEvent(b, s);
        else if (s.keyword == "group" || s.keyword == "sequence")
            addTrapGroup(b, s);
        else if (s.keyword == "elements")
            addElementGroup(b, s);
        else if (s.keyword == "levelup")
            addLevelUp(b, s);
        else if (s.keyword == "dialog")
            addDialog(b, s);
        else if (s.keyword == "camera")
            addCamera(b, s);
        else if (s.keyword == "zorder")
            addZOrder(b, s);
        else if (s.keyword == "also")
            continue;
        else
            throw RoomSourceError(s.line, "unknown statement '" + s.keyword + "'");
    }
    // Groups declared on symbols, completed by a group statement of the same number.
    for (const auto& [number, members] : b.symbolGroups) {
        auto it = std::find_if(b.contents.trapGroups.begin(), b.contents.trapGroups.end(),
                               [n = number](const auto& g) { return g->trapNumber == n; });
        if (it == b.contents.trapGroups.end()) {
            auto g = std::make_unique<GroupedTrapElement>();
            g->elementId = 52;
            g->trapNumber = number;
            g->stepDelay = 0.1f;
            b.claimTrapNumber(number, 0);
            b.contents.trapGroups.push_back(std::move(g));
            it = std::prev(b.contents.trapGroups.end());
        }
        for (u32 m : members) (*it)->memberNumbers.push_back(m);
    }
    // A group's members are ticked by the group alone.
    for (const auto& g : b.contents.trapGroups) {
        for (u32 m : g->memberNumbers) {
            for (const auto& t : b.contents.traps) {
                if (t->trapNumber == m) t->linkNumber = g->trapNumber;
            }
        }
    }
    if (!b.spawn) throw RoomSourceError(0, "the room has no spawn cell");

    static constexpr u32 floorIds[] = {29, 148, 150, 151};
    static constexpr u32 wallIds[] = {155, 156, 157, 158};
    for (u32 y = 0; y < b.rows; ++y) {
        for (u32 x = 0; x < b.columns; ++x) {
            const Point cell(static_cast<i16>(x), static_cast<i16>(y));
            if (b.floorTaken.count(cell.key)) continue;
            auto tile = std::make_unique<WholeTileMapElement>();
            const bool solid = b.contents.tiles[static_cast<std::size_t>(y) * b.columns + x] == 1;
            tile->elementId = solid ? wallIds[b.art - 1] : floorIds[b.art - 1];
            tile->cell = cell;
            floors.push_back(std::move(tile));
        }
    }
    for (auto& e : b.contents.elements) floors.push_back(std::move(e));
    b.contents.elements = std::move(floors);

    b.contents.header = MapHeader(room.name, b.centre(*b.spawn));
    b.contents.properties = MapProperties(b.columns * b.cellSize, b.rows * b.cellSize, b.cellSize);
    b.contents.maximalRectangles = maximalFreeRectangles(b.contents.tiles, b.columns, b.rows);
    checkRoomReferences(b);
    return std::move(b.contents);
}

MapContents compileRoomSource(const std::string& source, const std::string& fallbackName) {
    return compileRoom(parseRoomText(source, fallbackName));
}

}  // namespace Zarn
