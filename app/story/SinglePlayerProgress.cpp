#include "app/story/SinglePlayerProgress.h"

#include <algorithm>

#include "foundation/Logger.h"
#include "foundation/SaveFiles.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"

namespace {

u32 levelCount() {
    return static_cast<u32>(Zarn::LevelList::instance().size());
}

void resetProgress(Zarn::SinglePlayerData& progress) {
    progress.setLevelCount(levelCount());
    progress.resetAll();
}

}  // namespace

const std::string& getSinglePlayerSaveFileName() {
    static const std::string name = "singleplayer.bin";
    return name;
}

void writeSinglePlayerProgress(const Zarn::SinglePlayerData& progress) {
    if (!progress.writeToSaveFile(getSinglePlayerSaveFileName()))
        Convinience::Logger().log(3, "Could not save the story progress to " + getSinglePlayerSaveFileName());
}

void loadSinglePlayerProgress() {
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    if (!Convinience::saveFileExists(getSinglePlayerSaveFileName())) {
        resetProgress(progress);
        writeSinglePlayerProgress(progress);
    }
    progress.loadFromSaveFile(getSinglePlayerSaveFileName());
}

void saveSinglePlayerProgress() {
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    if (Convinience::saveFileExists(getSinglePlayerSaveFileName())) {
        loadSinglePlayerProgress();
        const u32 count = levelCount();
        if (progress.levelCount() != count) {
            const u32 furthest = std::min(progress.furthestLevel, count - 1);
            progress.setLevelCount(count);
            progress.currentLevel = std::min(progress.currentLevel, count - 1);
            progress.selectLevel(progress.runComplete != 0 ? count - 1 : furthest);
        }
    } else {
        resetProgress(progress);
    }
    writeSinglePlayerProgress(progress);
}

u32 elevatorCurrentFloor(const Zarn::SinglePlayerData& progress) {
    return progress.furthestLevel;
}

void chooseElevatorFloor(Zarn::SinglePlayerData& progress, u32 floor) {
    progress.currentLevel = floor;
}
