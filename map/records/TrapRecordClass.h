#pragma once

#include <optional>

#include "foundation/Types.h"

namespace Zarn {

// The record class that the trap section reads a trap or trap group record
// as, chosen by the element ID in the record's first word.
enum class TrapRecordClass {
    interval,         // IntervalTrapElement
    delayed,          // DelayedTrapElement
    rat,              // RatTrapElement
    radial,           // RadialTrapElement
    scheduled,        // ScheduledTrapElement
    spawning,         // TrapSpawningTrapElement
    line,             // LineIntervalTrapElement
    boss,             // BossElement
    fourPanel,        // FourPanelTrapDoorElement
    group,            // GroupedTrapElement
    sequentialGroup,  // SequentialGroupedIntervalTrapElement
};

// Empty for an ID that names no trap record (the section refuses it).
inline std::optional<TrapRecordClass> trapRecordClassOf(u32 elementId) {
    switch (elementId) {
        case 43:
        case 44:
        case 45:
        case 56:
        case 127:
        case 129:
        case 134:
            return TrapRecordClass::interval;
        case 46:
        case 50:
        case 51:
        case 128:
        case 132:
        case 136:
            return TrapRecordClass::delayed;
        case 47:
        case 48:
        case 49:
            return TrapRecordClass::rat;
        case 52:
            return TrapRecordClass::group;
        case 53:
            return TrapRecordClass::sequentialGroup;
        case 55:
            return TrapRecordClass::radial;
        case 121:
        case 122:
        case 123:
        case 124:
        case 125:
        case 126:
            return TrapRecordClass::scheduled;
        case 130:
            return TrapRecordClass::spawning;
        case 131:
            return TrapRecordClass::line;
        case 133:
            return TrapRecordClass::boss;
        case 356:
            return TrapRecordClass::fourPanel;
        default:
            return std::nullopt;
    }
}

}  // namespace Zarn
