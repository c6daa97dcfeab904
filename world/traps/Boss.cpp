#include "world/traps/Boss.h"

#include "foundation/Error.h"
#include "world/traps/FollowHitTrap.h"
#include "world/traps/SpawningTrap.h"
#include "world/traps/TrapDirectory.h"
#include "world/traps/TrapGroup.h"
#include "world/triggers/EffectEventTrigger.h"

namespace Zarn {

namespace {

template <class T>
T* require(Trap* trap, const char* message) {
    return &Convinience::castOrThrow<T>(trap, message);
}

}  // namespace

Boss::Boss(const BossElement& record, std::unique_ptr<Effect> effect, TrapDirectory& directory)
    : Trap(record, std::move(effect)),
      bossRecord(&record),
      directory(&directory),
      disabledAction_(MapActionId::disableTrap, record.trapNumber) {
    state.health = record.startHealth;
}

void Boss::enable() {
    const BossElement& r = *bossRecord;
    const u8 n = r.phaseCount;
    if (n < 1 || n > 4) throw Convinience::Error("boss not valid phase count");

    FollowHitTrap* newArm0 = arm0;
    FollowHitTrap* newArm1 = arm1;
    TrapSpawningTrap* newLarge = largeSpawner;
    TrapGroup* newCannon = cannonGroup;
    if (n == 4) {
        newArm0 = require<FollowHitTrap>(directory->findTrap(r.arm0Number), "boss not valid arm 0 trap");
        newArm1 = require<FollowHitTrap>(directory->findTrap(r.arm1Number), "boss not valid arm 1 trap");
    }
    if (n >= 3) {
        newLarge = require<TrapSpawningTrap>(directory->findTrap(r.largeSpawnerNumber),
                                             "boss not valid large trap spawner trap");
    }
    if (n >= 2) {
        newCannon = &Convinience::castOrThrow<TrapGroup>(directory->findTrapGroup(r.cannonGroupNumber),
                                                         "boss not valid canon trap group");
    }
    auto* newSmall = require<TrapSpawningTrap>(directory->findTrap(r.smallSpawnerNumber),
                                               "boss not valid small trap spawner trap");
    auto* newBomb =
        require<FollowSpawningTrap>(directory->findTrap(r.bombTrapNumber), "boss not valid bomb trap");

    if (n == 4) {
        arm0 = newArm0;
        arm1 = newArm1;
        arm0->onTrapHit = [this] { onArmHit(); };
        arm1->onTrapHit = [this] { onArmHit(); };
        armCells.clear();
        // The arms' own columns, where they stand: the small spawner keeps them
        // free while the arms fight. (Their whole reach must stay open to it, or
        // no delayed trap could ever be struck there.)
        for (const FollowHitTrap* arm : {arm0, arm1}) {
            const std::vector<GeometryLib::Point> column = armColumn(arm->armRecord->position);
            armCells.insert(armCells.end(), column.begin(), column.end());
        }
    }
    largeSpawner = newLarge;
    cannonGroup = newCannon;
    smallSpawner = newSmall;
    bomb = newBomb;
    bomb->bombTargets = &smallSpawner->bombableByCell;
    bomb->onBombIntercept = [this] { onBombHit(); };
    if (arm0) arm0->trapTargets = &smallSpawner->delayedByCell;
    if (arm1) arm1->trapTargets = &smallSpawner->delayedByCell;
    enabled = 1;
    phase = 1;
}

void Boss::disable() {
    enabled = 0;
    reset();
    if (actionSink) actionSink->onAction(disabledAction_);
}

bool Boss::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    unitInRange = bossRecord->coveredCells.contains(cell) ? 1 : 0;
    if (!enabled) return false;
    return (cell == bossRecord->bossCellA || cell == bossRecord->bossCellB) && phase != 2;
}

void Boss::reset() {
    state.state = 0;
    phaseTimer = 0.0f;
    pauseTimer = 0.0f;
    if (bomb) {
        bomb->reset();
        bomb->disable();
    }
    if (smallSpawner) {
        smallSpawner->reset();
        smallSpawner->disable();
    }
    if (cannonGroup) {
        cannonGroup->reset();
        cannonGroup->disable();
    }
    if (largeSpawner) {
        largeSpawner->reset();
        largeSpawner->disable();
    }
    if (arm0) {
        arm0->reset();
        arm0->disable();
        if (arm1) {
            arm1->reset();
            arm1->disable();
        }
    }
}

void Boss::setState(const InteractiveMapElementState& other) {
    copyState(state, other);
}

void Boss::onBombHit() {
    onHit(6);
    if (bomb) bomb->disable();
}

void Boss::onArmHit() {
    onHit(10);
}

void Boss::onHit(u8 visibleState) {
    hitPause = 1;
    pauseTimer = 0.0f;
    phaseTimer = 0.0f;
    state.state = visibleState;
    if (smallSpawner) {
        for (auto& [number, entry] : smallSpawner->spawned) entry.trap->disable();
    }
    if (state.health > 0) --state.health;
}

void Boss::update(float dt) {
    if (!enabled) return;
    if (!unitInRange && phase != 2 && !held) return;
    switch (phase) {
        case 1:
            phase = bombPhase(dt);
            break;
        case 2:
            phase = cannonPhase(dt);
            break;
        case 3:
            phase = largeSpawnerPhase(dt);
            break;
        case 4:
            phase = armPhase(dt);
            break;
        default:
            break;
    }
    unitInRange = 0;
}

u32 Boss::bombPhase(float dt) {
    const BossElement& r = *bossRecord;
    const u8 n = r.phaseCount;
    const float T = r.idleTime;
    if (hitPause) {
        pauseTimer += dt;
        if (pauseTimer < kBombHitPause) return 1;
        hitPause = 0;
        if (state.health == 0) {
            disable();
            return 1;
        }
        if (n > 1) {
            phaseTimer = 0.0f;
            smallSpawner->reset();
            smallSpawner->disable();
            return 2;
        }
    }
    phaseTimer += dt;
    if (phaseTimer < T) {
        state.state = 1;
        return 1;
    }
    if (phaseTimer < T + 1.0f) {
        state.state = 4;
        return 1;
    }
    if (phaseTimer < T + 1.0f + r.bombTime) {
        if (phaseTimer >= T + r.spawnerTime && smallSpawner->finished) {
            smallSpawner->disable();
            smallSpawner->reset();
            if (n > 1) {
                phaseTimer = 0.0f;
                bomb->disable();
                return 2;
            }
        } else if (!bomb->isEnabled()) {
            bomb->reset();
            bomb->enable();
        }
        return 1;
    }
    if (phaseTimer < T + 1.0f + r.bombTime + 1.0f) {
        if (bomb->isEnabled()) bomb->disable();
        state.state = 5;
        return 1;
    }
    if (!smallSpawner->isEnabled()) {
        smallSpawner->reset();
        smallSpawner->enable();
    }
    phaseTimer = 0.0f;
    state.state = 1;
    return 1;
}

u32 Boss::cannonPhase(float dt) {
    const BossElement& r = *bossRecord;
    phaseTimer += dt;
    if (phaseTimer < r.idleTime) {
        state.state = 1;
        return 2;
    }
    if (phaseTimer < r.idleTime + r.cannonTime) {
        cannonGroup->enable();
        state.state = 7;
        return 2;
    }
    cannonGroup->disable();
    cannonGroup->reset();
    phaseTimer = 0.0f;
    return r.phaseCount > 2 ? 3 : 1;
}

u32 Boss::largeSpawnerPhase(float dt) {
    const BossElement& r = *bossRecord;
    phaseTimer += dt;
    if (phaseTimer < r.idleTime) {
        state.state = 1;
        return 3;
    }
    if (phaseTimer < r.idleTime + r.largeSpawnerTime) {
        largeSpawner->enable();
        state.state = 8;
        return 3;
    }
    largeSpawner->disable();
    largeSpawner->reset();
    phaseTimer = 0.0f;
    if (r.phaseCount > 3) {
        smallSpawner->excludedCells = &armCells;
        return 4;
    }
    return 1;
}

bool Boss::armsEnabled() const {
    return arm0->isEnabled() && arm1->isEnabled();
}

void Boss::armsDown() {
    arm0->disable();
    arm1->disable();
    arm0->hide();
    arm1->hide();
}

void Boss::armsFresh() {
    arm0->reset();
    arm1->reset();
    arm0->hide();
    arm1->hide();
}

u32 Boss::armPhase(float dt) {
    const BossElement& r = *bossRecord;
    const float T = r.idleTime;
    if (hitPause) {
        pauseTimer += dt;
        if (pauseTimer < kArmHitPause) return 4;
        hitPause = 0;
        if (state.health == 0) {
            disable();
            smallSpawner->excludedCells = nullptr;
            return 1;
        }
        phaseTimer = 0.0f;
        smallSpawner->reset();
        smallSpawner->disable();
        if (armsEnabled()) {
            armsFresh();
            armsDown();
        }
        smallSpawner->excludedCells = nullptr;
        return 1;
    }
    phaseTimer += dt;
    if (phaseTimer < T) {
        state.state = 1;
        return 4;
    }
    if (phaseTimer < T + 1.0f) {
        state.state = 9;
        return 4;
    }
    if (phaseTimer < T + 1.0f + r.armTime) {
        if (phaseTimer >= T + r.spawnerTime && smallSpawner->finished) {
            smallSpawner->reset();
            smallSpawner->disable();
            phaseTimer = 0.0f;
            armsDown();
            return 1;
        }
        if (!armsEnabled()) {
            armsFresh();
            arm0->enable();
            arm1->enable();
            arm0->show();
            arm1->show();
        }
        return 4;
    }
    if (phaseTimer < T + 1.0f + r.armTime + 1.0f) {
        if (armsEnabled()) armsDown();
        state.state = 5;
        return 4;
    }
    if (!smallSpawner->isEnabled()) {
        smallSpawner->reset();
        smallSpawner->enable();
    }
    phaseTimer = 0.0f;
    state.state = 1;
    return 4;
}

}  // namespace Zarn
