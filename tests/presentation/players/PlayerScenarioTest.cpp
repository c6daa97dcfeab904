#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <sstream>

#include "../../simulation/support/RoomFixtures.h"
#include "../support/PlayerFixture.h"
#include "foundation/Stopwatch.h"
#include "presentation/audio/LevelMusicTable.h"
#include "presentation/effects/ResetableSprite.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "simulation/client/SinglePlayerZarn.h"
#include "simulation/managers/InputManager.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "support/FrameManifest.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using cocos2d::DrawCommand;
using GeometryLib::FPoint;
using GeometryLib::Point;
using zarn_test::cellCentre;

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

// A loaded fixture room with a spike that spikes (127) on cell (8, 1) and a
// rat trap on cells (4, 4) and (5, 4), both armed by the start event, played
// by the single-play client with its server driven on this thread; the local
// player is shown by the real manager on the headless engine. Each frame runs
// as a level does: the client's frame (its commands to the server, the
// server's answers back), the players' syncs, the engine's frame, then the
// positional audio.
class PlayerScenarioTest : public zarn_test::PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        zarn_test::makeFiles(soundRoot, {"sound/music/phase0.mp3"});
        auto engine = std::make_unique<PositionAudioEngineImpl>(cocos2d::Vec2(160.0f, 128.0f), 750.0f);
        engine->setWorldNode(world);
        PositionAudioEngine::setInstance(std::move(engine));

        zarn_test::MapBuilder b = zarn_test::fixtureRoom();
        b.trap(zarn_test::trapAt(127, 1, Point(8, 1), 100.0f, 0.0f));
        auto rat = zarn_test::trapAt<Zarn::RatTrapElement>(47, 2, Point(4, 4));
        rat.coveredCells.insert(Point(5, 4));
        rat.startDelay = 0.1f;
        rat.snapTime = 0.1f;
        rat.activeTime = 0.5f;
        rat.releaseTime = 0.1f;
        rat.holdTime = 0.1f;
        rat.restTime = 5.0f;
        rat.slowDuration = 1.5f;
        rat.slowFactor = 0.2f;
        b.trap(rat);
        std::vector<std::unique_ptr<Zarn::ActionData>> arm;
        arm.push_back(std::make_unique<Zarn::NumberActionData>(0, 1));
        arm.push_back(std::make_unique<Zarn::NumberActionData>(0, 2));
        b.event(zarn_test::eventWith(1, 1, 0, std::move(arm)));
        std::istringstream in = b.stream();
        client.loadMap(in);
        unit = &client.getSteerableUnitManager().getUnit(0);
        client.getPlayerInfoManager().getInfo(0).name = "Ann";
        roomZOrder = std::make_unique<Zarn::ZOrderCalculator>(client.getGameMap().grid);
        manager = std::make_unique<CocosSteerableXDManager>(client.getSteerableUnitManager(),
                                                            client.getPlayerInfoManager(), *roomZOrder);
        layer = std::make_unique<CocosNodeMediator>(world);
        manager->setParent(layer.get());
        manager->addSteerable3D(0);
        visual = manager->find2D(0);
    }
    void TearDown() override {
        manager.reset();
        visual = nullptr;
        PlayerFixture::TearDown();
    }

    void tick() {
        serverClock.advanceMs(30);
        client.update(kTick);
        client.server().runCommandBatch();
        for (Zarn::SteerableVisualSync* sync : manager->visualSyncs()) {
            sync->updateStateAnimation();
            sync->updateEffects();
            sync->updateTransform();
            sync->updateMoveAnimation();
        }
        step(kTick);
        for (const DrawCommand& c : list().commands)
            if (!c.frameName.empty()) drawn.insert(c.frameName.str());
    }
    // Ticks until done() holds; false when it did not within `seconds`.
    bool runUntil(const std::function<bool()>& done, float seconds) {
        for (float t = 0.0f; t < seconds; t += kTick) {
            tick();
            if (done()) return true;
        }
        return false;
    }
    void run(float seconds) {
        runUntil([] { return false; }, seconds);
    }
    // A touch on the cell: a move input of the local player, as the scene sends it.
    void walkTo(Point cell) {
        client.getInputManager().pushInput(0, Zarn::InputData(1, cellCentre(cell)));
        client.setNextLocalCommand(2);
    }
    bool standsAt(Point cell) const {
        const FPoint d = unit->body().position - cellCentre(cell);
        return std::abs(d.x) < 4.0f && std::abs(d.y) < 4.0f &&
               Zarn::SteerableKinematics::length(unit->body().velocity) <= 10.0f;
    }

    static const cocos2d::DrawList& list() { return cocos2d::Director::getInstance()->getDrawList(); }
    // The player sprite's command this frame, or null when it is not drawn.
    const DrawCommand* player() const {
        for (const DrawCommand& c : list().commands)
            if (c.node == visual.get() && c.kind == cocos2d::DrawKind::Sprite) return &c;
        return nullptr;
    }
    static std::size_t countDrawn(const char* prefix) {
        std::size_t n = 0;
        for (const DrawCommand& c : list().commands) n += startsWith(c.frameName.str(), prefix);
        return n;
    }
    // The same, counting only what shows (opacity above 0).
    static std::size_t countVisible(const char* prefix) {
        std::size_t n = 0;
        for (const DrawCommand& c : list().commands)
            n += startsWith(c.frameName.str(), prefix) && c.opacity > 0;
        return n;
    }
    static bool drawnText(const std::string& text) {
        for (const DrawCommand& c : list().commands)
            if (c.kind == cocos2d::DrawKind::Glyphs && c.glyphs &&
                c.glyphs->text == std::u32string(text.begin(), text.end()))
                return true;
        return false;
    }
    std::size_t explosions() const {
        return audio.count("sound/bodyExplode/explode1.mp3") + audio.count("sound/bodyExplode/explode2.mp3") +
               audio.count("sound/bodyExplode/explode3.mp3");
    }

    static constexpr float kTick = 0.03f;
    Convinience::ManualTickClock serverClock;
    Zarn::SinglePlayerZarn client{serverClock};
    // The local player's unit in the client's world: what the visuals show.
    Zarn::SteerableUnit* unit = nullptr;
    std::unique_ptr<Zarn::ZOrderCalculator> roomZOrder;
    std::unique_ptr<CocosSteerableXDManager> manager;
    std::unique_ptr<CocosNodeMediator> layer;
    cocos2d::RefPtr<SteerableCocos2D> visual;
    std::set<std::string> drawn;
};

TEST_F(PlayerScenarioTest, APlayerWalksDiesComesBackIsSquashedAndLeavesNothingBehind) {
    SoundPlayer::getInstance()->setEffectsMasterVolume(0.5f);
    LevelMusicTable music;
    music.playLevelMusic(3);

    // Standing at the spawn point: idle frames, the name and the shadow.
    run(0.3f);
    ASSERT_NE(player(), nullptr);
    EXPECT_TRUE(startsWith(player()->frameName.str(), "Zizad_Idle")) << player()->frameName;
    EXPECT_EQ(visual->getPosition(), cocos2d::Vec2(48.0f, 48.0f));
    EXPECT_EQ(player()->opacity, 255);
    EXPECT_TRUE(drawnText("Ann"));
    EXPECT_EQ(visual->getLocalZOrder(), roomZOrder->playerZOrder(FPoint(48.0f, 48.0f)));

    // Walking left: run frames, mirrored, with dust that clears up.
    walkTo(Point(0, 1));
    bool mirroredRun = false, dust = false;
    ASSERT_TRUE(runUntil(
        [&] {
            const DrawCommand* p = player();
            if (p && startsWith(p->frameName.str(), "ZizadRun_") && p->flippedX) mirroredRun = true;
            if (countDrawn("Dust_Puff_") > 0) dust = true;
            return standsAt(Point(0, 1));
        },
        3.0f));
    EXPECT_TRUE(mirroredRun);
    EXPECT_TRUE(dust);
    EXPECT_TRUE(runUntil([] { return countDrawn("Dust_Puff_") == 0; }, 2.5f))
        << "the puffs removed themselves";
    EXPECT_TRUE(startsWith(player()->frameName.str(), "Zizad_Idle"));
    EXPECT_TRUE(player()->flippedX) << "standing keeps the last facing";

    // Walking right onto the spike: run frames facing right, footsteps.
    const std::size_t footstepsBefore = audio.count("sound/footstep1.mp3");
    walkTo(Point(8, 1));
    bool rightRun = false;
    ASSERT_TRUE(runUntil(
        [&] {
            const DrawCommand* p = player();
            if (p && startsWith(p->frameName.str(), "ZizadRun_") && !p->flippedX) rightRun = true;
            return unit->state == 3;
        },
        4.0f));
    EXPECT_TRUE(rightRun);
    EXPECT_GT(audio.count("sound/footstep1.mp3"), footstepsBefore);
    for (const auto& play : audio.playsOf("sound/footstep1.mp3")) EXPECT_NEAR(play.volume, 0.25f, 1e-4f);

    // Spiked: the sprite hides, the giblets' sprite shows the spiked frames
    // where the player stood, then the pieces fly apart and vanish.
    const FPoint deathPlace = unit->body().position;
    bool spikedFrames = false, pieces = false;
    ASSERT_TRUE(runUntil(
        [&] {
            EXPECT_EQ(player(), nullptr) << "the dead player's sprite is hidden";
            if (countDrawn("zizad_spiked_") > 0) spikedFrames = true;
            if (countVisible("zizad_giblet_") >= 9) pieces = true;
            return pieces;
        },
        1.5f));
    EXPECT_TRUE(spikedFrames);
    cocos2d::Node* giblets = visual->getController()->giblets();
    EXPECT_EQ(giblets->getParent(), world);
    EXPECT_NEAR(giblets->getPositionX(), deathPlace.x, 8.0f);
    EXPECT_EQ(explosions(), 1u);
    EXPECT_EQ(audio.count("sound/spike/hit1.mp3") + audio.count("sound/spike/hit2.mp3") +
                  audio.count("sound/spike/hit3.mp3"),
              1u);
    for (const auto& play : audio.plays) {
        if (startsWith(play.file, "sound/bodyExplode/")) {
            EXPECT_NEAR(play.volume, 0.5f, 1e-4f);
        }
    }
    run(1.2f);
    EXPECT_EQ(countVisible("zizad_giblet_"), 0u) << "every piece faded out";

    // Back at the spawn point: shown again at scale 0.4 with a spawn sound;
    // the burst has removed itself.
    ASSERT_TRUE(runUntil([&] { return unit->state == 0; }, 3.0f));
    run(0.1f);
    ASSERT_NE(player(), nullptr);
    EXPECT_EQ(player()->opacity, 254);
    EXPECT_FLOAT_EQ(visual->getScale(), 0.4f);
    EXPECT_EQ(audio.count("sound/spawn/spawn1.mp3") + audio.count("sound/spawn/spawn2.mp3"), 1u);
    EXPECT_TRUE(runUntil([&] { return giblets->getParent() == nullptr; }, 2.0f))
        << "the burst removes itself 3 s after it began";

    // Onto the rat trap: squashed frames while caught, then the recovery,
    // then standing idle again.
    walkTo(Point(4, 4));
    bool squashed = false, recovered = false;
    ASSERT_TRUE(runUntil(
        [&] {
            const DrawCommand* p = player();
            if (p && startsWith(p->frameName.str(), "Fish_Squash_") && unit->statuses.containsTen())
                squashed = true;
            if (p && squashed && startsWith(p->frameName.str(), "Fish_Return_")) recovered = true;
            return recovered;
        },
        6.0f));
    EXPECT_EQ(visual->getController()->specialState(), Player2DAnimController::kRecovering);
    ASSERT_TRUE(
        runUntil([&] { return player() && startsWith(player()->frameName.str(), "Zizad_Idle"); }, 1.0f));
    EXPECT_EQ(visual->getController()->specialState(), Player2DAnimController::kNormal);

    // Music and effects: the level's track on the music channel, every effect
    // through the effects channel at volume x gain x master.
    ASSERT_GE(audio.plays.size(), 1u);
    EXPECT_EQ(audio.plays[0].file, "sound/music/phase0.mp3");
    EXPECT_TRUE(audio.plays[0].loop);
    EXPECT_FLOAT_EQ(audio.plays[0].volume, 0.4f);

    // The player leaves: its visual goes, and once its last dust has settled
    // nothing of it is left on the world node or holds it.
    manager->removeSteerable3D(0);
    run(3.0f);
    EXPECT_EQ(world->getChildrenCount(), 0u);
    EXPECT_EQ(player(), nullptr);
    EXPECT_EQ(visual->getReferenceCount(), 1u) << "only the test holds the sprite";

    // Every frame the scenario drew is in the manifest.
    const zarn_test::FrameManifest manifest = zarn_test::FrameManifest::read(ZARN_FRAME_MANIFEST);
    for (const std::string& name : drawn) EXPECT_TRUE(manifest.contains(name)) << name;
}

}  // namespace
