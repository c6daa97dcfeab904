#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "foundation/Logger.h"
#include "map/records/ScheduledTrapElement.h"
#include "support/TestEnvironment.h"
#include "support/TrapSceneFixture.h"
#include "visuals/traps/TrapVisualTemplates.h"

namespace {

using GeometryLib::Point;
using zarn_test::MapBuilder;
using zarn_test::trapAt;

using Spike = SimpleTrapCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D>;
using ScheduledSpike = SimpleTrapCocos2D<Zarn::ScheduledTrap, Zarn::ScheduledTrap2D>;

class SpikeVisualTest : public zarn_test::TrapSceneFixture {};

// A spike trap (127) on cell (2, 3): one cycle of warning, armed and resting,
// each phase checked in the draw list; the floor under it hides while it is
// shown and comes back when the trap is hidden.
TEST_F(SpikeVisualTest, ASpikeRisesAndSinksWithinItsArmedPhaseAndHidesWithItsFloorBack) {
    MapBuilder b = room();
    b.trap(trapAt(127, 1, Point(2, 3), 0.6f, 0.4f));
    enableAtStart(b, {1});
    zarn_test::RecordingFloor& floor = floorAt(Point(2, 3));
    load(b);

    ASSERT_EQ(childrenOf<Spike>().size(), 1u);
    Spike* spike = childrenOf<Spike>().front();
    cocos2d::Sprite* base = spike->getVisualMediator()->getBaseSprite();
    Zarn::Trap& trap = trapNumbered(1);
    EXPECT_EQ(floor.calls, std::vector<std::string>{"visibility 1"})
        << "a shown trap hides its floor at once";

    // On its cell: a 160-unit tile at 0.4, lower-left corner on the cell.
    EXPECT_EQ(spike->getPosition(), cocos2d::Vec2(2 * 64 + 32, 3 * 64 + 32));
    EXPECT_FLOAT_EQ(spike->getScale(), 0.4f);
    EXPECT_EQ(spike->getLocalZOrder(), roomZOrder->highRowBase(3));
    const cocos2d::DrawCommand* grill = drawn(spike);
    ASSERT_NE(grill, nullptr);
    EXPECT_EQ(grill->frameName.str(), "spike_grill.png");
    EXPECT_EQ(grill->transform.transformPoint(cocos2d::Vec2(0.0f, 0.0f)), cocos2d::Vec2(128.0f, 192.0f));
    EXPECT_EQ(base->getPositionX(), -25.0f);

    // Resting before the cycle: only the grill.
    EXPECT_EQ(frameOf(base), "blank.png");
    // Warning (state 0), for the whole of it: amber tips jitter in the holes,
    // not yet up.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 0; }, 1.0f));
    tick();
    EXPECT_EQ(frameOf(base).rfind("spike_warn_", 0), 0u) << frameOf(base);
    EXPECT_TRUE(runUntil(
        [&] {
            if (valueOf(trap) != 0) return true;
            EXPECT_EQ(frameOf(base).rfind("spike_warn_", 0), 0u) << frameOf(base);
            return false;
        },
        1.0f));

    // Armed: the spikes are up, with one rise sound.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 1; }, 1.0f));
    run(0.2f);
    EXPECT_EQ(frameOf(base), "spike_anim_0005.png");
    EXPECT_TRUE(shows(base));
    EXPECT_EQ(audio.count("sound/spike/up1.mp3") + audio.count("sound/spike/up2.mp3") +
                  audio.count("sound/spike/up3.mp3"),
              1u);

    // Resting (state 2): sunk, after the fall sound.
    ASSERT_TRUE(runUntil([&] { return valueOf(trap) == 2; }, 1.0f));
    tick();
    EXPECT_EQ(frameOf(base), "blank.png");
    EXPECT_EQ(audio.count("sound/spike/down1.mp3") + audio.count("sound/spike/down2.mp3") +
                  audio.count("sound/spike/down3.mp3"),
              1u);
    EXPECT_TRUE(shows(spike));

    // Hidden: it shrinks and fades away; its floor shows again.
    trap.hide();
    run(0.5f);
    EXPECT_FALSE(shows(spike));
    EXPECT_EQ(audio.count("sound/element/hide1.mp3"), 1u);
    EXPECT_EQ(floor.calls.back(), "showHide 1 0");

    // Shown again: the show sound, and it grows back.
    trap.show();
    run(0.5f);
    EXPECT_TRUE(shows(spike));
    EXPECT_EQ(audio.count("sound/element/show2.mp3"), 1u);
    EXPECT_FLOAT_EQ(spike->getScale(), 0.4f);
    EXPECT_EQ(floor.calls.back(), "showHide 0 1");
}

// Without the positional sound engine every sound of the spike fails with
// the engine's text: the failure is logged once, the sounds are skipped and
// the spikes still rise and sink, frame after frame.
TEST_F(SpikeVisualTest, WithoutTheSoundEngineTheSpikesStillMoveAndTheFailureIsLoggedOnce) {
    MapBuilder b = room();
    b.trap(trapAt(127, 1, Point(2, 3), 0.6f, 0.4f));
    enableAtStart(b, {1});
    load(b);
    PositionAudioEngine::destroyInstance();
    cocos2d::Sprite* base = childrenOf<Spike>().front()->getVisualMediator()->getBaseSprite();
    Zarn::Trap& trap = trapNumbered(1);
    // A tick and a frame, without the sound engine's update.
    const auto until = [&](u8 value) {
        for (float t = 0.0f; t < 2.0f; t += kTick) {
            game.stepOnce();
            frame(kTick);
            if (valueOf(trap) == value) return true;
        }
        return false;
    };

    for (int cycle = 0; cycle < 2; ++cycle) {
        ASSERT_TRUE(until(1)) << cycle;
        for (int i = 0; i < 7; ++i) frame(kTick);
        EXPECT_EQ(frameOf(base), "spike_anim_0005.png") << cycle;
        ASSERT_TRUE(until(2)) << cycle;
        frame(kTick);
        EXPECT_EQ(frameOf(base), "blank.png") << cycle;
    }
    for (const auto& play : audio.plays) EXPECT_NE(play.file.rfind("sound/spike/", 0), 0u) << play.file;

    Convinience::Logger::flush();
    std::ifstream in(std::filesystem::path(zarn_test::tempDir()) / "server_0.log");
    std::stringstream text;
    text << in.rdbuf();
    const std::string line = "visual skipped: positionAudioEngine not instantiated!";
    const std::string log = text.str();
    const std::size_t first = log.find(line);
    ASSERT_NE(first, std::string::npos) << log;
    EXPECT_EQ(log.find(line, first + line.size()), std::string::npos) << "logged once";
}

// A scheduled spike (122): its spikes come up during the warning (state 0)
// and go down when it turns harmless (2); lethal (1) keeps them up.
TEST_F(SpikeVisualTest, AScheduledSpikeFollowsItsTimetable) {
    MapBuilder b = room();
    b.trap(scheduledAt(122, 2, Point(5, 3)));
    enableAtStart(b, {2});
    load(b);

    ASSERT_EQ(childrenOf<ScheduledSpike>().size(), 1u);
    ScheduledSpike* spike = childrenOf<ScheduledSpike>().front();
    cocos2d::Sprite* base = spike->getVisualMediator()->getBaseSprite();
    EXPECT_EQ(base->getPositionX(), 0.0f);
    EXPECT_EQ(frameOf(spike), "Spike_Trap_Grill.png");
    Zarn::Trap& trap = trapNumbered(2);

    std::set<u8> phases;
    std::string warningEnd;
    std::string lastFrame = frameOf(base);
    watchPhases(trap, 200, [&](u8 now, u8 before, float heldFor) {
        // The warning's rise ends with the warning itself.
        if (before == 0 && now == 1) warningEnd = lastFrame;
        lastFrame = frameOf(base);
        phases.insert(now);
        // Once a phase has lasted longer than its animation, its picture stands.
        const char* standing = now == 1 ? "Spike_Trap_S3.png" : now == 2 ? "blank.png" : nullptr;
        if (heldFor >= 0.35f && standing != nullptr) {
            EXPECT_EQ(frameOf(base), standing) << "phase " << int(now);
        }
    });
    EXPECT_TRUE(phases.count(0) && phases.count(1) && phases.count(2));
    EXPECT_TRUE(warningEnd == "Spike_Trap_S2.png" || warningEnd == "Spike_Trap_S3.png") << warningEnd;
    EXPECT_GT(audio.count("sound/spike/down1.mp3"), 0u);
}

}  // namespace
