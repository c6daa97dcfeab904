// The symbol kinds of a room source and the records each one makes.
#include <algorithm>
#include <functional>
#include <limits>
#include <map>

#include "map/records/BossElement.h"
#include "map/records/CoinElement.h"
#include "map/records/ConveyorElement.h"
#include "map/records/DoorElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "map/records/TrapRecordClass.h"
#include "tools/RoomBuild.h"

namespace Zarn {

using GeometryLib::Point;

namespace {

using Cells = std::vector<Point>;

// ---- traps -----------------------------------------------------------------

struct TrapKind {
    u32 id;
    // One trap over all the symbol's cells rather than one per cell.
    bool whole;
};

const std::map<std::string, TrapKind>& trapKinds() {
    static const std::map<std::string, TrapKind> kinds = {{"trapdoor", {43, false}},
                                                          {"panel-trapdoor", {356, false}},
                                                          {"sticky-trapdoor", {44, false}},
                                                          {"stop-trapdoor", {45, false}},
                                                          {"bombable-trapdoor", {134, false}},
                                                          {"spikes", {127, false}},
                                                          {"red-light", {56, false}},
                                                          {"delayed-spikes", {46, false}},
                                                          {"bomb", {128, false}},
                                                          {"bomb-dropper", {129, true}},
                                                          {"arm", {132, true}},
                                                          {"rat-trap", {49, true}},
                                                          {"vortex", {55, false}},
                                                          {"cannon", {131, false}},
                                                          {"trap-spawner", {130, true}},
                                                          {"scheduled-trapdoor", {121, false}},
                                                          {"scheduled-spikes", {122, false}},
                                                          {"boss", {133, true}},
                                                          {"trap", {0, false}}};
    return kinds;
}

std::vector<std::string> withCommon(std::vector<std::string> own) {
    for (const char* k :
         {"id", "number", "whole", "each", "anchor", "lethal", "hidden", "z", "link", "group"})
        own.emplace_back(k);
    return own;
}

Point pairParam(const Params& p, const std::string& key, int line) {
    const std::vector<u32> xy = p.counts(key);
    if (xy.size() != 2) throw RoomSourceError(line, key + "= needs a cell X,Y");
    return Point(static_cast<i16>(xy[0]), static_cast<i16>(xy[1]));
}

std::unique_ptr<TrapElement> makeTrapRecord(TrapRecordClass family, const Params& p, int line) {
    auto interval = [&](IntervalTrapElement& r) {
        r.startDelay = p.number("delay", 0.0f);
        r.activeTime = p.number("on", 1.0f);
        r.restTime = p.number("off", 1.0f);
    };
    switch (family) {
        case TrapRecordClass::interval: {
            p.checkKnown(withCommon({"delay", "on", "off"}));
            auto r = std::make_unique<IntervalTrapElement>();
            interval(*r);
            return r;
        }
        case TrapRecordClass::fourPanel: {
            p.checkKnown(withCommon({"delay", "on", "off", "panel"}));
            auto r = std::make_unique<FourPanelTrapDoorElement>();
            interval(*r);
            r->panelFlag = static_cast<u8>(p.count("panel", 0));
            return r;
        }
        case TrapRecordClass::delayed: {
            p.checkKnown(withCommon({"delay", "on", "off", "warn", "mirrored"}));
            auto r = std::make_unique<DelayedTrapElement>();
            interval(*r);
            r->warnTime = p.number("warn", 0.0f);
            return r;
        }
        case TrapRecordClass::rat: {
            p.checkKnown(withCommon({"delay", "on", "off", "snap", "hold", "release", "slow", "factor"}));
            auto r = std::make_unique<RatTrapElement>();
            interval(*r);
            r->snapTime = p.number("snap", 0.2f);
            r->holdTime = p.number("hold", 0.5f);
            r->releaseTime = p.number("release", 0.2f);
            r->slowDuration = p.number("slow", 1.0f);
            r->slowFactor = p.number("factor", 0.5f);
            return r;
        }
        case TrapRecordClass::radial: {
            p.checkKnown(withCommon({"delay", "on", "off", "radius", "inner", "outer"}));
            auto r = std::make_unique<RadialTrapElement>();
            interval(*r);
            r->radius = p.number("radius", 96.0f);
            r->innerPull = p.number("inner", 120.0f);
            r->outerPull = p.number("outer", 60.0f);
            return r;
        }
        case TrapRecordClass::line: {
            p.checkKnown(withCommon({"delay", "on", "off", "length"}));
            auto r = std::make_unique<LineIntervalTrapElement>();
            interval(*r);
            r->length = p.count("length", 1);
            return r;
        }
        case TrapRecordClass::spawning: {
            p.checkKnown(withCommon({"delay", "on", "off", "kinds", "min", "max"}));
            auto r = std::make_unique<TrapSpawningTrapElement>();
            interval(*r);
            const std::string kinds = p.text("kinds", "interval");
            r->spawnInterval = kinds.find("interval") != std::string::npos;
            r->spawnRadial = kinds.find("radial") != std::string::npos;
            r->spawnDelayed = kinds.find("delayed") != std::string::npos;
            r->minCount = p.count("min", 1);
            r->maxCount = p.count("max", r->minCount);
            return r;
        }
        case TrapRecordClass::scheduled: {
            p.checkKnown(withCommon({"delay", "lead", "loop", "plan"}));
            auto r = std::make_unique<ScheduledTrapElement>();
            r->loop = p.flag("loop") ? 1 : 0;
            r->startDelay = p.number("delay", 0.0f);
            r->warningLead = p.number("lead", 0.3f);
            // plan="TIME KIND DURATION; ..." with KIND off-on (0), on (1), toggle (2), hold (3).
            static const std::map<std::string, u8> kindNames = {
                {"off-on", 0}, {"on", 1}, {"toggle", 2}, {"hold", 3}};
            for (const std::vector<std::string>& entry :
                 splitAtSemicolons(splitWords(p.text("plan"), line))) {
                if (entry.size() != 3) throw RoomSourceError(line, "a plan entry is 'TIME KIND DURATION'");
                const auto kind = kindNames.find(entry[1]);
                if (kind == kindNames.end())
                    throw RoomSourceError(line, "unknown plan kind '" + entry[1] + "'");
                ScheduledTrapEntry e;
                e.time = parseNumber(entry[0], line);
                e.kind = kind->second;
                e.duration = parseNumber(entry[2], line);
                r->entries.push_back(e);
            }
            if (r->entries.empty()) throw RoomSourceError(line, "a scheduled trap needs plan=");
            return r;
        }
        case TrapRecordClass::boss: {
            p.checkKnown(withCommon({"phases", "health", "idle", "bomb-time", "spawner-time", "large-time",
                                     "cannon-time", "arm-time", "bomb", "small", "large", "cannons", "arms",
                                     "cell-a", "cell-b"}));
            auto r = std::make_unique<BossElement>();
            r->phaseCount = static_cast<u8>(p.count("phases", 1));
            r->startHealth = static_cast<u8>(p.count("health", 1));
            r->idleTime = p.number("idle", 1.0f);
            r->bombTime = p.number("bomb-time", 2.0f);
            r->spawnerTime = p.number("spawner-time", 0.0f);
            r->largeSpawnerTime = p.number("large-time", 2.0f);
            r->cannonTime = p.number("cannon-time", 2.0f);
            r->armTime = p.number("arm-time", 2.0f);
            r->bombTrapNumber = p.count("bomb", 0);
            r->smallSpawnerNumber = p.count("small", 0);
            r->largeSpawnerNumber = p.count("large", 0);
            r->cannonGroupNumber = p.count("cannons", 0);
            const std::vector<u32> arms = p.counts("arms");
            if (!arms.empty() && arms.size() != 2) throw RoomSourceError(line, "arms= names two traps");
            if (arms.size() == 2) {
                r->arm0Number = arms[0];
                r->arm1Number = arms[1];
            }
            return r;
        }
        case TrapRecordClass::group:
        case TrapRecordClass::sequentialGroup:
            break;
    }
    throw RoomSourceError(line, "a trap group is made by a group statement");
}

void addTraps(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells, const TrapKind& kind) {
    const Params& p = d.params;
    u32 id = p.count("id", kind.id);
    if (kind.id == 132 && p.flag("mirrored")) id = 136;
    const std::optional<TrapRecordClass> family = trapRecordClassOf(id);
    if (!family || *family == TrapRecordClass::group || *family == TrapRecordClass::sequentialGroup)
        throw RoomSourceError(d.line, "no trap has the ID " + std::to_string(id));
    const bool whole = p.flag("whole") || (kind.whole && !p.flag("each"));
    std::vector<Cells> traps;
    if (whole)
        traps.push_back(cells);
    else
        for (const Point& c : cells) traps.push_back({c});

    u32 number = p.count("number", b.freeTrapNumber());
    for (const Cells& covered : traps) {
        std::unique_ptr<TrapElement> r = makeTrapRecord(*family, p, d.line);
        r->elementId = id;
        r->extra = p.count("z", 0);
        r->flag = p.flag("hidden") ? 1 : 0;
        r->startsActive = p.flag("lethal") ? 1 : 0;
        r->linkNumber = p.count("link", 0);
        r->position = p.has("anchor") ? pairParam(p, "anchor", d.line) : covered.front();
        for (const Point& c : covered) r->coveredCells.insert(c);
        if (*family == TrapRecordClass::boss) {
            auto& boss = static_cast<BossElement&>(*r);
            boss.bossCellA = p.has("cell-a") ? pairParam(p, "cell-a", d.line) : covered.front();
            boss.bossCellB = p.has("cell-b")      ? pairParam(p, "cell-b", d.line)
                             : covered.size() > 1 ? covered[1]
                                                  : covered.front();
        }
        while (!p.has("number") && b.trapNumbers.count(number)) ++number;
        b.claimTrapNumber(number, d.line);
        b.lines["boss " + std::to_string(number)] = d.line;
        r->trapNumber = number;
        if (const auto group = p.maybeCount("group")) {
            r->linkNumber = *group;
            b.symbolGroups[*group].push_back(number);
        }
        b.contents.traps.push_back(std::move(r));
        ++number;
    }
}

// ---- elements --------------------------------------------------------------

u32 nextNumber(RoomBuild& b, const Params& p, u32& number, int line) {
    while (!p.has("number") && b.elementNumbers.count(number)) ++number;
    b.claimElementNumber(number, line);
    return number++;
}

template <class Record>
std::unique_ptr<Record> tileRecord(u32 id, const Point& cell) {
    auto r = std::make_unique<Record>();
    r->elementId = id;
    r->cell = cell;
    return r;
}

void addTiles(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells, u32 id, bool numbered) {
    const Params& p = d.params;
    p.checkKnown({"number", "z"});
    u32 number = p.count("number", b.freeElementNumber());
    for (const Point& c : cells) {
        if (numbered) {
            auto r = tileRecord<TileNumberedMapElement>(id, c);
            r->number = nextNumber(b, p, number, d.line);
            r->extra = p.count("z", 0);
            b.contents.elements.push_back(std::move(r));
        } else {
            auto r = tileRecord<WholeTileMapElement>(id, c);
            r->extra = p.count("z", 0);
            b.contents.elements.push_back(std::move(r));
        }
        b.floorTaken.insert(c.key);
    }
}

ActionList actionsParam(RoomBuild& b, const Params& p, const std::string& key, int line,
                        ActionParser one = &parseAction) {
    return parseActionList(splitWords(p.text(key), line), b.places, line, one);
}

void addLevers(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    p.checkKnown({"number", "off", "first", "second", "switches", "selected"});
    u32 number = p.count("number", b.freeElementNumber());
    for (const Point& c : cells) {
        std::unique_ptr<SwitchElement> r;
        if (d.kind == "lever") {
            r = std::make_unique<SwitchElement>();
            r->elementId = 35;
        } else if (d.kind == "multi-lever") {
            auto m = std::make_unique<MultiSwitchElement>();
            m->elementId = 59;
            m->leverNumbers = p.counts("switches");
            r = std::move(m);
        } else {
            auto s = std::make_unique<SelectiveMultiSwitchElement>();
            s->elementId = 135;
            s->leverNumbers = p.counts("switches");
            s->selectedNumbers = p.counts("selected");
            r = std::move(s);
        }
        r->position = b.centre(c);
        r->number = nextNumber(b, p, number, d.line);
        b.lines["lever " + std::to_string(r->number)] = d.line;
        r->startOff = p.flag("off") ? 1 : 0;
        r->firstActions = actionsParam(b, p, "first", d.line);
        r->secondActions = actionsParam(b, p, "second", d.line);
        b.contents.elements.push_back(std::move(r));
    }
}

// The block of cells from the lowest to the highest column and row.
void boundingBox(const Cells& cells, Point& low, Point& high) {
    low = high = cells.front();
    for (const Point& c : cells) {
        low = Point(std::min(low.x, c.x), std::min(low.y, c.y));
        high = Point(std::max(high.x, c.x), std::max(high.y, c.y));
    }
}

void addDoor(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    p.checkKnown({"number", "side", "id", "sensors"});
    const bool automatic = d.kind == "auto-door";
    std::unique_ptr<DoorElement> r;
    if (automatic) {
        auto a = std::make_unique<AutomaticDoorElement>();
        a->elementId = p.count("id", 163 + b.art);
        // sensors=SYMBOLS: the cells of every symbol named.
        const std::string sensors = p.text("sensors");
        if (sensors.empty()) throw RoomSourceError(d.line, "an auto-door needs sensors=SYMBOLS");
        for (char symbol : sensors) {
            const Cells sensorCells = b.places.cellsOf(symbol);
            if (sensorCells.empty())
                throw RoomSourceError(d.line, std::string("sensor symbol '") + symbol + "' is on no cell");
            for (const Point& c : sensorCells) a->sensorCells.insert(c);
        }
        r = std::move(a);
    } else {
        r = std::make_unique<DoorElement>();
        r->elementId = p.flag("side") ? 37 : 36;
    }
    Point low, high;
    boundingBox(cells, low, high);
    r->position = b.corner(low);
    r->width = static_cast<u32>(high.x - low.x + 1) * b.cellSize;
    r->height = static_cast<u32>(high.y - low.y + 1) * b.cellSize;
    u32 number = p.count("number", b.freeElementNumber());
    r->number = nextNumber(b, p, number, d.line);
    b.contents.elements.push_back(std::move(r));
}

void addCoins(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    p.checkKnown({"number", "value", "radius"});
    u32 number = p.count("number", b.freeElementNumber());
    for (const Point& c : cells) {
        auto r = std::make_unique<CoinElement>();
        r->elementId = 348;
        r->position = b.centre(c);
        r->center = r->position;
        r->radius = p.count("radius", b.cellSize * 2 / 5);
        r->value = p.count("value", 10);
        r->number = nextNumber(b, p, number, d.line);
        b.contents.elements.push_back(std::move(r));
    }
}

void addFigure(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells, u32 id) {
    const Params& p = d.params;
    p.checkKnown({"number", "radius", "loop", "script"});
    if (id == 300 && (p.has("script") || p.flag("loop")))
        throw RoomSourceError(d.line, "a roomba wanders by itself and takes no script");
    auto r = std::make_unique<ScriptedSteerableElement>();
    r->elementId = id;
    r->position = b.centre(cells.front());
    r->center = r->position;
    r->radius = p.count("radius", b.cellSize * 3 / 10);
    r->scriptFlag = p.flag("loop") ? 1 : 0;
    r->actions = actionsParam(b, p, "script", d.line, &parseScriptStep);
    u32 number = p.count("number", b.freeElementNumber());
    r->number = nextNumber(b, p, number, d.line);
    b.lines["figure " + std::to_string(r->number)] = d.line;
    b.contents.elements.push_back(std::move(r));
}

void addNotes(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    const bool controller = d.kind == "note-controller";
    p.checkKnown({"number", "note", "interval", "melody", "done", "second"});
    u32 number = p.count("number", b.freeElementNumber());
    u8 pitch = static_cast<u8>(p.count("note", 0));
    for (const Point& c : cells) {
        std::unique_ptr<MusicalNoteElement> r;
        if (controller) {
            auto m = std::make_unique<MusicalNoteControllerElement>();
            m->elementId = 379;
            m->controllerTime = p.number("interval", 0.4f);
            // melody="1,2,3/1,2,3,4": the steps, each a list of note numbers.
            std::string melody = p.text("melody");
            std::replace(melody.begin(), melody.end(), '/', ' ');
            for (const std::string& step : splitWords(melody, d.line))
                m->noteSequences.push_back(parseCountList(step, d.line));
            if (m->noteSequences.empty()) throw RoomSourceError(d.line, "a note controller needs melody=");
            m->firstActions = actionsParam(b, p, "done", d.line);
            m->secondActions = actionsParam(b, p, "second", d.line);
            r = std::move(m);
        } else {
            r = std::make_unique<MusicalNoteElement>();
            r->elementId = 383;
        }
        r->cell = c;
        r->note = pitch++;
        r->number = nextNumber(b, p, number, d.line);
        b.lines["note controller " + std::to_string(r->number)] = d.line;
        b.contents.elements.push_back(std::move(r));
        b.floorTaken.insert(c.key);
    }
}

void addDecoration(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    p.checkKnown({"id", "z"});
    const std::optional<u32> id = p.maybeCount("id");
    if (!id) throw RoomSourceError(d.line, d.kind + " needs id=");
    if (d.kind == "solid-deco") {
        auto r = std::make_unique<CombinedElement<FreeMapElement, RectSubElement>>();
        Point low, high;
        boundingBox(cells, low, high);
        r->elementId = *id;
        r->extra = p.count("z", 0);
        r->position = b.corner(low);
        r->width = static_cast<u32>(high.x - low.x + 1) * b.cellSize;
        r->height = static_cast<u32>(high.y - low.y + 1) * b.cellSize;
        b.contents.elements.push_back(std::move(r));
        return;
    }
    for (const Point& c : cells) {
        if (d.kind == "tile") {
            auto r = tileRecord<WholeTileMapElement>(*id, c);
            r->extra = p.count("z", 0);
            b.contents.elements.push_back(std::move(r));
            b.floorTaken.insert(c.key);
        } else {
            auto r = std::make_unique<FreeMapElement>();
            r->elementId = *id;
            r->extra = p.count("z", 0);
            r->position = b.centre(c);
            b.contents.elements.push_back(std::move(r));
        }
    }
}

void addExit(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const Params& p = d.params;
    p.checkKnown({"event", "off"});
    static constexpr u32 exitFloors[] = {435, 437, 439, 445};
    for (const Point& c : cells) {
        b.contents.elements.push_back(tileRecord<WholeTileMapElement>(exitFloors[b.art - 1], c));
        b.floorTaken.insert(c.key);
    }
    // One event over every exit cell: each player who enters any of them
    // leaves the level, so the event never runs out of firings.
    MapEventData e;
    e.eventId = p.count("event", b.nextExitEvent++);
    b.claimEventId(e.eventId, d.line);
    e.enabled = p.flag("off") ? 0 : 1;
    auto area = std::make_unique<AreaTriggerData>();
    area->triggerId = 20;
    area->count = std::numeric_limits<u32>::max();
    for (const Point& c : cells) area->cells.insert(c);
    e.trigger = std::move(area);
    e.actions.push_back(std::make_unique<ActionData>(37));
    b.contents.events.push_back(std::move(e));
}

}  // namespace

void addSymbolRecords(RoomBuild& b, const SymbolDeclaration& d, const Cells& cells) {
    const std::string& kind = d.kind;
    if (const auto trap = trapKinds().find(kind); trap != trapKinds().end()) {
        if (trap->second.id == 0 && !d.params.has("id")) throw RoomSourceError(d.line, "'trap' needs id=");
        addTraps(b, d, cells, trap->second);
        return;
    }
    static const std::map<std::string,
                          std::function<void(RoomBuild&, const SymbolDeclaration&, const Cells&)>>
        elements = {
            {"hole", [](auto& b, auto& d, auto& c) { addTiles(b, d, c, 54, false); }},
            {"pit", [](auto& b, auto& d, auto& c) { addTiles(b, d, c, 137, false); }},
            {"hole-off", [](auto& b, auto& d, auto& c) { addTiles(b, d, c, 139, true); }},
            {"pit-off", [](auto& b, auto& d, auto& c) { addTiles(b, d, c, 138, true); }},
            {"lever", addLevers},
            {"multi-lever", addLevers},
            {"selective-lever", addLevers},
            {"door", addDoor},
            {"auto-door", addDoor},
            {"coin", addCoins},
            {"roomba", [](auto& b, auto& d, auto& c) { addFigure(b, d, c, 300); }},
            {"drone", [](auto& b, auto& d, auto& c) { addFigure(b, d, c, 301); }},
            {"scripted-roomba", [](auto& b, auto& d, auto& c) { addFigure(b, d, c, 302); }},
            {"figure", [](auto& b, auto& d, auto& c) { addFigure(b, d, c, 358); }},
            {"note", addNotes},
            {"note-controller", addNotes},
            {"deco", addDecoration},
            {"solid-deco", addDecoration},
            {"tile", addDecoration},
            {"exit", addExit},
        };
    if (const auto element = elements.find(kind); element != elements.end()) {
        element->second(b, d, cells);
        return;
    }
    if (kind == "conveyor") {
        d.params.checkKnown({"dir"});
        static const std::map<std::string, u32> ids = {{"up", 31}, {"right", 32}, {"down", 33}, {"left", 34}};
        const auto id = ids.find(d.params.text("dir"));
        if (id == ids.end()) throw RoomSourceError(d.line, "a conveyor needs dir=up|right|down|left");
        for (const Point& c : cells)
            b.contents.elements.push_back(tileRecord<WholeTileMapElement>(id->second, c));
        return;
    }
    if (kind == "belt") {
        d.params.checkKnown({"dir", "speed", "number"});
        static const std::map<std::string, u8> codes = {{"up", 0}, {"down", 1}, {"left", 2}, {"right", 3}};
        const auto code = codes.find(d.params.text("dir"));
        if (code == codes.end()) throw RoomSourceError(d.line, "a belt needs dir=up|right|down|left");
        u32 number = d.params.count("number", b.freeElementNumber());
        for (const Point& c : cells) {
            auto r = tileRecord<ConveyorElement>(140, c);
            r->direction = code->second;
            r->speed = d.params.number("speed", 150.0f);
            r->number = nextNumber(b, d.params, number, d.line);
            b.contents.elements.push_back(std::move(r));
        }
        return;
    }
    if (kind == "checkpoint") {
        d.params.checkKnown({"number", "variant"});
        static constexpr u32 ids[] = {42, 440, 441, 442};
        const u32 variant = d.params.count("variant", 1);
        if (variant < 1 || variant > 4) throw RoomSourceError(d.line, "variant= is 1 to 4");
        u32 number = d.params.count("number", b.freeElementNumber());
        for (const Point& c : cells) {
            auto r = tileRecord<TileNumberedMapElement>(ids[variant - 1], c);
            r->number = nextNumber(b, d.params, number, d.line);
            b.contents.elements.push_back(std::move(r));
        }
        return;
    }
    if (kind == "spawn") {
        d.params.checkKnown({});
        if (cells.size() != 1 || b.spawn) throw RoomSourceError(d.line, "a room has one spawn cell");
        b.spawn = cells.front();
        static constexpr u32 entranceFloors[] = {434, 436, 438, 444};
        b.contents.elements.push_back(
            tileRecord<WholeTileMapElement>(entranceFloors[b.art - 1], cells.front()));
        b.floorTaken.insert(cells.front().key);
        return;
    }
    if (kind == "zone") {
        d.params.checkKnown({});
        return;
    }
    throw RoomSourceError(d.line, "unknown kind '" + kind + "'");
}

}  // namespace Zarn
