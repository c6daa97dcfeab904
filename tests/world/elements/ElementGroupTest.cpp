#include <gtest/gtest.h>

#include "map/records/GroupedNumberedElement.h"
#include "map/records/MapElement.h"
#include "world/elements/ElementGroup.h"
#include "world/units/SteerableUnit.h"

namespace Zarn {
namespace {

// An element of the usual shape: disable resets it.
class SwitchableElement : public InteractiveMapElement {
public:
    explicit SwitchableElement(const MapElement& record) : InteractiveMapElement(record, nullptr) {}
    void enable() override { enabled = 1; }
    void disable() override {
        enabled = 0;
        reset();
    }
    bool isEnabled() const override { return enabled != 0; }
    bool touches(const GeometryLib::Point&, SteerableUnit*) override { return enabled != 0; }
    void reset() override {
        ++resets;
        state.value = EOnOffState::on;
    }
    InteractiveMapElementState& getState() override { return state; }
    void setState(const InteractiveMapElementState& s) override {
        if (const auto* o = dynamic_cast<const OnOffIMEState*>(&s)) state = *o;
    }

    u8 enabled = 0;
    int resets = 0;
    OnOffIMEState state;
};

class ElementGroupTest : public testing::Test {
protected:
    ElementGroupTest() {
        for (int i = 0; i < 3; ++i) {
            owned.push_back(std::make_unique<SwitchableElement>(record));
            members.push_back(owned.back().get());
        }
        groupRecord.number = 12;
        groupRecord.groupTime = 0.1f;
    }
    std::vector<u8> hidden() const {
        std::vector<u8> h;
        for (const auto& e : owned) h.push_back(e->state.hidden);
        return h;
    }
    MapElement record;
    GroupedNumberedElement groupRecord;
    std::vector<std::unique_ptr<SwitchableElement>> owned;
    std::vector<InteractiveMapElement*> members;
};

TEST_F(ElementGroupTest, SequentialHideStepsThroughTheMembers) {
    NumberedInteractiveElementGroup group(groupRecord, members);
    EXPECT_EQ(group.getGroupNumber(), 12u);
    group.setSequential();
    group.hide();
    EXPECT_EQ(group.getState().hidden, 1);
    EXPECT_EQ(hidden(), (std::vector<u8>{1, 0, 0}));
    group.update(0.05f);
    EXPECT_EQ(hidden(), (std::vector<u8>{1, 0, 0}));
    group.update(0.05f);
    EXPECT_EQ(hidden(), (std::vector<u8>{1, 1, 0}));
    group.update(0.1f);
    EXPECT_EQ(hidden(), (std::vector<u8>{1, 1, 1}));
    group.update(0.1f);
    EXPECT_EQ(group.stepper.running, 0);

    group.show();
    EXPECT_EQ(hidden(), (std::vector<u8>{0, 1, 1}));
    group.update(0.25f);  // one long tick passes two members
    EXPECT_EQ(hidden(), (std::vector<u8>{0, 0, 0}));
    EXPECT_EQ(group.getState().hidden, 0);
}

TEST_F(ElementGroupTest, SimultaneousGroupActsOnEveryMemberAtOnce) {
    NumberedInteractiveElementGroup group(groupRecord, members);
    group.hide();
    EXPECT_EQ(hidden(), (std::vector<u8>{1, 1, 1}));
    group.enable();
    EXPECT_TRUE(group.isEnabled());
    for (const auto& e : owned) EXPECT_TRUE(e->isEnabled());
    group.disable();
    EXPECT_FALSE(group.isEnabled());
    for (const auto& e : owned) {
        EXPECT_FALSE(e->isEnabled());
        EXPECT_EQ(e->resets, 1);
    }
    SteerableUnit unit(1);
    EXPECT_FALSE(group.touches(GeometryLib::Point(0, 0), &unit));
    EXPECT_FALSE(group.reactsOnEnterOnly());
    EXPECT_EQ(group.effect->apply(&unit)->kind, EffectKind::nothing);
}

TEST_F(ElementGroupTest, EmptySequentialGroupAndForeignStates) {
    NumberedInteractiveElementGroup group(groupRecord, {});
    group.setSequential();
    group.hide();
    group.show();
    EXPECT_EQ(group.stepper.running, 0);
    EXPECT_EQ(group.getState().hidden, 0);
    BossState boss;
    boss.hidden = 1;
    group.setState(boss);
    EXPECT_EQ(group.getState().hidden, 1);
}

TEST_F(ElementGroupTest, ElementsKeepTheirOwnStateClass) {
    SwitchableElement& e = *owned[0];
    IntervalTrapIMEState foreign(EIntervalTrapState::active);
    foreign.hidden = 1;
    e.state.value = EOnOffState::off;
    e.setState(foreign);
    EXPECT_EQ(e.state.value, EOnOffState::off);
    EXPECT_EQ(e.state.hidden, 0);
    e.hide();
    EXPECT_EQ(e.getState().toBytes(), (std::vector<u8>{1, 0}));
    e.show();
    EXPECT_EQ(e.getState().toBytes(), (std::vector<u8>{0, 0}));
    // An element made without an effect gets a NullEffect.
    SteerableUnit unit(9);
    auto result = e.effect->apply(&unit);
    EXPECT_EQ(result->applied, 1);
    EXPECT_EQ(result->kind, EffectKind::nothing);
    EXPECT_EQ(result->ids, std::vector<u32>{9});
}

}  // namespace
}  // namespace Zarn
