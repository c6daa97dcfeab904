#pragma once

// A running scene on a reset director with a recording audio backend, a fresh
// sound player and a sound folder in which every file the presentation plays
// exists (empty), so that the engine starts it. Header-only.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/cocos2d.h"
#include "presentation/audio/SoundPlayer.h"
#include "support/RecordingAudioBackend.h"
#include "support/TestEnvironment.h"

namespace zarn_test {

// Makes each name (a path like "sound/footstep1.mp3") as an empty file under
// the folder.
inline void makeFiles(const std::string& folder, const std::vector<const char*>& names) {
    for (const char* name : names) {
        const std::filesystem::path path = std::filesystem::path(folder) / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "";
    }
}

// The sounds the player visuals play.
inline const std::vector<const char*> kPlayerSounds = {
    "sound/footstep1.mp3",
    "sound/spawn/spawn1.mp3",
    "sound/spawn/spawn2.mp3",
    "sound/fall_straight1.mp3",
    "sound/fall_straight2.mp3",
    "sound/fall_straight3.mp3",
    "sound/bodyExplode/explode1.mp3",
    "sound/bodyExplode/explode2.mp3",
    "sound/bodyExplode/explode3.mp3",
    "sound/spike/hit1.mp3",
    "sound/spike/hit2.mp3",
    "sound/spike/hit3.mp3",
    "sound/crazy_legs1.mp3",
    "sound/crazy_legs2.mp3",
    "sound/player_status/squish.mp3",
    "sound/player_status/squish_restore.mp3",
};

class PresentationFixture : public ::testing::Test {
protected:
    void SetUp() override {
        soundRoot = tempDir() + "/sounds/";
        makeFiles(soundRoot, {"sound/a.mp3", "sound/b.mp3", "sound/c.mp3"});
        makeFiles(soundRoot, kPlayerSounds);
        cocos2d::FileUtils::getInstance()->addSearchPath(soundRoot, true);
        cocos2d::experimental::AudioEngine::setBackend(
            std::make_unique<RecordingAudioBackend>(audio, soundRoot, soundDuration));
        SoundPlayer::setInstance(nullptr);
        cocos2d::Director::getInstance()->reset();
        scene = cocos2d::Scene::create();
        cocos2d::Director::getInstance()->runWithScene(scene);
        frame(0.0f);
    }
    void TearDown() override {
        SoundPlayer::setInstance(nullptr);
        cocos2d::Director::getInstance()->reset();
        cocos2d::PoolManager::getInstance()->getCurrentPool()->clear();
        cocos2d::experimental::AudioEngine::end();
    }
    void frame(float dt = 0.0f) { cocos2d::Director::getInstance()->mainLoop(dt); }
    void frames(int count, float dt) {
        for (int i = 0; i < count; ++i) frame(dt);
    }

    // Seconds a one-shot sound lasts in the recording backend.
    float soundDuration = 1.0f;
    std::string soundRoot;
    RecordingAudioBackend::Log audio;
    cocos2d::Scene* scene = nullptr;  // held by the director
};

}  // namespace zarn_test
