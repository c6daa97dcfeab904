#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "engine/AudioMixer.h"

using cocos2d::experimental::AudioMixer;

namespace {

constexpr int kRate = 44100;

// A stereo sound of `frames` frames: a decaying 220 Hz tone that peaks at
// `peak` of full scale, as loud as the game's effects are made.
std::vector<std::int16_t> tone(std::size_t frames, float peak = 0.9f) {
    std::vector<std::int16_t> out(frames * 2);
    for (std::size_t f = 0; f < frames; ++f) {
        const float t = static_cast<float>(f) / kRate;
        const float v = peak * std::sin(2.0f * 3.14159265f * 220.0f * t) * std::exp(-3.0f * t);
        out[2 * f] = out[2 * f + 1] = static_cast<std::int16_t>(std::lround(v * 32767.0f));
    }
    return out;
}

std::vector<std::int16_t> mixFrames(AudioMixer& mixer, std::size_t frames, std::size_t block = 512) {
    std::vector<std::int16_t> out(frames * 2);
    for (std::size_t at = 0; at < frames; at += block) {
        const std::size_t n = std::min(block, frames - at);
        mixer.mix(out.data() + at * 2, n);
    }
    return out;
}

int peakOf(const std::vector<std::int16_t>& samples) {
    int peak = 0;
    for (std::int16_t s : samples) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}

// One sound alone is the sound itself, at its volume: the limiter does not
// touch a mix that stays under its ceiling.
TEST(AudioMixer, OneSoundAlonePlaysAsMade) {
    const std::vector<std::int16_t> sound = tone(kRate / 4);
    for (float volume : {1.0f, 0.5f, 0.2f}) {
        SCOPED_TRACE(volume);
        AudioMixer mixer(kRate, 2);
        mixer.play(1, sound.data(), sound.size() / 2, false, volume);
        const std::vector<std::int16_t> out = mixFrames(mixer, sound.size() / 2);
        for (std::size_t i = 0; i < out.size(); ++i) {
            ASSERT_EQ(out[i], static_cast<std::int16_t>(std::lround(sound[i] * volume))) << "sample " << i;
        }
        EXPECT_EQ(mixer.limiterGain(), 1.0f);
    }
}

// Many loud sounds started together never reach full scale, whatever the
// blocks the device pulls; the mix stays loud (it is limited, not muted).
TEST(AudioMixer, ManySoundsAtOnceStayBelowFullScale) {
    const std::vector<std::int16_t> sound = tone(kRate / 4);
    const int ceiling = static_cast<int>(std::lround(AudioMixer::kCeiling * 32768.0f));
    for (int count : {2, 5, 20}) {
        for (std::size_t block : {std::size_t{64}, std::size_t{1024}}) {
            SCOPED_TRACE(testing::Message() << count << " sounds, blocks of " << block);
            AudioMixer mixer(kRate, 2);
            for (int id = 0; id < count; ++id) mixer.play(id, sound.data(), sound.size() / 2, false, 1.0f);
            const std::vector<std::int16_t> out = mixFrames(mixer, sound.size() / 2, block);
            EXPECT_LE(peakOf(out), ceiling);
            EXPECT_GE(peakOf(out), ceiling - 2);
        }
    }
}

// After a loud moment the limiter gives its reduction back: a sound that
// starts once the loud ones are over and their release has run plays as made.
TEST(AudioMixer, AfterTheLoudMomentASoundPlaysAsMadeAgain) {
    const std::vector<std::int16_t> loud = tone(kRate / 10);
    const std::vector<std::int16_t> later = tone(kRate / 10, 0.5f);
    AudioMixer mixer(kRate, 2);
    for (int id = 0; id < 20; ++id) mixer.play(id, loud.data(), loud.size() / 2, false, 1.0f);
    mixFrames(mixer, loud.size() / 2);
    EXPECT_LT(mixer.limiterGain(), 0.1f);
    mixFrames(mixer, static_cast<std::size_t>(kRate * AudioMixer::kRelease * 16));
    EXPECT_EQ(mixer.limiterGain(), 1.0f);
    mixer.play(99, later.data(), later.size() / 2, false, 1.0f);
    const std::vector<std::int16_t> out = mixFrames(mixer, later.size() / 2);
    EXPECT_EQ(out, later);
}

// One-shot sounds end by themselves and are listed once; looping and paused
// sounds go on; a stopped sound is not listed as ended; an empty one ends at
// once.
TEST(AudioMixer, SoundsEndLoopPauseAndStop) {
    const std::vector<std::int16_t> sound = tone(100);
    AudioMixer mixer(kRate, 2);
    mixer.play(1, sound.data(), 100, false, 1.0f);
    mixer.play(2, sound.data(), 100, true, 1.0f);
    mixer.play(3, sound.data(), 100, false, 1.0f);
    mixer.setPaused(3, true);
    mixer.play(4, sound.data(), 100, false, 1.0f);
    mixer.play(5, nullptr, 0, true, 1.0f);
    mixFrames(mixer, 60);
    mixer.stop(4);
    EXPECT_EQ(mixer.takeEnded(), (std::vector<int>{5}));
    mixFrames(mixer, 60);
    EXPECT_EQ(mixer.takeEnded(), (std::vector<int>{1}));
    EXPECT_TRUE(mixer.takeEnded().empty());
    mixFrames(mixer, 1000);
    EXPECT_TRUE(mixer.isPlaying(2)) << "the loop goes on";
    EXPECT_TRUE(mixer.isPlaying(3)) << "the paused sound waits";
    mixer.setPaused(3, false);
    mixFrames(mixer, 100);
    EXPECT_EQ(mixer.takeEnded(), (std::vector<int>{3}));
    mixer.setLoop(2, false);
    mixFrames(mixer, 100);
    EXPECT_EQ(mixer.takeEnded(), (std::vector<int>{2}));
    EXPECT_EQ(mixer.playingCount(), 0u);
}

}  // namespace
