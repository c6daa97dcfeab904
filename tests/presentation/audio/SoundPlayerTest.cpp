#include <gtest/gtest.h>

#include "../support/PresentationFixture.h"

namespace {

using zarn_test::PresentationFixture;

class SoundPlayerTest : public PresentationFixture {
protected:
    SoundPlayer& player() { return *SoundPlayer::getInstance(); }
};

// The engine starts a sound at volume x gain x master; the channel keeps the
// volume alone, and a later master change sets base x new master.
TEST_F(SoundPlayerTest, StartsAtVolumeTimesGainTimesMasterAndReappliesTheBaseOnMasterChange) {
    struct Case {
        float master, volume, gain, started, newMaster, afterChange;
    };
    const Case cases[] = {
        {0.5f, 0.8f, 0.5f, 0.2f, 1.0f, 0.8f},
        {1.0f, 1.0f, 1.0f, 1.0f, 0.25f, 0.25f},
        {1.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f},
        {0.0f, 1.0f, 1.0f, 0.0f, 0.5f, 0.5f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "master " << c.master << " volume " << c.volume << " gain " << c.gain);
        for (bool music : {false, true}) {
            SoundPlayer::setInstance(nullptr);
            audio.clear();
            music ? player().setMusicMasterVolume(c.master) : player().setEffectsMasterVolume(c.master);
            const int id = music ? player().playMusic("sound/a.mp3", c.volume, c.gain)
                                 : player().playEffect("sound/a.mp3", c.volume, c.gain);
            ASSERT_GE(id, 0);
            ASSERT_EQ(audio.plays.size(), 1u);
            EXPECT_FLOAT_EQ(audio.plays[0].volume, c.started);
            EXPECT_FALSE(audio.plays[0].loop);
            if (!music) {
                EXPECT_FLOAT_EQ(player().effectBaseVolume(id), c.volume);
            }
            music ? player().setMusicMasterVolume(c.newMaster) : player().setEffectsMasterVolume(c.newMaster);
            EXPECT_FLOAT_EQ(audio.playing.at(id), c.afterChange);
            music ? player().stopAllMusic() : player().stopAllEffects();
        }
    }
}

TEST_F(SoundPlayerTest, EachChannelsMasterTouchesOnlyItsOwnSounds) {
    const int effect = player().playEffectLooped("sound/a.mp3", 0.6f, 1.0f);
    const int music = player().playMusicLooped("sound/b.mp3", 0.4f, 1.0f);
    EXPECT_TRUE(audio.plays[0].loop);
    EXPECT_TRUE(audio.plays[1].loop);
    player().setMusicMasterVolume(0.5f);
    EXPECT_FLOAT_EQ(audio.playing.at(music), 0.2f);
    EXPECT_FLOAT_EQ(audio.playing.at(effect), 0.6f);
    player().setEffectsMasterVolume(0.5f);
    EXPECT_FLOAT_EQ(audio.playing.at(effect), 0.3f);
    EXPECT_FLOAT_EQ(audio.playing.at(music), 0.2f);
    EXPECT_FLOAT_EQ(player().getEffectsMasterVolume(), 0.5f);
    EXPECT_FLOAT_EQ(player().getMusicMasterVolume(), 0.5f);
}

// A one-shot sound leaves its channel when the engine reports its end, so a
// later master change does not reach it; looped sounds stay until stopped.
TEST_F(SoundPlayerTest, FinishedSoundsLeaveTheirChannel) {
    const int once = player().playEffect("sound/a.mp3", 1.0f, 1.0f);
    const int looped = player().playEffectLooped("sound/b.mp3", 1.0f, 1.0f);
    const int song = player().playMusic("sound/c.mp3", 1.0f, 1.0f);
    EXPECT_EQ(player().effectEntryCount(once), 1u);
    frames(3, 0.5f);
    EXPECT_EQ(player().effectEntryCount(once), 0u);
    EXPECT_EQ(player().musicEntryCount(song), 0u);
    EXPECT_EQ(player().effectEntryCount(looped), 1u);
    audio.volumeChanges.clear();
    player().setEffectsMasterVolume(0.5f);
    ASSERT_EQ(audio.volumeChanges.size(), 1u);
    EXPECT_EQ(audio.volumeChanges[0].id, looped);
}

TEST_F(SoundPlayerTest, StoppingOneSoundForgetsItAndLeavesTheOthersPlaying) {
    const int a = player().playEffectLooped("sound/a.mp3", 1.0f, 1.0f);
    const int b = player().playEffectLooped("sound/b.mp3", 1.0f, 1.0f);
    const int m = player().playMusicLooped("sound/c.mp3", 1.0f, 1.0f);
    player().stopEffect(a);
    EXPECT_EQ(player().effectEntryCount(a), 0u);
    EXPECT_EQ(audio.playing.count(a), 0u);
    EXPECT_EQ(audio.playing.count(b), 1u);
    player().stopMusic(m);
    EXPECT_EQ(player().musicEntryCount(m), 0u);
    EXPECT_EQ(audio.playing.count(m), 0u);
    player().stopAllEffects();
    EXPECT_TRUE(audio.playing.empty());
    EXPECT_EQ(player().effectEntryCount(b), 0u);
}

// stopMusic asks the engine to stop an id the channel never held; stopping
// all music when none plays stops nothing.
TEST_F(SoundPlayerTest, StopMusicStopsAnIdItDoesNotKnowAndStopAllWithNothingDoesNothing) {
    const int effect = player().playEffectLooped("sound/a.mp3", 1.0f, 1.0f);
    player().stopAllMusic();
    EXPECT_TRUE(audio.stops.empty());
    const int foreign = cocos2d::experimental::AudioEngine::play2d("sound/b.mp3", true, 1.0f);
    player().stopMusic(foreign);
    EXPECT_EQ(audio.stops, std::vector<int>{foreign});
    EXPECT_EQ(audio.playing.count(effect), 1u);
}

// A file the engine cannot play gives -1 and leaves no entry behind.
TEST_F(SoundPlayerTest, RefusedSoundsAreNotRemembered) {
    EXPECT_EQ(player().playEffect("sound/missing.mp3", 1.0f, 1.0f), -1);
    EXPECT_EQ(player().playMusicLooped("sound/missing.mp3", 1.0f, 1.0f), -1);
    EXPECT_EQ(player().effectEntryCount(-1), 0u);
    EXPECT_EQ(player().musicEntryCount(-1), 0u);
    EXPECT_TRUE(audio.plays.empty());
}

TEST_F(SoundPlayerTest, TheInstanceIsMadeOnceAndAReplacedPlayersSoundsFinishSafely) {
    SoundPlayer* first = SoundPlayer::getInstance();
    EXPECT_EQ(SoundPlayer::getInstance(), first);
    first->playEffect("sound/a.mp3", 1.0f, 1.0f);
    SoundPlayer::setInstance(SoundPlayer::create());
    frames(3, 0.5f);
    EXPECT_TRUE(audio.playing.empty());
    EXPECT_FLOAT_EQ(SoundPlayer::getInstance()->getEffectsMasterVolume(), 1.0f);
}

}  // namespace
