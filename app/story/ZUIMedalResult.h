#pragma once

#include <vector>

#include "engine/Node.h"
#include "simulation/progress/LevelStatus.h"
#include "simulation/scores/ScoreKeeperSummary.h"

class ZUICoreButton;

// The medal result panel of a finished level, with retry, next and levels.
class ZUIMedalResult : public cocos2d::Node {
public:
    static ZUIMedalResult* create();
    bool init() override;
    void buildMedalRows(const Zarn::LevelList& levels, u32 levelIndex, const Zarn::LevelStatus& previousBest,
                        const std::vector<Zarn::ScoreResult>& entries);
    void showGameOver();
    void runRevealSequence() {}

    ZUICoreButton* getRetryButton() const { return retryButton_; }
    // Null in the game-over form.
    ZUICoreButton* getNextButton() const { return nextButton_; }
    ZUICoreButton* getLevelsButton() const { return levelsButton_; }

private:
    ZUICoreButton* retryButton_ = nullptr;
    ZUICoreButton* nextButton_ = nullptr;
    ZUICoreButton* levelsButton_ = nullptr;
};
