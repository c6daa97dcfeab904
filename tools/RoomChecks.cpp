// Cross-reference checks of a compiled room: every number an action, trigger,
// group, boss or melody names belongs to something of the right kind.
#include <map>
#include <set>
#include <string>

#include "map/records/BossElement.h"
#include "map/records/GroupedNumberedElement.h"
#include "map/records/LevelUpModeElement.h"
#include "map/records/MusicalNoteElement.h"
#include "map/records/ScriptedSteerableElement.h"
#include "map/records/SwitchElement.h"
#include "tools/RoomBuild.h"

namespace Zarn {

namespace {

bool isDoor(u32 id) {
    return id == 36 || id == 37 || (id >= 164 && id <= 167);
}
bool isCheckpoint(u32 id) {
    return id == 42 || (id >= 440 && id <= 442);
}
bool isLever(u32 id) {
    return id == 35 || id == 59 || id == 135;
}
bool isIntervalTrap(u32 id) {
    return id == 43 || id == 44 || id == 45 || id == 55 || id == 56 || id == 127 || id == 131 || id == 356;
}

class References {
public:
    explicit References(const RoomBuild& b) : b_(b) {
        for (const auto& t : b.contents.traps) traps_[t->trapNumber] = t->elementId;
        for (const auto& g : b.contents.trapGroups) traps_[g->trapNumber] = g->elementId;
        for (const auto& e : b.contents.elements) {
            if (auto* n = dynamic_cast<const TileNumberedMapElement*>(e.get()))
                elements_[n->number] = e->elementId;
            if (auto* n = dynamic_cast<const FreeNumberedMapElement*>(e.get()))
                elements_[n->number] = e->elementId;
            if (auto* g = dynamic_cast<const GroupedNumberedElement*>(e.get()))
                elements_[g->number] = e->elementId;
            if (auto* m = dynamic_cast<const LevelUpModeElement*>(e.get()))
                elements_[m->modeNumber] = e->elementId;
        }
    }

    void check() const {
        for (const auto& e : b_.contents.events) {
            checkTrigger(*e.trigger, e.eventId);
            for (const auto& a : e.actions) checkAction(*a, "event " + std::to_string(e.eventId));
        }
        for (const auto& g : b_.contents.trapGroups) {
            for (u32 m : g->memberNumbers) {
                const bool sequence = g->elementId == 53;
                const auto t = traps_.find(m);
                if (t == traps_.end() || (sequence && !isIntervalTrap(t->second)))
                    fail("trap group " + std::to_string(g->trapNumber),
                         " names trap " + std::to_string(m) +
                             (sequence ? ", which is no interval trap" : ", which does not exist"));
            }
        }
        for (const auto& t : b_.contents.traps) {
            if (auto* boss = dynamic_cast<const BossElement*>(t.get())) checkBoss(*boss);
        }
        for (const auto& e : b_.contents.elements) checkElement(*e);
    }

private:
    // where: "event 3", "lever 40"... as the compiler filed its line.
    [[noreturn]] void fail(const std::string& where, const std::string& message) const {
        const auto line = b_.lines.find(where);
        throw RoomSourceError(line == b_.lines.end() ? 0 : line->second, where + message);
    }

    void needTrap(u32 n, const std::string& where, const std::set<u32>& ids = {}) const {
        const auto t = traps_.find(n);
        if (t == traps_.end() || (!ids.empty() && !ids.count(t->second)))
            fail(where, " names trap " + std::to_string(n) + ", which the room does not have" +
                            (ids.empty() ? "" : " (of that kind)"));
    }

    void needElement(u32 n, const std::string& where, bool (*kind)(u32) = nullptr) const {
        const auto e = elements_.find(n);
        if (e == elements_.end() || (kind && !kind(e->second)))
            fail(where, " names element " + std::to_string(n) + ", which the room does not have" +
                            (kind ? " (of that kind)" : ""));
    }

    void needEvent(u32 id, const std::string& where) const {
        if (!b_.eventIds.count(id))
            fail(where, " names event " + std::to_string(id) + ", which does not exist");
    }

    void needDialog(u32 n, const std::string& where) const {
        if (!b_.dialogNumbers.count(n))
            fail(where, " names dialog " + std::to_string(n) + ", which does not exist");
    }

    void checkTrigger(const TriggerData& t, u32 eventId) const {
        const auto* numbered = dynamic_cast<const NumberTriggerData*>(&t);
        if (!numbered) return;
        const std::string where = "event " + std::to_string(eventId);
        const u32 n = numbered->number;
        switch (t.triggerId) {
            case 6:
            case 7:
            case 15:
            case 16:
            case 17:
                return needTrap(n, where);
            case 8:
            case 9:
                return needDialog(n, where);
            case 10:
            case 11:
                return needElement(n, where, isDoor);
            case 12:
            case 18:
                return needElement(n, where, isCheckpoint);
            case 13:
            case 14:
                return needElement(n, where, isLever);
            default:
                return;
        }
    }

    void checkAction(const ActionData& a, const std::string& where) const {
        if (auto* timer = dynamic_cast<const TimerActionData*>(&a)) {
            if (timer->action) checkAction(*timer->action, where);
            return;
        }
        if (auto* list = dynamic_cast<const NumbersActionData*>(&a)) {
            for (u32 n : list->numbers) {
                if (a.actionId == 14 || a.actionId == 15) needDialog(n, where);
                if (a.actionId == 21 || a.actionId == 22) needEvent(n, where);
                if (a.actionId == 31 || a.actionId == 32) needTrap(n, where);
            }
            return;
        }
        if (auto* two = dynamic_cast<const TwoNumbersActionData*>(&a)) {
            needElement(two->firstNumber, where, [](u32 id) { return id == 59 || id == 135; });
            return;
        }
        const auto* one = dynamic_cast<const NumberActionData*>(&a);
        if (!one) return;
        const u32 n = one->number;
        switch (a.actionId) {
            case 0:
            case 1:
            case 8:
            case 9:
            case 29:
            case 30:
                return needTrap(n, where);
            case 4:
            case 5:
            case 6:
            case 7:
                return needDialog(n, where);
            case 10:
            case 11:
            case 28:
                return needElement(n, where, isDoor);
            case 12:
            case 13:
                return needElement(n, where, [](u32 id) { return id == 35; });
            case 19:
            case 20:
                return needEvent(n, where);
            case 24:
            case 25:
            case 26:
            case 27:
                return needElement(n, where);
            default:
                return;
        }
    }

    void checkBoss(const BossElement& boss) const {
        const std::string where = "boss " + std::to_string(boss.trapNumber);
        needTrap(boss.bombTrapNumber, where, {129});
        needTrap(boss.smallSpawnerNumber, where, {130});
        if (boss.phaseCount >= 2) needTrap(boss.cannonGroupNumber, where, {52});
        if (boss.phaseCount >= 3) needTrap(boss.largeSpawnerNumber, where, {130});
        if (boss.phaseCount >= 4) {
            needTrap(boss.arm0Number, where, {50, 51, 132, 136});
            needTrap(boss.arm1Number, where, {50, 51, 132, 136});
        }
    }

    void checkElement(const MapElement& e) const {
        if (auto* lever = dynamic_cast<const SwitchElement*>(&e)) {
            const std::string where = "lever " + std::to_string(lever->number);
            for (const auto& a : lever->firstActions) checkAction(*a, where);
            for (const auto& a : lever->secondActions) checkAction(*a, where);
        }
        if (auto* controller = dynamic_cast<const MusicalNoteControllerElement*>(&e)) {
            const std::string where = "note controller " + std::to_string(controller->number);
            for (const auto& step : controller->noteSequences) {
                if (step.empty()) fail(where, " has an empty melody step");
                for (u32 n : step) needElement(n, where, [](u32 id) { return id == 383 || id == 379; });
            }
            for (const auto& a : controller->firstActions) checkAction(*a, where);
            for (const auto& a : controller->secondActions) checkAction(*a, where);
        }
        if (auto* figure = dynamic_cast<const ScriptedSteerableElement*>(&e)) {
            for (const auto& a : figure->actions) {
                if (a->actionId == 4)
                    needDialog(static_cast<const NumberActionData&>(*a).number, "a figure's script");
            }
        }
        if (auto* group = dynamic_cast<const GroupedNumberedElement*>(&e)) {
            for (u32 m : group->memberNumbers)
                needElement(m, "element group " + std::to_string(group->number));
        }
        if (auto* mode = dynamic_cast<const LevelUpModeElement*>(&e)) {
            for (u32 m : mode->memberNumbers)
                needTrap(m, "level-up mode " + std::to_string(mode->modeNumber));
        }
    }

    const RoomBuild& b_;
    std::map<u32, u32> traps_;
    std::map<u32, u32> elements_;
};

}  // namespace

void checkRoomReferences(const RoomBuild& b) {
    References(b).check();
}

}  // namespace Zarn
