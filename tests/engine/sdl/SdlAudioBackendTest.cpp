#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>

#include "engine/AudioEngine.h"
#include "engine/sdl/SdlAudioBackend.h"
#include "support/TestEnvironment.h"

using namespace cocos2d::experimental;

namespace {

// A mono 16-bit WAV of silence lasting `milliseconds`.
std::string silentWav(const std::string& name, int milliseconds) {
    const std::string path = zarn_test::tempDir() + "/" + name;
    const uint32_t rate = 22050;
    const uint32_t samples = rate * static_cast<uint32_t>(milliseconds) / 1000;
    const uint32_t dataBytes = samples * 2;
    std::ofstream out(path, std::ios::binary);
    auto u32 = [&](uint32_t v) { out.write(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [&](uint16_t v) { out.write(reinterpret_cast<const char*>(&v), 2); };
    out.write("RIFF", 4);
    u32(36 + dataBytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(rate);
    u32(rate * 2);
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(dataBytes);
    const std::string zeros(dataBytes, '\0');
    out.write(zeros.data(), static_cast<std::streamsize>(zeros.size()));
    return path;
}

class SdlAudioBackendTest : public ::testing::Test {
protected:
    void TearDown() override { AudioEngine::end(); }
};

TEST_F(SdlAudioBackendTest, WithoutADeviceTheSilentBackendStays) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    AudioEngine::end();
    AudioBackend* before = AudioEngine::getBackend();
    EXPECT_FALSE(SdlAudioBackend::install());
    EXPECT_EQ(AudioEngine::getBackend(), before);
    const std::string wav = silentWav("fallback.wav", 50);
    EXPECT_GE(AudioEngine::play2d(wav), 0) << "the silent backend still plays";
}

TEST_F(SdlAudioBackendTest, PlaysStopsAndReportsTheEndOnTheMainThread) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    if (!SdlAudioBackend::install()) GTEST_SKIP() << "SDL's dummy audio driver would not open";
    const std::string shortSound = silentWav("short.wav", 60);
    const std::string longSound = silentWav("long.wav", 5000);

    EXPECT_EQ(AudioEngine::play2d(zarn_test::tempDir() + "/missing.wav"), AudioEngine::INVALID_AUDIO_ID);
    const std::string notSound = zarn_test::tempDir() + "/not-sound.wav";
    std::ofstream(notSound) << "not a sound";
    EXPECT_EQ(AudioEngine::play2d(notSound), AudioEngine::INVALID_AUDIO_ID);

    const int looping = AudioEngine::play2d(longSound, true, 0.5f);
    ASSERT_GE(looping, 0);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(looping), 0.5f);
    AudioEngine::setVolume(looping, 0.25f);
    EXPECT_FLOAT_EQ(AudioEngine::getVolume(looping), 0.25f);

    const int once = AudioEngine::play2d(shortSound);
    ASSERT_GE(once, 0);
    EXPECT_NE(once, looping);
    const std::thread::id mainThread = std::this_thread::get_id();
    int finishedId = -1;
    bool onMainThread = false;
    AudioEngine::setFinishCallback(once, [&](int id, const std::string&) {
        finishedId = id;
        onMainThread = std::this_thread::get_id() == mainThread;
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (finishedId < 0 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        AudioEngine::frameTick(0.01f);
    }
    EXPECT_EQ(finishedId, once);
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 1) << "the looping sound plays on";

    bool stoppedReported = false;
    AudioEngine::setFinishCallback(looping, [&](int, const std::string&) { stoppedReported = true; });
    AudioEngine::stop(looping);
    AudioEngine::frameTick(0.01f);
    EXPECT_FALSE(stoppedReported) << "a stop is not an end";
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 0);

    AudioEngine::play2d(longSound);
    AudioEngine::play2d(longSound);
    AudioEngine::stopAll();
    EXPECT_EQ(AudioEngine::getPlayingAudioCount(), 0);
}

}  // namespace
