#include "app/play/PlayCommands.h"

#include "app/story/SinglePlayerProgress.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LimitedLivesSK.h"

void GameOverCommand::execute() {
    progress_.restartLives();
    writeSinglePlayerProgress(progress_);
    if (showGameOver_) showGameOver_();
}

void OnLifeLostCommand::execute() {
    progress_.lives = keeper_.reportedLives(0);
    writeSinglePlayerProgress(progress_);
}
