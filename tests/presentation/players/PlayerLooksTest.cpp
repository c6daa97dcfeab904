#include <gtest/gtest.h>

#include "../support/PlayerFixture.h"
#include "engine/DrawNode.h"
#include "foundation/Error.h"
#include "presentation/players/CocosSteerableXDManager.h"
#include "presentation/players/PlayerLooks.h"
#include "presentation/players/SteerableUnitSync.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "world/units/SteerableUnitManager.h"

namespace {

using cocos2d::Color4B;
using cocos2d::Node;

TEST(PlayerLooks, TheColourTableGroupsIntensitiesAndWrapsAtFiftySix) {
    const struct {
        u32 clientID;
        Color4B colour;
    } cases[] = {{0, {0, 0, 0, 100}},        {1, {255, 0, 0, 255}},      {6, {0, 255, 255, 255}},
                 {7, {128, 0, 0, 255}},      {13, {128, 128, 128, 255}}, {14, {192, 0, 0, 255}},
                 {55, {224, 224, 224, 255}}, {56, {0, 0, 0, 100}},       {57, {255, 0, 0, 255}}};
    for (const auto& c : cases) EXPECT_EQ(playerColour(c.clientID), c.colour) << c.clientID;
    int white = 0;
    for (const Color4B& c : playerColourTable()) white += c == Color4B(255, 255, 255, 255);
    EXPECT_EQ(white, 0) << "the full-intensity group has no white";
}

TEST(PlayerLooks, NameTagsShowThePlatformsIconBesideTheNameCentredOnTheTag) {
    const struct {
        u8 code;
        const char* frame;
    } icons[] = {{0, "SliderNode_Normal.png"}, {1, "nametag_windows.png"}, {2, "SliderNode_Normal.png"},
                 {3, "nametag_mac.png"},       {4, "nametag_ios.png"},     {5, "nametag_android.png"},
                 {9, "SliderNode_Normal.png"}};
    for (const auto& c : icons) EXPECT_STREQ(nameTagIconFrame(c.code), c.frame) << int(c.code);
    const NameTagLayout layout = nameTagLayout(20.0f, 100.0f);
    EXPECT_FLOAT_EQ(layout.iconX, -55.0f);
    EXPECT_FLOAT_EQ(layout.labelX, 15.0f);
    EXPECT_FLOAT_EQ(layout.iconX - 10.0f, -(layout.labelX + 50.0f))
        << "both outer edges are 65 from the origin";
}

// The manager's 2D visuals: the game's players.
class Manager2DTest : public zarn_test::PlayerFixture {
protected:
    void SetUp() override {
        PlayerFixture::SetUp();
        for (u32 id : {0u, 3u, 57u}) {
            units.addClient(id);
            infos.addClient(id);
        }
        infos.getInfo(3).name = "Ann";
        infos.getInfo(3).platformCode = 4;
        manager = std::make_unique<CocosSteerableXDManager>(units, infos, zOrder);
        layer = std::make_unique<CocosNodeMediator>(world);
        manager->setParent(layer.get());
    }
    void TearDown() override {
        manager.reset();
        PlayerFixture::TearDown();
    }
    static cocos2d::DrawNode* shadowOf(Node* visual) {
        for (Node* child : visual->getChildren())
            if (auto* d = dynamic_cast<cocos2d::DrawNode*>(child)) return d;
        return nullptr;
    }

    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager infos;
    std::unique_ptr<CocosSteerableXDManager> manager;
    std::unique_ptr<CocosNodeMediator> layer;
};

TEST_F(Manager2DTest, AVisualIsASmallSpriteWithShadowAndANameTagWhenNamed) {
    manager->addSteerable3D(3);
    manager->addSteerable3D(57);
    SteerableCocos2D* named = manager->find2D(3);
    SteerableCocos2D* unnamed = manager->find2D(57);
    ASSERT_NE(named, nullptr);
    ASSERT_NE(unnamed, nullptr);
    EXPECT_EQ(named->getParent(), world);
    EXPECT_EQ(manager->getVisualSteerable(3), named->getMediator());
    EXPECT_EQ(manager->getVisualSync(3), named->getSync());
    EXPECT_EQ(manager->visualSyncs(),
              (std::vector<Zarn::SteerableVisualSync*>{named->getSync(), unnamed->getSync()}));
    EXPECT_FLOAT_EQ(named->getScale(), 0.4f);
    EXPECT_EQ(named->getAnchorPoint(), cocos2d::Vec2(0.5f, 0.05f));
    EXPECT_EQ(named->getSpriteFrame()->getName(), "Zizad_Idle_0001.png");
    EXPECT_EQ(named->getSync()->rotate, 0) << "2D players mirror instead of turning";
    EXPECT_EQ(named->getChildrenCount(), 2u);
    EXPECT_EQ(unnamed->getChildrenCount(), 1u) << "no name, no tag; the shadow stays";

    cocos2d::DrawNode* shadow = shadowOf(unnamed);
    ASSERT_NE(shadow, nullptr);
    EXPECT_EQ(shadow->getLocalZOrder(), -1);
    EXPECT_EQ(shadow->getPosition(), cocos2d::Vec2(unnamed->getContentSize().width / 2.0f, 10.0f));
    step(0.0f);
    const auto shapes = cocos2d::Director::getInstance()->getDrawList().findByNode(shadow);
    ASSERT_EQ(shapes.size(), 1u);
    ASSERT_NE(shapes[0]->shapes, nullptr);
    const cocos2d::ShapeBatch& batch = *shapes[0]->shapes;
    ASSERT_FALSE(batch.triangles.empty());
    EXPECT_EQ(Color4B(batch.triangles[0].color), Color4B(255, 0, 0, 255)) << "client 57 wears colour 1";

    Node* tag = nullptr;
    for (Node* child : named->getChildren())
        if (child != shadowOf(named)) tag = child;
    ASSERT_NE(tag, nullptr);
    EXPECT_EQ(tag->getPosition(),
              cocos2d::Vec2(named->getContentSize().width / 2.0f, named->getContentSize().height + 20.0f));
    ASSERT_EQ(tag->getChildrenCount(), 2u);
    auto* icon = dynamic_cast<cocos2d::Sprite*>(tag->getChildren().at(0));
    auto* label = dynamic_cast<cocos2d::Label*>(tag->getChildren().at(1));
    ASSERT_NE(icon, nullptr);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(icon->getSpriteFrame()->getName(), "nametag_ios.png");
    EXPECT_EQ(label->getString(), "Ann");
    EXPECT_EQ(label->getOutlineSize(), 2);
    EXPECT_LT(icon->getPositionX(), 0.0f);
    EXPECT_GT(label->getPositionX(), 0.0f);
}

// A player whose name comes or changes after its visual was made gets the
// new name on its tag, in the same frame, and never two tags; an emptied
// name takes the tag away.
TEST_F(Manager2DTest, TheNameTagFollowsThePlayersName) {
    manager->addSteerable3D(57);
    SteerableCocos2D* visual = manager->find2D(57);
    ASSERT_NE(visual, nullptr);
    EXPECT_EQ(manager->findNameTag(57), nullptr);
    auto tagText = [&]() -> std::string {
        Node* tag = manager->findNameTag(57);
        if (tag == nullptr) return "<none>";
        auto* label = dynamic_cast<cocos2d::Label*>(tag->getChildren().at(1));
        return label ? label->getString() : "<no label>";
    };
    auto drawn = [](const std::u32string& text) {
        for (const auto& c : cocos2d::Director::getInstance()->getDrawList().commands)
            if (c.glyphs != nullptr && c.glyphs->text == text) return true;
        return false;
    };
    for (const char* name : {"Bob", "Rob"}) {
        infos.getInfo(57).name = name;
        manager->playerChanged(57);
        EXPECT_EQ(tagText(), name);
        EXPECT_EQ(visual->getChildrenCount(), 2u) << "the shadow and one tag";
        step(0.0f);
    }
    EXPECT_TRUE(drawn(U"Rob"));
    EXPECT_FALSE(drawn(U"Bob"));
    infos.getInfo(57).name.clear();
    manager->playerChanged(57);
    EXPECT_EQ(manager->findNameTag(57), nullptr);
    EXPECT_EQ(visual->getChildrenCount(), 1u);
    manager->playerChanged(12345);  // no visual: nothing
}

// A second visual for a client replaces the record; the first stays on the
// parent. Removing takes the recorded one off and leaves nothing of it.
TEST_F(Manager2DTest, ReplacingAndRemovingVisuals) {
    manager->addSteerable3D(0);
    cocos2d::RefPtr<SteerableCocos2D> first = manager->find2D(0);
    manager->addSteerable3D(0);
    SteerableCocos2D* second = manager->find2D(0);
    EXPECT_NE(first.get(), second);
    EXPECT_EQ(first->getParent(), world);
    EXPECT_EQ(manager->visualSyncs().size(), 1u);
    manager->removeSteerable3D(0);
    EXPECT_EQ(manager->find2D(0), nullptr);
    EXPECT_TRUE(manager->visualSyncs().empty());
    EXPECT_EQ(world->getChildrenCount(), 1u);
    first->removeFromParent();
}

// The manager takes its visuals off the world when it goes, so none keeps
// reading the scene's calculator afterwards.
TEST_F(Manager2DTest, TheManagersVisualsLeaveTheWorldWithIt) {
    manager->addSteerable3D(0);
    manager->addSteerable3D(3);
    EXPECT_EQ(world->getChildrenCount(), 2u);
    manager.reset();
    EXPECT_EQ(world->getChildrenCount(), 0u);
}

TEST(SteerableUnitSyncTest, SamplesPositionVelocityFacingAndOrderOfALivingUnit) {
    Zarn::ZOrderCalculator zOrder(32, 8);
    auto unit = std::make_unique<Zarn::SteerableUnit>(5);
    unit->body().position = GeometryLib::FPoint(48.0f, 80.0f);
    unit->body().velocity = GeometryLib::FPoint(3.0f, -4.0f);
    unit->body().heading = 1.5707950f;
    SteerableUnitSync sync(unit.get(), &zOrder);
    sync.update();
    EXPECT_EQ(sync.getPosition(), GeometryLib::FPoint(48.0f, 80.0f));
    EXPECT_EQ(sync.getSecondPoint(), GeometryLib::FPoint(3.0f, -4.0f));
    EXPECT_NEAR(sync.getRotation(), -90.0f, 1e-3f);
    EXPECT_EQ(sync.getZOrder(), zOrder.playerZOrder(GeometryLib::FPoint(48.0f, 80.0f)));
    unit.reset();
    sync.update();
    EXPECT_FALSE(sync.hasUnit());
    EXPECT_EQ(sync.getPosition(), GeometryLib::FPoint(48.0f, 80.0f)) << "a gone unit leaves the last sample";
    SteerableUnitSync none(nullptr, &zOrder);
    none.update();
    EXPECT_EQ(none.getPosition(), GeometryLib::FPoint());
}

}  // namespace
