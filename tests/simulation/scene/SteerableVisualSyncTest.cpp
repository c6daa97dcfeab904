#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "../support/SceneFakes.h"
#include "simulation/scene/PlayerAnimController.h"
#include "simulation/scene/SteerableVisualSync.h"
#include "simulation/scene/ZOrderCalculator.h"
#include "world/adapters/NodeMediator.h"

namespace {

using GeometryLib::FPoint;

// Records what the sync asks of it; its flags follow the calls.
class RecordingController final : public Zarn::PlayerAnimController {
public:
    void startRunning() override { log("run"), running = true; }
    void startIdle() override { log("idle"), idle = true; }
    void stopRunning() override { log("stopRun"), running = false; }
    void stopIdle() override { log("stopIdle"), idle = false; }
    bool isInStateAnimation() override { return inState; }
    bool hasEffectAnimations() override { return false; }
    bool isRunning() override { return running; }
    bool isIdle() override { return idle; }
    void playStateAnimation(i32 o, i32 n) override {
        log("state" + std::to_string(o) + ">" + std::to_string(n));
        inState = true;
    }
    void changeEffect(i32 e, i32 s) override { log("effect" + std::to_string(e) + ">" + std::to_string(s)); }
    void endStateAnimation(i32) override { inState = false; }
    void reset() override {
        log("reset");
        inState = false;
    }
    void setZOrder(i32 z) override { zOrder = z; }

    void log(const std::string& s) { calls.push_back(s); }
    std::vector<std::string> calls;
    bool running = false, idle = false, inState = false;
    int zOrder = 0;
};

struct SyncRig {
    SyncRig()
        : unit(std::make_unique<Zarn::SteerableUnit>(1)), sync(&node, unit.get(), &controller, &zOrder) {}
    void frame() {
        sync.updateStateAnimation();
        sync.updateEffects();
        sync.updateTransform();
        sync.updateMoveAnimation();
    }
    Zarn::ZOrderCalculator zOrder{32, 10};
    zarn_test::scene::FakeNode node{"player"};
    RecordingController controller;
    std::unique_ptr<Zarn::SteerableUnit> unit;
    Zarn::SteerableVisualSync sync;
};

TEST(SteerableVisualSync, RunsAboveTenAndStandsAtOrBelowIt) {
    const struct {
        FPoint velocity;
        bool wasRunning, wasIdle;
        std::vector<std::string> calls;
    } cases[] = {
        {{10.0f, 0.0f}, false, false, {"idle"}},
        {{6.0f, 8.0f}, true, false, {"stopRun", "idle"}},
        {{6.0f, 8.01f}, false, true, {"stopIdle", "run"}},
        {{0.0f, -50.0f}, false, false, {"run"}},
        {{0.0f, 50.0f}, true, false, {}},
        {{0.0f, 0.0f}, false, true, {}},
    };
    for (const auto& c : cases) {
        SyncRig rig;
        rig.unit->body().velocity = c.velocity;
        rig.controller.running = c.wasRunning;
        rig.controller.idle = c.wasIdle;
        rig.sync.updateMoveAnimation();
        EXPECT_EQ(rig.controller.calls, c.calls) << c.velocity.x << ", " << c.velocity.y;
    }
}

// During a state animation the run/idle choice, the drawing order and the
// facing stay, but the node follows the unit.
TEST(SteerableVisualSync, AStateAnimationFreezesEverythingButThePosition) {
    SyncRig rig;
    rig.unit->body().position = FPoint(40.0f, 40.0f);
    rig.frame();
    const int z = rig.controller.zOrder;
    const float rotation = rig.node.rotation;
    rig.unit->state = 5;
    rig.unit->body().position = FPoint(100.0f, 200.0f);
    rig.unit->body().velocity = FPoint(50.0f, 0.0f);
    rig.unit->body().heading = 1.0f;
    rig.controller.calls.clear();
    rig.frame();
    EXPECT_EQ(rig.controller.calls, (std::vector<std::string>{"stopIdle", "state0>5"}));
    EXPECT_EQ(rig.controller.zOrder, z);
    EXPECT_EQ(rig.node.rotation, rotation);
    EXPECT_EQ(rig.node.position, FPoint(100.0f, 200.0f));

    rig.unit->state = 0;
    rig.controller.calls.clear();
    rig.frame();
    EXPECT_EQ(rig.controller.calls, (std::vector<std::string>{"reset", "run"}));
    EXPECT_EQ(rig.controller.zOrder, rig.zOrder.playerZOrder(FPoint(100.0f, 200.0f)));
}

TEST(SteerableVisualSync, AStateChangeWithoutZeroPlaysTheNewAnimationWithoutAReset) {
    SyncRig rig;
    rig.unit->state = 6;
    rig.sync.updateStateAnimation();
    rig.unit->state = 3;
    rig.sync.updateStateAnimation();
    rig.sync.updateStateAnimation();
    EXPECT_EQ(rig.controller.calls, (std::vector<std::string>{"state0>6", "state6>3"}));
    EXPECT_EQ(rig.sync.shownState(), 3);
}

TEST(SteerableVisualSync, EffectsStartInOrderEndOnceAndAFlashBetweenFramesIsNeverShown) {
    SyncRig rig;
    rig.unit->statuses.insert(12);
    rig.unit->statuses.insert(10);
    rig.unit->statuses.insert(10);
    rig.sync.updateEffects();
    rig.unit->statuses.eraseAll(10);
    rig.unit->statuses.insert(4);
    rig.unit->statuses.eraseAll(4);
    rig.sync.updateEffects();
    rig.sync.updateEffects();
    EXPECT_EQ(rig.controller.calls, (std::vector<std::string>{"effect0>10", "effect0>12", "effect10>0"}));
    EXPECT_EQ(rig.sync.shownEffects(), (std::set<i32>{12}));
}

TEST(SteerableVisualSync, RotatingVisualsTurnWithTheHeadingAndMirroringOnesFlipWhenFacingLeft) {
    const struct {
        float heading;
        float rotation;
        bool flipped;
    } cases[] = {
        {0.0f, 180.0f, false}, {-0.5f, 208.6479f, true}, {1.5708f, 90.0f, false}, {3.14159f, 0.0f, false}};
    for (const auto& c : cases) {
        SyncRig rotating;
        rotating.unit->body().heading = c.heading;
        rotating.sync.updateTransform();
        EXPECT_NEAR(rotating.node.rotation, c.rotation, 1e-3f) << c.heading;
        EXPECT_FALSE(rotating.node.flippedX);
        SyncRig mirroring;
        mirroring.sync.rotate = 0;
        mirroring.unit->body().heading = c.heading;
        mirroring.sync.updateTransform();
        EXPECT_EQ(mirroring.node.flippedX, c.flipped) << c.heading;
        EXPECT_EQ(mirroring.node.rotation, -1.0f) << "a mirroring visual is never turned";
    }
}

TEST(SteerableVisualSync, ASquashedUnitKeepsItsRotationAndAFrozenVisualStaysPut) {
    SyncRig rig;
    rig.unit->body().heading = 1.0f;
    rig.sync.updateTransform();
    const float before = rig.node.rotation;
    rig.unit->statuses.insert(10);
    rig.unit->body().heading = 2.0f;
    rig.unit->body().position = FPoint(5.0f, 6.0f);
    rig.sync.updateTransform();
    EXPECT_EQ(rig.node.rotation, before);
    EXPECT_EQ(rig.node.position, FPoint(5.0f, 6.0f));

    rig.sync.frozen = 1;
    rig.unit->body().position = FPoint(70.0f, 80.0f);
    rig.sync.updateTransform();
    EXPECT_EQ(rig.node.position, FPoint(5.0f, 6.0f));
}

TEST(SteerableVisualSync, AUnitTheWorldDestroyedIsNoLongerRead) {
    SyncRig rig;
    rig.unit.reset();
    rig.frame();
    EXPECT_TRUE(rig.controller.calls.empty());
    EXPECT_EQ(rig.sync.unit(), nullptr);
}

}  // namespace
