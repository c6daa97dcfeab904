#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "map/records/TrapElement.h"
#include "grid/CellGrid.h"
#include "world/traps/IntervalTrap.h"
#include "world/traps/TrapDirectory.h"
#include "world/traps/TrapSpawner.h"

namespace Zarn::test {

// One row of a timeline table: after an update of dt seconds the trap shows state.
struct Tick {
    float dt;
    int state;
};

// Runs the updates of a table and checks the state after each; `read` gives
// the state value of the trap.
template <class T>
void expectTimeline(T& trap, const std::vector<Tick>& ticks, const std::function<int(T&)>& read) {
    float clock = 0.0f;
    for (std::size_t i = 0; i < ticks.size(); ++i) {
        clock += ticks[i].dt;
        trap.update(ticks[i].dt);
        EXPECT_EQ(read(trap), ticks[i].state) << "row " << i << ", " << clock << " s";
    }
}

inline int intervalValue(BaseIntervalTrap& trap) {
    return static_cast<int>(trap.state.value);
}

template <class R>
R intervalRecord(u32 elementId, float startDelay, float activeTime, float restTime,
                 GeometryLib::Point position = GeometryLib::Point(2, 2), u8 startsActive = 0) {
    R r;
    r.elementId = elementId;
    r.startDelay = startDelay;
    r.activeTime = activeTime;
    r.restTime = restTime;
    r.position = position;
    r.startsActive = startsActive;
    r.coveredCells.insert(position);
    return r;
}

// A trap factory for tests: builds the trap kinds the spawning traps ask for
// (134 bombable interval trap, 46 delayed trap, 55 and 43 interval trap, 128
// bomb), hides those whose record's flag is set, numbers them from
// `nextNumber` upwards (overwriting the record's number) and owns them.
class FakeTrapSpawner : public TrapSpawner {
public:
    Trap* spawnTrap(TrapElement& record) override {
        std::unique_ptr<Trap> trap;
        switch (record.elementId) {
            case 134:
                trap = std::make_unique<BombableIntervalTrap>(dynamic_cast<IntervalTrapElement&>(record),
                                                              nullptr);
                break;
            case 46:
                trap = std::make_unique<DelayedTrap>(dynamic_cast<DelayedTrapElement&>(record), nullptr);
                break;
            case 43:
            case 55:
                trap = std::make_unique<IntervalTrap>(dynamic_cast<IntervalTrapElement&>(record), nullptr);
                break;
            case 128:
                trap = std::make_unique<Bomb>(dynamic_cast<IntervalTrapElement&>(record), nullptr);
                break;
            default:
                ADD_FAILURE() << "unexpected spawned record " << record.elementId;
                return nullptr;
        }
        if (record.flag) trap->getState().hidden = 1;
        record.trapNumber = nextNumber++;
        Trap* raw = trap.get();
        traps[record.trapNumber] = std::move(trap);
        ++spawnCount;
        return raw;
    }
    void despawnTrap(u32 number) override {
        EXPECT_EQ(traps.erase(number), 1u) << "despawned unknown trap " << number;
        despawned.push_back(number);
    }
    // Ticks the made traps, as the element store does.
    void updateAll(float dt) {
        for (auto& [number, trap] : traps) trap->update(dt);
    }

    u32 nextNumber = 100;
    u32 spawnCount = 0;
    std::map<u32, std::unique_ptr<Trap>> traps;
    std::vector<u32> despawned;
};

// The element store's lookups for the boss.
class FakeTrapDirectory : public TrapDirectory {
public:
    Trap* findTrap(u32 number) override {
        auto it = traps.find(number);
        return it == traps.end() ? nullptr : it->second;
    }
    InteractiveMapElement* findTrapGroup(u32 number) override {
        auto it = groups.find(number);
        return it == groups.end() ? nullptr : it->second;
    }
    std::map<u32, Trap*> traps;
    std::map<u32, InteractiveMapElement*> groups;
};

// Deterministic seeds for the spawners' draws: 1, 2, 3, ...
inline std::function<u32()> countingSeeds() {
    auto next = std::make_shared<u32>(0);
    return [next] { return ++*next; };
}

// A 640 x 640 room with cells of `cellSize`.
inline void makeRoom(CellGrid& grid, u32 cellSize = 64) {
    grid.setProperties(MapProperties{640, 640, cellSize});
    grid.resize();
}

}  // namespace Zarn::test
