#include <gtest/gtest.h>

#include "../support/PresentationFixture.h"
#include "foundation/Error.h"
#include "presentation/audio/PositionAudioEngine.h"

namespace {

using cocos2d::Node;
using cocos2d::Vec2;

TEST(PositionalGain, IsFullUpTo375ThenFallsLinearlyToNothingAt750) {
    const struct {
        float distance, gain;
    } cases[] = {{0.0f, 1.0f},   {374.9f, 1.0f}, {375.0f, 1.0f}, {562.5f, 0.5f},
                 {712.5f, 0.1f}, {750.0f, 0.0f}, {2000.0f, 0.0f}};
    for (const auto& c : cases) EXPECT_NEAR(positionalGain(c.distance), c.gain, 1e-5f) << c.distance;
}

// The listener stands at the world's origin; the world node is a child of
// the scene at the origin, so node positions are world positions.
class PositionAudioEngineTest : public zarn_test::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        world = Node::create();
        scene->addChild(world);
        engine.setWorldNode(world);
    }
    Node* nodeAt(float x, float y, Node* parent = nullptr) {
        Node* n = Node::create();
        n->setPosition(x, y);
        (parent != nullptr ? parent : world)->addChild(n);
        return n;
    }
    // One frame of the scene's audio: the engine's frame, then the update.
    void audioFrame(float dt = 0.1f) {
        frame(dt);
        engine.update(dt);
    }

    PositionAudioEngineImpl engine{Vec2(0.0f, 0.0f), 750.0f};
    Node* world = nullptr;
};

TEST_F(PositionAudioEngineTest, OneShotsStartAtTheirDistancesGainTimesTheMasterOrNotAtAll) {
    SoundPlayer::getInstance()->setEffectsMasterVolume(0.5f);
    const struct {
        float x;
        const char* file;
        float volume;
        float engineVolume;  // < 0: not started
    } cases[] = {{0.0f, "sound/a.mp3", 1.0f, 0.5f},
                 {375.0f, "sound/b.mp3", 0.8f, 0.4f},
                 {562.5f, "sound/c.mp3", 1.0f, 0.25f},
                 {750.0f, "sound/a.mp3", 1.0f, -1.0f},
                 {900.0f, "sound/b.mp3", 1.0f, -1.0f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.x);
        audio.clear();
        const int id = engine.playEffect(nodeAt(c.x, 0.0f), c.file, c.volume);
        if (c.engineVolume < 0.0f) {
            EXPECT_EQ(id, -1);
            EXPECT_TRUE(audio.plays.empty());
        } else {
            ASSERT_EQ(audio.plays.size(), 1u);
            EXPECT_NEAR(audio.plays[0].volume, c.engineVolume, 1e-5f);
            EXPECT_FLOAT_EQ(SoundPlayer::getInstance()->effectBaseVolume(id), c.volume);
        }
        audioFrame(0.0f);
    }
    EXPECT_EQ(engine.playEffect(Node::create(), "sound/a.mp3", 1.0f), -1) << "a node without a parent";
}

TEST_F(PositionAudioEngineTest, AFileStartsOncePerFrame) {
    const int first = engine.playEffect(nodeAt(10.0f, 0.0f), "sound/a.mp3", 1.0f);
    const int second = engine.playEffect(nodeAt(-10.0f, 0.0f), "sound/a.mp3", 1.0f);
    const int other = engine.playEffect(nodeAt(0.0f, 10.0f), "sound/b.mp3", 1.0f);
    EXPECT_EQ(first, second);
    EXPECT_NE(first, other);
    EXPECT_EQ(audio.count("sound/a.mp3"), 1u);
    audioFrame();
    const int next = engine.playEffect(nodeAt(10.0f, 0.0f), "sound/a.mp3", 1.0f);
    EXPECT_NE(next, first);
    EXPECT_EQ(audio.count("sound/a.mp3"), 2u);
}

TEST_F(PositionAudioEngineTest, LoopsFollowTheirNodesDistanceFrameByFrame) {
    SoundPlayer::getInstance()->setEffectsMasterVolume(0.5f);
    Node* near = nodeAt(562.5f, 0.0f);
    Node* far = nodeAt(0.0f, 800.0f);
    const int nearId = engine.playEffectLooped(near, "sound/a.mp3", 1.0f);
    const int farId = engine.playEffectLooped(far, "sound/b.mp3", 1.0f);
    EXPECT_NEAR(audio.playing.at(nearId), 0.25f, 1e-5f);
    EXPECT_EQ(audio.playing.at(farId), 0.0f) << "a loop beyond hearing starts silent";
    for (int i = 0; i < 3; ++i) audioFrame();
    EXPECT_NEAR(audio.playing.at(nearId), 0.25f, 1e-5f);
    EXPECT_EQ(audio.playing.at(farId), 0.0f);

    near->setPosition(100.0f, 0.0f);
    far->setPosition(0.0f, 562.5f);
    audioFrame();
    EXPECT_NEAR(audio.playing.at(nearId), 0.5f, 1e-5f) << "full base volume times the master";
    EXPECT_NEAR(audio.playing.at(farId), 0.25f, 1e-5f);
    EXPECT_FLOAT_EQ(SoundPlayer::getInstance()->effectBaseVolume(nearId), 1.0f);
}

// A sound stops being tracked when it ends, when its node leaves the world
// node, when it started under another parent, and on reset; it keeps the
// volume it had.
TEST_F(PositionAudioEngineTest, DropsSoundsThatEndedOrLeftTheWorldAndForgetsAllOnReset) {
    Node* other = Node::create();
    scene->addChild(other);
    const int once = engine.playEffect(nodeAt(0.0f, 0.0f), "sound/a.mp3", 1.0f);
    Node* leaving = nodeAt(600.0f, 0.0f);
    const int left = engine.playEffectLooped(leaving, "sound/b.mp3", 1.0f);
    const int elsewhere = engine.playEffectLooped(nodeAt(600.0f, 0.0f, other), "sound/c.mp3", 1.0f);
    const float elsewhereVolume = audio.playing.at(elsewhere);
    leaving->removeFromParent();
    audioFrame(0.1f);
    EXPECT_TRUE(engine.isTracked(once));
    EXPECT_FALSE(engine.isTracked(left));
    EXPECT_FALSE(engine.isTracked(elsewhere));
    EXPECT_EQ(audio.playing.at(elsewhere), elsewhereVolume);
    audioFrame(1.0f);
    EXPECT_FALSE(engine.isTracked(once)) << "the one-shot ended";

    const int loop = engine.playEffectLooped(nodeAt(0.0f, 0.0f), "sound/a.mp3", 1.0f);
    EXPECT_TRUE(engine.isTracked(loop));
    engine.reset();
    EXPECT_EQ(engine.trackedCount(), 0u);
    EXPECT_EQ(audio.playing.count(loop), 1u) << "reset stops nothing";
}

TEST_F(PositionAudioEngineTest, StoppingAnEffectStopsAndForgetsIt) {
    const int loop = engine.playEffectLooped(nodeAt(0.0f, 0.0f), "sound/a.mp3", 1.0f);
    const int once = engine.playEffect(nodeAt(0.0f, 0.0f), "sound/b.mp3", 1.0f);
    engine.stopEffect(loop);
    engine.stopEffect(once);
    EXPECT_FALSE(engine.isTracked(loop));
    EXPECT_EQ(audio.playing.count(loop), 0u);
    EXPECT_EQ(SoundPlayer::getInstance()->effectEntryCount(loop), 0u);
    EXPECT_NE(engine.playEffect(nodeAt(0.0f, 0.0f), "sound/b.mp3", 1.0f), once)
        << "a stopped file starts afresh in the same frame";
}

TEST_F(PositionAudioEngineTest, MusicAtANodeIsPlayedOnTheMusicChannelUntracked) {
    const int id = engine.playMusic(nodeAt(562.5f, 0.0f), "sound/a.mp3", 1.0f);
    EXPECT_NEAR(audio.plays.at(0).volume, 0.5f, 1e-5f);
    EXPECT_EQ(SoundPlayer::getInstance()->musicEntryCount(id), 1u);
    EXPECT_FALSE(engine.isTracked(id));
    EXPECT_EQ(engine.playMusicLooped(nodeAt(760.0f, 0.0f), "sound/b.mp3", 1.0f), -1);
}

TEST_F(PositionAudioEngineTest, TheSharedEngineMustBeMadeBeforeUse) {
    PositionAudioEngine::destroyInstance();
    try {
        PositionAudioEngine::instance();
        FAIL() << "no engine yet";
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "positionAudioEngine not instantiated!");
    }
    PositionAudioEngine::createInstance();
    PositionAudioEngine* made = &PositionAudioEngine::instance();
    PositionAudioEngine::createInstance();
    EXPECT_EQ(&PositionAudioEngine::instance(), made) << "made once";
    PositionAudioEngine::destroyInstance();
}

}  // namespace
