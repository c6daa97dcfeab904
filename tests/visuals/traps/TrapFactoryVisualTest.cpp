#include <gtest/gtest.h>

#include "engine/SpriteFrame.h"
#include "engine/SpriteFrameCache.h"
#include "foundation/Error.h"
#include "map/records/ScheduledTrapElement.h"
#include "support/TrapSceneFixture.h"
#include "visuals/traps/BossArm.h"

namespace {

using GeometryLib::Point;

// A trap of no class the factory serves, with any record.
class PlainTrap : public Zarn::Trap {
public:
    explicit PlainTrap(const Zarn::TrapElement& record) : Trap(record, nullptr) {}
    void enable() override {}
    void disable() override {}
    bool isEnabled() const override { return false; }
    bool touches(const Point&, Zarn::SteerableUnit*) override { return false; }
    void reset() override {}
    Zarn::InteractiveMapElementState& getState() override { return state; }
    void setState(const Zarn::InteractiveMapElementState&) override {}
    void update(float) override {}
    Zarn::IntervalTrapIMEState state;
};

std::string refusal(CocosTrap2DFactory& factory, Zarn::Trap& trap) {
    try {
        factory.createTrap2D(&trap);
    } catch (const Convinience::Error& e) {
        return e.what();
    }
    return "";
}

class TrapFactoryVisualTest : public zarn_test::TrapSceneFixture {
protected:
    void SetUp() override {
        TrapSceneFixture::SetUp();
        load(room());
    }
};

TEST_F(TrapFactoryVisualTest, IdsNoMakerServesAndTrapsOfTheWrongClassAreRefused) {
    for (u32 id :
         {0u, 42u, 52u, 53u, 54u, 57u, 120u, 123u, 126u, 135u, 137u, 142u, 144u, 355u, 357u, 9999u}) {
        Zarn::IntervalTrapElement record = zarn_test::trapAt(id, 1, Point(1, 1));
        PlainTrap trap(record);
        EXPECT_EQ(refusal(*factory, trap), "No such trap id") << id;
    }
    struct Row {
        u32 id;
        const char* text;
    };
    const Row rows[] = {{43, "not interval trap"},
                        {356, "not interval trap"},
                        {46, "Not interval trap type"},
                        {127, "Not interval trap type"},
                        {47, "Not a rat trap type"},
                        {49, "Not a rat trap type"},
                        {55, "Not interval trap type"},
                        {56, "Not interval trap type"},
                        {121, "not scheduled trap type"},
                        {122, "not scheduled trap type"},
                        {128, "not a bomb"},
                        {129, "not follow trap type"},
                        {130, "not tst type"},
                        {131, "not interval trap"},
                        {132, "not follow hit trap"},
                        {136, "not follow hit trap"},
                        {133, "not boss trap"}};
    for (const Row& r : rows) {
        Zarn::IntervalTrapElement record = zarn_test::trapAt(r.id, 1, Point(1, 1));
        PlainTrap trap(record);
        EXPECT_EQ(refusal(*factory, trap), r.text) << r.id;
    }
    // A cannon whose record is no line record.
    Zarn::IntervalTrapElement plain = zarn_test::trapAt(131, 1, Point(1, 1));
    Zarn::IntervalTrap cannon(plain, nullptr);
    EXPECT_EQ(refusal(*factory, cannon), "not line trap element");
}

TEST_F(TrapFactoryVisualTest, TheAnimationFactoryKnowsItsTypesAndItsRecords) {
    TrapAnimationFactoryImpl& animations = factory->animationFactory();
    Zarn::IntervalTrapElement record = zarn_test::trapAt(131, 1, Point(1, 1));
    const TrapAnimations none = animations.createTrapAnimations(record, world);
    for (const cocos2d::RefPtr<cocos2d::Action>* slot :
         {&none.showAction, &none.hideAction, &none.state0Action, &none.state1Action, &none.state2Action,
          &none.state3Action, &none.explosionAction})
        EXPECT_FALSE(*slot);

    for (u32 id : {47u, 48u}) {
        record.elementId = id;
        EXPECT_THROW(animations.createTrapAnimations(record, world), Convinience::Error) << id;
        EXPECT_THROW(animations.getFirstFrame(record), Convinience::Error) << id;
    }
    Zarn::TrapElement bare;
    bare.elementId = 43;
    try {
        animations.createTrapAnimations(bare, world);
        ADD_FAILURE();
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), "not interval trap element");
    }
    bare.elementId = 121;
    EXPECT_THROW(animations.createTrapAnimations(bare, world), Convinience::Error);

    // Durations follow the record: a trap door's opening ends with its
    // warning (half the rest), a spike's rise and fall fill its armed time.
    auto seconds = [](const cocos2d::RefPtr<cocos2d::Action>& a) {
        return static_cast<cocos2d::FiniteTimeAction*>(a.get())->getDuration();
    };
    Zarn::IntervalTrapElement door = zarn_test::trapAt(43, 1, Point(1, 1), 1.0f, 2.0f);
    const TrapAnimations d = animations.createTrapAnimations(door, world);
    EXPECT_FLOAT_EQ(seconds(d.state0Action), 1.0f);
    EXPECT_FLOAT_EQ(seconds(d.state1Action), 1.0f);
    EXPECT_FLOAT_EQ(seconds(d.state2Action), 1.0f);
    door.elementId = 134;
    EXPECT_FLOAT_EQ(seconds(animations.createTrapAnimations(door, world).explosionAction), 1.2f);
    Zarn::IntervalTrapElement spike = zarn_test::trapAt(127, 1, Point(1, 1), 2.0f, 1.0f);
    const TrapAnimations s = animations.createTrapAnimations(spike, world);
    EXPECT_FLOAT_EQ(seconds(s.state1Action), 2.0f);
    EXPECT_FLOAT_EQ(seconds(s.state3Action), 0.075f);
    // The spikes warn while they arm (half the rest, 0.5 s), by shape: amber
    // tips jitter in the holes; a trap door opens during its state 0.
    EXPECT_FLOAT_EQ(seconds(s.state0Action), 0.5f);
    EXPECT_FALSE(s.state0Opens);
    EXPECT_TRUE(d.state0Opens);
    Zarn::ScheduledTrapElement scheduled;
    scheduled.elementId = 122;
    scheduled.warningLead = 0.4f;
    const TrapAnimations sc = animations.createTrapAnimations(scheduled, world);
    EXPECT_FLOAT_EQ(seconds(sc.state0Action), 0.4f);
    EXPECT_FLOAT_EQ(seconds(sc.state3Action), 0.1f);

    // The slap trap's frames are drawn with their offset.
    Zarn::IntervalTrapElement slap = zarn_test::trapAt(49, 1, Point(1, 1), 1.0f, 1.0f);
    animations.createTrapAnimations(slap, world);
    EXPECT_EQ(cocos2d::SpriteFrameCache::getInstance()
                  ->getSpriteFrameByName("Slap_Trap_9.png")
                  ->getOffsetInPixels(),
              cocos2d::Vec2(-103.0f, -44.0f));
}

// The makers scale their visuals 0.4 and place them on their cells; the
// spawning traps' invisible nodes keep scale 1.
TEST_F(TrapFactoryVisualTest, VisualsAreScaledAndPlacedOnTheirCells) {
    zarn_test::MapBuilder b = room();
    b.trap(zarn_test::trapAt(43, 1, Point(2, 2)));
    b.trap(zarn_test::trapAt(129, 2, Point(4, 4)));
    Zarn::GameWorld other;
    std::istringstream in = b.stream();
    other.loadMap(in);
    for (const auto& trap : other.traps) {
        Zarn::NodeMediator* node = factory->placeTrapPicture(*trap);
        const Point cell = trap->trapRecord->position;
        const bool spawning = trap->trapRecord->elementId == 129;
        EXPECT_FLOAT_EQ(node->getScale(), spawning ? 1.0f : 0.4f);
        const float half = spawning ? 0.0f : 32.0f;
        EXPECT_EQ(node->getPosition(), GeometryLib::FPoint(cell.x * 64 + half, cell.y * 64 + half));
    }
}

// The left-hand arms (50, 132) are drawn as their frames are, the right-hand
// ones (51, 136) mirrored: at rest, rising, and while they follow a player.
class ArmFacingTest : public zarn_test::TrapSceneFixture {};

TEST_F(ArmFacingTest, TheRightHandArmsAreDrawnMirrored) {
    struct Row {
        u32 id;
        bool mirrored;
    };
    const Row rows[] = {{50, false}, {51, true}, {132, false}, {136, true}};
    zarn_test::MapBuilder b = room();
    u32 number = 10;
    for (const Row& r : rows) {
        auto arm =
            zarn_test::trapAt<Zarn::DelayedTrapElement>(r.id, number, Point(2 * (number - 9), 4), 0.3f, 1.0f);
        arm.startDelay = 0.2f;
        arm.warnTime = 0.5f;
        for (i16 x = 0; x < 10; ++x)
            for (i16 y = 0; y < 4; ++y) arm.coveredCells.insert(Point(x, y));
        b.trap(arm);
        ++number;
    }
    enableAtStart(b, {10, 11, 12, 13});
    load(b);

    const std::vector<FollowHitTrapCocos2D*> arms = childrenOf<FollowHitTrapCocos2D>();
    ASSERT_EQ(arms.size(), 4u);
    std::set<std::string> framesSeen;
    for (int i = 0; i < 40; ++i) {
        tick();
        for (std::size_t a = 0; a < arms.size(); ++a) {
            const cocos2d::DrawCommand* c = drawn(arms[a]->getArm());
            ASSERT_NE(c, nullptr) << rows[a].id;
            EXPECT_EQ(c->flippedX, rows[a].mirrored) << rows[a].id << " on " << c->frameName.str();
            framesSeen.insert(c->frameName.str());
        }
    }
    EXPECT_TRUE(framesSeen.count("Arm_Spawn_6.png")) << "the arms rose";
    EXPECT_TRUE(framesSeen.count("Arm_Idle_3.png")) << "and followed";
    for (const Row& r : rows) EXPECT_EQ(armFacesRight(r.id), r.mirrored) << r.id;
}

}  // namespace
