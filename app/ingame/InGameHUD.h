#pragma once

#include "engine/Node.h"
#include "simulation/scores/LevelScore.h"

class ZUICoreButton;
class RGProgressBar;
class ScoreCounterHUD;
class DeathCountHUD;
class MoneyHUD;
class LivesCountHUD;
class TimerHUD;

// The bar of the time-attack countdown: shows the remaining time as a share
// of the largest remaining time seen, so a countdown starts full whatever its
// length. A pure value; starts with nothing shown.
struct TimeAttackGauge {
    u64 lastShown = 0;
    u64 largestSeen = 0;

    // A remaining time (ms) as received: answers whether it differs from the
    // one shown; when it does, it becomes the one shown and `percentage` is
    // set to remaining / largest seen x 100.
    bool take(u64 remaining, float& percentage);
};

// The single-play heads-up display: a button back to the level select at the
// top left and, from the top right leftwards, one counter per score keeper
// kind asked for; a time-attack bar at the top centre. Each frame it compares
// the watched score with the copy it last showed and refreshes only the
// counters whose value changed. A child of the single-play host scene, in
// design coordinates of the visible area. Main thread only.
class InGameHUD : public cocos2d::Node {
public:
    static constexpr const char* kLevelsIcon = "icon_levels.png";
    static constexpr const char* kDeathIcon = "mode_death_count.png";
    static constexpr const char* kMoneyIcon = "coin_large.png";
    static constexpr float kCounterScale = 0.3f;
    static constexpr float kLevelsTransitionSeconds = 0.4f;

    static InGameHUD* create();
    // Builds the level button and asks for per-frame updates.
    bool init() override;

    // A score keeper kind: 0 deaths, 1 timer, 2 time attack, 3 lives, 4
    // money. Adds that counter once (other kinds do nothing); the death
    // counter always comes first, at the right edge, and the row grows
    // leftwards in the order of the requests (timer 130, lives and money 100
    // left of the counter before). Kind 2 adds the bar, outside the row.
    void addScoreHUD(u8 kind);

    // The score shown and the time-attack countdown's remaining ms; both
    // belong to the client's score-keeper registry, which outlives the HUD.
    // Nothing is shown until the score is set; a null remaining time leaves
    // the bar as it is.
    void watch(const Zarn::LevelScore* score, const u64* timeAttackRemaining);

    void update(float dt) override;

    ZUICoreButton* getLevelButton() const { return levelButton_; }
    DeathCountHUD* getDeathCounter() const { return deaths_; }
    TimerHUD* getTimer() const { return timer_; }
    LivesCountHUD* getLivesCounter() const { return lives_; }
    MoneyHUD* getMoneyCounter() const { return money_; }
    RGProgressBar* getTimeAttackBar() const { return bar_; }
    const Zarn::LevelScore& getShownScore() const { return shown_; }

private:
    void buildLevelButton();
    // Places a new counter of the row and makes it the last one.
    void addToRow(ScoreCounterHUD* counter, float leftOfLast);

    // Children of the HUD (null until added); the node tree keeps them alive.
    ZUICoreButton* levelButton_ = nullptr;
    DeathCountHUD* deaths_ = nullptr;
    TimerHUD* timer_ = nullptr;
    LivesCountHUD* lives_ = nullptr;
    MoneyHUD* money_ = nullptr;
    RGProgressBar* bar_ = nullptr;
    ScoreCounterHUD* last_ = nullptr;
    float rowY_ = 0.0f;

    // Owned by the client's score-keeper registry; null until watched.
    const Zarn::LevelScore* score_ = nullptr;
    const u64* timeAttackRemaining_ = nullptr;
    Zarn::LevelScore shown_;
    TimeAttackGauge gauge_;
};
