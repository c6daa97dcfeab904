#include <gtest/gtest.h>

#include "engine/EngineLog.h"
#include "engine/SpriteFrameCache.h"
#include "map/records/BossElement.h"
#include "map/records/ScheduledTrapElement.h"
#include "presentation/PresentationFrames.h"
#include "support/FrameManifest.h"
#include "support/TrapSceneFixture.h"
#include "visuals/traps/BombVisual.h"
#include "visuals/traps/BossArm.h"
#include "visuals/traps/BossVisual.h"
#include "visuals/traps/CannonBeam.h"
#include "visuals/traps/RatTrapVisual.h"
#include "visuals/traps/RedGreenSign.h"
#include "visuals/traps/TrapFrames.h"
#include "visuals/traps/TrapVisualTemplates.h"
#include "visuals/traps/VortexTrapVisual.h"

namespace {

using GeometryLib::Point;
using zarn_test::trapAt;

// The manifest's [traps] family is exactly the list the trap visuals' code
// keeps.
TEST(TrapFrameManifest, TheTrapsFamilyListsExactlyTheNamesTheCodeKeeps) {
    const zarn_test::FrameManifest manifest = zarn_test::FrameManifest::read(ZARN_FRAME_MANIFEST);
    ASSERT_EQ(manifest.families.count("traps"), 1u) << ZARN_FRAME_MANIFEST;
    const std::set<std::string>& listed = manifest.families.at("traps");
    const std::set<std::string> named(trapVisualFrameNames().begin(), trapVisualFrameNames().end());
    EXPECT_EQ(named.size(), trapVisualFrameNames().size()) << "the code's list holds each name once";
    for (const std::string& name : named)
        EXPECT_EQ(listed.count(name), 1u) << name << " is not in the manifest";
    for (const std::string& name : listed) EXPECT_EQ(named.count(name), 1u) << name << " is named by no code";
}

// Every trap visual built and run through its reactions, with every frame
// that the sprite-frame cache is asked for recorded (each missing name is
// reported once after the cache is emptied): the trap visuals ask for every
// listed name and for nothing unlisted (the dust is the presentation's).
class TrapFrameRequests : public zarn_test::TrapSceneFixture {
protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        cocos2d::SpriteFrameCache::getInstance()->removeSpriteFrames();
        cocos2d::resetMissingAssetLog();
        cocos2d::setEngineLogHook([this](const std::string& line) {
            const std::string tag = "Missing sprite frame: ";
            const std::size_t at = line.find(tag);
            if (at != std::string::npos) requested.insert(line.substr(at + tag.size()));
        });
    }
    void TearDown() override {
        cocos2d::setEngineLogHook(nullptr);
        TrapSceneFixture::TearDown();
    }

    // A room with one trap of every kind the factory serves.
    void loadEveryKind() {
        zarn_test::MapBuilder b = room();
        u32 n = 1;
        i16 x = 0;
        for (u32 id : {43u, 134u, 127u, 56u}) b.trap(trapAt(id, n++, Point(x++, 0)));
        b.trap(trapAt<Zarn::FourPanelTrapDoorElement>(356, n++, Point(x++, 0)));
        for (u32 id : {46u, 128u}) b.trap(trapAt<Zarn::DelayedTrapElement>(id, n++, Point(x++, 0)));
        b.trap(trapAt<Zarn::RadialTrapElement>(55, n++, Point(x++, 0)));
        auto rat = trapAt<Zarn::RatTrapElement>(47, n++, Point(0, 1));
        rat.releaseTime = 0.6f;
        b.trap(rat);
        for (u32 id : {121u, 122u}) {
            auto scheduled = trapAt<Zarn::ScheduledTrapElement>(id, n++, Point(x++, 1));
            scheduled.warningLead = 0.2f;
            b.trap(scheduled);
        }
        auto cannon = trapAt<Zarn::LineIntervalTrapElement>(131, n++, Point(0, 9));
        cannon.length = 4;
        b.trap(cannon);
        b.trap(trapAt(129, n++, Point(0, 2)));
        b.trap(trapAt<Zarn::TrapSpawningTrapElement>(130, n++, Point(1, 2)));
        for (u32 id : {132u, 136u}) b.trap(trapAt<Zarn::DelayedTrapElement>(id, n++, Point(x++, 2)));
        Zarn::BossElement boss;
        boss.elementId = 133;
        boss.trapNumber = n++;
        boss.position = Point(4, 5);
        boss.phaseCount = 2;
        boss.cannonTime = 1.0f;
        b.trap(boss);
        load(b);
    }

    std::set<std::string> requested;
};

TEST_F(TrapFrameRequests, EveryVisualAsksForEveryListedFrameAndNoOther) {
    loadEveryKind();
    // Every builder of the animation factory and every first frame.
    TrapAnimationFactoryImpl& animations = factory->animationFactory();
    for (u32 id : {43u, 55u, 143u, 134u, 46u, 127u, 49u, 56u, 131u}) {
        Zarn::IntervalTrapElement record = trapAt(id, 0, Point(0, 0));
        animations.createTrapAnimations(record, world);
        if (trapFirstFrameNames().count(id)) animations.getFirstFrame(record);
    }
    for (u32 id : {121u, 122u}) {
        Zarn::ScheduledTrapElement record;
        record.elementId = id;
        animations.createTrapAnimations(record, world);
        if (trapFirstFrameNames().count(id)) animations.getFirstFrame(record);
    }
    // Every reaction of every visual.
    for (auto* door :
         childrenOf<FPTDCocos2D<Zarn::BaseIntervalTrap, Zarn::IntervalTrap2D, FPTDVisualMediator>>())
        for (u32 s : {0u, 1u, 2u, 4u}) door->getVisualMediator()->onStateChanged(3, s);
    for (auto* vortex : childrenOf<VortexTrapCocos2D>()) {
        vortex->getVortexAdapter()->smallVortex()->onStateChanged(0, 1);
        vortex->getVortexAdapter()->largeVortex()->onStateChanged(0, 1);
    }
    for (auto* rat : childrenOf<RatTrapCocos2D>()) {
        rat->getAdapter()->leftFlip()->onStateChanged(0, 1);
        rat->getAdapter()->rightFlip()->onStateChanged(0, 2);
    }
    for (auto* sign : childrenOf<RedGreenSignCocos2D>())
        for (u32 s : {0u, 1u, 2u, 3u}) sign->getMediator()->onStateChanged(3, s);
    for (auto* bomb : childrenOf<CocosBomb2D>())
        for (u32 s : {0u, 5u, 1u}) bomb->getMediator()->onStateChanged(3, s);
    for (auto* cannon : childrenOf<CannonBeamCocos2D>())
        for (u32 s : {0u, 1u, 2u, 3u}) cannon->getMediator()->onStateChanged(3, s);
    for (auto* arm : childrenOf<FollowHitTrapCocos2D>())
        for (u32 s : {1u, 2u, 3u, 5u, 0u}) arm->getMediator()->onStateChanged(0, s);
    for (auto* boss : childrenOf<BossCocos2D>()) {
        boss->getMediator()->onStateChanged(0, 1);
        for (u32 s = 2; s <= 10; ++s) boss->getMediator()->onStateChanged(s - 1, s);
        boss->getHealthBar();
    }
    run(4.0f);

    const std::set<std::string> listed(trapVisualFrameNames().begin(), trapVisualFrameNames().end());
    const std::set<std::string> others(presentationFrameNames().begin(), presentationFrameNames().end());
    for (const std::string& name : requested)
        EXPECT_TRUE(listed.count(name) || others.count(name)) << name << " is asked for but not listed";
    for (const std::string& name : listed)
        EXPECT_EQ(requested.count(name), 1u) << name << " is never asked for";
}

}  // namespace
