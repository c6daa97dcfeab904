#include <gtest/gtest.h>

#include "../support/PlayerFixture.h"
#include "engine/RefPtr.h"
#include "engine/Texture2D.h"
#include "foundation/Error.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "presentation/players/DeathBurst.h"
#include "presentation/players/Player3DAnimController.h"
#include "presentation/players/Steerable3DSubsitute.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using cocos2d::Node;
using cocos2d::Sprite3D;
using cocos2d::Vec3;

// Whether the texture is the one the cache holds for the file (missing art
// gives each file a placeholder of its own).
bool isTexture(cocos2d::Texture2D* texture, const std::string& file) {
    return texture != nullptr && texture == cocos2d::TextureCache::getInstance()->getTextureForKey(file);
}
bool hasFace(Sprite3D* model, const std::string& file) {
    return isTexture(model->getMeshByName("Head")->getTexture(), file);
}

// A 3D player of the boy look on the world node, stepped by its own update.
class Player3DTest : public zarn_test::PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        assets = Zarn::makePlayer3DAssets("3D/boy/", Zarn::boyTexturePairs()[1]);
        unit = std::make_unique<Zarn::SteerableUnit>(1);
        unit->body().position = GeometryLib::FPoint(64.0f, 64.0f);
        factory = std::make_unique<Steerable3DSubsituteFactoryImpl>(unit.get(), &zOrder, assets);
        visual = SteerableCocos3D<Player3DAnimController>::create(unit.get(), &zOrder, assets, factory.get());
        ASSERT_NE(visual, nullptr);
        visual->scheduleUpdate();
        visual->setScale(0.25f);
        world->addChild(visual);
        controller = visual->getController();
    }
    void TearDown() override {
        world->removeAllChildren();
        PlayerFixture::TearDown();
    }
    // The frame in which the sync starts an animation, and the one in which
    // the animation takes its first (zero) step.
    void settle() {
        step(0.0f);
        step(0.0f);
    }
    // Substitutes on the world node.
    std::vector<Node*> substitutes() const {
        std::vector<Node*> out;
        for (Node* child : world->getChildren())
            if (dynamic_cast<SteerableCocos3D<Player3DAnimSubController>*>(child)) out.push_back(child);
        return out;
    }

    Zarn::Player3DAssets assets;
    std::unique_ptr<Zarn::SteerableUnit> unit;
    std::unique_ptr<Steerable3DSubsituteFactoryImpl> factory;
    SteerableCocos3D<Player3DAnimController>* visual = nullptr;
    Player3DAnimController* controller = nullptr;
};

TEST_F(Player3DTest, WearsItsHatEyebrowsAndTexturesAndHoldsTheStateRows) {
    EXPECT_EQ(controller->getHat()->getParent(), visual->getAttachNode("Hat"));
    EXPECT_EQ(controller->getEyebrows()->getParent(), visual->getAttachNode("Eyebrows"));
    EXPECT_EQ(controller->getHat()->getModelPath(), "3D/boy/Hat_Default.c3b");
    EXPECT_EQ(visual->getModelPath(), "3D/boy/Character.c3b");
    EXPECT_TRUE(isTexture(visual->getTexture(), "3D/boy/Body_Texture_Blue_Opt.png"));
    EXPECT_TRUE(isTexture(controller->getHat()->getTexture(), "3D/boy/Hat_Texture_Blue_Opt.png"));
    EXPECT_TRUE(hasFace(visual, "3D/boy/Head_Default_Opt_01.png"));
    const std::pair<i32, i32> rows[] = {{3, 6},  {5, 4},  {6, 3},   {8, 10},
                                        {10, 7}, {17, 9}, {21, 11}, {22, 10}};
    for (auto [id, key] : rows) EXPECT_EQ(controller->keyOf(id), key) << id;
    EXPECT_EQ(controller->keyOf(8), controller->keyOf(22)) << "both explode";
}

// One run cycle of 13/18 s has two footsteps; stopping the run stops them.
TEST_F(Player3DTest, RunningStepsTwicePerCycleUntilStopped) {
    unit->body().velocity = GeometryLib::FPoint(50.0f, 0.0f);
    step(0.0f);
    EXPECT_TRUE(controller->isRunning());
    const float cycle = 13.0f / 18.0f;
    for (int i = 0; i < 13; ++i) step(cycle / 13.0f);
    EXPECT_EQ(audio.count("sound/footstep1.mp3"), 2u);
    unit->body().velocity = GeometryLib::FPoint(0.0f, 0.0f);
    step(0.0f);
    EXPECT_FALSE(controller->isRunning());
    EXPECT_TRUE(controller->isIdle());
    steps(20, 0.1f);
    EXPECT_EQ(audio.count("sound/footstep1.mp3"), 2u);
}

TEST_F(Player3DTest, AFallShrinksAndFadesTheBodyInASecondAndResetBringsItBack) {
    unit->state = 6;
    settle();
    steps(10, 0.1f);
    step(0.01f);
    EXPECT_FLOAT_EQ(visual->getScale(), 0.0f);
    EXPECT_EQ(visual->getOpacity(), 0);
    EXPECT_EQ(controller->getHat()->getOpacity(), 0);
    EXPECT_TRUE(hasFace(visual, "3D/boy/Head_Fall_Flip_Opt_01.png"));
    const std::size_t sounds = audio.plays.size();
    unit->state = 0;
    step(0.0f);
    EXPECT_FLOAT_EQ(visual->getScale(), 0.25f);
    EXPECT_EQ(visual->getOpacity(), 254);
    EXPECT_EQ(controller->getEyebrows()->getOpacity(), 254);
    EXPECT_TRUE(visual->isVisible());
    EXPECT_TRUE(hasFace(visual, "3D/boy/Head_Default_Opt_01.png"));
    EXPECT_TRUE(visual->getMeshByName("Head")->getTexture()->hasMipmapsRequested());
    ASSERT_EQ(audio.plays.size(), sounds + 1);
    EXPECT_EQ(audio.plays.back().file.rfind("sound/spawn/spawn", 0), 0u);
}

// A spiked player bursts when its clip ends: the body hides, a burst node
// stands where it stood and removes itself 3.0 s later.
TEST_F(Player3DTest, ASpikeDeathEndsInABurstThatRemovesItself) {
    unit->state = 3;
    settle();
    steps(8, 0.1f);
    EXPECT_FALSE(visual->isVisible());
    ASSERT_EQ(world->getChildrenCount(), 2u);
    Node* burst = world->getChildren().at(1);
    EXPECT_EQ(burst->getPosition3D(), visual->getPosition3D());
    EXPECT_FLOAT_EQ(burst->getScale(), 0.25f);
    EXPECT_EQ(audio.count("sound/spike/hit1.mp3") + audio.count("sound/spike/hit2.mp3") +
                  audio.count("sound/spike/hit3.mp3"),
              1u);
    EXPECT_EQ(audio.count("sound/bodyExplode/explode1.mp3") + audio.count("sound/bodyExplode/explode2.mp3") +
                  audio.count("sound/bodyExplode/explode3.mp3"),
              1u);
    steps(29, 0.1f);
    EXPECT_EQ(world->getChildrenCount(), 2u);
    steps(3, 0.1f);
    EXPECT_EQ(world->getChildrenCount(), 1u) << "the burst removed itself about 3.0 s after the death";
}

// Squash: the body flattens to 0.05 in 0.03 s, a substitute takes its place
// and the body hides; the end of the effect removes the substitute and the
// body grows back to 0.25 in 0.05 s. A second squash leaves one substitute.
TEST_F(Player3DTest, ASquashPutsOneSubstituteInPlaceUntilTheEffectEnds) {
    unit->statuses.insert(10);
    settle();
    step(0.031f);
    EXPECT_FLOAT_EQ(visual->getScale(), 0.05f);
    EXPECT_FALSE(visual->isVisible());
    ASSERT_EQ(substitutes().size(), 1u);
    Node* substitute = substitutes().front();
    EXPECT_EQ(controller->getSubstitute(), substitute);
    EXPECT_FLOAT_EQ(substitute->getScale(), 0.3f);
    steps(3, 0.1f);
    EXPECT_FLOAT_EQ(substitute->getScale(), 0.25f);
    EXPECT_EQ(audio.count(Player3DAnimController::kSquishSound), 1u);

    controller->play(7);
    step(0.0f);
    steps(2, 0.031f);
    EXPECT_EQ(substitutes().size(), 1u) << "squashing again replaces the substitute";

    unit->statuses.eraseAll(10);
    settle();
    EXPECT_TRUE(substitutes().empty());
    EXPECT_TRUE(visual->isVisible());
    EXPECT_TRUE(hasFace(visual, "3D/boy/Head_Squash_Opt_02.png"));
    steps(2, 0.051f);
    EXPECT_FLOAT_EQ(visual->getScale(), 0.25f);
    EXPECT_EQ(audio.count(Player3DAnimController::kSquishRestoreSound), 1u);
}

// The substitute is flat and still while its unit stands and walks at speed
// 4 once the unit runs; it carries the player's look on the squashed base.
TEST_F(Player3DTest, TheSubstituteWalksWithItsUnitOnTheSquashedBase) {
    EXPECT_THROW(factory->createSubsitute(1), Convinience::Error);
    auto* substitute = static_cast<SteerableCocos3D<Player3DAnimSubController>*>(factory->createSubsitute(0));
    ASSERT_NE(substitute, nullptr);
    world->addChild(substitute);
    EXPECT_EQ(substitute->getModelPath(), "3D/boy/Squash_Base.c3b");
    EXPECT_TRUE(hasFace(substitute, "3D/boy/Head_Squash_Opt_01.png"));
    EXPECT_EQ(factory->substituteAssets().further.files[0], "Squash_Rig|Walk");
    step(0.0f);
    EXPECT_EQ(substitute->getNumberOfRunningActions(), 0u);
    unit->body().velocity = GeometryLib::FPoint(0.0f, 20.0f);
    unit->body().position = GeometryLib::FPoint(90.0f, 70.0f);
    step(0.05f);
    auto* walk = dynamic_cast<cocos2d::RepeatForever*>(substitute->getController()->runningAction(2));
    ASSERT_NE(walk, nullptr);
    auto* clip = dynamic_cast<cocos2d::Animate3D*>(walk->getInnerAction());
    ASSERT_NE(clip, nullptr);
    EXPECT_FLOAT_EQ(clip->getSpeed(), 4.0f);
    EXPECT_EQ(clip->getAnimation()->getAnimationName(), "Squash_Rig|Walk");
    EXPECT_EQ(substitute->getPosition(), cocos2d::Vec2(90.0f, 70.0f));
    EXPECT_EQ(audio.plays.size(), 0u) << "the substitute raises no dust and no footsteps";
    unit.reset();
    EXPECT_EQ(factory->createSubsitute(0), nullptr) << "no substitute for a unit that is gone";
    step(0.05f);
}

// The burst's pieces keep their places, turn about their own centres and
// carry the player's colours: the explode face on the head, the hat texture on
// the hat, the body texture elsewhere.
TEST_F(Player3DTest, ABurstOfAModelTexturesEachPieceAndStandsWhereThePlayerStood) {
    visual->setPosition3D(Vec3(40.0f, 30.0f, 5.0f));
    visual->setRotation3D(Vec3(0.0f, 90.0f, 0.0f));
    Sprite3D* model = Sprite3D::create();
    for (const char* name : {"Head", "Hat", "Leg"}) {
        Sprite3D* piece = Sprite3D::create();
        piece->setName(name);
        piece->setPosition3D(Vec3(1.0f, 2.0f, 3.0f));
        model->addChild(piece);
    }
    const cocos2d::RefPtr<Sprite3D> burst = burstFromModel(controller->getBurstContext(), model);
    ASSERT_NE(burst, nullptr);
    EXPECT_EQ(burst->getParent(), world);
    EXPECT_EQ(burst->getPosition3D(), Vec3(40.0f, 30.0f, 5.0f));
    EXPECT_EQ(burst->getRotation3D(), Vec3(0.0f, 90.0f, 0.0f));
    EXPECT_FLOAT_EQ(burst->getScale(), 0.25f);
    EXPECT_FALSE(visual->isVisible());
    EXPECT_EQ(model->getChildrenCount(), 0u);
    ASSERT_EQ(burst->getChildrenCount(), 3u);
    const char* textures[] = {"3D/boy/Head_Explode_Opt_01.png", "3D/boy/Hat_Texture_Blue_Opt.png",
                              "3D/boy/Body_Texture_Blue_Opt.png"};
    for (std::size_t i = 0; i < 3; ++i) {
        Node* holder = burst->getChildren().at(i);
        EXPECT_EQ(holder->getPosition3D(), Vec3(1.0f, 2.0f, 3.0f));
        auto* piece = static_cast<Sprite3D*>(holder->getChildren().at(0));
        EXPECT_EQ(piece->getPosition3D(), Vec3::ZERO);
        EXPECT_TRUE(isTexture(piece->getTexture(), textures[i])) << i;
        EXPECT_GT(holder->getNumberOfRunningActions(), 0u);
    }
    step(0.0f);
    steps(15, 0.1f);
    const cocos2d::RefPtr<Sprite3D> second =
        burstFromModel(controller->getBurstContext(), Sprite3D::create());
    step(0.0f);
    steps(15, 0.1f);
    step(0.01f);
    EXPECT_EQ(burst->getParent(), nullptr) << "gone 3.0 s after it was made";
    EXPECT_EQ(second->getParent(), world) << "a later burst keeps its own time";
    steps(16, 0.1f);
    EXPECT_EQ(second->getParent(), nullptr);
}

// The manager's 3D visual: scale 0.25, content 160 x 160, anchor (0, 0.3)
// and a name tag above the model; it steps itself.
TEST_F(Player3DTest, TheManagerMakes3DVisualsOnRequest) {
    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager infos;
    units.addClient(4);
    infos.addClient(4);
    infos.getInfo(4).name = "Ida";

    class Manager3D : public CocosSteerableXDManager {
    public:
        using CocosSteerableXDManager::CocosSteerableXDManager;
        Zarn::VisualSteerablePair make(const Zarn::PlayerInfo& info) {
            return createSteerable3D(info, assets3D()[5]);
        }
    } manager(units, infos, zOrder);
    const Zarn::VisualSteerablePair pair = manager.make(infos.getInfo(4));
    auto* made = manager.find3D(4);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(pair.node, made->getMediator());
    EXPECT_EQ(pair.sync, made->getSync());
    EXPECT_FLOAT_EQ(made->getScale(), 0.25f);
    EXPECT_EQ(made->getContentSize(), cocos2d::Size(160.0f, 160.0f));
    EXPECT_EQ(made->getAnchorPoint(), cocos2d::Vec2(0.0f, 0.3f));
    EXPECT_EQ(made->getModelPath(), "3D/girl/Character.c3b");
    bool tagged = false;
    for (Node* child : made->getChildren())
        if (child->getChildrenCount() == 2 && child->getPositionY() > 20.0f) tagged = true;
    EXPECT_TRUE(tagged);
    world->addChild(made);
    units.getUnit(4).body().position = GeometryLib::FPoint(120.0f, 80.0f);
    step(0.0f);
    EXPECT_EQ(made->getPosition(), cocos2d::Vec2(120.0f, 80.0f)) << "a 3D visual steps its own sync";
}

}  // namespace
