#include "app/story/ZUISinglePlayerScene.h"

#include "app/menus/BackButtons.h"
#include "app/play/PlayTestSceneNode.h"
#include "app/story/LevelTable.h"
#include "app/widgets/ZUIButton.h"
#include "engine/Director.h"
#include "presentation/audio/LevelMusicTable.h"
#include "simulation/progress/SinglePlayerData.h"

namespace {

constexpr const char* kProgressFile = "singleplayer.bin";

// The story progress, loaded from its file once per run (a missing or bad
// file starts a fresh one, which is saved).
Zarn::SinglePlayerData& storyProgress() {
    Zarn::SinglePlayerData& progress = Zarn::singlePlayerProgress();
    const u32 count = static_cast<u32>(Zarn::storyLevelList().size());
    if (progress.levelCount() != count) {
        if (!progress.loadFromSaveFile(kProgressFile) || progress.levelCount() != count) {
            progress.setLevelCount(count);
            progress.writeToSaveFile(kProgressFile);
        }
    }
    return progress;
}

}  // namespace

ZUISinglePlayerScene* ZUISinglePlayerScene::create() {
    return cocos2d::createWithInit<ZUISinglePlayerScene>();
}

bool ZUISinglePlayerScene::init() {
    if (!Scene::init()) return false;
    LevelMusicTable::instance().musicPlaying = false;
    addBackToMenuButton(this);

    playButton = ZUIButton::create("Play", "fonts/loaded.ttf", 48, 0, 0);
    addChild(playButton);
    const cocos2d::Director* director = cocos2d::Director::getInstance();
    playButton->setPosition(
        director->getVisibleOrigin() +
        cocos2d::Vec2(director->getVisibleSize().width / 2.0f, director->getVisibleSize().height / 2.0f));
    playButton->callback = [] {
        Zarn::SinglePlayerData& progress = storyProgress();
        // A story level always counts deaths.
        progress.enableMode(Zarn::playMode::deaths);
        PlayTestSceneNode::startLevel(Zarn::levelMapFileName(progress.currentLevel), &progress,
                                      Zarn::storyLevelList(), 1.0f);
    };
    return true;
}
