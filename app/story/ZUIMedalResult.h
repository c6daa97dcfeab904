#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "engine/Node.h"
#include "simulation/progress/LevelStatus.h"
#include "simulation/scores/LevelEntry.h"
#include "simulation/scores/ScoreKeeperSummary.h"

namespace cocos2d {
class DrawNode;
class EventListenerKeyboard;
class Label;
class Sprite;
}  // namespace cocos2d
class ZUICoreButton;

// The panel that drops into a story level's scene when the level ends: a
// face and two hands around a monitor with one card per scoring mode of the
// run (DEATHS, TIME, LIVES, TIME ATTACK: medal won, value, hint for the next
// medal, previous best), the caption "Your Previous Best(s)" on a small
// panel, and the buttons retry, next and levels; or, in its game-over form,
// "GAME OVER" and "TRY AGAIN?" on a green monitor without the next button.
//
// Laid out in design units for scale 0.4. It takes every touch (none reaches
// the level behind) and, once its drop-in and reveal are over, a released key
// presses the next button (levels in the game-over form). It decides nothing
// about progress: the host sets the buttons' callbacks. Main thread only.
class ZUIMedalResult : public cocos2d::Node {
public:
    static constexpr const char* kCaption = "Your Previous Best(s)";
    static constexpr const char* kGameOverCaption = "Nice try PARTner!";
    static constexpr const char* kFont = "fonts/riffic.ttf";
    // The previous best deaths of a level cleared for the first time, as the
    // previous best time reads then.
    static constexpr const char* kNoPreviousDeaths = "None";
    // The monitor's screen, which the monitor fill paints from its origin.
    static const cocos2d::Size kScreenSize;
    // The cards' quadrilaterals, corners 0 to 3 in the rows node's space.
    static const cocos2d::Vec2 kDeathsMain[4];
    static const cocos2d::Vec2 kDeathsPrevious[4];
    static const cocos2d::Vec2 kTimeMain[4];
    static const cocos2d::Vec2 kTimePrevious[4];
    static const cocos2d::Vec2 kLivesMain[4];
    static const cocos2d::Vec2 kTimeAttackMain[4];

    static ZUIMedalResult* create();
    // Builds the art, the buttons, the caption and the input listeners.
    bool init() override;

    // One card per entry, in order; kinds above 3 are skipped. levels is the
    // story's level list and levelIndex the level played (throws
    // Convinience::Error "no such level" past the list); previousBest is the
    // level's record from before this run was recorded ("None" for deaths and
    // time when there was none). A text wider than its card is shrunk to fit,
    // a hint broken into lines.
    void buildMedalRows(const Zarn::LevelList& levels, u32 levelIndex, const Zarn::LevelStatus& previousBest,
                        const std::vector<Zarn::ScoreResult>& entries);
    // Switches to the game-over form (call instead of buildMedalRows).
    void showGameOver();
    // Bounces the parts, then pops the cards' nodes and the caption in, in
    // 0.9 s of actions on the panel.
    void runRevealSequence();
    // A released key: the next button's callback (the levels button's when
    // there is none), called without the press look; nothing while an action
    // runs on the panel, when the callback is empty, or when the button has
    // already acted in this frame (by a click or an earlier key).
    void pressDefaultButton();

    // The buttons, for their callbacks; the next button is null in the
    // game-over form.
    ZUICoreButton* getRetryButton() const { return retryButton_; }
    ZUICoreButton* getNextButton() const { return nextButton_; }
    ZUICoreButton* getLevelsButton() const { return levelsButton_; }
    cocos2d::DrawNode* getMonitorFill() const { return monitorFill_; }
    // Null before buildMedalRows and in the game-over form.
    cocos2d::DrawNode* getRowsNode() const { return rowsNode_; }
    cocos2d::Label* getBestLabel() const { return bestLabel_; }
    // The cards' nodes, in the order they pop in.
    const std::vector<cocos2d::Node*>& getDeathNodes() const { return deathNodes_; }
    const std::vector<cocos2d::Node*>& getTimeNodes() const { return timeNodes_; }
    const std::vector<cocos2d::Node*>& getLivesNodes() const { return livesNodes_; }
    const std::vector<cocos2d::Node*>& getTimeAttackNodes() const { return timeAttackNodes_; }

private:
    cocos2d::Sprite* placeSprite(const std::string& frame, float x, float y);
    ZUICoreButton* placeButton(const std::string& icon, float x, float y, float rotation);
    void addButtonShadow(ZUICoreButton* button);
    cocos2d::Sprite* makeRibbon(const std::string& title, float fontSize);
    // Paints the card's quadrilaterals and adds its ribbon on the main one's
    // top edge.
    cocos2d::Sprite* startCard(const cocos2d::Vec2* main, const cocos2d::Vec2* previous,
                               const std::string& title, float fontSize, float drop, float rotation);
    // The DEATHS and TIME cards share one recipe with their own numbers.
    struct MedalCard {
        const cocos2d::Vec2* main;
        const cocos2d::Vec2* previous;
        const char* title;
        float drop;
        float rotation;
        std::unordered_map<u8, std::string>* icons;
        float medalShiftX;         // of the medal from below the ribbon
        float fontSize;            // of both values
        float hintGap;             // added between the value and the hint
        cocos2d::Vec2 bestCorner;  // previous best medal's lower-left from corner 0
        float bestGap;             // between the previous best medal and its value
    };
    // Adds the card's nodes and answers them in pop-in order: ribbon, medal,
    // value, hint, previous best medal, previous best value.
    std::vector<cocos2d::Node*> addMedalCard(const MedalCard& card, const Zarn::ScoreResult& entry,
                                             cocos2d::Label* hint, u8 previousMedal,
                                             const std::string& previousText);
    void addDeathsCard(const Zarn::LevelList& levels, u32 levelIndex, const Zarn::LevelStatus& previousBest,
                       const Zarn::ScoreResult& entry);
    void addTimeCard(const Zarn::LevelList& levels, u32 levelIndex, const Zarn::LevelStatus& previousBest,
                     const Zarn::ScoreResult& entry);
    void addTimeAttackCard();
    void addLivesCard(const Zarn::ScoreResult& entry);
    void popInNodes(const std::vector<cocos2d::Node*>& nodes);

    // All children of the panel (directly or deeper); the node tree keeps
    // them alive.
    cocos2d::Sprite* handLeft_ = nullptr;
    cocos2d::Sprite* handRight_ = nullptr;
    cocos2d::Sprite* face_ = nullptr;
    cocos2d::Sprite* monitor_ = nullptr;
    cocos2d::Sprite* smallPanel_ = nullptr;
    cocos2d::DrawNode* monitorFill_ = nullptr;
    cocos2d::DrawNode* rowsNode_ = nullptr;
    cocos2d::Label* bestLabel_ = nullptr;
    std::vector<cocos2d::Vec2> screenPolygon_;
    ZUICoreButton* retryButton_ = nullptr;
    ZUICoreButton* nextButton_ = nullptr;
    ZUICoreButton* levelsButton_ = nullptr;
    std::vector<cocos2d::Node*> deathNodes_;
    std::vector<cocos2d::Node*> timeNodes_;
    std::vector<cocos2d::Node*> livesNodes_;
    std::vector<cocos2d::Node*> timeAttackNodes_;
    // Registered with the panel; the event dispatcher keeps it.
    cocos2d::EventListenerKeyboard* keyboardListener_ = nullptr;
};
