#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "../support/PresentationFixture.h"
#include "support/WavSamples.h"

namespace {

using zarn_test::PresentationFixture;

const char* const kTrapDoor = "sound/trapdoor/open.mp3";

// The game's own trap-door sound, played through the sound player on the
// recording backend, which mixes what it plays as the window's backend does.
class MixLevelTest : public PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        cocos2d::FileUtils::getInstance()->addSearchPath(std::string(ZARN_ASSETS_DIR) + "/", false);
        audio.recordMix = true;
        const std::optional<zarn_test::WavSamples> wav =
            zarn_test::readWav(std::string(ZARN_ASSETS_DIR) + "/sound/trapdoor/open.wav");
        ASSERT_TRUE(wav.has_value()) << "the build makes the trap door's sound";
        trapDoor = zarn_test::samplesFor(*wav, 2).value();
    }

    // Frames of 1/60 s until the trap door's sound has played out.
    void playOut() { frames(static_cast<int>(trapDoor.size() / 2 / 735) + 2, 1.0f / 60.0f); }

    std::vector<std::int16_t> trapDoor;
};

// Twenty trap doors that open in one frame start twenty sounds at once; the
// mix never reaches full scale.
TEST_F(MixLevelTest, TwentyTrapDoorsStartedInOneFrameNeverClip) {
    for (int i = 0; i < 20; ++i) ASSERT_GE(SoundPlayer::getInstance()->playEffect(kTrapDoor, 1.0f, 1.0f), 0);
    playOut();
    ASSERT_GE(audio.mix.size(), trapDoor.size());
    EXPECT_EQ(audio.clippedSamples(), 0u);
    EXPECT_LT(audio.mixPeak(), 32767);
    int onePeak = 0;
    for (std::int16_t s : trapDoor) onePeak = std::max(onePeak, std::abs(static_cast<int>(s)));
    EXPECT_GE(audio.mixPeak(), onePeak) << "limited, not muted";
}

// One trap door alone is heard exactly as it was made.
TEST_F(MixLevelTest, OneTrapDoorAloneSoundsAsMade) {
    ASSERT_GE(SoundPlayer::getInstance()->playEffect(kTrapDoor, 1.0f, 1.0f), 0);
    playOut();
    ASSERT_GE(audio.mix.size(), trapDoor.size());
    const std::vector<std::int16_t> heard(audio.mix.begin(), audio.mix.begin() + trapDoor.size());
    EXPECT_EQ(heard, trapDoor);
}

}  // namespace
