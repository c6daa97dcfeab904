#pragma once

#include <functional>

#include "foundation/Command.h"

namespace Zarn {
class LimitedLivesSK;
class SinglePlayerData;
}  // namespace Zarn

// The last life was lost: the limited-lives run starts again from its first
// level, the progress is saved and the game-over panel is asked for. Run by
// the limited-lives keeper's reported commands, on the main thread.
class GameOverCommand : public Convinience::Command {
public:
    // The progress outlives the command; showGameOver schedules the panel.
    GameOverCommand(Zarn::SinglePlayerData& progress, std::function<void()> showGameOver)
        : progress_(progress), showGameOver_(std::move(showGameOver)) {}
    void execute() override;

private:
    Zarn::SinglePlayerData& progress_;
    std::function<void()> showGameOver_;
};

// A life was lost and lives are left: the progress takes the local player's
// lives as the keeper last reported them and is saved. Main thread.
class OnLifeLostCommand : public Convinience::Command {
public:
    // Both outlive the command (the keeper owns it).
    OnLifeLostCommand(Zarn::SinglePlayerData& progress, const Zarn::LimitedLivesSK& keeper)
        : progress_(progress), keeper_(keeper) {}
    void execute() override;

private:
    Zarn::SinglePlayerData& progress_;
    const Zarn::LimitedLivesSK& keeper_;
};
