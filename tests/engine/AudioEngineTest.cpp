#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/EngineLog.h"

#include "support/EngineFixture.h"
#include "support/TestEnvironment.h"

using namespace cocos2d;
using experimental::AudioEngine;

namespace {

class AudioEngineTest : public zarn_test::EngineFixture {
protected:
    void TearDown() override {
        AudioEngine::end();
        EngineFixture::TearDown();
    }
};

// A sound or track that no folder holds is logged once by name and kind.
TEST_F(AudioEngineTest, AMissingSoundOrTrackIsLoggedOnceByName) {
    resetMissingAssetLog();
    std::vector<std::string> lines;
    setEngineLogHook([&](const std::string& line) { lines.push_back(line); });
    AudioEngine::play2d("sound/none.mp3");
    AudioEngine::play2d("sound/none.mp3");
    AudioEngine::play2d("sound/music/none.mp3", true);
    setEngineLogHook(nullptr);
    EXPECT_EQ(lines, (std::vector<std::string>{"Missing sound: sound/none.mp3",
                                               "Missing music: sound/music/none.mp3"}));
}

TEST_F(AudioEngineTest, MissingFilesGiveInvalidIdsAndSoundsFinishOnTheirOwn) {
    EXPECT_EQ(AudioEngine::play2d("sound/none.mp3"), AudioEngine::INVALID_AUDIO_ID);
    const std::string file = zarn_test::tempDir() + "/beep.mp3";
    std::ofstream(file) << "x";
    const int once = AudioEngine::play2d(file, false, 0.5f);
    const int looped = AudioEngine::play2d(file, true, 2.0f);
    ASSERT_GE(once, 0);
    ASSERT_NE(once, looped);
    EXPECT_EQ(AudioEngine::getVolume(once), 0.5f);
    EXPECT_EQ(AudioEngine::getVolume(looped), 1.0f) << "volumes are clamped to 0 .. 1";
    int finished = -1;
    std::string finishedFile;
    AudioEngine::setFinishCallback(once, [&](int id, const std::string& f) {
        finished = id;
        finishedFile = f;
    });
    frames(3, 0.5f);
    EXPECT_EQ(finished, once);
    EXPECT_EQ(finishedFile, file);
    EXPECT_EQ(AudioEngine::getState(once), AudioEngine::AudioState::ERROR);
    EXPECT_EQ(AudioEngine::getState(looped), AudioEngine::AudioState::PLAYING);
    bool stoppedCallback = false;
    AudioEngine::setFinishCallback(looped, [&](int, const std::string&) { stoppedCallback = true; });
    AudioEngine::stop(looped);
    frames(3, 1.0f);
    EXPECT_FALSE(stoppedCallback) << "a stopped sound does not report finishing";
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 0);
}

}  // namespace
