#include <gtest/gtest.h>

#include "../support/PlayerFixture.h"
#include "foundation/Error.h"
#include "presentation/effects/ResetableSprite.h"
#include "presentation/players/CocosPlayerAnimController.h"
#include "presentation/players/Player2DAnimController.h"

namespace {

using cocos2d::Node;
using cocos2d::Sprite;

class BaseControllerTest : public zarn_test::PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        node = Node::create();
        world->addChild(node);
        controller = std::make_unique<CocosPlayerAnimController>(node, &zOrder);
        controller->add(4, node, cocos2d::DelayTime::create(1.0f));
        controller->addStateRow(6, 4);
        controller->addStateRow(6, 9);
        controller->add(CocosPlayerAnimController::kReturnKey, node, cocos2d::DelayTime::create(1.0f));
        controller->addStateRow(12, 4);
    }
    void TearDown() override {
        controller.reset();
        PlayerFixture::TearDown();
    }
    Node* node = nullptr;
    std::unique_ptr<CocosPlayerAnimController> controller;
};

TEST_F(BaseControllerTest, StatesWithoutARowChangeNothingAndTheFirstRowForAnIdStays) {
    controller->playStateAnimation(0, 5);
    EXPECT_FALSE(controller->isInStateAnimation());
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
    EXPECT_EQ(controller->keyOf(6), 4);
    controller->playStateAnimation(0, 6);
    EXPECT_TRUE(controller->isInStateAnimation());
    EXPECT_EQ(node->getNumberOfRunningActions(), 1u);
}

// Playing a key again runs a fresh clone and leaves the earlier one running;
// stop stops the last.
TEST_F(BaseControllerTest, PlayingAKeyTwiceClonesItAgain) {
    controller->play(4);
    cocos2d::Action* first = controller->runningAction(4);
    controller->play(4);
    cocos2d::Action* second = controller->runningAction(4);
    EXPECT_NE(first, second);
    EXPECT_EQ(node->getNumberOfRunningActions(), 2u);
    controller->stop(4);
    EXPECT_EQ(node->getNumberOfRunningActions(), 1u);
    EXPECT_EQ(controller->runningAction(4), nullptr);
    controller->play(99);
    controller->stop(99);
}

TEST_F(BaseControllerTest, TheEndOfTheSquashPlaysTheReturnOnlyWhileASubstituteStands) {
    controller->changeEffect(10, 0);
    EXPECT_EQ(node->getNumberOfRunningActions(), 0u);
    EXPECT_FALSE(controller->hasEffectAnimations());
    controller->changeEffect(0, 12);
    controller->changeEffect(12, 0);
    controller->changeEffect(0, 7);
    EXPECT_TRUE(controller->hasEffectAnimations()) << "the count only grows";
}

// A controller whose substitute (a node on the player's parent) stands in
// for the player, as the 3D controller's squash leaves it.
class SubstitutingController : public CocosPlayerAnimController {
public:
    using CocosPlayerAnimController::CocosPlayerAnimController;
    void standIn(Node* substitute) { substitute_ = substitute; }
};

// While a substitute stands, the squash's end plays the return; a new state
// animation first stands the player up and takes the substitute off the
// parent, after which the squash's end plays nothing.
TEST_F(BaseControllerTest, ASubstituteMakesTheSquashsEndPlayTheReturnUntilAStateTakesItAway) {
    SubstitutingController sub(node, &zOrder);
    sub.add(4, node, cocos2d::DelayTime::create(1.0f));
    sub.addStateRow(6, 4);
    sub.add(CocosPlayerAnimController::kReturnKey, node, cocos2d::DelayTime::create(1.0f));
    Node* substitute = Node::create();
    world->addChild(substitute);
    sub.standIn(substitute);

    sub.changeEffect(CocosPlayerAnimController::kSquashEffect, 0);
    EXPECT_NE(sub.runningAction(CocosPlayerAnimController::kReturnKey), nullptr);
    sub.stop(CocosPlayerAnimController::kReturnKey);

    sub.playStateAnimation(0, 6);
    EXPECT_EQ(sub.getSubstitute(), nullptr);
    EXPECT_EQ(substitute->getParent(), nullptr) << "taken off the parent";
    EXPECT_TRUE(sub.isIdle()) << "reset ran first";
    EXPECT_TRUE(sub.isInStateAnimation());
    EXPECT_NE(sub.runningAction(4), nullptr);
    sub.changeEffect(CocosPlayerAnimController::kSquashEffect, 0);
    EXPECT_EQ(sub.runningAction(CocosPlayerAnimController::kReturnKey), nullptr);
}

TEST_F(BaseControllerTest, ResetStandsTheNodeUpAndEndsTheStateAnimation) {
    controller->playStateAnimation(0, 6);
    controller->reset();
    EXPECT_TRUE(controller->isIdle());
    EXPECT_FALSE(controller->isRunning());
    EXPECT_FALSE(controller->isInStateAnimation());
    controller->setZOrder(1234);
    EXPECT_EQ(node->getLocalZOrder(), 1234);
}

// The base's run start puffs 4 to 10 dust clouds beside the node, its stop 1
// to 4; a node without a parent runs without dust.
TEST_F(BaseControllerTest, RunningStartsAndStopsWithDust) {
    controller->startRunning();
    step(0.0f);
    const std::size_t afterStart = world->getChildrenCount() - 1;
    EXPECT_GE(afterStart, 4u);
    EXPECT_LE(afterStart, 10u);
    EXPECT_TRUE(controller->isRunning());
    steps(60, 0.05f);
    EXPECT_EQ(world->getChildrenCount(), 1u);
    controller->stopRunning();
    step(0.0f);
    EXPECT_GE(world->getChildrenCount() - 1, 1u);
    EXPECT_LE(world->getChildrenCount() - 1, 4u);
    EXPECT_FALSE(controller->isRunning());

    Node* loose = Node::create();
    CocosPlayerAnimController alone(loose, &zOrder);
    alone.startRunning();
    EXPECT_EQ(loose->getNumberOfRunningActions(), 0u);
}

class Player2DControllerTest : public zarn_test::PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        sprite = Sprite::create();
        sprite->setPosition(100.0f, 60.0f);
        world->addChild(sprite);
        assets = Zarn::makePlayer2DAssets();
    }
    void make() { controller = std::make_unique<Player2DAnimController>(sprite, &zOrder, assets); }
    void TearDown() override {
        controller.reset();
        PlayerFixture::TearDown();
    }
    Sprite* sprite = nullptr;
    Zarn::Player2DAssets assets;
    std::unique_ptr<Player2DAnimController> controller;
};

TEST_F(Player2DControllerTest, HoldsExactlyTheStateRowsOfThe2DAnimations) {
    make();
    const std::pair<i32, i32> rows[] = {{3, 6},  {5, 3},  {6, 5},   {8, 10},
                                        {10, 7}, {17, 9}, {21, 11}, {22, 10}};
    for (auto [id, key] : rows) EXPECT_EQ(controller->keyOf(id), key) << id;
    for (i32 id : {0, 1, 2, 4, 7, 9, 11, 12, 18, 20, 23}) EXPECT_EQ(controller->keyOf(id), 0) << id;
    EXPECT_EQ(controller->giblets()->getChildrenCount(), 9u);
}

// The footsteps' half cycle comes from the first run list alone.
TEST_F(Player2DControllerTest, TheFootstepIntervalIsHalfTheFirstRunListsCycle) {
    const struct {
        std::size_t first, second, third;
        float interval;
    } cases[] = {{12, 12, 12, 0.25f}, {12, 4, 20, 0.25f}, {8, 12, 12, 1.0f / 6.0f}, {24, 1, 1, 0.5f}};
    for (const auto& c : cases) {
        assets.frames[0].resize(c.first, "ZizadRun_0001.png");
        assets.frames[1].resize(c.second, "ZizadRun_0001.png");
        assets.frames[2].resize(c.third, "ZizadRun_0001.png");
        make();
        EXPECT_FLOAT_EQ(controller->footstepInterval(), c.interval)
            << c.first << " " << c.second << " " << c.third;
    }
}

// Twelve run frames make a 0.5 s cycle with footsteps at 0 s and 0.25 s, at
// half volume; every cycle starts the next.
TEST_F(Player2DControllerTest, RunCyclesStepAtTheirStartAndHalf) {
    make();
    controller->startRunning();
    std::vector<float> times;
    float t = 0.0f;
    step(0.0f);
    if (audio.count(Player2DAnimController::kFootstep) == 1) times.push_back(0.0f);
    for (int i = 1; i <= 19; ++i) {
        const std::size_t before = audio.count(Player2DAnimController::kFootstep);
        step(0.05f);
        t = 0.05f * static_cast<float>(i);
        if (audio.count(Player2DAnimController::kFootstep) > before) times.push_back(t);
    }
    ASSERT_EQ(times.size(), 4u);
    for (std::size_t i = 0; i < times.size(); ++i)
        EXPECT_NEAR(times[i], 0.25f * static_cast<float>(i), 0.051f) << i;
    for (const auto& play : audio.playsOf(Player2DAnimController::kFootstep))
        EXPECT_NEAR(play.volume, 0.5f, 1e-5f) << "half volume, at full gain beside the listener";
    EXPECT_TRUE(controller->isRunning());
}

TEST_F(Player2DControllerTest, WhileRecoveringRunningChangesNothingAndWhileSquashedIdlingShowsNothingNew) {
    make();
    controller->changeEffect(0, 10);
    step(0.0f);
    EXPECT_EQ(controller->specialState(), Player2DAnimController::kSquashed);
    const std::size_t actions = sprite->getNumberOfRunningActions();
    controller->startIdle();
    EXPECT_TRUE(controller->isIdle());
    EXPECT_EQ(sprite->getNumberOfRunningActions(), actions) << "no new animation while squashed";

    controller->changeEffect(10, 0);
    step(0.0f);
    EXPECT_EQ(controller->specialState(), Player2DAnimController::kRecovering);
    const std::size_t recovering = sprite->getNumberOfRunningActions();
    controller->startRunning();
    EXPECT_FALSE(controller->isRunning());
    EXPECT_EQ(sprite->getNumberOfRunningActions(), recovering);
    steps(10, 0.05f);
    EXPECT_EQ(controller->specialState(), Player2DAnimController::kNormal) << "7 frames at 1/18 s";
}

TEST_F(Player2DControllerTest, TheLevelLeftPlaysTheFirstIdleOnceAndHoldsTheStateAnimation) {
    make();
    controller->playStateAnimation(0, 9);
    EXPECT_FALSE(controller->isInStateAnimation());
    controller->playStateAnimation(0, 17);
    EXPECT_TRUE(controller->isInStateAnimation());
    step(0.0f);
    EXPECT_EQ(sprite->getSpriteFrame()->getName(), "Zizad_Idle_0001.png");
    steps(20, 0.1f);
    EXPECT_EQ(sprite->getNumberOfRunningActions(), 0u) << "played once";
    EXPECT_TRUE(controller->isInStateAnimation());
}

// Back in state 0 the sprite stands again at scale 0.4, opacity 254, with one
// of the spawn sounds.
TEST_F(Player2DControllerTest, ResetShowsTheSpriteAgainWithASpawnSound) {
    make();
    sprite->setVisible(false);
    sprite->setOpacity(0);
    controller->reset();
    EXPECT_TRUE(sprite->isVisible());
    EXPECT_EQ(sprite->getOpacity(), 254);
    EXPECT_FLOAT_EQ(sprite->getScale(), 0.4f);
    ASSERT_EQ(audio.plays.size(), 1u);
    EXPECT_TRUE(audio.plays[0].file == "sound/spawn/spawn1.mp3" ||
                audio.plays[0].file == "sound/spawn/spawn2.mp3");
}

TEST_F(Player2DControllerTest, SoundsWithoutThePositionalEngineThrowItsText) {
    make();
    PositionAudioEngine::destroyInstance();
    try {
        controller->reset();
        FAIL();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "positionAudioEngine not instantiated!");
    }
}

}  // namespace
