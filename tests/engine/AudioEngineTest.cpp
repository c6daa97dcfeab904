#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

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
