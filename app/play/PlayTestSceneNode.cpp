#include "app/play/PlayTestSceneNode.h"

#include "app/menus/ZUIBetaEndScene.h"
#include "app/menus/ZUICreditsScene.h"
#include "app/menus/ZUIMainMenuScene.h"
#include "app/play/CocosPlayTestScene.h"
#include "app/play/PlayCommands.h"
#include "app/start/PlatformServices.h"
#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIMedalResult.h"
#include "app/story/ZUISinglePlayerScene.h"
#include "app/widgets/NoticeLabel.h"
#include "app/widgets/ZUICoreButton.h"
#include "engine/ActionEase.h"
#include "engine/ActionInstant.h"
#include "engine/ActionInterval.h"
#include "engine/Director.h"
#include "engine/EventDispatcher.h"
#include "engine/EventListener.h"
#include "engine/Label.h"
#include "engine/Transition.h"
#include "foundation/Error.h"
#include "foundation/Logger.h"
#include "presentation/audio/LevelMusicTable.h"
#include "presentation/audio/PositionAudioEngine.h"
#include "presentation/audio/SoundPlayer.h"
#include "presentation/mediators/CocosNodeMediator.h"
#include "simulation/achievements/AchievementTracker.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/progress/SinglePlayerData.h"
#include "simulation/scores/LevelEntry.h"
#include "simulation/scores/ScoreKeeperRegistry.h"
#include "simulation/scores/ScoreKeeperSummary.h"
#include "visuals/elements/LevelVisualFactories.h"

using cocos2d::EventKeyboard;

namespace {

// The input kinds of the game's keys: pressed, released (0: none).
struct KeyKinds {
    EventKeyboard::KeyCode key;
    u8 pressed;
    u8 released;
};
using K = EventKeyboard::KeyCode;
constexpr KeyKinds kKeyKinds[] = {
    {K::KEY_LEFT_ARROW, 10, 11}, {K::KEY_A, 10, 11}, {K::KEY_RIGHT_ARROW, 8, 9}, {K::KEY_D, 8, 9},
    {K::KEY_UP_ARROW, 4, 5},     {K::KEY_W, 4, 5},   {K::KEY_DOWN_ARROW, 6, 7},  {K::KEY_S, 6, 7},
    {K::KEY_SPACE, 0, 12},       {K::KEY_J, 0, 12},  {K::KEY_ENTER, 0, 12},      {K::KEY_KP_ENTER, 0, 12},
};

// Notice shown on the running scene when a level cannot be brought up.
constexpr const char* kLevelLoadNotice = "This level could not be loaded.";

void logLevelFailure(const std::string& mapName, const char* what) {
    Convinience::Logger().log(3, "Level " + mapName + " could not be brought up: " + what);
}

// A short line in the middle of the scene that fades away.
void tellPlayer(cocos2d::Scene* running, const std::string& text) {
    showNotice(running, text, PlayTestSceneNode::kPanelZOrder + 1);
}

}  // namespace

NextLevelRoute nextLevelRoute(u32 level, u32 count) {
    const u64 next = u64{level} + 1;
    if (next + 1 > count) return NextLevelRoute::endOfLevels;
    if (next + 5 == count) return NextLevelRoute::bonusChallenges;
    return NextLevelRoute::playNext;
}

PlayTestSceneNode::PlayTestSceneNode(std::string mapName, Zarn::SinglePlayerData* progress,
                                     const Zarn::LevelList& levels, const Convinience::TickClock& clock)
    : client_(std::make_unique<Zarn::SinglePlayerZarn>(clock)),
      mapName_(std::move(mapName)),
      progress_(progress),
      levels_(levels),
      clock_(clock) {}

PlayTestSceneNode::~PlayTestSceneNode() {
    // The scene before the client, whose destruction joins the server thread.
    scene_.reset();
    client_.reset();
}

PlayTestSceneNode* PlayTestSceneNode::create(const std::string& mapName, Zarn::SinglePlayerData* progress,
                                             const Zarn::LevelList& levels,
                                             const Convinience::TickClock& clock) {
    auto* host = new PlayTestSceneNode(mapName, progress, levels, clock);
    bool ready = false;
    try {
        ready = host->init();
    } catch (const std::exception& failure) {
        logLevelFailure(mapName, failure.what());
    }
    if (!ready) {
        host->release();
        return nullptr;
    }
    host->autorelease();
    return host;
}

PlayTestSceneNode* PlayTestSceneNode::create(const std::string& mapName, Zarn::SinglePlayerData* progress) {
    return create(mapName, progress, Zarn::LevelList::instance());
}

bool PlayTestSceneNode::startLevel(const std::string& mapName, Zarn::SinglePlayerData* progress,
                                   const Zarn::LevelList& levels, float fadeSeconds, int inheritedMusicID,
                                   const Convinience::TickClock& clock) {
    PlayTestSceneNode* host = create(mapName, progress, levels, clock);
    if (host == nullptr) {
        tellPlayer(cocos2d::Director::getInstance()->getRunningScene(), kLevelLoadNotice);
        return false;
    }
    if (inheritedMusicID != -1 && host->musicID_ == -1) host->musicID_ = inheritedMusicID;
    cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(fadeSeconds, host));
    return true;
}

bool PlayTestSceneNode::init() {
    if (!Scene::init()) return false;

    touchListener_ = cocos2d::EventListenerTouchAllAtOnce::create();
    touchListener_->onTouchesBegan = [this](const std::vector<cocos2d::Touch*>& touches,
                                            cocos2d::Event* event) { onTouchesBegan(touches, event); };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(touchListener_, this);
    keyListener_ = cocos2d::EventListenerKeyboard::create();
    keyListener_->onKeyPressed = [this](EventKeyboard::KeyCode key, cocos2d::Event* event) {
        onKeyPressed(key, event);
    };
    keyListener_->onKeyReleased = [this](EventKeyboard::KeyCode key, cocos2d::Event* event) {
        onKeyReleased(key, event);
    };
    getEventDispatcher()->addEventListenerWithSceneGraphPriority(keyListener_, this);

    rootMediator_ = std::make_unique<CocosNodeMediator>(this);
    scene_ = std::make_unique<CocosPlayTestScene>(
        *rootMediator_, this, *client_, mapName_, makeLevelVisualFactories, levels_, progress_, [this] {
            runOver_ = true;
            runAction(cocos2d::Sequence::create(cocos2d::DelayTime::create(1.5f),
                                                cocos2d::CallFunc::create([this] { showGameOver(); }),
                                                nullptr));
        });
    scene_->setExitHandler([this] { onLevelFinished(); });
    scene_->setFailureHandler([this](const std::exception&) { leaveAfterFailure(); });
    scene_->initScene();
    startLevelMusic();
    return true;
}

void PlayTestSceneNode::update(float dt) {
    scene_->update(dt);
    scene_->runReportedCommands();
    if (PlatformServiceHook != nullptr) PlatformServiceHook->update(dt);
}

void PlayTestSceneNode::onExitTransitionDidStart() {
    Scene::onExitTransitionDidStart();
    SoundPlayer* sound = SoundPlayer::getInstance();
    if (stopMusicWhenLeaving_ && musicID_ != -1) sound->stopMusic(musicID_);
    sound->stopAllEffects();
    // Leaving must not fail again when a frame failed for want of the engine.
    try {
        PositionAudioEngine::instance().reset();
    } catch (const Convinience::Error& missing) {
        Convinience::Logger().log(3, std::string("Leaving the level: ") + missing.what());
    }
}

void PlayTestSceneNode::onTouchesBegan(const std::vector<cocos2d::Touch*>& touches, cocos2d::Event*) {
    if (touches.empty() || panel_ != nullptr) return;
    const cocos2d::Vec2 location = touches.front()->getLocation();
    scene_->dispatchInput(GeometryLib::FPoint(location.x, location.y));
}

u8 keyInputKind(EventKeyboard::KeyCode key, bool pressed) {
    for (const KeyKinds& k : kKeyKinds)
        if (k.key == key) return pressed ? k.pressed : k.released;
    return 0;
}

void PlayTestSceneNode::onKeyPressed(EventKeyboard::KeyCode key, cocos2d::Event*) {
    if (panel_ != nullptr) return;
    if (const u8 kind = keyInputKind(key, true)) scene_->sendInput(kind);
}

void PlayTestSceneNode::onKeyReleased(EventKeyboard::KeyCode key, cocos2d::Event*) {
    if (panel_ != nullptr) return;
    if (key == K::KEY_ESCAPE) {
        backToLevelSelect();
    } else if (key == K::KEY_R) {
        // After the last life only the whole limited-lives run starts again.
        if (runOver_) {
            retryFromFirstLevel();
        } else {
            restartLevel();
        }
    } else if (const u8 kind = keyInputKind(key, false)) {
        scene_->sendInput(kind);
    }
}

void PlayTestSceneNode::onLevelFinished() {
    client_->stopServer();
    showLevelResult();
    // After the result is recorded and saved: the triggers read it. There is
    // no leaderboard to upload the level's score to.
    if (AchievementTrackerHook != nullptr) AchievementTrackerHook->checkUnlocked();
}

void PlayTestSceneNode::showLevelResult() {
    cocos2d::Director* director = cocos2d::Director::getInstance();
    if (progress_ == nullptr) {
        if (takeWayOut())
            director->replaceScene(cocos2d::TransitionFade::create(1.5f, ZUICreditsScene::create()));
        return;
    }
    const u32 level = progress_->currentLevel;
    if (level >= levels_.size()) throw Convinience::Error("no such level score");
    const Zarn::LevelStatus previous = progress_->getLevelStatus(level);
    ZUIMedalResult* panel = ZUIMedalResult::create();

    Zarn::ScoreKeeperRegistry& scores = client_->getScoreKeeperRegistry();
    const Zarn::LevelScore score = scores.scores[client_->getLocalClientID()];
    const Zarn::ScoreKeeperSummary summary{level, scene_->getKeeperKinds()};
    panel->buildMedalRows(levels_, level, previous, summary.describeAll(score, levels_));

    panel->getLevelsButton()->callback = [this] { backToLevelSelect(); };
    panel->getRetryButton()->callback = [this] { restartLevel(); };
    panel->getNextButton()->callback = [this, level] {
        const NextLevelRoute route = nextLevelRoute(level, static_cast<u32>(levels_.size()));
        if (route == NextLevelRoute::playNext) {
            playLevel(level + 1);
            return;
        }
        if (!takeWayOut()) return;
        ZUIBetaEndScene* end = ZUIBetaEndScene::create();
        if (end == nullptr) {
            leaving_ = false;
            return;
        }
        if (route == NextLevelRoute::bonusChallenges) end->addBonusChallenges();
        cocos2d::Director::getInstance()->replaceScene(cocos2d::TransitionFade::create(1.0f, end));
    };
    slideIn(panel);

    progress_->money += score.money;
    progress_->recordLevelResult(level, score);
    progress_->completeLevel();
    writeSinglePlayerProgress(*progress_);
}

void PlayTestSceneNode::slideIn(ZUIMedalResult* panel) {
    panel_ = panel;
    addChild(panel, kPanelZOrder);
    panel->setScale(0.4f);
    const cocos2d::Director* director = cocos2d::Director::getInstance();
    const cocos2d::Size visible = director->getVisibleSize();
    const cocos2d::Vec2 target = director->getVisibleOrigin() +
                                 cocos2d::Vec2(visible.width / 2.0f, visible.height / 2.0f) +
                                 cocos2d::Vec2(-30.0f, 50.0f);
    const float height = panel->getBoundingBox().size.height;
    panel->setPosition(target + cocos2d::Vec2(0.0f, height * 0.5f + visible.height + 100.0f));
    panel->runAction(cocos2d::Sequence::create(
        cocos2d::EaseOut::create(cocos2d::MoveTo::create(0.5f, target), 1.5f),
        cocos2d::CallFunc::create([panel] { panel->runRevealSequence(); }), nullptr));
}

void PlayTestSceneNode::showGameOver() {
    client_->stopServer();
    ZUIMedalResult* panel = ZUIMedalResult::create();
    panel->showGameOver();
    panel->getLevelsButton()->callback = [this] { backToLevelSelect(0.4f); };
    panel->getRetryButton()->callback = [this] { retryFromFirstLevel(); };
    slideIn(panel);
}

bool PlayTestSceneNode::takeWayOut() {
    if (leaving_) return false;
    leaving_ = true;
    return true;
}

void PlayTestSceneNode::playLevel(u32 next) {
    if (next >= levels_.size() || !takeWayOut()) return;
    const u32 played = progress_->currentLevel;
    progress_->currentLevel = next;
    const bool sameTrack = !LevelMusicTable::instance().needsTrackChange(static_cast<int>(next));
    if (sameTrack) stopMusicWhenLeaving_ = false;
    if (startLevel(levels_[next].mapName + ".map", progress_, levels_, 1.0f, sameTrack ? musicID_ : -1,
                   clock_))
        return;
    progress_->currentLevel = played;
    stopMusicWhenLeaving_ = true;
    leaving_ = false;
}

void PlayTestSceneNode::restartLevel() {
    if (!takeWayOut()) return;
    stopMusicWhenLeaving_ = false;
    if (startLevel(mapName_, progress_, levels_, 0.5f, musicID_, clock_)) return;
    stopMusicWhenLeaving_ = true;
    leaving_ = false;
}

void PlayTestSceneNode::backToLevelSelect(float seconds) {
    if (!takeWayOut()) return;
    cocos2d::Director::getInstance()->replaceScene(
        cocos2d::TransitionMoveInT::create(seconds, ZUISinglePlayerScene::create()));
}

void PlayTestSceneNode::retryFromFirstLevel() {
    if (levels_.empty() || !takeWayOut()) return;
    progress_->restartLives();
    if (LevelMusicTable::instance().needsTrackChange(0)) SoundPlayer::getInstance()->stopAllMusic();
    if (!startLevel(levels_[0].mapName + ".map", progress_, levels_, 1.0f, -1, clock_)) leaving_ = false;
}

void PlayTestSceneNode::startLevelMusic() {
    if (progress_ == nullptr) return;
    LevelMusicTable& music = LevelMusicTable::instance();
    const int level = static_cast<int>(progress_->currentLevel);
    if (!music.needsTrackChange(level)) return;
    musicID_ = music.playLevelMusic(level);
}

void PlayTestSceneNode::leaveAfterFailure() {
    client_->stopServer();
    leaving_ = true;
    stopMusicWhenLeaving_ = true;
    ZUIMainMenuScene* menu = ZUIMainMenuScene::create(0);
    tellPlayer(menu, "The level stopped after an error.");
    cocos2d::Director::getInstance()->replaceScene(menu);
}
