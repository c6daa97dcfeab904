#include "world/elements/LevelUpMode.h"

#include <random>

#include "map/records/LevelUpModeElement.h"
#include "world/steering/WorldRandom.h"
#include "world/traps/TrapDirectory.h"
#include "world/units/SteerableUnitManager.h"

namespace Zarn {

LevelUpMode::LevelUpMode(TrapDirectory& store, SteerableUnitManager& units, const LevelUpModeElement& record)
    : UpdatableInteractiveMapElement(record, makeNullEffect()),
      store(&store),
      modeRecord(&record),
      units(&units) {}

std::size_t LevelUpMode::stageCount() const {
    return modeRecord->memberNumbers.size();
}

bool LevelUpMode::touches(const GeometryLib::Point& cell, SteerableUnit*) {
    if (!enabled || !modeRecord->areaCells.contains(cell) || value() != LevelUpValue::running) return false;
    winStage();
    return true;
}

void LevelUpMode::reset() {
    timer = 0.0f;
    setValue(LevelUpValue::notStarted);
    stagesWon = 0;
    index = 0;
}

void LevelUpMode::setState(const InteractiveMapElementState& s) {
    copyState(state, s);
}

void LevelUpMode::update(float dt) {
    if (!enabled) return;
    timer += dt;
    switch (value()) {
        case LevelUpValue::notStarted:
            setValue(LevelUpValue::waiting);
            timer = 0.0f;
            break;
        case LevelUpValue::waiting:
            if (timer >= modeRecord->modeValueA) {
                setValue(LevelUpValue::running);
                timer = 0.0f;
                startStage();
            }
            break;
        case LevelUpValue::pause:
            if (timer >= modeRecord->modeValueB) {
                setValue(LevelUpValue::running);
                timer = 0.0f;
                chooseNextStage();
            }
            break;
        default:
            break;
    }
}

void LevelUpMode::winStage() {
    setValue(LevelUpValue::pause);
    timer = 0.0f;
    if (current) {
        current->hide();
        current->disable();
    }
    ++stagesWon;
    if (stagesWon == stageCount() && modeRecord->modeFlagB == 0) {
        setValue(LevelUpValue::finished);
        timer = 0.0f;
    }
}

void LevelUpMode::chooseNextStage() {
    const auto n = static_cast<u32>(stageCount());
    if (modeRecord->modeFlagA == 1) {
        if (n == 0) {
            index = worldRandomEngine()();
        } else {
            index = std::uniform_int_distribution<u32>(0, n - 1)(worldRandomEngine());
        }
        startStage();
        return;
    }
    if (stagesWon == n + 1 && modeRecord->modeFlagB == 0) {
        setValue(LevelUpValue::finished);
        timer = 0.0f;
        return;
    }
    if (n == 0) return;
    index = (index + 1) % n;
    startStage();
}

void LevelUpMode::startStage() {
    const GeometryLib::FPoint start(modeRecord->anchor);
    units->forEachUnit([&start](u32, SteerableUnit& unit) { unit.body().position = start; });
    if (index >= stageCount()) return;
    const u32 number = modeRecord->memberNumbers[index];
    current = store->findTrap(number);
    if (!current) current = store->findTrapGroup(number);
    if (current) {
        current->show();
        current->enable();
    }
}

}  // namespace Zarn
