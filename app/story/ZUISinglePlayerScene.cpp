#include "app/story/ZUISinglePlayerScene.h"

#include "app/story/SinglePlayerProgress.h"
#include "app/story/ZUIElevatorPanel.h"
#include "engine/Layer.h"
#include "presentation/audio/LevelMusicTable.h"
#include "presentation/audio/SoundPlayer.h"

ZUISinglePlayerScene* ZUISinglePlayerScene::create() {
    return cocos2d::createWithInit<ZUISinglePlayerScene>();
}

bool ZUISinglePlayerScene::init() {
    if (!Scene::init()) return false;
    scheduleUpdate();
    LevelMusicTable::instance().musicPlaying = false;
    buildLayers();
    setCascadeOpacityEnabled(true);
    return true;
}

void ZUISinglePlayerScene::buildLayers() {
    saveSinglePlayerProgress();
    addChild(cocos2d::LayerColor::create(cocos2d::Color4B(204, 222, 217, 255)));
    elevatorPanel = ZUIElevatorPanel::create();
    elevatorPanel->setScale(0.4f);
    elevatorPanel->setPosition(cocos2d::Vec2(0, 0));
    addChild(elevatorPanel);
}

void ZUISinglePlayerScene::onEnterTransitionDidFinish() {
    Scene::onEnterTransitionDidFinish();
    SoundPlayer* sound = SoundPlayer::getInstance();
    sound->stopAllMusic();
    elevatorMusicID = sound->playMusicLooped("sound/music/elevator.mp3", 0.2f, 1.0f);
}

void ZUISinglePlayerScene::onExitTransitionDidStart() {
    Scene::onExitTransitionDidStart();
    if (elevatorMusicID != -1) SoundPlayer::getInstance()->stopMusic(elevatorMusicID);
    elevatorMusicID = -1;
}
