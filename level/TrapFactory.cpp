#include "level/TrapFactory.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "foundation/Error.h"
#include "foundation/GridCells.h"
#include "foundation/Logger.h"
#include "grid/CellGrid.h"
#include "level/InteractiveElementStore.h"
#include "map/records/BossElement.h"
#include "map/records/MapErrors.h"
#include "map/records/ScheduledTrapElement.h"
#include "world/traps/Boss.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/RatTrap.h"
#include "world/traps/ScheduledTrap.h"
#include "world/traps/SpawningTrap.h"
#include "world/traps/TrapEffects.h"
#include "world/traps/TrapKills.h"
#include "world/triggers/PositionIMETrigger.h"

namespace Zarn {

namespace {

constexpr float kKillWait = 2.0f;

// The cells of the block [xmin, xmax] x [ymin, ymax] that lie inside the room.
GeometryLib::CellSet insideRoom(const CellGrid& grid, i64 xmin, i64 xmax, i64 ymin, i64 ymax) {
    const i64 columns = std::min<i64>(grid.getColumns(), i64{INT16_MAX} + 1);
    const i64 rows = std::min<i64>(grid.getRows(), i64{INT16_MAX} + 1);
    xmin = std::max<i64>(xmin, 0);
    ymin = std::max<i64>(ymin, 0);
    xmax = std::min<i64>(xmax, columns - 1);
    ymax = std::min<i64>(ymax, rows - 1);
    GeometryLib::CellSet cells;
    for (i64 x = xmin; x <= xmax; ++x) {
        for (i64 y = ymin; y <= ymax; ++y)
            cells.insert(GeometryLib::Point(static_cast<i16>(x), static_cast<i16>(y)));
    }
    return cells;
}

// Replaces the record's coverage in place: registration on the position
// trigger and the trap's own cell tests then use the new cells.
void replaceCoverage(TrapElement& record, const GeometryLib::CellSet& cells) {
    record.coveredCells.assign(cells);
}

}  // namespace

TrapFactory::TrapFactory(const CellGrid& grid, SpawnPoints& spawnPoints, PositionIMETrigger& trigger,
                         ActionEventTrigger* actionSink, InteractiveElementStore& store, TrapList& traps)
    : grid_(grid),
      spawnPoints_(spawnPoints),
      trigger_(trigger),
      actionSink_(actionSink),
      store_(store),
      traps_(traps) {}

TrapFactory::~TrapFactory() = default;

std::unique_ptr<Trap> TrapFactory::makeTrap(TrapElement& record) {
    const u32 id = record.elementId;
    auto kill = [&](u32 deathState) {
        return std::make_unique<SlowStopKillThenWait>(spawnPoints_, grid_, deathState, kKillWait,
                                                      record.coveredCells);
    };
    auto interval = [&]() -> IntervalTrapElement& {
        return Convinience::castOrThrow<IntervalTrapElement>(&record, "Wrong trap item!");
    };
    switch (id) {
        case 43:
        case 356:
            return std::make_unique<IntervalTrap>(interval(), kill(5));
        case 127:
            return std::make_unique<IntervalTrap>(interval(), kill(3));
        case 44:
            return std::make_unique<IntervalTrap>(interval(), std::make_unique<TimedSlow>(1.0f, 0.2f));
        case 45:
            return std::make_unique<IntervalTrap>(interval(), std::make_unique<Slow>(0.0f));
        case 46: {
            auto& delayed = Convinience::castOrThrow<DelayedTrapElement>(&record, "Wrong trap item!");
            auto trap = std::make_unique<DelayedTrap>(delayed, kill(3));
            delayedCells_.emplace(delayed.position, trap.get());
            return trap;
        }
        case 47:
        case 48:
        case 49: {
            auto& rat = Convinience::castOrThrow<RatTrapElement>(&record, "Wrong trap item!");
            auto effect =
                std::make_unique<RatTrapEffect>(rat.position, grid_, rat.slowDuration, rat.slowFactor);
            RatTrapEffect* raw = effect.get();
            auto trap = std::make_unique<RatTrap>(rat, std::move(effect));
            raw->trapState = &trap->state;
            return trap;
        }
        case 50:
        case 51:
        case 132:
        case 136: {
            auto& arm =
                Convinience::castOrThrow<DelayedTrapElement>(&record, "not delayed interval trap element");
            return std::make_unique<FollowHitTrap>(arm,
                                                   std::make_unique<BossArmEffect>(spawnPoints_, arm, grid_));
        }
        case 55: {
            auto& radial = Convinience::castOrThrow<RadialTrapElement>(&record, "Not vortex trap element");
            const u32 size = grid_.getCellSize();
            // The square of cells within the radius: ceil((radius - cell / 2) /
            // cell) cells each way of the position, none when the radius does not
            // pass half a cell; computed on the room's cells only.
            i64 r = 0;
            const float half = static_cast<float>(size) * 0.5f;
            if (size > 0 && radial.radius > half) {
                const float cells = std::ceil((radial.radius - half) / static_cast<float>(size));
                r = cells >= 65536.0f ? 65536 : static_cast<i64>(cells);
            }
            replaceCoverage(radial, insideRoom(grid_, radial.position.x - r, radial.position.x + r,
                                               radial.position.y - r, radial.position.y + r));
            return std::make_unique<IntervalTrap>(
                radial, std::make_unique<VortexEffect>(radial, grid_, spawnPoints_));
        }
        case 56:
            return std::make_unique<IntervalTrap>(
                interval(),
                std::make_unique<KillIfMoving>(spawnPoints_, 8, kKillWait, grid_, record.coveredCells));
        case 121:
        case 122:
        case 123:
        case 124:
        case 125:
        case 126: {
            auto& scheduled =
                Convinience::castOrThrow<ScheduledTrapElement>(&record, "not scheduled trap element");
            return std::make_unique<ScheduledTrap>(scheduled, kill(id == 122 ? 3 : 5));
        }
        case 128:
            return std::make_unique<Bomb>(interval(), kill(22));
        case 129: {
            auto& follow = Convinience::castOrThrow<IntervalTrapElement>(
                &record, "not following (interval) spawn element");
            return std::make_unique<FollowSpawningTrap>(follow, makeNullEffect(), *this);
        }
        case 130: {
            auto& spawning = Convinience::castOrThrow<TrapSpawningTrapElement>(
                &record, "not following (interval) spawn element");
            return std::make_unique<TrapSpawningTrap>(spawning, makeNullEffect(), *this);
        }
        case 131: {
            auto& line = Convinience::castOrThrow<LineIntervalTrapElement>(&record, "not line element");
            // A column of length + 2 cells from the position towards -y.
            const i64 bottom = static_cast<i64>(line.position.y) - static_cast<i64>(line.length) - 1;
            replaceCoverage(line,
                            insideRoom(grid_, line.position.x, line.position.x, bottom, line.position.y));
            return std::make_unique<IntervalTrap>(line, kill(22));
        }
        case 133: {
            auto& bossRecord = Convinience::castOrThrow<BossElement>(&record, "not boss element");
            auto boss = std::make_unique<Boss>(bossRecord, kill(22), store_);
            boss->actionSink = actionSink_;
            return boss;
        }
        case 134:
            return std::make_unique<BombableIntervalTrap>(interval(), kill(5));
        default:
            throw Convinience::Error(mapError::unknownTrap);
    }
}

Trap& TrapFactory::loadTrap(TrapElement& record) {
    std::unique_ptr<Trap> made = makeTrap(record);
    Trap& trap = *made;
    traps_.push_back(std::move(made));
    if (record.flag != 0) trap.getState().hidden = 1;
    trigger_.addElement(trap, record.coveredCells.points());
    return trap;
}

Trap* TrapFactory::spawnTrap(TrapElement& record) {
    std::unique_ptr<Trap> trap = makeTrap(record);
    if (record.flag != 0) trap->getState().hidden = 1;
    // Number first: a trap filed under a taken number would destroy the trap
    // held there while the trigger still points at it.
    if (store_.numbersSpawnedTraps != 0 || store_.hasSpawnedTrap(record.trapNumber)) {
        u32 number = store_.nextTrapNumber();
        while (store_.hasSpawnedTrap(number)) number = store_.nextTrapNumber();
        record.trapNumber = number;
    }
    Trap* raw = trap.get();
    trigger_.addElement(*raw, record.coveredCells.points());
    store_.adoptSpawnedTrap(record.trapNumber, std::move(trap));
    return raw;
}

void TrapFactory::despawnTrap(u32 trapNumber) {
    Trap* trap = store_.findSpawnedTrap(trapNumber);
    if (!trap) {
        Convinience::Logger().log(2, "despawnTrap: no spawned trap number " + std::to_string(trapNumber));
        return;
    }
    trigger_.removeElement(*trap, trap->trapRecord->coveredCells.points());
    forgetDelayedTrap(*trap);
    store_.releaseTrapNumber(trapNumber);
}

void TrapFactory::forgetDelayedTrap(const Trap& trap) {
    for (auto it = delayedCells_.begin(); it != delayedCells_.end();) {
        if (it->second == &trap) {
            it = delayedCells_.erase(it);
        } else {
            ++it;
        }
    }
}

}  // namespace Zarn
