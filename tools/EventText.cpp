#include "tools/EventText.h"

#include <map>

#include "tools/RoomText.h"

namespace Zarn {

using GeometryLib::FPoint;
using GeometryLib::Point;

namespace {

using Words = std::vector<std::string>;

void expectWords(const Words& words, std::size_t n, const std::string& usage, int line) {
    if (words.size() != n) throw RoomSourceError(line, "expected '" + usage + "'");
}

i16 cellCoordinate(const std::string& word, int line) {
    const u32 v = parseCount(word, line);
    if (v > 1000) throw RoomSourceError(line, "cell " + word + " is outside any room");
    return static_cast<i16>(v);
}

Point cellAt(const std::string& x, const std::string& y, int line) {
    return Point(cellCoordinate(x, line), cellCoordinate(y, line));
}

// "X,Y" as a cell.
Point cellPair(const std::string& word, int line) {
    const std::vector<u32> xy = parseCountList(word, line);
    if (xy.size() != 2 || word.find(',') == std::string::npos)
        throw RoomSourceError(line, "'" + word + "' is not a cell X,Y");
    return cellAt(std::to_string(xy[0]), std::to_string(xy[1]), line);
}

Point centreOf(const Point& cell, u32 cellSize) {
    const i32 half = static_cast<i32>(cellSize / 2);
    return Point(static_cast<i16>(cell.x * static_cast<i32>(cellSize) + half),
                 static_cast<i16>(cell.y * static_cast<i32>(cellSize) + half));
}

std::vector<Point> symbolCells(const std::string& word, const RoomPlaces& places, int line) {
    if (word.size() != 1 || !places.cellsOf) throw RoomSourceError(line, "'" + word + "' is not a symbol");
    std::vector<Point> cells = places.cellsOf(word[0]);
    if (cells.empty()) throw RoomSourceError(line, "symbol '" + word + "' is on no cell of the grid");
    return cells;
}

const std::map<std::string, u32>& numberedTriggerKinds() {
    static const std::map<std::string, u32> kinds = {
        {"trap-enabled", 6},     {"trap-disabled", 7}, {"dialog-played", 8}, {"dialog-closed", 9},
        {"door-opened", 10},     {"door-closed", 11},  {"checkpoint", 12},   {"switch-on", 13},
        {"switch-off", 14},      {"trap-hidden", 15},  {"trap-shown", 16},   {"killed-by", 17},
        {"checkpoint-again", 18}};
    return kinds;
}

const std::map<std::string, u32>& numberActionKinds() {
    static const std::map<std::string, u32> kinds = {{"enable-trap", 0},     {"disable-trap", 1},
                                                     {"dialog", 4},          {"stop-dialog", 5},
                                                     {"waited-dialog", 6},   {"stop-waited-dialog", 7},
                                                     {"hide-trap", 8},       {"show-trap", 9},
                                                     {"open-door", 10},      {"close-door", 11},
                                                     {"switch-on", 12},      {"switch-off", 13},
                                                     {"enable-event", 19},   {"disable-event", 20},
                                                     {"enable-element", 24}, {"disable-element", 25},
                                                     {"show-element", 26},   {"hide-element", 27},
                                                     {"toggle-door", 28},    {"toggle-trap-visibility", 29},
                                                     {"toggle-trap", 30}};
    return kinds;
}

const std::map<std::string, u32>& listActionKinds() {
    static const std::map<std::string, u32> kinds = {{"dialogs-in-turn", 14}, {"random-dialog", 15},
                                                     {"enable-events", 21},   {"disable-events", 22},
                                                     {"enable-traps", 31},    {"disable-traps", 32}};
    return kinds;
}

}  // namespace

std::unique_ptr<TriggerData> parseTrigger(const Words& words, u32 count, const RoomPlaces& places, int line) {
    if (words.empty()) throw RoomSourceError(line, "the event has no trigger after 'when'");
    const std::string& kind = words.front();
    if (kind == "start") {
        expectWords(words, 1, "start", line);
        return std::make_unique<TriggerData>(1, count);
    }
    if (kind == "at") {
        auto t = std::make_unique<PositionTriggerData>();
        if (words.size() == 2) {
            const std::vector<Point> cells = symbolCells(words[1], places, line);
            if (cells.size() != 1) throw RoomSourceError(line, "'at' needs a symbol on one cell; use 'area'");
            t->cell = cells.front();
        } else {
            expectWords(words, 3, "at X Y", line);
            t->cell = cellAt(words[1], words[2], line);
        }
        t->triggerId = 5;
        t->count = count;
        return t;
    }
    if (kind == "area") {
        auto t = std::make_unique<AreaTriggerData>();
        if (words.size() == 2) {
            for (const Point& c : symbolCells(words[1], places, line)) t->cells.insert(c);
        } else {
            expectWords(words, 5, "area X1 Y1 X2 Y2", line);
            const Point a = cellAt(words[1], words[2], line);
            const Point b = cellAt(words[3], words[4], line);
            for (i16 y = std::min(a.y, b.y); y <= std::max(a.y, b.y); ++y) {
                for (i16 x = std::min(a.x, b.x); x <= std::max(a.x, b.x); ++x) t->cells.insert(Point(x, y));
            }
        }
        t->triggerId = 20;
        t->count = count;
        return t;
    }
    if (kind == "timer") {
        expectWords(words, 2, "timer SECONDS", line);
        auto t = std::make_unique<TimerTriggerData>();
        t->triggerId = 19;
        t->count = count;
        t->time = parseNumber(words[1], line);
        return t;
    }
    const auto numbered = numberedTriggerKinds().find(kind);
    if (numbered == numberedTriggerKinds().end())
        throw RoomSourceError(line, "unknown trigger '" + kind + "'");
    expectWords(words, 2, kind + " N", line);
    auto t = std::make_unique<NumberTriggerData>();
    t->triggerId = numbered->second;
    t->count = count;
    t->number = parseCount(words[1], line);
    return t;
}

std::unique_ptr<ActionData> parseAction(const Words& words, const RoomPlaces& places, int line) {
    if (words.empty()) throw RoomSourceError(line, "an empty action");
    const std::string& name = words.front();
    if (const auto it = numberActionKinds().find(name); it != numberActionKinds().end()) {
        expectWords(words, 2, name + " N", line);
        return std::make_unique<NumberActionData>(it->second, parseCount(words[1], line));
    }
    if (const auto it = listActionKinds().find(name); it != listActionKinds().end()) {
        expectWords(words, 2, name + " N,N,..", line);
        auto a = std::make_unique<NumbersActionData>();
        a->actionId = it->second;
        a->numbers = parseCountList(words[1], line);
        if (a->numbers.empty()) throw RoomSourceError(line, name + " names no number");
        return a;
    }
    if (name == "teleport" || name == "set-spawn") {
        expectWords(words, 4, name + " PLAYER X Y", line);
        auto a = std::make_unique<MoveSteerableData>();
        a->actionId = name == "teleport" ? 2 : 23;
        a->steerableNumber = parseCount(words[1], line);
        const Point cell = cellAt(words[2], words[3], line);
        // Teleports take a point in map units, spawn points a cell.
        a->target = name == "teleport" ? centreOf(cell, places.cellSize) : cell;
        return a;
    }
    if (name == "multi-switch-on" || name == "multi-switch-off") {
        expectWords(words, 3, name + " LEVER SWITCH", line);
        auto a = std::make_unique<TwoNumbersActionData>();
        a->actionId = name == "multi-switch-on" ? 17 : 18;
        a->firstNumber = parseCount(words[1], line);
        a->secondNumber = parseCount(words[2], line);
        return a;
    }
    if (name == "after") {
        if (words.size() < 3) throw RoomSourceError(line, "expected 'after SECONDS ACTION'");
        auto a = std::make_unique<TimerActionData>();
        a->actionId = 16;
        a->delay = parseNumber(words[1], line);
        a->action = parseAction(Words(words.begin() + 2, words.end()), places, line);
        return a;
    }
    if (name == "exit") {
        expectWords(words, 1, "exit", line);
        return std::make_unique<ActionData>(37);
    }
    throw RoomSourceError(line, "unknown action '" + name + "'");
}

std::unique_ptr<ActionData> parseScriptStep(const Words& words, const RoomPlaces& places, int line) {
    if (words.empty()) throw RoomSourceError(line, "an empty script step");
    const std::string& name = words.front();
    if (name == "dialog" || name == "state") {
        expectWords(words, 2, name + " N", line);
        return std::make_unique<NumberActionData>(name == "dialog" ? 4 : 38, parseCount(words[1], line));
    }
    if (name == "walk") {
        if (words.size() < 2) throw RoomSourceError(line, "expected 'walk X,Y ..'");
        auto a = std::make_unique<PositionsActionData<FPoint>>();
        a->actionId = 33;
        for (std::size_t i = 1; i < words.size(); ++i)
            a->positions.emplace_back(centreOf(cellPair(words[i], line), places.cellSize));
        return a;
    }
    if (name == "wait-arrival") {
        if (words.size() < 2) throw RoomSourceError(line, "expected 'wait-arrival X,Y ..'");
        auto a = std::make_unique<PositionsActionData<Point>>();
        a->actionId = 35;
        for (std::size_t i = 1; i < words.size(); ++i) a->positions.push_back(cellPair(words[i], line));
        return a;
    }
    if (name == "wait-contact") {
        expectWords(words, 1, "wait-contact", line);
        return std::make_unique<ActionData>(34);
    }
    if (name == "wait") {
        expectWords(words, 2, "wait SECONDS", line);
        auto a = std::make_unique<FloatActionData>();
        a->actionId = 36;
        a->floatValue = parseNumber(words[1], line);
        return a;
    }
    throw RoomSourceError(line, "unknown script step '" + name + "'");
}

ActionList parseActionList(const Words& words, const RoomPlaces& places, int line, ActionParser one) {
    ActionList actions;
    for (const Words& action : splitAtSemicolons(words)) actions.push_back(one(action, places, line));
    return actions;
}

}  // namespace Zarn
