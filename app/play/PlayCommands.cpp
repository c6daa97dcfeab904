#include "app/play/PlayCommands.h"

#include "foundation/Logger.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LimitedLivesSK.h"

namespace {
constexpr const char* kSaveFile = "singleplayer.bin";
}

void saveSinglePlayerProgress(const Zarn::SinglePlayerData& progress) {
    if (!progress.writeToSaveFile(kSaveFile))
        Convinience::Logger().log(3, std::string("Could not save the story progress to ") + kSaveFile);
}

void GameOverCommand::execute() {
    progress_.restartLives();
    saveSinglePlayerProgress(progress_);
    if (showGameOver_) showGameOver_();
}

void OnLifeLostCommand::execute() {
    progress_.lives = keeper_.reportedLives(0);
    saveSinglePlayerProgress(progress_);
}
