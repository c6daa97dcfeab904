#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Event.h"
#include "engine/Scene.h"
#include "foundation/Stopwatch.h"
#include "simulation/scores/LevelEntry.h"

namespace cocos2d {
class EventListenerKeyboard;
class EventListenerTouchAllAtOnce;
class Touch;
}  // namespace cocos2d
namespace Zarn {
class SinglePlayerData;
class SinglePlayerZarn;
}  // namespace Zarn
class CocosNodeMediator;
class CocosPlayTestScene;
class ZUIMedalResult;

// Where the result panel's next button leads after level `level` of a list
// of `count` levels: the next level, the end-of-levels scene, or that scene
// with its bonus challenges (when the next level is the first of the last
// five).
enum class NextLevelRoute { playNext, endOfLevels, bonusChallenges };
NextLevelRoute nextLevelRoute(u32 level, u32 count);

// The input kind a key sends to the game when pressed or released: the
// arrows and W A S D move (4/5 up, 6/7 down, 8/9 right, 10/11 left), space,
// J and enter continue on release (12); 0 for any other key and event.
u8 keyInputKind(cocos2d::EventKeyboard::KeyCode key, bool pressed);

// One level of single play (a story level or a play test) as an engine
// scene: owns the single-play client (with the in-process server) and the
// in-game scene, routes touches and keys to the game, and at the level's end
// shows the medal panel (story) or the credits (play test), saves the
// progress and moves on by the player's choice.
//
// Made through create (or startLevel, which never leaves the player on a
// null scene). The progress and the level list outlive every host. Main
// thread only; the server thread touches nothing here.
class PlayTestSceneNode : public cocos2d::Scene {
public:
    // Drawing order of the result panels in this scene.
    static constexpr int kPanelZOrder = 10;

    // mapName: the file name under "maps/" (with ".map"); progress may be
    // null (a play test). Null when the level cannot be brought up (logged).
    // The server's clock (steady in play) outlives every host made from
    // this one.
    static PlayTestSceneNode* create(const std::string& mapName, Zarn::SinglePlayerData* progress,
                                     const Zarn::LevelList& levels,
                                     const Convinience::TickClock& clock = Convinience::TickClock::steady());
    static PlayTestSceneNode* create(const std::string& mapName, Zarn::SinglePlayerData* progress);

    // Makes the host and replaces the running scene through a fade of
    // fadeSeconds. A level that cannot be brought up leaves the running scene
    // as it is and tells the player there; answers whether the level started.
    // inheritedMusicID: the playing track's ID when the level goes on with it.
    static bool startLevel(const std::string& mapName, Zarn::SinglePlayerData* progress,
                           const Zarn::LevelList& levels, float fadeSeconds, int inheritedMusicID = -1,
                           const Convinience::TickClock& clock = Convinience::TickClock::steady());

    ~PlayTestSceneNode() override;

    bool init() override;
    // The level's frame, the reported keeper commands, the platform hook.
    void update(float dt) override;
    // Stops the level's music unless the next level goes on with it, every
    // effect, and the positional sounds.
    void onExitTransitionDidStart() override;

    // The ways out of a level; each replaces this scene. Only the first one
    // taken counts: once the scene is on its way out the others do nothing.
    // A level that cannot be brought up leaves the scene, and its ways out,
    // as they were.
    void onLevelFinished();
    void restartLevel();
    void playLevel(u32 next);
    void backToLevelSelect(float seconds = 0.35f);
    // The limited-lives run starts again from the first level of the list.
    void retryFromFirstLevel();
    // The limited-lives run is over: the game-over panel.
    void showGameOver();

    CocosPlayTestScene* getInGameScene() const { return scene_.get(); }
    Zarn::SinglePlayerZarn& getClient() { return *client_; }
    // Null until a panel was shown.
    ZUIMedalResult* getResultPanel() const { return panel_; }
    int getMusicID() const { return musicID_; }
    bool stopsMusicWhenLeaving() const { return stopMusicWhenLeaving_; }

    // Touch and key handling, as the listeners call them. While a result
    // panel is up the panel alone takes touches and keys. R restarts the
    // level, or, once the last life is lost, the limited-lives run.
    void onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event* event);
    void onKeyPressed(cocos2d::EventKeyboard::KeyCode key, cocos2d::Event* event);
    void onKeyReleased(cocos2d::EventKeyboard::KeyCode key, cocos2d::Event* event);

private:
    PlayTestSceneNode(std::string mapName, Zarn::SinglePlayerData* progress, const Zarn::LevelList& levels,
                      const Convinience::TickClock& clock);

    void showLevelResult();
    // Marks the scene as leaving; false when it already is.
    bool takeWayOut();
    void slideIn(ZUIMedalResult* panel);
    void startLevelMusic();
    // A frame failed: the level ends and the main menu replaces it.
    void leaveAfterFailure();

    cocos2d::EventListenerTouchAllAtOnce* touchListener_ = nullptr;
    cocos2d::EventListenerKeyboard* keyListener_ = nullptr;
    std::unique_ptr<CocosNodeMediator> rootMediator_;
    std::unique_ptr<Zarn::SinglePlayerZarn> client_;
    std::unique_ptr<CocosPlayTestScene> scene_;
    std::string mapName_;
    int musicID_ = -1;
    bool stopMusicWhenLeaving_ = true;
    Zarn::SinglePlayerData* progress_;
    const Zarn::LevelList& levels_;
    const Convinience::TickClock& clock_;
    // A child of this scene, or null.
    ZUIMedalResult* panel_ = nullptr;
    // The last life of a limited-lives run is lost.
    bool runOver_ = false;
    // A way out was taken: the scene is being replaced.
    bool leaving_ = false;
};
