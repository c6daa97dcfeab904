#include <gtest/gtest.h>

#include <map>
#include <memory>

#include "../support/SceneFakes.h"
#include "foundation/Error.h"
#include "simulation/managers/PlayerInfoManager.h"
#include "simulation/scene/PlayerAssets.h"
#include "simulation/scene/SteerableVisualSync.h"
#include "simulation/scene/SteerableXDManager.h"
#include "simulation/scene/ZOrderCalculator.h"

namespace {

using zarn_test::scene::FakeNode;

// An engine side made of fake nodes: records what it is asked to build.
class FakeManager final : public Zarn::SteerableXDManager {
public:
    using SteerableXDManager::SteerableXDManager;
    std::vector<std::string> log;
    std::vector<std::unique_ptr<FakeNode>> nodes;

protected:
    Zarn::VisualSteerablePair createSteerable3D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player3DAssets&) override {
        log.push_back("3D" + std::to_string(info.clientID));
        return {};
    }
    Zarn::VisualSteerablePair createSteerable2D(const Zarn::PlayerInfo& info,
                                                const Zarn::Player2DAssets& a) override {
        log.push_back("2D" + std::to_string(info.clientID) + ":" + a.frames[3].front());
        nodes.push_back(std::make_unique<FakeNode>("player" + std::to_string(info.clientID) + "#" +
                                                   std::to_string(nodes.size())));
        return {nodes.back().get(), nullptr};
    }
    void removeSteerable(u32 clientID) override { log.push_back("removed" + std::to_string(clientID)); }
    void onSteerableAdded(u32 clientID) override { log.push_back("added" + std::to_string(clientID)); }
};

struct ManagerRig {
    ManagerRig() {
        for (u32 id = 0; id < 14; ++id) infos.addClient(id);
    }
    Zarn::SteerableUnitManager units;
    Zarn::PlayerInfoManager infos;
    Zarn::ZOrderCalculator zOrder{32, 8};
    FakeManager manager{units, infos, zOrder};
    FakeNode layer{"layer"};
};

void expectThrows(const std::function<void()>& f, const char* text) {
    try {
        f();
        ADD_FAILURE() << "expected " << text;
    } catch (const Convinience::Error& e) {
        EXPECT_STREQ(e.what(), text);
    }
}

TEST(SteerableXDManager, HoldsSixLooksIn3DAndOneIn2DAndGivesEveryClientThe2DLook) {
    ManagerRig rig;
    ASSERT_EQ(rig.manager.assets3D().size(), 6u);
    EXPECT_EQ(rig.manager.assets3D()[0].models.files[0], "3D/boy/Character.c3b");
    EXPECT_EQ(rig.manager.assets3D()[4].textures.first, "3D/boy/Body_Texture_Purple_Opt.png");
    EXPECT_EQ(rig.manager.assets3D()[5].textures.second, "3D/girl/Hat_Texture_Opt.png");
    EXPECT_EQ(rig.manager.assets3D()[5].heads.files[8], "3D/girl/Head_Squash_Opt_02.png");
    ASSERT_EQ(rig.manager.assets2D().size(), 1u);
    rig.manager.setParent(&rig.layer);
    for (u32 id = 0; id < 14; ++id) {
        rig.manager.addSteerable3D(id);
        EXPECT_EQ(rig.manager.assigned2D(id), 0u);
    }
    EXPECT_EQ(rig.manager.log[0], "2D0:Zizad_Idle_0001.png");
    EXPECT_EQ(rig.manager.log[1], "added0");
    EXPECT_EQ(rig.layer.children.size(), 14u);
}

TEST(SteerableXDManager, RefusesWithoutParentOrPlayerInfoBeforeMakingAnything) {
    ManagerRig rig;
    expectThrows([&] { rig.manager.addSteerable3D(1); }, "steerable3D parent is nullptr");
    expectThrows([&] { rig.manager.removeSteerable3D(1); }, "steerable3D parent is nullptr");
    rig.manager.setParent(&rig.layer);
    expectThrows([&] { rig.manager.addSteerable3D(99); }, "no such player info");
    expectThrows([&] { rig.manager.assigned2D(99); }, "No such client");
    EXPECT_TRUE(rig.manager.log.empty());
    EXPECT_TRUE(rig.layer.children.empty());
}

TEST(SteerableXDManager, ASecondAddReplacesTheRecordAndARemovedClientHasNoVisual) {
    ManagerRig rig;
    rig.manager.setParent(&rig.layer);
    rig.manager.addSteerable3D(3);
    rig.manager.addSteerable3D(3);
    EXPECT_EQ(rig.layer.children, (std::vector<std::string>{"player3#0", "player3#1"}))
        << "the first visual stays on the parent";
    EXPECT_EQ(static_cast<FakeNode*>(rig.manager.getVisualSteerable(3))->name, "player3#1");

    rig.manager.removeSteerable3D(3);
    EXPECT_EQ(rig.layer.children, std::vector<std::string>{"player3#0"});
    EXPECT_EQ(rig.manager.log.back(), "removed3");
    EXPECT_EQ(rig.manager.findVisualSteerable(3), nullptr);
    expectThrows([&] { rig.manager.getVisualSteerable(3); }, "not valid visual steerable client");
    expectThrows([&] { rig.manager.getVisualSync(3); }, "not valid visual steerable client");
    const std::size_t calls = rig.manager.log.size();
    rig.manager.removeSteerable3D(3);
    EXPECT_EQ(rig.manager.log.size(), calls) << "removing a client without a visual is ignored";
}

TEST(PlayerAssets, TheBuilt2DLookHasTheFrameListsTheControllerPlays) {
    const Zarn::Player2DAssets a = Zarn::makePlayer2DAssets();
    const struct {
        std::size_t list, size;
        const char* first;
        const char* last;
    } cases[] = {{0, 12, "ZizadRun_0001.png", "ZizadRun_0012.png"},
                 {2, 12, "ZizadRun_0001.png", "ZizadRun_0012.png"},
                 {3, 8, "Zizad_Idle_0001.png", "Zizad_Idle_0006.png"},
                 {4, 8, "Zizad_Idle2_0001.png", "Zizad_Idle2_0006.png"},
                 {5, 8, "Zizad_IdleB_0001.png", "Zizad_IdleB_0006.png"},
                 {7, 4, "zizad_fall_0001.png", "zizad_fall_0004.png"},
                 {8, 8, "Fish_Vortex_8.png", "Fish_Vortex_15.png"},
                 {12, 7, "Fish_Vortex_1.png", "Fish_Vortex_7.png"},
                 {13, 2, "Fish_Squash_1.png", "Fish_Squash_2.png"},
                 {14, 7, "Fish_Return_1.png", "Fish_Return_7.png"},
                 {15, 5, "Fish_Squash_Move_1.png", "Fish_Squash_Move_5.png"},
                 {16, 4, "zizad_spiked_0001.png", "zizad_spiked_0004.png"},
                 {17, 4, "zizad_spiked_0004.png", "zizad_spiked_0007.png"},
                 {18, 9, "zizad_giblet_arm.png", "zizad_giblet_sunglasses.png"}};
    for (const auto& c : cases) {
        ASSERT_EQ(a.frames[c.list].size(), c.size) << c.list;
        EXPECT_EQ(a.frames[c.list].front(), c.first) << c.list;
        EXPECT_EQ(a.frames[c.list].back(), c.last) << c.list;
    }
    EXPECT_EQ(a.frames[3][1], "Zizad_Idle_0001.png") << "the idle pattern repeats the first and last frames";
    EXPECT_EQ(a.frames[3][6], "Zizad_Idle_0006.png");
    for (std::size_t unused : {6, 9, 10, 11}) EXPECT_TRUE(a.frames[unused].empty()) << unused;
    EXPECT_EQ(a.anchor, GeometryLib::FPoint(0.5f, 0.05f));
}

}  // namespace
